#pragma once
// The duplicate finder's comparison: every found file is compared with the files seen
// before by the criteria switched on; "Same Name" always holds. A file that matches
// none becomes a seen file; one that matches joins the first seen file it matches; one
// that is a file met before, reached by another path, is passed over. A file that
// passes the cheap tests against an earlier one is opened once for its identity and
// first block; its MD5 is computed at most once per search, and only when an earlier
// file of the same name, size and first block asks for it.
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

    [[nodiscard]] size_t FilesOpened() const; // for identity, first block
    [[nodiscard]] size_t DigestsComputed() const;
    [[nodiscard]] uint64_t BytesDigested() const;

private:
    struct TEntry {
        TFoundFile File;
        std::optional<std::string> DateTime;
        std::vector<size_t> Partners; // earlier files of its name it passes the cheap tests with
        bool ProbeAsked = false;
        bool DigestAsked = false;
        std::optional<TFileProbe> Probe;
        std::optional<std::string> Digest; // "" when the file could not be read
        bool Decided = false;              // whether its digest is wanted
        bool Alias = false;                // the same file as one of its partners
        bool Shown = false;
        std::vector<size_t> Members; // of a seen file: the copies found of it
    };
    enum TMatch { mtDifferent, mtDuplicate, mtSameFile, mtWaiting };
    bool PassCheapTests(TEntry& seen, TEntry& found);
    TMatch Compare(TEntry& seen, TEntry& found);
    static const std::string& DateTime(TEntry& entry);
    const TFileProbe* Probe(TEntry& entry);
    const std::string* Digest(TEntry& entry);
    bool IsMember(const TEntry& seen, const TEntry& found, const TFileProbe& probe) const;
    std::optional<std::vector<TDuplicateRow>> Answer(size_t index);
    std::vector<TDuplicateRow> AnswerWaiting();
    void AskDigestsOfName(const std::string& name);
    void Decide(TEntry& entry);
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
    size_t FProbes = 0;
    size_t FDigests = 0;
    uint64_t FDigestBytes = 0;
    TWorkQueue FReaders; // last: its threads end before the rest goes
};
