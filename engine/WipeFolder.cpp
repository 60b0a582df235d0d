// The folder walk of the overwriting engine.
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include "engine/WipeEngine.h"
#include <vector>

namespace {

bool IsDots(const char* name) {
    return !strcmp(name, ".") || !strcmp(name, "..");
}

// The path with every link resolved; "" when it cannot be opened.
std::string FinalPath(const std::string& path) {
    TFileHandle handle(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return "";
    char buffer[MAX_PATH * 4];
    const DWORD n = GetFinalPathNameByHandleA(handle.Get(), buffer, sizeof buffer, 0);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : "";
}

// A junction or symbolic link, which may lead out of the folder. Wine flags only
// links to folders as reparse points, so a link is also known by its resolved path
// not being the folder's resolved path and the entry's name. Links are never
// removed either: Wine deletes a link's target instead of the link.
bool IsLink(const WIN32_FIND_DATAA& entry, const std::string& path,
            const std::string& finalFolder) {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    const std::string final = FinalPath(path);
    return !final.empty() && !finalFolder.empty() &&
           !SameText(final, IncludeTrailingPathDelimiter(finalFolder) + entry.cFileName);
}

// Entries of a search, "." and ".." left out, in the order of the search.
std::vector<WIN32_FIND_DATAA> FindEntries(const std::string& pattern) {
    std::vector<WIN32_FIND_DATAA> entries;
    WIN32_FIND_DATAA data;
    TFindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (!find) return entries;
    do
        if (!IsDots(data.cFileName)) entries.push_back(data);
    while (FindNextFileA(find.Get(), &data));
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
        const std::string path = dir + entry.cFileName;
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
            const std::string path = dir + entry.cFileName;
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
