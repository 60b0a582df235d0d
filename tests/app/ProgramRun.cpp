#include "ProgramRun.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "support/ProcessWindow.h"
#include <cstring>

std::string BuiltProgram() {
    const std::string tests = ExcludeTrailingPathDelimiter(ExtractFilePath(GetModuleFileNameStr()));
    return ExtractFilePath(tests) + "app\\Tarnwhistle.exe";
}

TProgramRun::TProgramRun(const std::string& subfolder)
    : FDir(subfolder.empty() ? FFolder.Path() : FFolder.Path() + subfolder + "\\") {
    ForceDirectories(FDir);
    CopyFileA(BuiltProgram().c_str(), (FDir + "Tarnwhistle.exe").c_str(), FALSE);
}

TProgramRun::~TProgramRun() {
    if (FProcess && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(FProcess.Get(), 1);
        WaitForSingleObject(FProcess.Get(), 5000);
    }
}

void TProgramRun::WritePrefs(const std::function<void(TEraserEngine&)>& setUp) const {
    TEraserEngine engine;
    setUp(engine);
    engine.SaveSettings(FDir + "prefs.dat");
}

void TProgramRun::ReadPrefs(TEraserEngine& engine) const {
    engine.LoadSettings(FDir + "prefs.dat");
}

bool TProgramRun::Start(const std::string& arguments, const std::string& programDir,
                        const std::string& currentDir) {
    std::string command = "\"" + (programDir.empty() ? FDir : programDir) + "Tarnwhistle.exe\"";
    if (!arguments.empty()) command += " " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        (currentDir.empty() ? FDir : currentDir).c_str(), &si, &pi))
        return false;
    FProcess.Reset(pi.hProcess);
    CloseHandle(pi.hThread);
    FProcessId = pi.dwProcessId;
    return true;
}

bool TProgramRun::Kill() const {
    return TerminateProcess(FProcess.Get(), 1) && WaitForExit();
}

HWND TProgramRun::FindWindowOfClass(const char* className, bool visibleOnly) const {
    return FindProcessWindow(FProcessId, className, visibleOnly);
}

HWND TProgramRun::WaitForWindow(const char* className, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowOfClass(className)) != nullptr || WaitForExit(0); },
            timeoutMs);
    return found;
}

bool TProgramRun::WaitForExit(DWORD timeoutMs) const {
    return FProcess && WaitForSingleObject(FProcess.Get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD TProgramRun::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(FProcess.Get(), &code);
    return code;
}

HWND FindChild(HWND parent, const char* className, const char* caption) {
    struct TSearch {
        const char* Class;
        const char* Caption;
        HWND Found;
    } search{className, caption, nullptr};
    EnumChildWindows(
        parent,
        [](HWND wnd, LPARAM param) -> BOOL {
            auto s = reinterpret_cast<TSearch*>(param);
            char name[64] = {};
            GetClassNameA(wnd, name, sizeof(name));
            if (strcmp(name, s->Class) != 0 || (s->Caption && WindowText(wnd) != s->Caption))
                return TRUE;
            s->Found = wnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::string WindowText(HWND wnd) {
    LRESULT length = SendMessageW(wnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(length + 1, L'\0');
    text.resize(SendMessageW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return ToUtf8(text);
}

std::string MessageBoxText(HWND box) {
    std::string text;
    for (HWND child = nullptr; (child = FindWindowExA(box, child, "Static", nullptr));)
        text += WindowText(child);
    return text;
}

void PostClick(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

void PressFlatButton(HWND page, TFlatButton button, bool post) {
    const LPARAM at = MAKELPARAM(8 + 96 * button + 45, 436 + 12);
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP}) {
        const WPARAM keys = msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0;
        if (post)
            PostMessageA(page, msg, keys, at);
        else
            SendMessageA(page, msg, keys, at);
    }
}

std::string TextOnceWritten(const std::string& path) {
    try {
        return FileExists(path) ? ReadFileToString(path) : "";
    } catch (const Exception&) {
        return ""; // held open by its writer
    }
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}
