#pragma once
// A hidden message-only window of class "TPUtilWindow" whose messages go to a handler;
// for components that need a window of their own (timers). Main thread only.
#include "classlib/gui/Classes.h"
#include "classlib/gui/Messages.h"
#include <functional>

class TUtilWindow : public TObject {
public:
    // The handler returns true when it handled the message (and set its Result).
    explicit TUtilWindow(std::function<bool(TMessage&)> handler);
    ~TUtilWindow();
    [[nodiscard]] HWND Handle() const { return FHandle; }

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    std::function<bool(TMessage&)> FHandler;
    HWND FHandle = nullptr;
};
