#include "components/TrayIcon/TrayNotifyIcon.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/UtilWindow.h"
#include <iterator>
#include <map>
#include <memory>

// The hidden window shared by all icons: made with the first, destroyed with the last.
// Icons are found by their id, so a notification for a freed icon is ignored.
struct TTrayIconHandler {
    std::map<UINT, TTrayNotifyIcon*> Icons;
    TUtilWindow Window{[this](TMessage& m) { return HandleMessage(m); }};

    bool HandleMessage(TMessage& m) {
        switch (m.Msg) {
        case TTrayNotifyIcon::WM_TRAYNOTIFY: {
            const auto found = Icons.find(static_cast<UINT>(m.WParam));
            if (found != Icons.end()) found->second->HandleNotify(static_cast<UINT>(m.LParam));
            return true;
        }
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUERYENDSESSION:
        case WM_QUIT:
        case WM_ENDSESSION:
        case WM_NCDESTROY: m.Result = 1; return true;
        default: return false;
        }
    }
};

namespace {
std::unique_ptr<TTrayIconHandler> GHandler;
UINT GNextId = 0;
// Broadcast to top-level windows when the shell (re)starts.
const UINT WM_TASKBARCREATED = RegisterWindowMessageW(L"TaskbarCreated");
} // namespace

TTrayNotifyIcon::TTrayNotifyIcon(TComponent* owner)
    : TComponent(owner), FId(++GNextId), FCycleTimer(1000, [this](TObject*) { CycleTick(); }),
      FClickTimer(1000, [this](TObject*) { ClickTick(); }),
      FExitTimer(20, [this](TObject*) { ExitTick(); }) {
    if (!GHandler) GHandler = std::make_unique<TTrayIconHandler>();
    GHandler->Icons[FId] = this;
    Application->HookMainWindow(TWindowHook::Of<&TTrayNotifyIcon::HookApplication>(this));
    if (TForm* form = OwnerForm()) {
        FOldOwnerProc = form->WindowProc;
        form->WindowProc = TWndMethod::Of<&TTrayNotifyIcon::OwnerWndProc>(this);
    }
}

TTrayNotifyIcon::~TTrayNotifyIcon() {
    HideIcon();
    Application->UnhookMainWindow(TWindowHook::Of<&TTrayNotifyIcon::HookApplication>(this));
    // A form being destroyed is no TForm any more here: nothing to restore then.
    TForm* form = OwnerForm();
    if (form && form->WindowProc == TWndMethod::Of<&TTrayNotifyIcon::OwnerWndProc>(this))
        form->WindowProc = FOldOwnerProc;
    GHandler->Icons.erase(FId);
    if (GHandler->Icons.empty()) GHandler.reset();
}

HWND TTrayNotifyIcon::HandlerWindow() {
    return GHandler ? GHandler->Window.Handle() : nullptr;
}

TForm* TTrayNotifyIcon::OwnerForm() const {
    return dynamic_cast<TForm*>(Owner());
}

void TTrayNotifyIcon::Fire(TObject* sender, const TNotifyEvent& event) {
    if (event) event(sender);
}

bool TTrayNotifyIcon::Notify(DWORD message) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = GHandler->Window.Handle();
    data.uID = FId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = FIcon.Get();
    if (!FHint.empty() && FShowHint) ToWide(FHint).copy(data.szTip, std::size(data.szTip) - 1);
    return Shell_NotifyIconW(message, &data) != FALSE;
}

bool TTrayNotifyIcon::StartupShowsMainForm() {
    bool show = true;
    if (OnStartup) OnStartup(this, show);
    return show;
}

void TTrayNotifyIcon::Loaded() {
    TComponent::Loaded();
    if (OwnerForm() && !StartupShowsMainForm()) {
        Application->ShowMainForm = false;
        HideMainForm();
    }
    ModifyIcon();
    SetIconVisible(FIconVisible);
    SetCycleIcons(FCycleIcons);
    SetWantEnterExitEvents(FWantEnterExitEvents);
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = GHandler->Window.Handle();
    data.uID = FId;
    data.uVersion = FNotifyVersion;
    Shell_NotifyIconW(NIM_SETVERSION, &data);
}

bool TTrayNotifyIcon::ShowIcon() {
    FIconVisible = true;
    return Notify(NIM_ADD);
}

