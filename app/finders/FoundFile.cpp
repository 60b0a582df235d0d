#include "app/finders/FoundFile.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <cstring>
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

namespace {
TFileHandle OpenShared(const std::string& path, DWORD access, DWORD flags) {
    return TFileHandle(CreateFileW(ToWide(path).c_str(), access,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, flags, nullptr));
}

} // namespace

TFileProbe ProbeFile(const std::string& path, bool withFirstBlock, TFileHandle* keepOpen) {
    TFileProbe probe;
    TFileHandle file = OpenShared(path, withFirstBlock ? GENERIC_READ : FILE_READ_ATTRIBUTES, 0);
    if (!file) return probe;
    probe.FinalPath = SafeFinalPath(file.Get());
    probe.Index = FileIndexOf(file.Get());
    if (!withFirstBlock) return probe;
    char block[FirstBlockSize];
    DWORD read = 0;
    probe.Read = ReadFileAt(file.Get(), 0, block, sizeof block, read);
    if (!probe.Read) return probe;
    probe.FirstBlock = std::hash<std::string_view>()(std::string_view(block, read));
    if (keepOpen) *keepOpen = std::move(file);
    return probe;
}

TFileHandle OpenToRead(const std::string& path) {
    return OpenShared(path, GENERIC_READ, FILE_FLAG_SEQUENTIAL_SCAN);
}

TContentComparison CompareContents(HANDLE file, HANDLE other, const std::atomic<bool>& stop) {
    constexpr DWORD blockSize = 256 * 1024;
    TContentComparison comparison;
    if (file == INVALID_HANDLE_VALUE || !file) {
        comparison.Match = cmUnreadable;
        return comparison;
    }
    if (other == INVALID_HANDLE_VALUE || !other) return comparison;
    // Made once for each thread: most files compared are small.
    thread_local std::vector<char> block(blockSize), otherBlock(blockSize);
    for (uint64_t offset = 0;; offset += blockSize) {
        DWORD read = 0, otherRead = 0;
        if (!ReadFileAt(file, offset, block.data(), blockSize, read)) {
            comparison.Match = cmUnreadable;
            return comparison;
        }
        if (!ReadFileAt(other, offset, otherBlock.data(), blockSize, otherRead)) return comparison;
        comparison.BytesRead += read + otherRead;
        if (read != otherRead || std::memcmp(block.data(), otherBlock.data(), read) != 0 || stop)
            return comparison;
        if (read < blockSize) break;
    }
    comparison.Match = cmSame;
    return comparison;
}

bool SameFile(const TFoundFile& a, const TFileProbe& probeA, const TFoundFile& b,
              const TFileProbe& probeB) {
    // Hard-linked names: one number on one volume, told by the final paths' drive.
    const std::string drive = ExtractFileDrive(probeA.FinalPath);
    if (probeA.Index != 0 && probeA.Index == probeB.Index && !drive.empty() &&
        SameText(drive, ExtractFileDrive(probeB.FinalPath)))
        return true;
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
