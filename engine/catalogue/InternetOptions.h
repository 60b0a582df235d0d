#pragma once
// Clears Internet Explorer's AutoComplete store by driving the Internet Options
// control panel, a separate process, with window messages: its dialogs are found
// by title and its buttons pressed by caption. Main thread; the waits pump messages.
#include "classlib/base/Handle.h"
#include <functional>

inline constexpr const char* ClearFormsButton = "&Clear Forms";
inline constexpr const char* ClearPasswordsButton = "C&lear Passwords";

// The first child of parent with that class and title, or nullptr.
HWND FindChildWindow(HWND parent, const char* className, const char* title);
// Sends (wait) or posts WM_COMMAND for the button; a missing button gives id 0.
void ClickButton(HWND dialog, HWND button, bool wait);

class TInternetOptions {
public:
    explicit TInternetOptions(std::function<void()> processMessages)
        : FProcessMessages(std::move(processMessages)) {}

    // Starts the control panel minimised, presses "A&utoComplete...", the given
    // button and the confirmation's OK, then Cancel on each dialog. Gives up at the
    // first dialog that does not appear; the control panel it started is ended when
    // it is still running afterwards. True only when the confirmation's OK was pressed.
    bool ClearAutoComplete(const char* buttonCaption);

    // A dialog ("#32770") with exactly that title: 21 attempts, 200 ms apart,
    // pumping messages; nullptr after the last.
    HWND WaitForDialog(const char* title);

private:
    bool StartControlPanel();
    bool PressAutoComplete(HWND properties, const char* buttonCaption);
    void EndControlPanel();

    std::function<void()> FProcessMessages;
    TKernelHandle FProcess;
};
