// The folder walk of the overwriting engine.
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeEngine.h"
#include <vector>

namespace {

// Entries of a search, "." and ".." left out, in the order of the search. A name
// that cannot be spelt exactly is left out too: it would reach no entry, and the
// folder that keeps it is reported.
std::vector<TFindData> FindEntries(const std::string& pattern) {
    std::vector<TFindData> entries;
    ForEachFile(pattern, [&](const TFindData& entry) {
        if (entry.Exact) entries.push_back(entry);
        return true;
    });
    return entries;
}

bool IsSameOrInside(const std::string& folder, const std::string& path) {
    const std::string outer = IncludeTrailingPathDelimiter(folder);
    const std::string inner = IncludeTrailingPathDelimiter(path);
    return !outer.empty() && SameText(outer, inner.substr(0, outer.size()));
}

// "X:\..." or "\\server\share\...": a relative path would name a folder below the
// current one, a device path ("\\?\", "\\.\") slips past the comparisons.
bool IsPlainFullPath(const std::string& path) {
    const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool share =
        path.size() > 2 && path.compare(0, 2, "\\\\") == 0 && path[2] != '?' && path[2] != '.';
    return drive || share;
}

bool IsFolderLink(const std::string& path) {
    const DWORD attr = FileGetAttr(path);
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsDriveRoot(const std::string& path) {
    return SameText(IncludeTrailingPathDelimiter(path), ExtractFileDrive(path) + "\\");
}

// The Windows and system folders, as spelled and as they really are.
std::vector<std::string> SystemFolders() {
    std::vector<std::string> folders;
    for (const std::string& folder : {GetWindowsDir(), GetSystemDir()}) {
        folders.push_back(folder);
        if (std::string real = SafeRealPath(folder); !real.empty()) folders.push_back(real);
    }
    return folders;
}

// The path as spelled and its real path (a junction or link on the way followed).
std::vector<std::string> Spellings(const std::string& path) {
    std::vector<std::string> spellings{path};
    if (std::string real = SafeRealPath(path); !real.empty())
        spellings.push_back(ExcludeTrailingPathDelimiter(real));
    return spellings;
}

} // namespace

bool IsSystemPlace(const std::string& folder) {
    if (!IsPlainFullPath(folder)) return true;
    const std::string path = ExcludeTrailingPathDelimiter(ExpandFileName(folder));
    const std::vector<std::string> systemFolders = SystemFolders();
    for (const std::string& spelling : Spellings(path)) {
        if (IsDriveRoot(spelling)) return true;
        for (const std::string& system : systemFolders)
            if (IsSameOrInside(spelling, system) || IsSameOrInside(system, spelling)) return true;
    }
    return false;
}

bool IsProtectedFolder(const std::string& folder) {
    return IsSystemPlace(folder) ||
           IsFolderLink(ExcludeTrailingPathDelimiter(ExpandFileName(folder)));
}

bool IsProtectedFile(const std::string& file) {
    if (!IsPlainFullPath(file)) return true;
    const std::vector<std::string> systemFolders = SystemFolders();
    for (const std::string& spelling : Spellings(ExpandFileName(file)))
        for (const std::string& system : systemFolders)
            if (IsSameOrInside(system, ExtractFileDir(spelling))) return true;
    return false;
}

// A folder that stays is a failure of the run; its reason is reported once, by the
// file or link that kept it when there is one.
bool TWipeEngine::WipeFolderItem(TWipeItem& item) {
    if (IsProtectedFolder(item.Path)) {
        AddError(item.Path, ProtectedFolderText);
        return false;
    }
    const size_t errors = Errors.size();
    if (WipeFolder(item.Path, "*.*", false, true) && !DirectoryExists(item.Path)) return true;
    if (!Cancelled && Errors.size() == errors)
        AddError(item.Path, DirectoryExists(item.Path) ? "The folder could not be removed"
                                                       : "The folder was not found");
    return false;
}

// Links are never entered, overwritten or removed: each is reported, by this check
// for folders and by WipeFile for files.
bool TWipeEngine::WipeFolder(const std::string& folder, const std::string& mask, bool keepFolder,
                             bool recurse) {
    const TSafeFileResult self = SafeCheckNoLink(folder);
    if (self.IsLink()) {
        AddError(folder, self.Text());
        return false;
    }
    const std::string dir = IncludeTrailingPathDelimiter(folder);
    for (const auto& entry : FindEntries(dir + mask)) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        TWipeItem item;
        item.Path = dir + entry.Name;
        WipeFile(item, true, entry.dwFileAttributes);
        ProcessMessages();
        if (Cancelled) break;
    }
    DeleteRenamed();
    if (Cancelled) return true;
    if (recurse) {
        for (const auto& entry : FindEntries(dir + "*.*")) {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
            ProcessMessages();
            if (Cancelled) return true;
            WipeFolder(dir + entry.Name, mask, false, recurse);
        }
    }
    if (keepFolder) return true;
    return SafeRemoveDir(folder).Done();
}
