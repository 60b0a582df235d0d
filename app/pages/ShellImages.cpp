#include "app/pages/ShellImages.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include <map>
#include <set>
#include <shellapi.h>
#include <shlobj.h>

namespace {

// The shell's name and icon of the path; false when the shell knows no such path.
bool LookUp(const std::string& path, TShellEntry& entry) {
    SHFILEINFOW info;
    GetShellFileInfo(path, info);
    TIconHandle icon(info.hIcon); // the lists draw from the system image list
    entry.DisplayName = ToUtf8(info.szDisplayName);
    entry.Icon = info.iIcon;
    return !entry.DisplayName.empty();
}

// Programs, shortcuts and icon files carry icons of their own: those are asked for
// file by file.
bool HasOwnIcon(const std::string& type) {
    static const std::set<std::string> own{".exe", ".lnk", ".ico", ".cur", ".ani",
                                           ".scr", ".cpl", ".pif", ".url"};
    return own.count(type) > 0;
}

} // namespace

TImageList* NewSystemSmallImages(TComponent* owner) {
    HIMAGELIST large = nullptr, small = nullptr;
    if (!Shell_GetImageLists(&large, &small)) small = nullptr;
    auto images = new TImageList(owner);
    images->SetName("SystemImages");
    images->SetHandle(small, true);
    return images;
}

TShellEntry ShellEntry(const std::string& path) {
    TShellEntry entry;
    if (!LookUp(path, entry))
        entry.DisplayName = ExtractFileName(ExcludeTrailingPathDelimiter(path));
    return entry;
}

int ShellTypeIcon(const std::string& path, bool folder) {
    static std::map<std::string, int> icons; // by lower-case extension; "\\" for folders
    const std::string type = folder ? "\\" : LowerCase(ExtractFileExt(path));
    auto known = icons.find(type);
    if (known != icons.end()) return known->second;
    TShellEntry entry;
    // A path that is gone tells nothing of its type.
    if (!LookUp(path, entry) || (!folder && HasOwnIcon(type))) return entry.Icon;
    return icons[type] = entry.Icon;
}
