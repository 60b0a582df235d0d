#include "app/finders/FoundFile.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>

TFoundFile FoundFile(const std::string& folder, const TFindData& data) {
    TFoundFile file;
    const std::string realFolder = IncludeTrailingPathDelimiter(folder);
    file.Folder = LowerCase(realFolder);
    file.Name = LowerCase(data.Name);
    file.Path = realFolder + data.Name;
    file.Size = uint64_t(data.Size());
    file.Modified = data.ftLastWriteTime;
    file.Attributes = data.dwFileAttributes;
    return file;
}

std::string LowerExtension(const std::string& name) {
    return LowerCase(ExtractFileExt(name));
}

bool TFinderExclusions::Excludes(const TFoundFile& file) const {
    auto listed = [](const std::vector<std::string>& list, const std::string& s) {
        return std::any_of(list.begin(), list.end(),
                           [&](const std::string& entry) { return SameText(entry, s); });
    };
    const std::string extension = LowerExtension(file.Name);
    return (!extension.empty() && listed(Extensions, extension)) || listed(Files, file.Name) ||
           listed(Folders, file.Folder) || SameText(file.Folder, StoreFolder);
}

std::vector<std::string> FoldFolders(const std::vector<std::string>& folders) {
    std::vector<std::string> lower;
    for (const std::string& folder : folders)
        lower.push_back(IncludeTrailingPathDelimiter(LowerCase(folder)));
    std::vector<std::string> folded;
    for (size_t i = 0; i < lower.size(); ++i) {
        auto covers = [&](size_t j) {
            return j != i && StartsText(lower[j], lower[i]) &&
                   (lower[j].size() < lower[i].size() || j < i);
        };
        bool covered = false;
        for (size_t j = 0; j < lower.size() && !covered; ++j)
            covered = covers(j);
        if (!covered) folded.push_back(IncludeTrailingPathDelimiter(folders[i]));
    }
    return folded;
}
