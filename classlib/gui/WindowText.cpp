#include "classlib/gui/WindowText.h"
#include "classlib/base/SysUtils.h"

std::string GetWindowTextStr(HWND wnd) {
    std::wstring text(GetWindowTextLengthW(wnd) + 1, L'\0');
    text.resize(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size())));
    return ToUtf8(text);
}

std::string GetClassNameStr(HWND wnd) {
    wchar_t name[256]; // class names have at most 256 characters
    const int n = GetClassNameW(wnd, name, 256);
    return ToUtf8(std::wstring(name, n > 0 ? n : 0));
}
