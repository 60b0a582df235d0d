#include "engine/erasers/EraseFiles.h"
#include "classlib/base/Handle.h"
#include "classlib/base/Masks.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "engine/CustomEraserEngine.h"
#include "engine/SharedRoutines.h"
#include "engine/settings/XMLValues.h"
#include <algorithm>
#include <memory>

namespace {

bool IsFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Junctions, folder symbolic links and other folder reparse points: never walked.
bool IsFolderLink(DWORD attributes) {
    return IsFolder(attributes) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

DWORD AttributesOf(const std::string& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(ToWide(path).c_str());
}

bool IsWalkableFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && IsFolder(attributes) &&
           !IsFolderLink(attributes);
}

int64_t SizeOf(DWORD high, DWORD low) {
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

void SetReadOnly(const std::string& fileName, DWORD attributes) {
    FileSetAttr(fileName, (attributes & ~FILE_ATTRIBUTE_NORMAL) | FILE_ATTRIBUTE_READONLY);
}

} // namespace

void TEraseFiles::AddExclude(const std::string& Name) {
    if (std::find(Exclude.begin(), Exclude.end(), Name) == Exclude.end()) Exclude.push_back(Name);
}

void TEraseFiles::AddFile(const std::string& FileName) {
    if (IsExcluded(FileName)) return;
    TEraserItem item;
    item.Kind = ikFile;
    item.Path = FileName;
    Items.push_back(item);
}

void TEraseFiles::AddFolder(const std::string& Path, const std::string& Mask, bool KeepFolder,
                            bool Recurse) {
    TEraserItem item;
    item.Kind = ikFolder;
    item.Path = Path;
    item.Mask = Mask;
    item.KeepFolder = KeepFolder;
    item.Recurse = Recurse;
    Items.push_back(item);
}

bool TEraseFiles::IsExcluded(const std::string& FileName) const {
    const std::string name = ExtractFileName(FileName);
    return std::any_of(Exclude.begin(), Exclude.end(), [&](const std::string& entry) {
        return SameText(entry, name) || MatchMask(entry, name);
    });
}

bool TEraseFiles::MatchMask(const std::string& Mask, const std::string& Name) {
    return MatchesMask(Name, Mask);
}

void TEraseFiles::CollectFiles(const std::string& Folder, const std::string& Mask,
                               std::vector<std::string>* List, bool Recurse) {
    if (!IsWalkableFolder(AttributesOf(Folder))) return;
    const std::string dir = IncludeTrailingPathDelimiter(Folder);
    std::vector<std::string> subfolders;
    const bool complete = ForEachEntry(dir, [&](const TFindData& entry) {
        const std::string path = dir + entry.Name;
        if (!IsFolder(entry.dwFileAttributes)) {
            if (!MatchMask(Mask, entry.Name)) return;
            if (List)
                List->push_back(path);
            else
                AddFile(path);
        } else if (Recurse && !IsFolderLink(entry.dwFileAttributes)) {
            subfolders.push_back(path);
        }
    });
    for (size_t i = 0; complete && i < subfolders.size() && !Owner().Cancelled; ++i)
        CollectFiles(subfolders[i], Mask, List, Recurse);
}

bool TEraseFiles::EraseFile(const std::string& FileName) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ToWide(FileName).c_str(), GetFileExInfoStandard, &data) ||
        IsFolder(data.dwFileAttributes))
        return false;
    return EraseExistingFile(FileName, data.dwFileAttributes,
                             SizeOf(data.nFileSizeHigh, data.nFileSizeLow));
}

bool TEraseFiles::EraseExistingFile(const std::string& FileName, DWORD Attributes, int64_t Size) {
    TCustomEraserEngine& engine = Owner();
    // One open per file: the one that checks the entry deletes it (and clears its
    // read-only attribute) through the same handle. A simulation asks what it would meet.
    const TSafeFileResult result =
        engine.SimulationMode
            ? SafeCheckEntry(FileName)
            : SafeDeleteFile(FileName, (Attributes & FILE_ATTRIBUTE_READONLY) != 0);
    if (result.IsLink()) return ReportLink(FileName, result);
    if (!engine.SimulationMode && !result.Done()) {
        // Gone since the folder was listed (temporary folders change all the time),
        // or not to be found by this name: the next start would not find it either.
        if (result.Error == ERROR_FILE_NOT_FOUND || result.Error == ERROR_PATH_NOT_FOUND ||
            AttributesOf(FileName) == INVALID_FILE_ATTRIBUTES)
            return false;
        Defer(FileName, Attributes);
        return false;
    }
    ++engine.FilesErased;
    engine.BytesErased += Size;
    return true;
}

