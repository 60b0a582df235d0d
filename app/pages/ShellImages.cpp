#include "app/pages/ShellImages.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"

TImageList* NewSystemSmallImages(TComponent* owner) {
    SHFILEINFOW info{};
    auto handle = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    auto images = new TImageList(owner);
    images->SetName("SystemImages");
    images->SetHandle(handle, true);
    return images;
}

TShellEntry ShellEntry(const std::string& path) {
    SHFILEINFOA info;
    GetShellFileInfo(path, info);
    if (info.hIcon) DestroyIcon(info.hIcon);
    TShellEntry entry;
    entry.DisplayName = info.szDisplayName;
    if (entry.DisplayName.empty())
        entry.DisplayName = ExtractFileName(RemoveTrailingBackslash(path));
    entry.Icon = info.iIcon;
    return entry;
}
