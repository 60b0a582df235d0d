#include "app/pages/ShellImages.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include <map>
#include <shellapi.h>
#include <shlobj.h>

TImageList* NewSystemSmallImages(TComponent* owner) {
    HIMAGELIST large = nullptr, small = nullptr;
    if (!Shell_GetImageLists(&large, &small)) small = nullptr;
    auto images = new TImageList(owner);
    images->SetName("SystemImages");
    images->SetHandle(small, true);
    return images;
}

TShellEntry ShellEntry(const std::string& path) {
    SHFILEINFOW info{};
    SHGetFileInfoW(ToWide(path).c_str(), 0, &info, sizeof(info),
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME);
    TShellEntry entry;
    entry.DisplayName = ToUtf8(info.szDisplayName);
    if (entry.DisplayName.empty())
        entry.DisplayName = ExtractFileName(ExcludeTrailingPathDelimiter(path));
    entry.Icon = info.iIcon;
    return entry;
}

int ShellTypeIcon(const std::string& path, bool folder) {
    static std::map<std::string, int> icons; // by lower-case extension; "\\" for folders
    const std::string type = folder ? "\\" : LowerCase(ExtractFileExt(path));
    auto known = icons.find(type);
    if (known != icons.end()) return known->second;
    SHFILEINFOW info{};
    const DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    SHGetFileInfoW(ToWide("x" + type).c_str(), attributes, &info, sizeof(info),
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    return icons[type] = info.iIcon;
}
