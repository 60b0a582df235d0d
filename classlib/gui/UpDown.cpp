#include "classlib/gui/UpDown.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>
#include <commctrl.h>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TUpDown>({
    Published("Min", &TUpDown::Min, &TUpDown::SetMin),
    Published("Max", &TUpDown::Max, &TUpDown::SetMax),
    Published("Position", &TUpDown::Position, &TUpDown::SetPosition),
});

} // namespace

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
    FWidth = 16;
    FHeight = 24;
}

void TUpDown::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = UPDOWN_CLASSA;
    params.Style |= UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    if (FAssociate) params.Style |= UDS_ALIGNRIGHT | UDS_SETBUDDYINT;
}

void TUpDown::InitializeWnd() {
    HWND wnd = Handle();
    SendMessageW(wnd, UDM_SETRANGE32, FMin, FMax);
    if (FAssociate)
        SendMessageW(wnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->Handle()), 0);
    SendMessageW(wnd, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::DestroyWnd() {
    FPosition = Position();
    TWinControl::DestroyWnd();
}

void TUpDown::SetAssociate(TWinControl* edit) {
    FAssociate = edit;
    RecreateWnd();
}

void TUpDown::SetMin(int value) {
    FMin = value;
    if (HandleAllocated()) SendMessageW(Handle(), UDM_SETRANGE32, FMin, FMax);
}

void TUpDown::SetMax(int value) {
    FMax = value;
    if (HandleAllocated()) SendMessageW(Handle(), UDM_SETRANGE32, FMin, FMax);
}

int TUpDown::Position() const {
    HWND wnd = HandleIfAllocated();
    return wnd ? static_cast<int>(SendMessageW(wnd, UDM_GETPOS32, 0, 0)) : FPosition;
}

void TUpDown::SetPosition(int value) {
    FPosition = std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
    if (HandleAllocated()) SendMessageW(Handle(), UDM_SETPOS32, 0, FPosition);
}

void TUpDown::WndProc(TMessage& message) {
    TWinControl::WndProc(message);
    bool arrow = message.Msg == CN_VSCROLL || message.Msg == CN_HSCROLL;
    if (arrow && LOWORD(message.WParam) == SB_THUMBPOSITION) Click();
}
