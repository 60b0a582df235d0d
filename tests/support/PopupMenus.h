#pragma once
// The popup menus on the screen, of any process.
#include <vector>
#include <windows.h>

// The visible popup menu windows, in their order on the screen, the topmost first.
inline std::vector<HWND> ShownMenus() {
    std::vector<HWND> menus;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32768", nullptr))
        if (IsWindowVisible(w)) menus.push_back(w);
    return menus;
}
