#pragma once
// TApplication: the program's hidden top-level window of class "TApplication" (its
// title is the application title; forms are owned by it), the message loop and the
// place where exceptions caught at window callbacks end up. One global instance,
// Application. Main thread only.
#include "classlib/gui/Classes.h"
#include "classlib/gui/Messages.h"
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

class TForm;
class TWinControl;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize(); // common controls and the application window
    HWND Handle();     // the application window, made on first use
    [[nodiscard]] std::string Title() const { return FTitle; } // default: the exe's name
    void SetTitle(const std::string& title);

    // Makes a form owned by the application; the first one becomes the main form.
    template <class T, class... Args> T* CreateForm(Args&&... args) {
        T* form = new T(this, std::forward<Args>(args)...);
        if (!FMainForm) FMainForm = form;
        form->DoCreate();
        return form;
    }
    [[nodiscard]] TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* form) { FMainForm = form; }
    bool ShowMainForm = true;

    // Shows the main form (when ShowMainForm) and processes messages until the main
    // form closes or Terminate is called. Returns at once when already terminated.
    void Run();
    void ProcessMessages(); // every pending message, then returns
    bool ProcessMessage();  // one message; false when the queue was empty
    void HandleMessage();   // one message, waiting for it when none is pending
    void Terminate();
    [[nodiscard]] bool Terminated() const { return FTerminated; }

    // The application window minimised (its forms hide with it) or restored.
    void Minimize();
    void Restore();
    void BringToFront();                // the application's active form to the foreground
    TNotifyEvent OnMinimize, OnRestore; // main thread
    // The application window is shown (with no size, for its task-bar button) while
    // one of the application's forms is visible. Forms call it when shown or hidden.
    void UpdateVisible();
    // Hooks see the application window's messages first, in the order hooked; one that
    // returns true ends the message there. A hook may unhook itself while called.
    void HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(TWindowHook hook);

    // A message box owned by owner, or when that is nullptr by the active form (or the
    // application window).
    int MessageBox(const std::string& text, const std::string& caption, UINT flags,
                   HWND owner = nullptr);

    // Call from a catch block: passes the exception to OnException, else logs it
    // (OutputDebugString). Never throws.
    void HandleException(TObject* sender) noexcept;
    std::function<void(TObject* sender, const std::string& message)> OnException; // main thread

    // Frees the control once none of its windows is inside its window procedure.
    void ReleaseLater(TWinControl* control);
    void CancelRelease(TWinControl* control); // it is being freed by other means

private:
    static LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void WndProc(TMessage& message);
    void WMSysCommand(TMessage& message);
    void FreeReleased();

    HWND FHandle = nullptr;
    std::string FTitle;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    std::vector<TWinControl*> FReleased;
    std::vector<TWindowHook> FHooks;
};

extern TApplication* const Application;

// Gives the window the program's icon ("MAINICON"), big and small, so that WM_GETICON
// answers with it; windows of a program without one keep none.
void SetProgramIcon(HWND wnd);
