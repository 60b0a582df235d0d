#pragma once
// The duplicate finder's comparison: every found file is compared with the files seen
// before by the criteria switched on; "Same Name" always holds. A file that matches
// none becomes a seen file; one that matches joins the first seen file it matches; one
// that is a file met before, reached by another path, is passed over. A file that
// passes the cheap tests against an earlier one is opened once for its identity and
// first block. "Same Content" is equal bytes: a file whose first block matches an
// earlier file's is read whole beside that file, at most once for each distinct
// content among the earlier files of its name, and never digested.
// The files are opened and read on threads of the search's own while the caller goes
// on adding files; the answers still come in the order the files came. Add and
// Finish belong to one thread at a time (the search thread); Cancel to any.
#include "app/finders/FoundFile.h"
#include "classlib/base/WorkQueue.h"
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_map>

struct TDuplicateOptions {
    bool SameSize = true;
    bool SameDateTime = true;
    bool SameAttributes = true;
    bool SkipZeroLength = true;
    bool SameContent = true;
    bool SkipReadOnlySystem = true;
};

// A file to list: its group is the seen file it duplicates; First marks that file.
struct TDuplicateRow {
    TFoundFile File;
    std::string DateTime; // the modification time as date-time text
    int Group = 0;
    bool First = false;
};

class TDuplicateSearch {
public:
    explicit TDuplicateSearch(const TDuplicateOptions& options);
    ~TDuplicateSearch() { Cancel(); }
    TDuplicateSearch(const TDuplicateSearch&) = delete;
    TDuplicateSearch& operator=(const TDuplicateSearch&) = delete;

    // Takes the next file. Returns the rows of the files whose answer is now known, in
    // the order they came: for each file none, the file, or the file and the file it
    // duplicates when that one has no row yet.
    std::vector<TDuplicateRow> Add(const TFoundFile& file);
    // Waits for the answers of all files added and returns their rows; none once
    // cancelled.
    std::vector<TDuplicateRow> Finish();
    // Stops the reading at once; Add and Finish return no more rows.
    void Cancel();

    [[nodiscard]] size_t FilesOpened() const;     // for identity, first block
    [[nodiscard]] size_t ComparisonsMade() const; // of two files read whole
    [[nodiscard]] uint64_t BytesCompared() const;

private:
    // Waiting for it and its partners to be opened; sorting, held back by a partner not
    // sorted yet; comparing with a partner; sorted.
    enum TSorting { soWaiting, soSorting, soComparing, soSorted };
    struct TEntry {
        TFoundFile File;
        std::optional<std::string> DateTime;
        std::vector<size_t> Partners; // earlier files of its name it passes the cheap tests with
        bool ProbeAsked = false;
        std::optional<TFileProbe> Probe;
        TFileHandle Open; // kept open since its probe, to be compared
        // Sorting by content: the file is compared in turn with each earlier partner
        // that holds a content of its own, until one holds its bytes.
        TSorting Sorting = soWaiting;
        size_t NextPartner = 0;
        const TEntry* CopyOf = nullptr; // the earlier file holding the same bytes
        bool Unreadable = false;        // could not be read whole: equals nothing
        bool Alias = false;             // the same file as one of its partners
        bool Shown = false;
        std::vector<size_t> Members; // of a seen file: the copies found of it
    };
    enum TMatch { mtDifferent, mtDuplicate, mtSameFile, mtWaiting };
    bool PassCheapTests(TEntry& seen, TEntry& found);
    TMatch Compare(TEntry& seen, TEntry& found);
    static const std::string& DateTime(TEntry& entry);
    const TFileProbe* Probe(TEntry& entry);
    bool IsMember(const TEntry& seen, const TEntry& found, const TFileProbe& probe) const;
    std::optional<std::vector<TDuplicateRow>> Answer(size_t index);
    std::vector<TDuplicateRow> AnswerWaiting();
    void SortName(const std::string& name);
    void StartSorting(TEntry& entry);
    void CompareWithNext(TEntry& entry);
    void AskComparison(TEntry& entry, const TEntry& original);
    void CloseOpenFiles(std::unique_lock<std::mutex>& lock);
    void StartAsked(std::unique_lock<std::mutex>& lock);

    const TDuplicateOptions FOptions;
    mutable std::mutex FLock; // guards all below but FCancelled
    std::condition_variable FRead;
    std::atomic<bool> FCancelled{false};
    std::deque<TEntry> FEntries; // every file added, in order
    std::unordered_map<std::string, std::vector<size_t>> FByName;
    std::unordered_map<std::string, std::vector<size_t>> FSeenByName;
    std::vector<std::function<void()>> FAsked; // reads asked for, not yet given out
    size_t FWaiting = 0;                       // the first file without its answer
    size_t FReading = 0;                       // reads asked for and not done
    size_t FOpenFiles = 0;
    size_t FProbes = 0;
    size_t FComparisons = 0;
    uint64_t FBytesCompared = 0;
    TWorkQueue FReaders; // last: its threads end before the rest goes
};
