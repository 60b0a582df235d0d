#pragma once
// The duplicate finder's comparison: every found file is compared with the files seen
// before by the criteria switched on; "Same Name" always holds. A file that matches
// none becomes a seen file; one that matches joins the first seen file it matches; one
// that is a file met before, reached by another path, is passed over. A file that
// passes the cheap tests against an earlier one is opened once for its identity and
// first block; its MD5 is computed at most once per search, and only when an earlier
// file of the same name, size and first block asks for it. Search thread only.
#include "app/finders/FoundFile.h"
#include <deque>
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
    explicit TDuplicateSearch(const TDuplicateOptions& options) : FOptions(options) {}

    // The rows the file adds: none, the file, or the file and the file it duplicates
    // when that one has no row yet.
    std::vector<TDuplicateRow> Add(const TFoundFile& file);
    [[nodiscard]] size_t FilesOpened() const { return FProbes; } // for identity, first block
    [[nodiscard]] size_t DigestsComputed() const { return FDigests; }
    [[nodiscard]] uint64_t BytesDigested() const { return FDigestBytes; }

private:
    struct TEntry {
        TFoundFile File;
        std::optional<std::string> DateTime;
        std::optional<TFileProbe> Probe;
        std::optional<std::string> Digest; // "" when the file could not be read
        bool Shown = false;
        std::vector<size_t> Members; // of a seen file: the copies found of it
    };
    enum TMatch { mtDifferent, mtDuplicate, mtSameFile };
    TMatch Compare(TEntry& seen, TEntry& found);
    static const std::string& DateTime(TEntry& entry);
    bool IsMember(const TEntry& seen, TEntry& found);
    const TFileProbe& Probe(TEntry& entry);
    const std::string& Digest(TEntry& entry);

    TDuplicateOptions FOptions;
    std::deque<TEntry> FSeen; // seen files and their copies
    std::unordered_map<std::string, std::vector<size_t>> FSeenByName;
    size_t FProbes = 0;
    size_t FDigests = 0;
    uint64_t FDigestBytes = 0;
};
