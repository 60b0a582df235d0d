// Starts Tarnwhistle (copied into a fresh folder, default settings) and the minimal
// Win32 program beside this benchmark several times each, and measures the time until
// the main window is shown and the program idle, and its peak working set.
// Goal: within 3x the minimal program's start and under 40 MB peak working set.
#include "bench/BenchSupport.h"
#include "classlib/base/SysUtils.h"
#include "tests/support/ProcessWindow.h"
#include <algorithm>
#include <cstdio>
#include <psapi.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

constexpr int Runs = 9;

struct TSample {
    double Seconds = 0;
    double PeakMB = 0;
};

// One start: until the window shows and the program waits for input, then closed.
bool StartOnce(const std::string& exe, const char* className, TSample& sample) {
    std::string command = "\"" + exe + "\"";
    std::string dir = ExtractFilePath(exe);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double start = CounterSeconds();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                        &si, &pi))
        return false;
    HWND wnd = nullptr;
    for (int i = 0; i < 30000 && !wnd; ++i) {
        WaitForInputIdle(pi.hProcess, 10);
        wnd = FindProcessWindow(pi.dwProcessId, className);
    }
    if (wnd) {
        SendMessageA(wnd, WM_NULL, 0, 0); // answered by an idle message loop
        sample.Seconds = CounterSeconds() - start;
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters));
        sample.PeakMB = counters.PeakWorkingSetSize / 1048576.0;
        PostMessageA(wnd, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return wnd != nullptr;
}

struct TProgram {
    const char* Label;
    std::string Exe;
    const char* WindowClass;
    std::vector<TSample> Samples;
};

// The median start and the largest peak, printed.
TSample Report(const TProgram& program) {
    std::vector<TSample> samples = program.Samples;
    std::sort(samples.begin(), samples.end(),
              [](auto& a, auto& b) { return a.Seconds < b.Seconds; });
    TSample result;
    result.Seconds = samples[samples.size() / 2].Seconds;
    for (const TSample& s : samples)
        result.PeakMB = std::max(result.PeakMB, s.PeakMB);
    std::printf("%-16s start %.3f s (median of %d)   peak working set %.1f MB (largest)\n",
                program.Label, result.Seconds, Runs, result.PeakMB);
    return result;
}

// The two programs start in turn, so that a busy machine slows both alike; the first
// round warms the prefix and the file cache and is not counted.
bool MeasureInTurn(TProgram& a, TProgram& b) {
    for (int round = 0; round <= Runs; ++round) {
        for (TProgram* program : {&a, &b}) {
            TSample sample;
            if (!StartOnce(program->Exe, program->WindowClass, sample)) return false;
            if (round > 0) program->Samples.push_back(sample);
        }
    }
    return true;
}

std::string BenchDir() {
    std::string dir = ExtractFilePath(GetModuleFileNameStr());
    return StartsText("unix\\", dir) ? "\\\\?\\" + dir : dir;
}

} // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string programDir = std::string(temp) + "tw_bench_startup\\";
    CreateDirectoryA(programDir.c_str(), nullptr);
    const std::string program = programDir + "Tarnwhistle.exe";
    const std::string built =
        ExtractFilePath(ExcludeTrailingPathDelimiter(BenchDir())) + "app\\Tarnwhistle.exe";
    if (!CopyFileA(built.c_str(), program.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %s\n", built.c_str());
        return 1;
    }
    const std::string minimalExe = programDir + "MinimalWindow.exe";
    CopyFileA((BenchDir() + "MinimalWindow.exe").c_str(), minimalExe.c_str(), FALSE);
    TProgram minimalProgram{"minimal window", minimalExe, "MinimalWindow", {}};
    TProgram tarnwhistleProgram{"Tarnwhistle", program, "TfMain", {}};
    if (!MeasureInTurn(minimalProgram, tarnwhistleProgram)) {
        std::fprintf(stderr, "a program did not show its window\n");
        return 1;
    }
    const TSample minimal = Report(minimalProgram);
    const TSample tarnwhistle = Report(tarnwhistleProgram);
    const double ratio = tarnwhistle.Seconds / minimal.Seconds;
    std::printf("start ratio %.2fx (goal within 3x): %s\n", ratio, ratio <= 3 ? "met" : "missed");
    std::printf("peak working set %.1f MB (goal under 40 MB): %s\n", tarnwhistle.PeakMB,
                tarnwhistle.PeakMB < 40 ? "met" : "missed");
    return 0;
}
