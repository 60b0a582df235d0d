#include "classlib/gui/Hints.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/WinControl.h"
#include <commctrl.h>

namespace {

HWND TipWindow = nullptr;

// The tool of a control: windowed controls by their window, graphic ones by their
// address on the parent's window.
TTTOOLINFOA ToolOf(TControl& control, HWND& owner) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
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
    TipWindow = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                Application->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    return TipWindow;
}

void RemoveHintTool(TControl& control) {
    HWND owner = nullptr;
    TTTOOLINFOA tool = ToolOf(control, owner);
    if (owner && TipWindow && IsWindow(TipWindow))
        SendMessageA(TipWindow, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void UpdateHintTool(TControl& control) {
    RemoveHintTool(control);
    HWND owner = nullptr;
    TTTOOLINFOA tool = ToolOf(control, owner);
    if (!owner || !control.ShowHint() || control.Hint().empty() || !control.Visible()) return;
    std::string text = control.Hint();
    tool.lpszText = text.data();
    SendMessageA(HintWindow(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
