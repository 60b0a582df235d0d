// The memory panel in the running program: its figures, and the optimizer run by
// clicks on "&Optimize", seen through the bars and the program's working set.
#include "app/pages/MemoryPanel.h"
#include "ProgramRun.h"
#include "RemoteControls.h"
#include <cmath>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

namespace {

const int Blocks = 300; // megabytes the optimizer claims

HWND VisibleBar(HWND group) {
    for (HWND bar = nullptr; (bar = FindWindowExA(group, bar, "TProgressBar", nullptr));)
        if (IsWindowVisible(bar)) return bar;
    return nullptr;
}

int Position(HWND bar) {
    return static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0));
}

int Max(HWND bar) {
    return static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
}

// The speed button draws itself on the panel: clicks go to the panel at its place.
void ClickOptimize(HWND panel) {
    const LPARAM at = MAKELPARAM(30, 20);
    PostMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(panel, WM_LBUTTONUP, 0, at);
}

SIZE_T WorkingSet(HANDLE process, bool peak) {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

TEST(MemoryPanel, ShowsTheFiguresAndOptimizesOnceAtATime) {
    TProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForWindow("TfMain");
    ASSERT_NE(main, nullptr);
    PostClick(FindChild(main, "TButton", "PC Manager          "));
    HWND panel = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        panel = FindChild(main, "TMemoryPanel");
        if (panel && IsWindowVisible(panel)) return true;
        HWND tabs = GetParent(FindChild(main, "TTabSheet", "Memory Optimization"));
        PressKey(tabs, VK_RIGHT);
        return false;
    }));
    SendMessageA(panel, WM_NULL, 0, 0);

    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    const int total = static_cast<int>(std::nearbyint(status.ullTotalPhys / 1049172.0));
    HWND track = FindChild(panel, "TTrackBar");
    HWND memory = VisibleBar(FindChild(panel, "TGroupBox", "Monitor Usage"));
    HWND freed = VisibleBar(FindChild(panel, "TGroupBox", "Optimizing"));
    ASSERT_TRUE(track && memory && freed);
    EXPECT_NEAR(SendMessageA(track, TBM_GETRANGEMAX, 0, 0), total, 1);
    EXPECT_NEAR(SendMessageA(track, TBM_GETPOS, 0, 0), total / 2, 1);
    EXPECT_NEAR(Max(memory), total, 1);
    // The figures come back every second.
    SendMessageA(memory, PBM_SETPOS, 1, 0);
    EXPECT_TRUE(WaitFor([&] { return Position(memory) > 1; }, 5000));

    // The slider chooses the amount; a second click while the first runs is ignored.
    SendMessageA(track, TBM_SETPOS, TRUE, Blocks - 1);
    PressKey(track, VK_RIGHT);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(track, TBM_GETPOS, 0, 0) == Blocks; }));
    TKernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.ProcessId()));
    const SIZE_T before = WorkingSet(process.Get(), false);
    ClickOptimize(panel);
    ClickOptimize(panel);
    bool climbing = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            const int at = Position(freed);
            climbing = climbing || (at > 1 && at < Max(freed));
            return at == Max(freed);
        },
        60000));
    EXPECT_TRUE(climbing);
    Sleep(1000);
    EXPECT_EQ(Position(freed), Max(freed)); // no run queued behind the first
    EXPECT_LT(WorkingSet(process.Get(), true) - before, SIZE_T{Blocks} * 1049172 * 3 / 2);

    // The button is back: one more click runs again.
    ClickOptimize(panel);
    EXPECT_TRUE(WaitFor([&] { return Position(freed) < Max(freed); }, 10000));
    EXPECT_TRUE(WaitFor([&] { return Position(freed) == Max(freed); }, 60000));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit());
}

// An optimization that ends in any error, not only a lack of memory, gives the button
// back and lets the next one run.
TEST(MemoryPanel, ARunThatFailsLeavesTheNextOneFree) {
    TMem memory;
    int pumps = 0;
    memory.OnProcessMessages = [&] {
        if (++pumps == 1) throw Exception("the message loop failed");
    };
    TMemoryPanel panel(nullptr);
    panel.Memory = &memory;
    panel.tabMemoryShow();
    panel.TimerMem->SetEnabled(false);
    panel.TrackRAM->SetPosition(2);
    EXPECT_THROW(panel.ActionOptimizeExecute(), Exception);
    EXPECT_TRUE(panel.SpeedButtonOptimize->Enabled());
    panel.ActionOptimizeExecute();
    EXPECT_EQ(pumps, 5); // two blocks claimed and released
    EXPECT_EQ(panel.ProgressBarFree->Position(), panel.ProgressBarFree->Max());
}

} // namespace
