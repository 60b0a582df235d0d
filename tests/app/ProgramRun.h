#pragma once
// The program of this build, copied into a fresh folder and started there; its
// windows are found by class and driven through window messages, as a user would.
#include "classlib/base/Handle.h"
#include "support/TempFolder.h"
#include <functional>
#include <string>
#include <windows.h>

class TEraserEngine;

// build\app\Tarnwhistle.exe beside build\tests\app_tests.exe.
std::string BuiltProgram();

class TProgramRun {
public:
    // The copy goes into `subfolder` of the fresh folder where one is named.
    explicit TProgramRun(const std::string& subfolder = "");
    ~TProgramRun(); // ends a program still running

    // The program folder, with a trailing backslash; prefs.dat lives here.
    [[nodiscard]] const std::string& Dir() const { return FDir; }
    // Writes prefs.dat from an engine whose items all start disabled.
    void WritePrefs(const std::function<void(TEraserEngine&)>& setUp) const;
    // Reads prefs.dat back into a fresh engine.
    void ReadPrefs(TEraserEngine& engine) const;

    // By its name in programDir (this folder spelt otherwise), started in currentDir.
    bool Start(const std::string& arguments = "", const std::string& programDir = "",
               const std::string& currentDir = "");
    // Waits for a visible top-level window of the program with that class.
    HWND WaitForWindow(const char* className, DWORD timeoutMs = 20000) const;
    [[nodiscard]] HWND FindWindowOfClass(const char* className, bool visibleOnly = true) const;
    bool WaitForExit(DWORD timeoutMs = 20000) const;
    // Ends the program at once, as a crash or the task manager would.
    bool Kill() const;
    [[nodiscard]] DWORD ExitCode() const;
    [[nodiscard]] DWORD ProcessId() const { return FProcessId; }

private:
    TTempFolder FFolder;
    std::string FDir;
    TKernelHandle FProcess;
    DWORD FProcessId = 0;
};

// A child window of that class and caption (any caption when nullptr), at any depth.
HWND FindChild(HWND parent, const char* className, const char* caption = nullptr);
std::string WindowText(HWND wnd);
// The text of a message box: its static controls' texts, in order.
std::string MessageBoxText(HWND box);
// Clicks a button of another process: the click is queued, the caller goes on.
void PostClick(HWND button);
// The flat buttons below a startup-manager or password page's list draw themselves on
// the page, 96 pixels apart: a press goes to the page at the button's place. Sent, it
// has been handled on return; posted, it may open a box that the caller answers.
enum TFlatButton { fbFirst, fbSecond, fbThird, fbFourth };
void PressFlatButton(HWND page, TFlatButton button, bool post = false);
// Polls until the condition holds; false after the timeout.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000);
// The text of a file the program may still be writing: "" while it is missing or held.
std::string TextOnceWritten(const std::string& path);
