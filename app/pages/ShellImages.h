#pragma once
// The shell's icons and names for the shredding pages' lists.
#include "classlib/gui/ImageList.h"
#include <string>

// The system image list of small icons, shared: the list does not own the handle.
// Its first use in the process is slow: pages get it when first shown.
TImageList* NewSystemSmallImages(TComponent* owner);

struct TShellEntry {
    std::string DisplayName; // the shell's name, or the path's last part when it has none
    int Icon = -1;           // index in the system image list
};
TShellEntry ShellEntry(const std::string& path);

// The icon the shell gives the first path of each type (its extension), or of
// folders, for every path of that type: the long shredding lists ask the shell once
// per type, as one question per row is slow. Programs, shortcuts and icon files,
// whose icons are their own, are asked for one by one.
int ShellTypeIcon(const std::string& path, bool folder);
