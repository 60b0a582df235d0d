#include "classlib/gui/UtilWindow.h"
#include "classlib/base/Exceptions.h"
#include "classlib/gui/Application.h"

TUtilWindow::TUtilWindow(std::function<bool(TMessage&)> handler) : FHandler(std::move(handler)) {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &TUtilWindow::WndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TPUtilWindow";
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    FHandle = CreateWindowExA(0, "TPUtilWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (!FHandle) RaiseLastOSError();
    SetWindowLongPtrA(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TUtilWindow::~TUtilWindow() {
    SetWindowLongPtrA(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
}

LRESULT CALLBACK TUtilWindow::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto self = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (self) {
        TMessage message{msg, wParam, lParam, 0};
        try {
            if (self->FHandler(message)) return message.Result;
        } catch (...) {
            Application->HandleException(nullptr);
            return 0;
        }
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}
