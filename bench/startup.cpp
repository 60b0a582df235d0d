// Starts a program once and measures the time until its window of the given class is
// shown, skinned and painted and the program idle, in seconds, after printing its peak
// working set.
// A message box the program shows before its window is answered at once.
// scripts/bench-startup runs Tarnwhistle (in a folder of its own, default settings)
// and the minimal Win32 program in turn; scripts/bench-skin-damaged runs copies of
// Tarnwhistle with damaged skins put into them.
//   bench_startup start <program> <window class> [skinned]
//   bench_startup put <program> <skin stream file>
#include "bench/BenchSupport.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "skin/SkinMessages.h"
#include "tests/support/ExeSkin.h"
#include "tests/support/ProcessWindow.h"
#include <cstdio>
#include <psapi.h>
#include <stdexcept>

namespace {

bool Skinned(HWND wnd) {
    return SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1;
}

// True while the window or one of its visible children waits to be painted; with
// `skinned`, also while the window or all its children are not skinned yet.
bool Unsettled(HWND wnd, bool skinned) {
    struct TState {
        bool Skinned, Unpainted;
    } state{!skinned, GetUpdateRect(wnd, nullptr, FALSE) != FALSE};
    if (skinned && !Skinned(wnd)) return true;
    EnumChildWindows(
        wnd,
        [](HWND child, LPARAM param) -> BOOL {
            auto s = reinterpret_cast<TState*>(param);
            s->Skinned = s->Skinned || Skinned(child);
            s->Unpainted =
                s->Unpainted || (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    return !state.Skinned || state.Unpainted;
}

// A skinned window skins its controls in one pass posted when it is first activated,
// and they repaint: the start ends once that is done and the program answers.
void WaitUntilSettled(HWND wnd, bool skinned, double deadline) {
    while (Unsettled(wnd, skinned) && CounterSeconds() < deadline)
        Sleep(1);
    SendMessageW(wnd, WM_NULL, 0, 0); // answered by an idle message loop
}

// One start: until the window shows and settles, then closed.
double StartOnce(const std::vector<std::string>& args) {
    const std::string& exe = Arg(args, 0);
    std::string command = "\"" + exe + "\"";
    const std::string dir = ExtractFilePath(exe);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double start = CounterSeconds();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                        &si, &pi))
        throw std::runtime_error("cannot start " + exe);
    HWND wnd = nullptr;
    for (int i = 0; i < 30000 && !wnd; ++i) {
        WaitForInputIdle(pi.hProcess, 10);
        if (HWND box = FindProcessWindow(pi.dwProcessId, "#32770"))
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        wnd = FindProcessWindow(pi.dwProcessId, Arg(args, 1).c_str());
    }
    double seconds = 0;
    if (wnd) {
        WaitUntilSettled(wnd, args.size() > 2 && args[2] == "skinned", start + 30);
        seconds = CounterSeconds() - start;
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters));
        std::printf("peak working set %.1f MB\n", counters.PeakWorkingSetSize / 1048576.0);
        PostMessageA(wnd, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (!wnd) throw std::runtime_error(exe + " did not show its window");
    return seconds;
}

double PutSkin(const std::vector<std::string>& args) {
    if (!PutExeSkin(Arg(args, 0), ReadFileToString(Arg(args, 1))))
        throw std::runtime_error("cannot put the skin into " + Arg(args, 0));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv, {{"start", StartOnce}, {"put", PutSkin}},
                   "bench_startup start <program> <window class> [skinned] | put <program> "
                   "<skin stream file>");
}
