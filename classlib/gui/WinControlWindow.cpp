// The window of a TWinControl: class registration, the one window procedure, and
// making and destroying the window.
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Hints.h"
#include "classlib/gui/WinControl.h"
#include "classlib/gui/WindowObjects.h"
#include <algorithm>
#include <commctrl.h>
#include <map>

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Only controls' windows have this procedure; a window being made is claimed at its
    // first message (WM_GETMINMAXINFO can precede WM_NCCREATE) unless a hook asked first.
    auto control = static_cast<TWinControl*>(WindowObject(wnd));
    if (!control) return DefWindowProcW(wnd, msg, wParam, lParam);
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
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
        return InitCommonControlsEx(&icc);
    }();
    (void)commonControls;
    const std::wstring sysClassName = ToWide(params.SysClassName);
    const std::wstring className = ToWide(params.WinClassName);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    WNDPROC defProc = DefWindowProcW;
    if (!params.SysClassName.empty()) {
        if (!GetClassInfoExW(nullptr, sysClassName.c_str(), &wc))
            throw EOSError("Window class " + params.SysClassName + " is missing", GetLastError());
        defProc = wc.lpfnWndProc;
        wc.style &= ~CS_GLOBALCLASS;
    } else {
        wc.style = params.WindowClassStyle;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"); // for forms
    }
    wc.lpfnWndProc = StdWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) RaiseLastOSError();
    registered[params.WinClassName] = defProc;
    return defProc;
}

ATOM TWinControl::ControlAtom() {
    return WindowObjectAtom();
}

TWinControl* TWinControl::FindControl(HWND wnd) {
    return dynamic_cast<TWinControl*>(WindowObject(wnd));
}

TWinControl* TWinControl::CreationControl() {
    return dynamic_cast<TWinControl*>(WindowObjectInCreation());
}

void TWinControl::AttachHandle(HWND wnd) {
    FHandle = wnd;
    SetWindowObject(wnd, this);
}

void TWinControl::DetachHandle() {
    if (!FHandle) return;
    SetWindowObject(FHandle, nullptr);
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
    if (Parent()) Parent()->HandleNeeded(); // which makes the children's windows too
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

void TWinControl::WindowStyles(DWORD& style, DWORD& exStyle) {
    if (FHandle) {
        style = static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_STYLE));
        exStyle = static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_EXSTYLE));
        return;
    }
    TCreateParams params;
    CreateParams(params);
    style = params.Style;
    exStyle = params.ExStyle;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    FDefWndProc = RegisterControlClass(params);
    FSysClass = !params.SysClassName.empty();
    HWND wnd;
    DWORD error;
    {
        TWindowCreation creation(*this, params.WinClassName, [](TObject& control, HWND made) {
            static_cast<TWinControl&>(control).AttachHandle(made);
        });
        wnd = CreateWindowHandle(params);
        error = GetLastError();
    }
    if (!wnd) throw EOSError("Cannot create a window of class " + params.WinClassName, error);
    if (FHandle != wnd) AttachHandle(wnd);
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    InitializeWnd();
    for (TControl* c : FControls) {
        if (auto w = dynamic_cast<TWinControl*>(c))
            w->HandleNeeded();
        else if (c->ShowHint())
            UpdateHintTool(*c);
    }
    if (ShowHint()) UpdateHintTool(*this);
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& params) {
    return CreateWindowExW(params.ExStyle, ToWide(params.WinClassName).c_str(),
                           ToWide(params.Caption).c_str(), params.Style, params.X, params.Y,
                           params.Width, params.Height, params.WndParent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void TWinControl::DestroyWindowHandle() {
    DestroyWindow(FHandle);
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    for (TControl* c : FControls) // children first, so that each keeps its state
        if (auto w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    for (TControl* c : FControls)
        if (c->ShowHint()) RemoveHintTool(*c);
    if (ShowHint()) RemoveHintTool(*this);
    FText = ReadText(); // kept for a later window
    DestroyWindowHandle();
    DetachHandle(); // in case a subclass kept WM_NCDESTROY from us
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    DestroyHandle();
    HandleNeeded();
}
