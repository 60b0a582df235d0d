#pragma once
// Processes messages until a condition holds, with a timeout instead of sleeping.
#include "classlib/gui/Application.h"
#include "classlib/gui/Timer.h"
#include <functional>
#include <windows.h>

template <class Condition> bool PumpUntil(Condition condition, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        if (!Application->ProcessMessage())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Runs action once from the message loop (a modal loop's included), soon.
inline void RunLater(std::function<void()> action) {
    auto timer = new TTimer(Application);
    timer->SetInterval(10);
    timer->SetOnTimer([timer, action](TObject*) {
        timer->SetEnabled(false);
        action();
    });
}
