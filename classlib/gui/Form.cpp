#include "classlib/gui/Form.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Screen.h"
#include "classlib/gui/TypInfo.h"
#include <vector>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TForm>({
    Published("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle,
              {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}),
    Published("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons),
    Published("Position", &TForm::Position, &TForm::SetPosition,
              {"poDesigned", "poDefault", "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
               "poOwnerFormCenter"}),
    Published("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle,
              {"fsNormal", "fsStayOnTop", "fsMDIChild", "fsMDIForm"}),
    Published("WindowState", &TForm::WindowState, &TForm::SetWindowState,
              {"wsNormal", "wsMinimized", "wsMaximized"}),
    Published("ModalResult", &TForm::ModalResult, &TForm::SetModalResult),
});

// The window of the form that takes a window's dialog keys: the MDI child that holds
// it, else its top-level window.
HWND KeyFormWindow(HWND wnd) {
    for (HWND w = wnd; w && (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD); w = GetParent(w))
        if (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_MDICHILD) return w;
    return GetAncestor(wnd, GA_ROOT);
}

struct TDisabledWindows {
    HWND Except;
    std::vector<HWND> Windows;
};

BOOL CALLBACK DisableWindow(HWND wnd, LPARAM param) {
    auto list = reinterpret_cast<TDisabledWindows*>(param);
    try {
        if (wnd != list->Except && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
            list->Windows.push_back(wnd);
            EnableWindow(wnd, FALSE);
        }
    } catch (...) {
        Application->HandleException(nullptr);
    }
    return TRUE;
}

void CenterIn(TControl& control, const RECT& area) {
    control.SetBounds(area.left + (area.right - area.left - control.Width()) / 2,
                      area.top + (area.bottom - area.top - control.Height()) / 2, control.Width(),
                      control.Height());
}

// The window, handed to the dressing hook first.
HWND Dressed(HWND wnd, bool controlsMade = true) {
    if (TForm::OnDressing) TForm::OnDressing(wnd, controlsMade);
    return wnd;
}

} // namespace

TForm* GetParentForm(TControl* control) {
    while (control && control->Parent())
        control = control->Parent();
    return dynamic_cast<TForm*>(control);
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {
    SetVisible(false);
    Screen->AddForm(this);
}

TForm::~TForm() {
    BeginDestroy();
    if (OnDestroy) OnDestroy(this);
    Screen->RemoveForm(this);
    OwningApplication()->CancelRelease(this);
    DestroyHandle();
    OwningApplication()->UpdateVisible();
}

TApplication* TForm::OwningApplication() const {
    auto app = dynamic_cast<TApplication*>(Owner());
    return app ? app : Application;
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    FBorderStyle = style;
    RecreateWnd();
}

void TForm::SetBorderIcons(unsigned icons) {
    FBorderIcons = icons;
    RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle style) {
    if (style == FFormStyle) return;
    auto mdi = [](TFormStyle s) { return s == fsMDIChild || s == fsMDIForm; };
    const bool remake = mdi(style) || mdi(FFormStyle);
    FFormStyle = style;
    if (remake) return RecreateWnd();
    if (HandleAllocated())
        SetWindowPos(Handle(), style == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS; // shown by VisibleChanged, once placed
    if (!Enabled()) params.Style |= WS_DISABLED;
    params.WndParent = OwningApplication()->Handle();
    params.WindowClassStyle = CS_DBLCLKS;
    switch (FBorderStyle) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
        params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone && (FBorderIcons & biSystemMenu)) {
        params.Style |= WS_SYSMENU;
        bool dialog = FBorderStyle == bsDialog || FBorderStyle == bsToolWindow ||
                      FBorderStyle == bsSizeToolWin;
        if (!dialog && (FBorderIcons & biMinimize)) params.Style |= WS_MINIMIZEBOX;
        if (!dialog && (FBorderIcons & biMaximize)) params.Style |= WS_MAXIMIZEBOX;
    }
    if (FFormStyle == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
    if (FFormStyle == fsMDIChild) {
        params.Style |= WS_CHILD;
        params.ExStyle |= WS_EX_MDICHILD;
        params.WndParent = MDIParent().ClientHandle();
    }
}

void TForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE: WMClose(message); break;
    case WM_ACTIVATE: WMActivate(message); break;
    case CM_ACTIVATE: CMActivate(message); break;
    case CM_DEACTIVATE: CMDeactivate(message); break;
    case CM_DIALOGKEY: CMDialogKey(message); break;
    case CM_DIALOGCHAR: CMDialogChar(message); break;
    case CM_RELEASE: CMRelease(message); break;
    case WM_SYSCOMMAND: WMSysCommand(message); break;
    default: TWinControl::WndProc(message); break;
    }
}

