#pragma once
// Texts of any window, ours or another program's, as UTF-8 (the system converts for
// windows that are not Unicode).
#include <string>
#include <windows.h>

std::string GetWindowTextStr(HWND wnd);
std::string GetClassNameStr(HWND wnd);
