// The shell's notifications about the icon, its timers and its popup menu.
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Menus.h"
#include "components/TrayIcon/TrayNotifyIcon.h"

namespace {
TShiftState KeyShiftState() {
    TShiftState shift = 0;
    if (GetAsyncKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetAsyncKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (GetAsyncKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

POINT CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}
} // namespace

void TTrayNotifyIcon::HandleNotify(UINT message) {
    if (!Enabled) return;
    const TShiftState shift = KeyShiftState();
    const POINT p = CursorPos();
    switch (message) {
    case WM_MOUSEMOVE: MouseMove(shift, p); break;
    case WM_LBUTTONDOWN: LeftButtonDown(shift, p); break;
    case WM_LBUTTONUP: LeftButtonUp(shift, p); break;
    case WM_LBUTTONDBLCLK: LeftDoubleClick(); break;
    case WM_RBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(this, mbRight, shift | ssRight, p.x, p.y);
        PopupAtCursor();
        break;
    case WM_RBUTTONUP:
        if (OnMouseUp) OnMouseUp(this, mbRight, shift, p.x, p.y);
        break;
    case WM_MBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(this, mbMiddle, shift | ssMiddle, p.x, p.y);
        break;
    case WM_MBUTTONUP:
        if (OnMouseUp) OnMouseUp(this, mbMiddle, shift, p.x, p.y);
        break;
    case NIN_BALLOONSHOW: Fire(this, OnBalloonHintShow); break;
    case NIN_BALLOONHIDE: Fire(this, OnBalloonHintHide); break;
    case NIN_BALLOONTIMEOUT: Fire(this, OnBalloonHintTimeout); break;
    case NIN_BALLOONUSERCLICK: Fire(this, OnBalloonHintClick); break;
    default: break;
    }
}

void TTrayNotifyIcon::MouseMove(TShiftState shift, POINT p) {
    if (FWantEnterExitEvents && FOutside) {
        Fire(this, OnMouseEnter);
        FOutside = false;
    }
    if (OnMouseMove) OnMouseMove(this, shift, p.x, p.y);
    FLastMove = p;
}

// With OnDblClick assigned, a single click waits for the double-click time.
void TTrayNotifyIcon::LeftButtonDown(TShiftState shift, POINT p) {
    if (OnDblClick) {
        FClickTimer.SetInterval(GetDoubleClickTime());
        FClickTimer.Start();
    }
    if (OnMouseDown) OnMouseDown(this, mbLeft, shift | ssLeft, p.x, p.y);
    FLeftDown = true;
    if (LeftPopup) PopupAtCursor();
}

void TTrayNotifyIcon::LeftButtonUp(TShiftState shift, POINT p) {
    if (FLeftDown) {
        FClickPending = true;
        if (!FClickTimer.Enabled()) {
            FClickPending = false;
            FLeftDown = false;
            Fire(this, OnClick);
        }
    }
    FLeftDown = false;
    if (OnMouseUp) OnMouseUp(this, mbLeft, shift, p.x, p.y);
}

void TTrayNotifyIcon::LeftDoubleClick() {
    FClickPending = false;
    FDoubleClicked = true;
    Fire(this, OnDblClick);
    if (LeftPopup || !MenuPopsUp()) return;
    TMenuItem& items = PopupMenu->Items();
    for (int i = 0; i < items.Count(); ++i)
        if (items.Items(i)->Default()) {
            items.Items(i)->Click();
            return;
        }
}

void TTrayNotifyIcon::ClickTick() {
    FClickTimer.Stop();
    if (!FDoubleClicked && FClickPending) {
        FClickPending = false;
        Fire(this, OnClick);
    }
    FDoubleClicked = false;
}

void TTrayNotifyIcon::ExitTick() {
    const POINT p = CursorPos();
    if (FOutside || (p.x == FLastMove.x && p.y == FLastMove.y)) return;
    FOutside = true;
    Fire(this, OnMouseExit);
}

void TTrayNotifyIcon::CycleTick() {
    int next = 0;
    if (FIconList) {
        SetIconIndex(FIconIndex);
        if (FIconIndex + 1 < ImageList_GetImageCount(FIconList)) next = FIconIndex + 1;
    }
    if (OnCycle) OnCycle(this, next);
    SetIconIndex(next);
}

bool TTrayNotifyIcon::MenuPopsUp() const {
    return PopupMenu && PopupMenu->AutoPopup;
}

// The menu brings its owner window to the foreground and posts it WM_NULL afterwards.
void TTrayNotifyIcon::PopupAtCursor() {
    if (!MenuPopsUp()) return;
    const POINT p = CursorPos();
    Application->ProcessMessages();
    PopupMenu->PopupComponent = this;
    TForm* form = OwnerForm();
    PopupMenu->Popup(p.x, p.y, form ? form->Handle() : nullptr);
}
