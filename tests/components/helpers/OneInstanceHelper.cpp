// A small program for the single-instance tests. Its application window has the title
// "One Instance Test"; it waits for the gate event "TOneInstanceTestGate", then creates
// the guard. Exit code 1: another instance was found (arguments handed over);
// 0: it was the first and ran until message 1125 arrived or 5 seconds passed.
#include "classlib/gui/Application.h"
#include "components/OneInstance/OneInstance.h"
#include <commctrl.h>
#include <windows.h>

namespace {
bool GHandedOver = false;

LRESULT CALLBACK Watch(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == TOneInstance::WM_ONEINSTANCE) GHandedOver = true;
    return DefSubclassProc(wnd, msg, wParam, lParam);
}
} // namespace

int main() {
    Application->SetTitle("One Instance Test");
    SetWindowSubclass(Application->Handle(), Watch, 1, 0);
    HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, "TOneInstanceTestGate");
    WaitForSingleObject(gate, 10000);

    TOneInstance guard(nullptr);
    if (guard.Found) return 1;
    const DWORD start = GetTickCount();
    while (!GHandedOver && GetTickCount() - start < 5000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Application->ProcessMessages();
    }
    return 0;
}
