#pragma once
// The DLL finder's comparison: a library is a copy of the first library seen before
// with the same name that passes the options switched on, unless it is that library
// reached by another path. Only libraries with a version resource take part. Search
// thread only.
#include "app/finders/FoundFile.h"
#include <deque>
#include <optional>
#include <unordered_map>

struct TDLLOptions {
    bool SameSize = true;         // "... with the same size as the system version"
    bool SameVersion = false;     // "... with the same version number as the system version"
    bool SameSizeVersion = false; // "... with the same size and version number"
};

struct TDLLRow {
    TFoundFile File;
    std::string Version;
    int Group = 0;
    bool First = false; // the copy seen first
};

// The fixed file version as "major.minor.release.build"; "" without a version
// resource.
std::string GetFileVersionText(const std::string& fileName);

class TDLLSearch {
public:
    explicit TDLLSearch(const TDLLOptions& options) : FOptions(options) {}

    // The rows a library with that version text adds (see TDuplicateSearch::Add).
    std::vector<TDLLRow> Add(const TFoundFile& file, const std::string& version);

private:
    struct TEntry {
        TFoundFile File;
        std::string Version;
        std::optional<TFileProbe> Probe;
        bool Shown = false;
        std::vector<size_t> Members; // of a seen library: the copies found of it
    };
    static bool SameFile(TEntry& a, TEntry& b);
    [[nodiscard]] bool IsDuplicateDLL(const TEntry& seen, const TFoundFile& file,
                                      const std::string& version) const;

    TDLLOptions FOptions;
    std::deque<TEntry> FSeen; // seen libraries and their copies
    std::unordered_map<std::string, std::vector<size_t>> FSeenByName;
};
