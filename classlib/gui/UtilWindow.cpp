#include "classlib/gui/UtilWindow.h"
#include "classlib/base/Exceptions.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/WindowObjects.h"

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
    TWindowCreation creation(*this, "TPUtilWindow", [](TObject&, HWND) {});
    FHandle = CreateWindowExW(0, L"TPUtilWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!FHandle) RaiseLastOSError();
    WindowObject(FHandle); // claimed now if no message reached it
}

TUtilWindow::~TUtilWindow() {
    SetWindowObject(FHandle, nullptr); // its last messages go to DefWindowProc
    DestroyWindow(FHandle);
}

LRESULT CALLBACK TUtilWindow::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto self = static_cast<TUtilWindow*>(WindowObject(wnd));
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
