// TWinControl's message handlers: painting, reflection, mouse routing to graphic
// children, bounds and focus.
#include "classlib/gui/WinControl.h"
#include <algorithm>
#include <windowsx.h>

namespace {

bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
           msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

// The press of a button message, WM_LBUTTONDOWN for WM_LBUTTONDBLCLK.
UINT ButtonDown(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDBLCLK: return WM_LBUTTONDOWN;
    case WM_RBUTTONDBLCLK: return WM_RBUTTONDOWN;
    case WM_MBUTTONDBLCLK: return WM_MBUTTONDOWN;
    default: return msg;
    }
}

bool IsButtonUp(UINT msg) {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

// The child window a notification comes from, or nullptr.
HWND NotifyingWindow(const TMessage& m) {
    switch (m.Msg) {
    case WM_NOTIFY: return reinterpret_cast<const NMHDR*>(m.LParam)->hwndFrom;
    case WM_DRAWITEM: {
        auto item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    default: return reinterpret_cast<HWND>(m.LParam); // WM_COMMAND, scrolls, WM_CTLCOLOR*
    }
}

} // namespace

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: WMPaint(message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(message); break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: WMReflect(message); break;
    case WM_MOUSEMOVE: WMMouseMove(message); break;
    case WM_MOUSELEAVE: WMMouseLeave(message); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: WMMouseButton(message); break;
    case WM_CAPTURECHANGED:
        FCaptureControl = nullptr;
        DefaultHandler(message);
        break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(message); break;
    case WM_SIZE: WMSize(message); break;
    case WM_CHAR: WMChar(message); break;
    case WM_KEYDOWN: WMKeyDown(message); break;
    case WM_SETCURSOR: WMSetCursor(message); break;
    case WM_SETFOCUS: WMSetFocus(message); break;
    case WM_KILLFOCUS: WMKillFocus(message); break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: CNCtlColor(message); break;
    case CM_FONTCHANGED: CMFontChanged(message); break;
    case CM_COLORCHANGED: CMColorChanged(message); break;
    case CM_RECREATEWND: CMRecreateWnd(message); break;
    default: TControl::WndProc(message); break;
    }
}

void TWinControl::DefaultHandler(TMessage& message) {
    // The library's own messages mean nothing to the system procedures.
    bool ours = message.Msg >= CM_BASE && message.Msg < 0xC000;
    if (!FHandle || ours) return TControl::DefaultHandler(message);
    message.Result =
        CallWindowProcW(FDefWndProc, FHandle, message.Msg, message.WParam, message.LParam);
}

void TWinControl::PaintWindow(HDC dc) {
    if (!FSysClass) return;
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(paint);
}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : FControls) {
        RECT r = c->BoundsRect();
        if (IsWindowed(c) || !c->Visible() || !RectVisible(dc, &r)) continue;
        int saved = SaveDC(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::WMPaint(TMessage& message) {
    bool graphicChildren =
        std::any_of(FControls.begin(), FControls.end(), [](TControl* c) { return !IsWindowed(c); });
    if (FSysClass && !graphicChildren) return DefaultHandler(message);
    if (HDC dc = reinterpret_cast<HDC>(message.WParam)) {
        PaintWindow(dc);
        PaintControls(dc);
        return;
    }
    TPaintScope paint(FHandle);
    if (!FDoubleBuffered) {
        PaintWindow(paint.Get());
        PaintControls(paint.Get());
        return;
    }
    RECT r;
    GetClientRect(FHandle, &r);
    TMemoryDC memory(CreateCompatibleDC(paint.Get()));
    TGdiObject bitmap(CreateCompatibleBitmap(paint.Get(), r.right, r.bottom));
    TSelectScope select(memory.Get(), bitmap.Get());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()));
    PaintWindow(memory.Get());
    PaintControls(memory.Get());
    BitBlt(paint.Get(), 0, 0, r.right, r.bottom, memory.Get(), 0, 0, SRCCOPY);
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
    if (FSysClass) return DefaultHandler(message);
    RECT r;
    GetClientRect(FHandle, &r);
    FillRect(reinterpret_cast<HDC>(message.WParam), &r, FBrush.Handle());
    message.Result = 1;
}

