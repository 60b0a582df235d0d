#pragma once
// Routes the messages of a bare window (one the library did not make) through a
// handler, by SetWindowSubclass, so it coexists with other subclasses of the window.
// The handler passes messages on with CallPrevious. The subclass goes away with this
// object or with the window (after WM_NCDESTROY has been passed on); the handler may
// free this object, WM_NCDESTROY's included. Main thread only.
#include "classlib/gui/Messages.h"

class TWindowSubclass {
public:
    TWindowSubclass(HWND wnd, TWndMethod handler);
    ~TWindowSubclass();
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    [[nodiscard]] HWND Handle() const { return FHandle; } // nullptr once the window is gone
    void CallPrevious(TMessage& message) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    HWND FHandle;
    TWndMethod FHandler;
};
