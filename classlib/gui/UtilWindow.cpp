#include "classlib/gui/UtilWindow.h"
#include "classlib/base/Exceptions.h"
#include "classlib/gui/Application.h"

TUtilWindow::TUtilWindow(std::function<bool(TMessage&)> handler) : FHandler(std::move(handler)) {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &TUtilWindow::WndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TPUtilWindow";
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    FHandle = CreateWindowExW(0, L"TPUtilWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!FHandle) RaiseLastOSError();
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TUtilWindow::~TUtilWindow() {
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
}

LRESULT CALLBACK TUtilWindow::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto self = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (self) {
        TMessage message{msg, wParam, lParam, 0};
        try {
            if (self->FHandler(message)) return message.Result;
        } catch (...) {
            Application->HandleException(nullptr);
            return 0;
        }
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
