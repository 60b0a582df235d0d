#include "app/finders/FoundFile.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <string_view>

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

TFileProbe ProbeFile(const std::string& path, bool withFirstBlock) {
    TFileProbe probe;
    TFileHandle file(CreateFileW(ToWide(path).c_str(), withFirstBlock ? GENERIC_READ : 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    if (!file) return probe;
    probe.FinalPath = SafeFinalPath(file.Get());
    if (!withFirstBlock) return probe;
    char block[FirstBlockSize];
    DWORD read = 0;
    probe.Read = ReadFile(file.Get(), block, sizeof block, &read, nullptr);
    if (probe.Read) probe.FirstBlock = std::hash<std::string_view>()(std::string_view(block, read));
    return probe;
}

bool SameFile(const TFoundFile& a, const TFileProbe& probeA, const TFoundFile& b,
              const TFileProbe& probeB) {
    if (!probeA.FinalPath.empty() && !probeB.FinalPath.empty())
        return SameText(probeA.FinalPath, probeB.FinalPath);
    return SameText(a.Path, b.Path);
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
