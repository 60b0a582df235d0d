// A small program for the single-instance tests. It makes a top-level window of the
// test class and title, waits for the gate event "TOneInstanceTestGate", then creates
// the guard. Exit code 1: another instance was found (arguments handed over);
// 0: it was the first and ran until message 1125 arrived or 5 seconds passed.
#include "components/OneInstance/OneInstance.h"
#include <windows.h>

namespace {
bool GHandedOver = false;

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TOneInstance::WM_ONEINSTANCE) GHandedOver = true;
    return DefWindowProcA(wnd, msg, wParam, lParam);
}
} // namespace

int main() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = WndProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "TOneInstanceTestApp";
    RegisterClassA(&cls);
    HWND app = CreateWindowExA(0, cls.lpszClassName, "One Instance Test", WS_OVERLAPPEDWINDOW, 0,
                               0, 100, 100, nullptr, nullptr, cls.hInstance, nullptr);
    HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, "TOneInstanceTestGate");
    WaitForSingleObject(gate, 10000);

    TOneInstance guard(app);
    if (guard.Found) return 1;
    const DWORD start = GetTickCount();
    while (!GHandedOver && GetTickCount() - start < 5000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return 0;
}