void TForm::VisibleChanged() {
    if (!Visible()) {
        Screen->FormHidden(this);
        if (OnHide) OnHide(this);
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        OwningApplication()->UpdateVisible();
        return;
    }
    if (OnShow) OnShow(this);
    ApplyPosition();
    OwningApplication()->UpdateVisible();
    if (HandleAllocated())
        ShowWindow(Dressed(Handle()), ShowCommand());
    else
        HandleNeeded(); // InitializeWnd shows it
}

// A new window of a visible form (a first show, or a window made anew) shows at once,
// before its controls are made: its activation leaves the focus to the form.
void TForm::InitializeWnd() {
    if (FFormStyle == fsMDIForm) {
        RECT r;
        GetClientRect(Handle(), &r);
        CLIENTCREATESTRUCT client{nullptr, 0xFF00}; // no window menu; ids of the children
        FClientHandle = CreateWindowExW(
            WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
            WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, r.right,
            r.bottom, Handle(), nullptr, GetModuleHandleW(nullptr), &client);
        if (!FClientHandle) RaiseLastOSError();
    }
    if (!Visible()) return;
    ShowWindow(Dressed(Handle(), false), ShowCommand());
    if (FFormStyle == fsMDIChild)
        SendMessageW(MDIParent().ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Handle()),
                     0);
}

// The controls of a window that showed before they were made are dressed before any
// of them paints.
void TForm::CreateWnd() {
    TCustomForm::CreateWnd();
    SetProgramIcon(Handle());
    if (Visible()) Dressed(Handle());
}

TForm& TForm::MDIParent() const {
    auto owner = dynamic_cast<TForm*>(Owner());
    if (owner && owner->FFormStyle == fsMDIForm) return *owner;
    TForm* main = OwningApplication()->MainForm();
    if (!main || main->FFormStyle != fsMDIForm)
        throw EInvalidOperation("An MDI child form needs an MDI form to live in");
    main->HandleNeeded();
    return *main;
}

