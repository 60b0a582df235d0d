// The folder walk of the overwriting engine.
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeEngine.h"
#include <iterator>
#include <vector>

namespace {

// The path with every link resolved; "" when it cannot be opened.
std::string FinalPath(const std::string& path) {
    TFileHandle handle(CreateFileW(ToWide(path).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return "";
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetFinalPathNameByHandleW(handle.Get(), buffer, std::size(buffer), 0);
    return n > 0 && n < std::size(buffer) ? ToUtf8(std::wstring(buffer, n)) : "";
}

// A junction or symbolic link, which may lead out of the folder. Wine flags only
// links to folders as reparse points, so a link is also known by its resolved path
// not being the folder's resolved path and the entry's name. Links are never
// removed either: Wine deletes a link's target instead of the link.
bool IsLink(const TFindData& entry, const std::string& path, const std::string& finalFolder) {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    const std::string final = FinalPath(path);
    return !final.empty() && !finalFolder.empty() &&
           !SameText(final, IncludeTrailingPathDelimiter(finalFolder) + entry.Name);
}

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

} // namespace

// A folder that stays is a failure of the run; its reason is reported once, by the
// file or link that kept it when there is one.
bool TWipeEngine::WipeFolderItem(TWipeItem& item) {
    const size_t errors = Errors.size();
    if (WipeFolder(item.Path, "*.*", false, true) && !DirectoryExists(item.Path)) return true;
    if (!Cancelled && Errors.size() == errors)
        AddError(item.Path, DirectoryExists(item.Path) ? "The folder could not be removed"
                                                       : "The folder does not exist");
    return false;
}

bool TWipeEngine::WipeFolder(const std::string& folder, const std::string& mask, bool keepFolder,
                             bool recurse) {
    const std::string dir = IncludeTrailingPathDelimiter(folder);
    const std::string finalDir = FinalPath(dir);
    for (const auto& entry : FindEntries(dir + mask)) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string path = dir + entry.Name;
        if (IsLink(entry, path, finalDir)) {
            AddError(path, "A link is left in place");
            continue;
        }
        TWipeItem item;
        item.Path = path;
        WipeFile(item);
        ProcessMessages();
        if (Cancelled) return true;
    }
    if (recurse) {
        for (const auto& entry : FindEntries(dir + "*.*")) {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
            ProcessMessages();
            if (Cancelled) return true;
            const std::string path = dir + entry.Name;
            if (IsLink(entry, path, finalDir)) {
                AddError(path, "A link is left in place");
                continue;
            }
            WipeFolder(path, mask, false, recurse);
        }
    }
    if (keepFolder) return true;
    return RemoveDir(folder);
}
