#pragma once
// The records of files on their way into the store: "Backup.pending" beside
// "Backup.xml", one line a file, written before the file moves. A program ended
// during a batch leaves every moved file named here; the next read of the store
// takes them into its list. Main thread only.
#include "classlib/base/Handle.h"
#include <string>
#include <vector>

struct TStoredFile;

class TStoreJournal {
public:
    explicit TStoreJournal(std::string path) : FPath(std::move(path)) {}

    // The file's record, before its move; the file is opened for appending first.
    void Add(const TStoredFile& file);
    // The move of that number failed: the line no longer counts.
    void Cancel(int number);
    // The records that count, in order; a line cut short by a kill is left out.
    [[nodiscard]] std::vector<TStoredFile> Read() const;
    [[nodiscard]] bool Exists() const;
    // Closes and removes the file, once the list holds every record.
    void Remove();

private:
    void Append(const std::string& line);

    std::string FPath;
    TFileHandle FFile;
};