// An MDI child is made and destroyed by its MDI client.
HWND TForm::CreateWindowHandle(const TCreateParams& params) {
    if (FFormStyle != fsMDIChild) return TCustomForm::CreateWindowHandle(params);
    const std::wstring className = ToWide(params.WinClassName), caption = ToWide(params.Caption);
    MDICREATESTRUCTW create{className.c_str(), caption.c_str(), GetModuleHandleW(nullptr),
                            params.X,          params.Y,        params.Width,
                            params.Height,     params.Style,    0};
    return reinterpret_cast<HWND>(
        SendMessageW(params.WndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

void TForm::DestroyWindowHandle() {
    HWND wnd = HandleIfAllocated();
    HWND client = wnd ? GetParent(wnd) : nullptr;
    if (FFormStyle == fsMDIChild && client)
        SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(wnd), 0);
    else
        TCustomForm::DestroyWindowHandle();
    FClientHandle = nullptr;
}

void TForm::DefaultHandler(TMessage& message) {
    HWND wnd = HandleIfAllocated();
    const bool ours = message.Msg >= CM_BASE && message.Msg < 0xC000;
    if (!wnd || ours || (FFormStyle != fsMDIChild && FFormStyle != fsMDIForm))
        return TCustomForm::DefaultHandler(message);
    message.Result =
        FFormStyle == fsMDIChild
            ? DefMDIChildProcW(wnd, message.Msg, message.WParam, message.LParam)
            : DefFrameProcW(wnd, FClientHandle, message.Msg, message.WParam, message.LParam);
}

TForm* TForm::ActiveMDIChild() const {
    if (!FClientHandle) return nullptr;
    HWND child = reinterpret_cast<HWND>(SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<TForm*>(FindControl(child));
}

void TForm::Tile() {
    if (FClientHandle) SendMessageW(FClientHandle, WM_MDITILE, MDITILE_VERTICAL, 0);
}

void TForm::Cascade() {
    if (FClientHandle) SendMessageW(FClientHandle, WM_MDICASCADE, 0, 0);
}

int TForm::ShowCommand() const {
    static constexpr int commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    return commands[FWindowState];
}

TWindowState TForm::WindowState() const {
    HWND wnd = HandleIfAllocated();
    if (!wnd || !IsWindowVisible(wnd)) return FWindowState;
    return IsIconic(wnd) ? wsMinimized : IsZoomed(wnd) ? wsMaximized : wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
    FWindowState = state;
    static constexpr int commands[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
    if (HandleAllocated() && Visible()) ShowWindow(Handle(), commands[state]);
}

void TForm::ApplyPosition() {
    TForm* main = OwningApplication()->MainForm();
    TForm* ownerForm = dynamic_cast<TForm*>(Owner());
    switch (FPosition) {
    case poScreenCenter: CenterIn(*this, Screen->WorkArea()); break;
    case poDesktopCenter:
        CenterIn(*this, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
        break;
    case poOwnerFormCenter:
        if (ownerForm && ownerForm != this && ownerForm->HandleAllocated()) {
            CenterIn(*this, ownerForm->BoundsRect());
            break;
        }
        [[fallthrough]];
    case poMainFormCenter:
        if (main && main != this && main->HandleAllocated())
            CenterIn(*this, main->BoundsRect());
        else
            CenterIn(*this, Screen->WorkArea());
        break;
    default: break;
    }
}

void TForm::Show() {
    SetVisible(true);
    if (!HandleAllocated()) return;
    if (FFormStyle == fsMDIChild)
        SendMessageW(GetParent(Handle()), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Handle()), 0);
    else
        SetForegroundWindow(Handle());
}

bool TForm::Active() const {
    return HandleIfAllocated() && GetActiveWindow() == HandleIfAllocated();
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = FFormStyle == fsMDIChild ? caFree : caHide; // a child has no hiding
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    TApplication* app = OwningApplication();
    if (app->MainForm() == this)
        app->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        Release();
}

void TForm::Release() {
    if (HandleAllocated())
        PostMessageW(Handle(), CM_RELEASE, 0, 0);
    else
        OwningApplication()->ReleaseLater(this);
}

void TForm::CloseModal() {
    TCloseAction action = CloseQuery() ? caHide : caNone;
    if (action != caNone && OnClose) OnClose(this, action);
    if (action == caNone)
        FModalResult = mrNone;
    else if (action == caFree)
        Release();
}

int TForm::ShowModal() {
    if (Visible() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
    HWND previous = GetActiveWindow();
    TDisabledWindows disabled{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled));
    auto restore = [&] {
        FModal = false;
        for (HWND wnd : disabled.Windows)
            EnableWindow(wnd, TRUE);
        if (previous && IsWindow(previous)) SetActiveWindow(previous);
        Hide();
    };
    FModal = true;
    FModalResult = mrNone;
    TApplication* app = OwningApplication();
    try {
        Show();
        while (FModalResult == mrNone) {
            app->HandleMessage();
            if (app->Terminated()) FModalResult = mrCancel;
            if (FModalResult != mrNone) CloseModal();
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return FModalResult;
}

void TForm::WMClose(TMessage& message) {
    (void)message;
    Close();
}

// OnActivate fires when the form becomes the application's active form: coming back
// to it from another program, or from a message box, is no new activation.
void TForm::WMActivate(TMessage& message) {
    bool active = LOWORD(message.WParam) != WA_INACTIVE;
    if (!active || Screen->ActivatesForm(this)) Perform(active ? CM_ACTIVATE : CM_DEACTIVATE);
    DefaultHandler(message);
    // The form itself took the focus: hand it to the first control that takes it.
    if (active && HandleAllocated() && GetFocus() == Handle())
        if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) ::SetFocus(first);
}

// The main form minimises the whole application, as its task-bar button is the
// application window's.
void TForm::WMSysCommand(TMessage& message) {
    TApplication* app = OwningApplication();
    if ((message.WParam & 0xFFF0) == SC_MINIMIZE && app->MainForm() == this) return app->Minimize();
    DefaultHandler(message);
}

void TForm::CMActivate(TMessage& message) {
    (void)message;
    if (OnActivate) OnActivate(this);
}

void TForm::CMDeactivate(TMessage& message) {
    (void)message;
    if (OnDeactivate) OnDeactivate(this);
}

bool TForm::Broadcast(TWinControl* container, TMessage& message) {
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* c = container->Controls(i);
        message.Result = c->Perform(message.Msg, message.WParam, message.LParam);
        if (message.Result) return true;
        auto windowed = dynamic_cast<TWinControl*>(c);
        if (windowed && Broadcast(windowed, message)) return true;
    }
    return false;
}

void TForm::CMDialogKey(TMessage& message) {
    if (message.WParam != VK_TAB) {
        Broadcast(this, message); // buttons answer Return and Escape
        return;
    }
    if (HWND next = GetNextDlgTabItem(Handle(), GetFocus(), GetKeyState(VK_SHIFT) < 0))
        ::SetFocus(next);
    message.Result = 1;
}

void TForm::CMDialogChar(TMessage& message) {
    Broadcast(this, message);
}

void TForm::CMRelease(TMessage& message) {
    (void)message;
    OwningApplication()->ReleaseLater(this);
}

bool TForm::IsDialogKeyMessage(const MSG& msg) {
    bool key = msg.message == WM_KEYDOWN &&
               (msg.wParam == VK_TAB || msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
    if (!key && msg.message != WM_SYSCHAR) return false;
    auto form = dynamic_cast<TForm*>(FindControl(KeyFormWindow(msg.hwnd)));
    if (!form || !form->Enabled()) return false;
    if (msg.message == WM_SYSCHAR) return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
    MSG copy = msg;
    LRESULT code =
        SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&copy));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    if (msg.wParam == VK_TAB && (code & DLGC_WANTTAB)) return false;
    return form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
}