bool TTrayNotifyIcon::HideIcon() {
    FIconVisible = false;
    return Notify(NIM_DELETE);
}

// A hidden icon is not in the notification area: the shell learns its state when it
// is shown. Every call is a round trip to the shell's process.
bool TTrayNotifyIcon::ModifyIcon() {
    return !FIconVisible || Notify(NIM_MODIFY);
}

void TTrayNotifyIcon::SetIconVisible(bool visible) {
    if (visible)
        ShowIcon();
    else
        HideIcon();
}

void TTrayNotifyIcon::SetIcon(HICON icon) {
    FIcon.Reset(icon ? CopyIcon(icon) : nullptr);
    ModifyIcon();
}

void TTrayNotifyIcon::SetHint(const std::string& hint) {
    FHint = hint;
    ModifyIcon();
}

void TTrayNotifyIcon::SetShowHint(bool show) {
    FShowHint = show;
    ModifyIcon();
}

void TTrayNotifyIcon::SetIconList(HIMAGELIST list) {
    FIconList = list;
    SetIconIndex(0);
}

void TTrayNotifyIcon::SetIconIndex(int index) {
    if (!FIconList) {
        FIconIndex = 0;
        return;
    }
    FIconIndex = std::max(0, std::min(index, ImageList_GetImageCount(FIconList) - 1));
    FIcon.Reset(ImageList_GetIcon(FIconList, FIconIndex, ILD_NORMAL));
    ModifyIcon();
}

void TTrayNotifyIcon::SetCycleIcons(bool cycle) {
    FCycleIcons = cycle;
    if (!cycle) {
        FCycleTimer.Stop();
        return;
    }
    SetIconIndex(0);
    FCycleTimer.SetInterval(FCycleInterval);
    FCycleTimer.Start();
}

void TTrayNotifyIcon::SetCycleInterval(UINT ms) {
    FCycleInterval = ms;
    SetCycleIcons(FCycleIcons);
}

void TTrayNotifyIcon::SetWantEnterExitEvents(bool want) {
    FWantEnterExitEvents = want;
    FExitTimer.SetEnabled(want);
}

void TTrayNotifyIcon::ShowMainForm() {
    TForm* main = Application->MainForm();
    if (!OwnerForm() || !main) return;
    if (IsIconic(Application->Handle())) ShowWindow(Application->Handle(), SW_RESTORE);
    if (IsIconic(main->Handle())) ShowWindow(main->Handle(), SW_RESTORE);
    main->SetVisible(true);
    // The application window stays hidden in this class library: the form comes forward.
    SetForegroundWindow(main->Handle());
}

void TTrayNotifyIcon::HideMainForm() {
    TForm* main = Application->MainForm();
    if (!OwnerForm() || !main) return;
    main->SetVisible(false);
    if (IsWindowVisible(Application->Handle())) ShowWindow(Application->Handle(), SW_HIDE);
}

void TTrayNotifyIcon::MinimizeStep() {
    HideMainForm();
    SetIconVisible(true);
}

// Never consumes a message.
bool TTrayNotifyIcon::HookApplication(TMessage& message) {
    if (message.Msg == WM_SIZE && message.WParam == SIZE_MINIMIZED && MinimizeToTray)
        MinimizeStep();
    else if (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_RESTORE &&
             Application->MainForm())
        Application->MainForm()->SetVisible(true);
    else if (message.Msg == WM_TASKBARCREATED && FIconVisible)
        ShowIcon(); // the shell has restarted
    return false;
}

// The owner form's minimise goes to the notification area when MinimizeToTray is set
// (forms of this class library minimise themselves, not the application window).
void TTrayNotifyIcon::OwnerWndProc(TMessage& message) {
    const bool minimizing =
        (message.Msg == WM_SHOWWINDOW && message.WParam == 0 &&
         message.LParam == SW_PARENTCLOSING && !Application->Terminated()) ||
        (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_MINIMIZE);
    if (minimizing && MinimizeToTray) {
        Fire(this, OnMinimizeToTray);
        MinimizeStep();
        message.Result = 1;
        return;
    }
    if (message.Msg == WM_SHOWWINDOW && message.WParam == 1 && message.LParam == 0) {
        SetForegroundWindow(Application->Handle());
        if (TForm* form = OwnerForm()) SetForegroundWindow(form->Handle());
    }
    FOldOwnerProc(message);
}