void TWinControl::WMReflect(TMessage& message) {
    TWinControl* child = FindControl(NotifyingWindow(message));
    if (child && child != this) {
        message.Result = child->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
        return;
    }
    DefaultHandler(message);
}

void TWinControl::CNCtlColor(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    SetTextColor(dc, ColorToRGB(Font().Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    message.Result = reinterpret_cast<LRESULT>(FBrush.Handle());
}

void TWinControl::SetMouseControl(TControl* control) {
    if (control == FMouseControl) return;
    if (FMouseControl) FMouseControl->Perform(CM_MOUSELEAVE);
    FMouseControl = control;
    if (FMouseControl) FMouseControl->Perform(CM_MOUSEENTER);
}

void TWinControl::WMMouseMove(TMessage& message) {
    if (!FMouseInControl) {
        FMouseInControl = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
        TrackMouseEvent(&track);
        Perform(CM_MOUSEENTER);
    }
    if (!FHandle) return; // a handler of CM_MOUSEENTER destroyed the window
    POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    SetMouseControl(GraphicControlAt(p));
    if (!ForwardMouse(message)) DefaultHandler(message);
}

void TWinControl::WMMouseLeave(TMessage& message) {
    FMouseInControl = false;
    SetMouseControl(nullptr);
    Perform(CM_MOUSELEAVE);
    DefaultHandler(message);
}

void TWinControl::WMMouseButton(TMessage& message) {
    if (!ForwardMouse(message)) TControl::WndProc(message);
}

bool TWinControl::ForwardMouse(TMessage& message) {
    POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    TControl* target = FCaptureControl ? FCaptureControl : GraphicControlAt(p);
    if (!target) return false;
    if (IsButtonDown(message.Msg)) {
        FCaptureControl = target;
        SetCapture(FHandle);
    }
    // Released before the control sees the button go up: a click that opens a modal
    // box must leave the mouse to that box.
    if (IsButtonUp(message.Msg) && FCaptureControl) {
        FCaptureControl = nullptr;
        ReleaseCapture();
    }
    LPARAM local = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
    // Graphic controls know no double clicks: a quick second click is a press again.
    UINT msg = IsButtonDown(message.Msg) ? ButtonDown(message.Msg) : message.Msg;
    message.Result = target->Perform(msg, message.WParam, local);
    return true;
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
    DefaultHandler(message);
    if (!FHandle || IsIconic(FHandle)) return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
}

void TWinControl::WMSize(TMessage& message) {
    DefaultHandler(message);
    if (message.WParam != SIZE_MINIMIZED) Realign();
}

void TWinControl::WMChar(TMessage& message) {
    if (OnKeyPress) {
        wchar_t key = static_cast<wchar_t>(message.WParam);
        OnKeyPress(this, key);
        if (!key) return;
        message.WParam = key;
    }
    DefaultHandler(message);
}

// The screen's cursor wins everywhere; a control's own only over its client area.
void TWinControl::WMSetCursor(TMessage& message) {
    TCursor cursor = Screen->Cursor();
    if (cursor == crDefault && reinterpret_cast<HWND>(message.WParam) == FHandle &&
        LOWORD(message.LParam) == HTCLIENT)
        cursor = FCursor;
    if (cursor == crDefault) return DefaultHandler(message);
    ::SetCursor(CursorHandle(cursor));
    message.Result = TRUE;
}

void TWinControl::WMKeyDown(TMessage& message) {
    if (OnKeyDown) {
        WORD key = static_cast<WORD>(message.WParam);
        TShiftState shift = 0;
        if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
        if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
        if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
        OnKeyDown(this, key, shift);
        if (!key) return;
        message.WParam = key;
    }
    DefaultHandler(message);
}

void TWinControl::WMSetFocus(TMessage& message) {
    DefaultHandler(message);
    Perform(CM_ENTER);
}

void TWinControl::WMKillFocus(TMessage& message) {
    DefaultHandler(message);
    Perform(CM_EXIT);
}

void TWinControl::CMFontChanged(TMessage& message) {
    (void)message;
    if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    for (TControl* c : FControls)
        c->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& message) {
    (void)message;
    FBrush.SetColor(Color());
    Invalidate();
    for (TControl* c : FControls)
        c->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMRecreateWnd(TMessage& message) {
    (void)message;
    RecreateWnd();
}
