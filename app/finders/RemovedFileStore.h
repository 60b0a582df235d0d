#pragma once
// The store of removed files: the finders move a file into the program's "Backup"
// folder as "name.n" and record it in "Backup.xml" beside the program. The file is
// read and written whole by every operation; nothing is held between them. A damaged
// "Backup.xml" is set aside as "Backup.xml.bad", never overwritten. Main thread only.
#include "classlib/base/Exceptions.h"
#include <memory>
#include <string>
#include <vector>

class TkepXMLParser2;

// An operation of the store failed; the message says what and what was kept.
class EStoreError : public Exception {
    using Exception::Exception;
};

// "Backup.xml" is damaged: it was set aside, and nothing can be stored until then.
class EStoreDamaged : public EStoreError {
    using EStoreError::EStoreError;
};

struct TStoredFile {
    int Number = 0;
    std::string Description;  // "Duplicate File", "Junk File" or "DLL Cleaner"
    std::string OriginalPath; // where the file came from
    std::string Time;         // the date-time text of storing
};

class TRemovedFileStore {
public:
    // appDir: the program folder, with a trailing backslash.
    explicit TRemovedFileStore(const std::string& appDir);

    // Moves the file to "Backup\name.n" and records it. Raises EStoreError when the
    // file could not be moved (nothing is recorded) or the record not written (the
    // file is moved back).
    void MoveToBackupStore(const std::string& fileName, const std::string& description);
    // The usable records in file order; a record with too few children, a number that
    // is not decimal or an original path that is not absolute is left out.
    [[nodiscard]] std::vector<TStoredFile> Records() const;
    // Moves the stored copy back, creating its folder, and forgets the record.
    // Raises EStoreError when it cannot; the record then stays.
    void Restore(int number);
    // Forgets every record; the stored files stay in the folder.
    void Clear();
    // "Backup\name.n" of the record.
    [[nodiscard]] std::string StoredPath(const TStoredFile& file) const;

private:
    [[nodiscard]] std::unique_ptr<TkepXMLParser2> Load() const;
    void Save(const TkepXMLParser2& document) const;
    [[nodiscard]] int FreeNumber(const TkepXMLParser2& document, const std::string& name) const;

    std::string FListFile; // AppDir + "Backup.xml"
    std::string FStoreDir; // AppDir + "Backup\"
};
