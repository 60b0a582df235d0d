#include "classlib/gui/Application.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Screen.h"
#include "classlib/gui/WindowObjects.h"
#include <algorithm>
#include <commctrl.h>
#include <exception>

namespace {

// Both in this file so that the screen outlives the application's forms at exit.
TScreen ScreenInstance;
TApplication ApplicationInstance;

} // namespace

TScreen* const Screen = &ScreenInstance;
TApplication* const Application = &ApplicationInstance;

TApplication::TApplication()
    : TComponent(nullptr), FTitle(ChangeFileExt(ExtractFileName(GetModuleFileNameStr()), "")) {}

TApplication::~TApplication() {
    DestroyComponents();
    if (FHandle) DestroyWindow(FHandle);
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    Handle();
}

HWND TApplication::Handle() {
    if (FHandle) return FHandle;
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &TApplication::StdWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
        wc.lpszClassName = L"TApplication";
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    TWindowCreation creation(*this, "TApplication", [](TObject& app, HWND made) {
        static_cast<TApplication&>(app).FHandle = made;
    });
    FHandle = CreateWindowExW(0, L"TApplication", ToWide(FTitle).c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              x, y, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!FHandle) RaiseLastOSError();
    WindowObject(FHandle); // claimed now if no message reached it
    SetProgramIcon(FHandle);
    return FHandle;
}

// Shared icons: the system frees them with the module.
void SetProgramIcon(HWND wnd) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    if (HICON icon = LoadIconW(module, L"MAINICON"))
        SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    if (HANDLE icon = LoadImageW(module, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED))
        SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

LRESULT CALLBACK TApplication::StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto app = static_cast<TApplication*>(WindowObject(wnd));
    if (!app) return DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    try {
        app->WndProc(message);
    } catch (...) {
        app->HandleException(app);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowObject(wnd, nullptr);
        app->FHandle = nullptr;
    }
    return message.Result;
}

void TApplication::WndProc(TMessage& message) {
    std::vector<TWindowHook> hooks = FHooks; // a hook may unhook itself
    for (const TWindowHook& hook : hooks)
        if (hook(message)) return;
    switch (message.Msg) {
    case WM_CLOSE:
        if (FMainForm) FMainForm->Close();
        break;
    case WM_SYSCOMMAND: WMSysCommand(message); break;
    default:
        message.Result = DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
        break;
    }
}

void TApplication::WMSysCommand(TMessage& message) {
    switch (message.WParam & 0xFFF0) {
    case SC_MINIMIZE: Minimize(); break;
    case SC_RESTORE: Restore(); break;
    default:
        message.Result = DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
        break;
    }
}

void TApplication::HookMainWindow(TWindowHook hook) {
    FHooks.push_back(hook);
}

void TApplication::UnhookMainWindow(TWindowHook hook) {
    FHooks.erase(std::remove(FHooks.begin(), FHooks.end(), hook), FHooks.end());
}

void TApplication::Minimize() {
    if (IsIconic(Handle())) return;
    ShowOwnedPopups(FHandle, FALSE); // Windows does it on minimising; Wine may not
    ShowWindow(FHandle, SW_MINIMIZE);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    if (!IsIconic(Handle())) return;
    ShowWindow(FHandle, SW_RESTORE);
    ShowOwnedPopups(FHandle, TRUE);
    if (OnRestore) OnRestore(this);
}

void TApplication::BringToFront() {
    HWND wnd = GetLastActivePopup(Handle());
    if (wnd == FHandle && FMainForm && FMainForm->HandleAllocated()) wnd = FMainForm->Handle();
    if (IsWindowVisible(wnd)) SetForegroundWindow(wnd);
}

void TApplication::UpdateVisible() {
    if (!FHandle) return;
    bool shown = false;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* form = Screen->Forms(i);
        shown = shown || (form->OwningApplication() == this && form->Visible());
    }
    if (shown == (IsWindowVisible(FHandle) != FALSE)) return;
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TApplication::SetTitle(const std::string& title) {
    FTitle = title;
    if (FHandle) SetWindowTextW(FHandle, ToWide(title).c_str());
}

void TApplication::Run() {
    if (FMainForm && ShowMainForm && !FTerminated) FMainForm->Show();
    while (!FTerminated)
        HandleMessage();
}

bool TApplication::ProcessMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (!TForm::IsDialogKeyMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    FreeReleased();
    return true;
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) WaitMessage();
}

void TApplication::Terminate() {
    FTerminated = true;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags,
                             HWND owner) {
    if (!owner) owner = GetActiveWindow();
    if (!owner) owner = Handle();
    return ::MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), flags);
}

void TApplication::HandleException(TObject* sender) noexcept {
    std::string text = CurrentExceptionMessage();
    try {
        if (OnException) return OnException(sender, text);
    } catch (...) {
        text += " (and the exception handler failed)";
    }
    OutputDebugStringW(ToWide("Tarnwhistle: exception: " + text + "\n").c_str());
}

void TApplication::ReleaseLater(TWinControl* control) {
    if (std::find(FReleased.begin(), FReleased.end(), control) == FReleased.end())
        FReleased.push_back(control);
}

void TApplication::CancelRelease(TWinControl* control) {
    FReleased.erase(std::remove(FReleased.begin(), FReleased.end(), control), FReleased.end());
    if (FMainForm == control) FMainForm = nullptr;
}

void TApplication::FreeReleased() {
    for (size_t i = 0; i < FReleased.size();) {
        TWinControl* control = FReleased[i];
        if (control->InWindowProc()) {
            ++i;
            continue;
        }
        FReleased.erase(FReleased.begin() + i);
        delete control;
    }
}
