#pragma once
// Processes messages until a condition holds, with a timeout instead of sleeping.
#include "classlib/gui/Application.h"
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
