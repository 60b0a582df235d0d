#include "classlib/gui/WinControl.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Hints.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>
#include <commctrl.h>
#include <map>
#include <cstdio>
#include <windowsx.h>

namespace {

thread_local TWinControl* CreatingControl = nullptr;

[[maybe_unused]] const bool Registered = RegisterPublished<TWinControl>({
    Published("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
    Published("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered),
});

bool IsWindowed(const TControl* control) { return dynamic_cast<const TWinControl*>(control); }

bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
           msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
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
    default: return reinterpret_cast<HWND>(m.LParam);  // WM_COMMAND, scrolls, WM_CTLCOLOR*
    }
}

}  // namespace

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = TWinControl::FindControl(wnd);
    if (!control && CreatingControl) {
        // First message of a window being made (WM_GETMINMAXINFO can precede WM_NCCREATE).
        control = std::exchange(CreatingControl, nullptr);
        control->AttachHandle(wnd);
    }
    if (!control) return DefWindowProcA(wnd, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    control->MainWndProc(message);
    if (msg == WM_NCDESTROY) control->DetachHandle();
    return message.Result;
}

WNDPROC RegisterControlClass(const TCreateParams& params) {
    static std::map<std::string, WNDPROC> registered;
    auto it = registered.find(params.WinClassName);
    if (it != registered.end()) return it->second;
    static const bool commonControls = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc);
    }();
    (void)commonControls;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    WNDPROC defProc = DefWindowProcA;
    if (!params.SysClassName.empty()) {
        if (!GetClassInfoExA(nullptr, params.SysClassName.c_str(), &wc))
            throw EOSError("Window class " + params.SysClassName + " is missing", GetLastError());
        defProc = wc.lpfnWndProc;
        wc.style &= ~CS_GLOBALCLASS;
    } else {
        wc.style = params.WindowClassStyle;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");  // for forms
    }
    wc.lpfnWndProc = StdWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) RaiseLastOSError();
    registered[params.WinClassName] = defProc;
    return defProc;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    FBrush.SetColor(Color());
}

TWinControl::~TWinControl() {
    if (Parent()) Parent()->RemoveControl(this);
    DestroyHandle();
    while (!FControls.empty()) delete FControls.back();  // each one unlinks itself
}

ATOM TWinControl::ControlAtom() {
    static const ATOM atom = [] {
        char name[64];
        snprintf(name, sizeof(name), "ControlOfs%.8llX%.8lX",
                 static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))),
                 static_cast<unsigned long>(GetCurrentThreadId()));
        return GlobalAddAtomA(name);
    }();
    return atom;
}

TWinControl* TWinControl::FindControl(HWND wnd) {
    if (!wnd) return nullptr;
    return static_cast<TWinControl*>(GetPropA(wnd, MAKEINTATOM(ControlAtom())));
}

TWinControl* TWinControl::CreationControl() { return CreatingControl; }

void TWinControl::AttachHandle(HWND wnd) {
    FHandle = wnd;
    SetPropA(wnd, MAKEINTATOM(ControlAtom()), this);
}

void TWinControl::DetachHandle() {
    if (!FHandle) return;
    RemovePropA(FHandle, MAKEINTATOM(ControlAtom()));
    FHandle = nullptr;
    FMouseInControl = false;
}

void TWinControl::MainWndProc(TMessage& message) {
    ++FInWndProc;
    try {
        WindowProc(message);
    } catch (...) {
        Application->HandleException(this);
    }
    --FInWndProc;
}

bool TWinControl::InWindowProc() const {
    if (FInWndProc > 0) return true;
    return std::any_of(FControls.begin(), FControls.end(), [](TControl* c) {
        auto w = dynamic_cast<TWinControl*>(c);
        return w && w->InWindowProc();
    });
}

HWND TWinControl::Handle() {
    if (FHandle) return FHandle;
    if (Parent()) Parent()->HandleNeeded();  // which makes the children's windows too
    if (!FHandle) CreateWnd();
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (FTabStop) params.Style |= WS_TABSTOP;
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    if (Parent()) params.WndParent = Parent()->HandleIfAllocated();
    params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    FDefWndProc = RegisterControlClass(params);
    FSysClass = !params.SysClassName.empty();
    TWinControl* previous = std::exchange(CreatingControl, this);
    HWND wnd = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                               params.Style, params.X, params.Y, params.Width, params.Height,
                               params.WndParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    DWORD error = GetLastError();
    CreatingControl = previous;
    if (!wnd) throw EOSError("Cannot create a window of class " + params.WinClassName, error);
    if (FHandle != wnd) AttachHandle(wnd);
    SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    InitializeWnd();
    for (TControl* c : FControls) {
        if (auto w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
        else if (c->ShowHint()) UpdateHintTool(*c);
    }
    if (ShowHint()) UpdateHintTool(*this);
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    for (TControl* c : FControls)  // children first, so that each keeps its state
        if (auto w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    for (TControl* c : FControls)
        if (c->ShowHint()) RemoveHintTool(*c);
    if (ShowHint()) RemoveHintTool(*this);
    FText = ReadText();  // kept for a later window
    DestroyWindow(FHandle);
    DetachHandle();  // in case a subclass kept WM_NCDESTROY from us
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    control->Perform(CM_PARENTFONTCHANGED);
    control->Perform(CM_PARENTCOLORCHANGED);
    auto windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && windowed->FHandle) {
        if (FHandle) ::SetParent(windowed->FHandle, FHandle);
        else windowed->DestroyHandle();
    } else if (windowed && FHandle) {
        windowed->HandleNeeded();
    } else if (!windowed) {
        control->Invalidate();
        if (control->ShowHint()) UpdateHintTool(*control);
    }
    if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end()) return;
    control->Invalidate();
    FControls.erase(it);
    if (FMouseControl == control) FMouseControl = nullptr;
    if (FCaptureControl == control) FCaptureControl = nullptr;
    if (control->ShowHint()) RemoveHintTool(*control);
    if (auto windowed = dynamic_cast<TWinControl*>(control)) windowed->DestroyHandle();
    control->FParent = nullptr;
}

