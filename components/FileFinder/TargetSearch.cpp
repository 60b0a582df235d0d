#include "components/FileFinder/TargetSearch.h"
#include "classlib/base/SysUtils.h"
#include "components/FileFinder/FileMasks.h"
#include <algorithm>

namespace {
// A leading "<" (no subfolders) or ">" (subfolders) overrides the default and is removed.
bool TakeRecursion(std::string& entry, bool subfolders) {
    if (entry.empty() || (entry[0] != '<' && entry[0] != '>')) return subfolders;
    const bool recursive = entry[0] == '>';
    entry.erase(0, 1);
    return recursive;
}

void SetWalk(TTargetFolder& target, bool recursive, const TFileCriteria& files) {
    target.Recursive = recursive;
    target.MinLevel = files.MinLevel;
    target.MaxLevel = files.MaxLevel;
}
} // namespace

std::vector<std::string> SplitList(const std::string& s) {
    std::vector<std::string> result;
    for (const std::string& piece : SplitString(s, ';')) {
        const std::string item = Trim(piece);
        if (item.empty()) continue;
        if (std::none_of(result.begin(), result.end(),
                         [&](const std::string& r) { return SameText(r, item); }))
            result.push_back(item);
    }
    return result;
}

TTargetSearch::TTargetSearch(const TSearchCriteria& criteria)
    : FAttribute(criteria.Attribute), FTimeStamp(criteria.TimeStamp), FSize(criteria.Size),
      FContent(criteria.Content) {
    FTargets.Excluded = criteria.Files.Excluded;
    AddIncluded(criteria.Files);
    AddLocations(criteria.Files);
    if (!FContent.Phrase().empty()) {
        TFileAttributes attributes = FAttribute.Attributes();
        attributes.erase(ffDirectory);
        FAttribute.SetAttributes(attributes);
    }
}

void TTargetSearch::AddIncluded(const TFileCriteria& files) {
    for (const auto& item : files.Included) {
        std::string line = item.S;
        const bool recursive = TakeRecursion(line, files.Subfolders);
        TTargetFolder& target = FindOrAddTarget(ExtractFilePath(line));
        target.Masks.push_back(ExtractFileName(line));
        SetWalk(target, recursive, files);
    }
}

void TTargetSearch::AddLocations(const TFileCriteria& files) {
    const std::vector<std::string> masks = SplitList(files.FileName);
    for (std::string location : SplitList(files.Location)) {
        const bool recursive = TakeRecursion(location, files.Subfolders);
        TTargetFolder& target = FindOrAddTarget(location);
        target.Masks.insert(target.Masks.end(), masks.begin(), masks.end());
        SetWalk(target, recursive, files);
    }
}

TTargetFolder& TTargetSearch::FindOrAddTarget(const std::string& path) {
    std::string folder = ExpandFileName(path);
    if (!folder.empty() && folder.back() != '\\' && folder.back() != ':') folder += '\\';
    for (const auto& target : FTargets.Folders)
        if (SameText(target->Folder, folder)) return *target;
    auto& target = FTargets.Folders.emplace_back(std::make_unique<TTargetFolder>());
    target->Folder = folder;
    return *target;
}

bool TTargetSearch::Excluded(const std::string& folder, const std::string& name) const {
    for (int i = FTargets.Excluded.Count() - 1; i >= 0; --i)
        if (MatchesExclusion(folder, name, FTargets.Excluded[i])) return true;
    return false;
}

bool TTargetSearch::AcceptFile(const std::string& folder, const TFindData& file) const {
    return file.Exact && FAttribute.Matches(file.dwFileAttributes) && FSize.Matches(file.Size()) &&
           FTimeStamp.Matches(file.ftCreationTime, file.ftLastWriteTime, file.ftLastAccessTime) &&
           !Excluded(folder, file.Name) &&
           (FContent.Phrase().empty() || FContent.Matches(folder + file.Name));
}
