#pragma once
// Finding the windows of a program started by a test or benchmark.
#include <cstring>
#include <windows.h>

// The first top-level window of process `pid` with that class (visible ones only
// when `visibleOnly`), or nullptr.
inline HWND FindProcessWindow(DWORD pid, const char* className, bool visibleOnly = true) {
    struct TSearch {
        DWORD Pid;
        const char* Class;
        bool VisibleOnly;
        HWND Found;
    } search{pid, className, visibleOnly, nullptr};
    EnumWindows(
        [](HWND wnd, LPARAM param) -> BOOL {
            auto s = reinterpret_cast<TSearch*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            char name[64] = {};
            GetClassNameA(wnd, name, sizeof(name));
            if (owner != s->Pid || (s->VisibleOnly && !IsWindowVisible(wnd)) ||
                std::strcmp(name, s->Class) != 0)
                return TRUE;
            s->Found = wnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}
