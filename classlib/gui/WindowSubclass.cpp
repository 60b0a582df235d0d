#include "classlib/gui/WindowSubclass.h"
#include "classlib/base/Exceptions.h"
#include "classlib/gui/Application.h"
#include <commctrl.h>

TWindowSubclass::TWindowSubclass(HWND wnd, TWndMethod handler) : FHandle(wnd), FHandler(handler) {
    if (!SetWindowSubclass(wnd, SubclassProc, reinterpret_cast<UINT_PTR>(this), 0))
        throw EOSError("Cannot subclass the window", GetLastError());
}

TWindowSubclass::~TWindowSubclass() {
    if (FHandle) RemoveWindowSubclass(FHandle, SubclassProc, reinterpret_cast<UINT_PTR>(this));
}

void TWindowSubclass::CallPrevious(TMessage& message) const {
    if (FHandle)
        message.Result = DefSubclassProc(FHandle, message.Msg, message.WParam, message.LParam);
}

LRESULT CALLBACK TWindowSubclass::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR id, DWORD_PTR) {
    auto self = reinterpret_cast<TWindowSubclass*>(id);
    TMessage message{msg, wParam, lParam, 0};
    try {
        self->FHandler(message);
    } catch (...) {
        Application->HandleException(nullptr);
        message.Result = DefSubclassProc(wnd, msg, wParam, lParam);
    }
    // The handler may have freed this object (its destructor removed the subclass).
    if (msg == WM_NCDESTROY && RemoveWindowSubclass(wnd, SubclassProc, id)) self->FHandle = nullptr;
    return message.Result;
}
