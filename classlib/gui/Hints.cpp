#include "classlib/gui/Hints.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/WinControl.h"
#include <commctrl.h>

namespace {

HWND TipWindow = nullptr;

// The tool of a control: windowed controls by their window, graphic ones by their
// address on the parent's window.
TTTOOLINFOW ToolOf(TControl& control, HWND& owner) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    if (auto windowed = dynamic_cast<TWinControl*>(&control)) {
        owner = windowed->HandleIfAllocated();
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.uId = reinterpret_cast<UINT_PTR>(owner);
    } else {
        owner = control.Parent() ? control.Parent()->HandleIfAllocated() : nullptr;
        tool.uFlags = TTF_SUBCLASS;
        tool.uId = reinterpret_cast<UINT_PTR>(&control);
        tool.rect = control.BoundsRect();
    }
    tool.hwnd = owner;
    return tool;
}

} // namespace

HWND HintWindow() {
    if (TipWindow && IsWindow(TipWindow)) return TipWindow;
    TipWindow = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Application->Handle(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    return TipWindow;
}

void RemoveHintTool(TControl& control) {
    HWND owner = nullptr;
    TTTOOLINFOW tool = ToolOf(control, owner);
    if (owner && TipWindow && IsWindow(TipWindow))
        SendMessageW(TipWindow, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void UpdateHintTool(TControl& control) {
    RemoveHintTool(control);
    HWND owner = nullptr;
    TTTOOLINFOW tool = ToolOf(control, owner);
    if (!owner || !control.ShowHint() || control.Hint().empty() || !control.Visible()) return;
    std::wstring text = ToWide(control.Hint());
    tool.lpszText = text.data();
    SendMessageW(HintWindow(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}