TControl* TWinControl::GraphicControlAt(POINT p) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        RECT r = c->BoundsRect();
        if (!IsWindowed(c) && c->Visible() && c->Enabled() && PtInRect(&r, p)) return c;
    }
    return nullptr;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

void TWinControl::SetTabStop(bool value) {
    FTabStop = value;
    if (!FHandle) return;
    LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
    SetWindowLongPtrA(FHandle, GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

RECT TWinControl::ClientRect() {
    RECT r{0, 0, 0, 0};
    if (FHandle) {
        GetClientRect(FHandle, &r);
        return r;
    }
    SIZE frame = NonClientSize();
    return {0, 0, std::max(0L, FWidth - frame.cx), std::max(0L, FHeight - frame.cy)};
}

SIZE TWinControl::NonClientSize() {
    if (FHandle) {
        RECT window, client;
        GetWindowRect(FHandle, &window);
        GetClientRect(FHandle, &client);
        return {window.right - window.left - client.right, window.bottom - window.top - client.bottom};
    }
    TCreateParams params;
    CreateParams(params);
    RECT r{0, 0, 100, 100};
    AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
    return {r.right - r.left - 100, r.bottom - r.top - 100};
}

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update() {
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (!FHandle) return TControl::SetBounds(left, top, width, height);
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    RequestAlign();
}

void TWinControl::BoundsChanged(const RECT& oldBounds) {
    (void)oldBounds;
    Realign();  // no window yet: WM_SIZE will not come
}

void TWinControl::Realign() {
    if (FAligning) return;
    FAligning = true;
    RECT r = ClientRect();
    AdjustClientRect(r);
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : FControls) {
            if (c->Align() != align || !c->Visible()) continue;
            int w = r.right - r.left, h = r.bottom - r.top;
            switch (align) {
            case alTop: c->SetBounds(r.left, r.top, w, c->Height()); r.top += c->Height(); break;
            case alBottom: c->SetBounds(r.left, r.bottom - c->Height(), w, c->Height()); r.bottom -= c->Height(); break;
            case alLeft: c->SetBounds(r.left, r.top, c->Width(), h); r.left += c->Width(); break;
            case alRight: c->SetBounds(r.right - c->Width(), r.top, c->Width(), h); r.right -= c->Width(); break;
            default: c->SetBounds(r.left, r.top, w, h); break;
            }
        }
    }
    FAligning = false;
}

std::string TWinControl::ReadText() const {
    if (!FHandle) return FText;
    std::string text(GetWindowTextLengthA(FHandle) + 1, '\0');
    text.resize(GetWindowTextA(FHandle, text.data(), static_cast<int>(text.size())));
    return text;
}

void TWinControl::WriteText(const std::string& text) {
    if (text == ReadText()) return;
    FText = text;
    if (FHandle) SetWindowTextA(FHandle, text.c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::VisibleChanged() {
    if (!FHandle) return;
    UINT show = Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 show | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::EnabledChanged() {
    if (FHandle) EnableWindow(FHandle, Enabled());
}

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
    case WM_CAPTURECHANGED: FCaptureControl = nullptr; DefaultHandler(message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(message); break;
    case WM_SIZE: WMSize(message); break;
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
    message.Result = CallWindowProcA(FDefWndProc, FHandle, message.Msg, message.WParam, message.LParam);
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
    bool graphicChildren = std::any_of(FControls.begin(), FControls.end(),
                                       [](TControl* c) { return !IsWindowed(c); });
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
    if (!FHandle) return;  // a handler of CM_MOUSEENTER destroyed the window
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
    bool releasing = IsButtonUp(message.Msg) && FCaptureControl;
    LPARAM local = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
    message.Result = target->Perform(message.Msg, message.WParam, local);
    if (releasing) {
        FCaptureControl = nullptr;
        ReleaseCapture();
    }
    return true;
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
    DefaultHandler(message);
    if (!FHandle || IsIconic(FHandle)) return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_CHILD)
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
    if (FHandle) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    for (TControl* c : FControls) c->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& message) {
    (void)message;
    FBrush.SetColor(Color());
    Invalidate();
    for (TControl* c : FControls) c->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMRecreateWnd(TMessage& message) {
    (void)message;
    RecreateWnd();
}
