#pragma once
// The plan of one search, built from the criteria when the search starts: the
// folders to walk with their masks, and copies of the acceptance criteria, so that
// changing the criteria during a search affects only the next one.
#include "classlib/base/SysUtils.h"
#include "components/FileFinder/SearchCriteria.h"
#include <memory>
#include <string>
#include <vector>

struct TTargetFolder {
    std::string Folder; // full path ending in "\"
    bool Recursive = false;
    std::vector<std::string> Masks;
    uint16_t MinLevel = 0;
    uint16_t MaxLevel = 0;
};

// The folders in the order they first appeared, and the exclusion lines.
struct TTargetFolderList {
    std::vector<std::unique_ptr<TTargetFolder>> Folders;
    TStringList Excluded;
};

class TTargetSearch {
public:
    explicit TTargetSearch(const TSearchCriteria& criteria);
    [[nodiscard]] const TTargetFolderList& Targets() const { return FTargets; }
    // Cheap tests first; the content is read only when they all pass.
    [[nodiscard]] bool AcceptFile(const std::string& folder, const TFindData& file) const;

private:
    void AddIncluded(const TFileCriteria& files);
    void AddLocations(const TFileCriteria& files);
    TTargetFolder& FindOrAddTarget(const std::string& path);
    [[nodiscard]] bool Excluded(const std::string& folder, const std::string& name) const;

    TTargetFolderList FTargets;
    TAttributeCriteria FAttribute;
    TDateTimeCriteria FTimeStamp;
    TSizeCriteria FSize;
    TContentCriteria FContent;
};

// Cut at ";", trimmed, without empty pieces and pieces already present (ignoring case).
[[nodiscard]] std::vector<std::string> SplitList(const std::string& s);
