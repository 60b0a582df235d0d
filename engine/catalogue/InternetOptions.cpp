#include "engine/catalogue/InternetOptions.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include <string>

namespace {

const int DialogAttempts = 21;
const DWORD AttemptPause = 200;
// How long the control panel gets to close after Cancel before it is ended.
const int CloseAttempts = 10;
const UINT SendTimeout = 5000;

std::wstring WideOrEmpty(const char* s) {
    return s ? ToWide(s) : std::wstring();
}

} // namespace

HWND FindChildWindow(HWND parent, const char* className, const char* title) {
    if (!parent) return nullptr;
    const std::wstring wideClass = WideOrEmpty(className), wideTitle = WideOrEmpty(title);
    return FindWindowExW(parent, nullptr, className ? wideClass.c_str() : nullptr,
                         title ? wideTitle.c_str() : nullptr);
}

void ClickButton(HWND dialog, HWND button, bool wait) {
    const WPARAM id = button ? static_cast<WORD>(GetDlgCtrlID(button)) : 0;
    const WPARAM wParam = MAKEWPARAM(id, BN_CLICKED);
    const LPARAM lParam = reinterpret_cast<LPARAM>(button);
    // The dialog belongs to another process: a hung one must not hang the run.
    if (wait)
        SendMessageTimeoutW(dialog, WM_COMMAND, wParam, lParam, SMTO_ABORTIFHUNG, SendTimeout,
                            nullptr);
    else
        PostMessageW(dialog, WM_COMMAND, wParam, lParam);
}

HWND TInternetOptions::WaitForDialog(const char* title) {
    const std::wstring wideTitle = ToWide(title);
    HWND found = nullptr;
    for (int i = 0; i < DialogAttempts && !found; ++i) {
        found = FindWindowW(L"#32770", wideTitle.c_str());
        Sleep(AttemptPause);
        if (FProcessMessages) FProcessMessages();
    }
    return found;
}

bool TInternetOptions::ClearAutoComplete(const char* buttonCaption) {
    if (!StartControlPanel()) return false;
    bool cleared = false;
    if (HWND properties = WaitForDialog("Internet Properties")) {
        cleared = PressAutoComplete(properties, buttonCaption);
        ClickButton(properties, FindChildWindow(properties, "Button", "Cancel"), true);
    }
    EndControlPanel();
    return cleared;
}

bool TInternetOptions::StartControlPanel() {
    ReadShlwapiVersion();
    std::wstring command = L"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,@0,";
    command += ShlwapiMajorVersion < 6 ? L"2" : L"3";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    TKernelHandle thread(pi.hThread);
    FProcess.Reset(pi.hProcess);
    return true;
}

bool TInternetOptions::PressAutoComplete(HWND properties, const char* buttonCaption) {
    HWND content = FindChildWindow(properties, "#32770", "Content");
    HWND autoComplete = FindChildWindow(content, "Button", "A&utoComplete...");
    if (!autoComplete) return false;
    ClickButton(properties, autoComplete, false);
    HWND settings = WaitForDialog("AutoComplete Settings");
    if (!settings) return false;
    bool confirmed = false;
    if (HWND clear = FindChildWindow(settings, "Button", buttonCaption)) {
        ClickButton(settings, clear, false);
        HWND confirm = WaitForDialog("Internet Options");
        HWND ok = FindChildWindow(confirm, "Button", "OK");
        confirmed = ok != nullptr;
        if (confirm) ClickButton(confirm, ok, true);
    }
    ClickButton(settings, FindChildWindow(settings, "Button", "Cancel"), true);
    return confirmed;
}

// Waits a bounded time for the control panel to close, then ends it.
void TInternetOptions::EndControlPanel() {
    for (int i = 0; i < CloseAttempts; ++i) {
        if (WaitForSingleObject(FProcess.Get(), AttemptPause) == WAIT_OBJECT_0) return;
        if (FProcessMessages) FProcessMessages();
    }
    TerminateProcess(FProcess.Get(), 0);
    WaitForSingleObject(FProcess.Get(), AttemptPause);
}