bool TEraseFiles::ReportLink(const std::string& Path, const TSafeFileResult& Result) {
    ++FLinksLeft;
    Owner().DoProgress(this, Path + ": " + Result.Text());
    return false;
}

// The next start of Windows deletes the file; read-only keeps programs from
// rewriting it meanwhile. A file held open may not have shown itself as a link yet.
void TEraseFiles::Defer(const std::string& FileName, DWORD Attributes) {
    const TSafeFileResult entry = SafeCheckNoLink(FileName);
    if (entry.IsLink()) {
        ReportLink(FileName, entry);
        return;
    }
    auto item = std::make_unique<TPostEraserItem>();
    item->Type = ptDeleteFile;
    item->FileName = FileName;
    item->Attributes = Attributes;
    SetReadOnly(FileName, Attributes);
    Owner().PostEraser.Add(std::move(item));
}

// A folder reached through a link (a linked profile folder, say) is not walked: every
// entry below it would be a link.
bool TEraseFiles::EraseFolder(const std::string& Path, const std::string& Mask, bool KeepFolder,
                              bool Recurse) {
    const DWORD attributes = AttributesOf(Path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !IsFolder(attributes)) return true;
    if (IsFolderLink(attributes) && !KeepFolder) {
        RemoveFolder(Path, true, false);
        return true;
    }
    const TSafeFileResult entry = SafeCheckNoLink(Path);
    if (!entry.IsLink()) return WalkFolder(Path, Mask, KeepFolder, Recurse);
    ReportLink(Path, entry);
    return true;
}

bool TEraseFiles::WalkFolder(const std::string& Path, const std::string& Mask, bool KeepFolder,
                             bool Recurse) {
    const int linksBefore = FLinksLeft;
    const std::string dir = IncludeTrailingPathDelimiter(Path);
    std::vector<std::pair<std::string, bool>> subfolders; // path, is a link
    const bool complete = ForEachEntry(dir, [&](const TFindData& entry) {
        const std::string path = dir + entry.Name;
        if (!IsFolder(entry.dwFileAttributes)) {
            if (MatchMask(Mask, entry.Name))
                EraseExistingFile(path, entry.dwFileAttributes,
                                  SizeOf(entry.nFileSizeHigh, entry.nFileSizeLow));
        } else if (Recurse) {
            subfolders.emplace_back(path, IsFolderLink(entry.dwFileAttributes));
        }
    });
    if (!complete) return false;
    for (const auto& [path, isLink] : subfolders) {
        if (isLink)
            RemoveFolder(path, true, false);
        else if (!WalkFolder(path, Mask, false, Recurse))
            return false;
    }
    if (!KeepFolder) RemoveFolder(Path, false, FLinksLeft > linksBefore);
    return true;
}

// Counted whether or not the removal succeeds when only a deferred file may keep the
// folder; a folder kept by links left in it stays for good and is not. Of a link only
// the link itself goes, where the platform can remove it; otherwise it is reported.
void TEraseFiles::RemoveFolder(const std::string& Path, bool IsLink, bool HoldsLinks) {
    TCustomEraserEngine& engine = Owner();
    TSafeFileResult removed;
    if (!engine.SimulationMode)
        removed = SafeRemoveDir(Path);
    else if (IsLink)
        removed = SafeCheckEntry(Path);
    if (removed.IsLink())
        ReportLink(Path, removed);
    else if (!HoldsLinks || (removed.Done() && !engine.SimulationMode))
        ++engine.FoldersErased;
}

bool TEraseFiles::ForEachEntry(const std::string& Folder, const TEntryVisitor& Visit) {
    TCustomEraserEngine& engine = Owner();
    return ForEachFile(Folder + "*", [&](const TFindData& entry) {
        engine.ProcessMessages();
        if (engine.Cancelled) return false;
        if (entry.Exact) Visit(entry);
        return true;
    });
}

void TEraseFiles::Erase() {
    TEraser::Erase();
    // A copy: messages run during the walks, and a handler may refill Items.
    const std::vector<TEraserItem> items = Items;
    for (const TEraserItem& item : items) {
        if (item.Path.empty()) continue;
        if (item.Kind == ikFile)
            EraseFile(item.Path);
        else if (item.Kind == ikFolder)
            EraseFolder(item.Path, item.Mask, item.KeepFolder, item.Recurse);
    }
    DoAfterErase();
}

void TEraseFiles::LoadFromXML(const TXMLNode& Parent) {
    TEraser::LoadFromXML(Parent);
    ReadItemList(Parent.FindNode(Name), "Exclude", "FileName", Exclude);
}

void TEraseFiles::SaveToXML(TXMLNode Parent) {
    TEraser::SaveToXML(Parent);
    WriteItemList(FElement, "Exclude", "FileName", Exclude);
}
