#pragma once
// Damaged copies of valid inputs, made from a seed, and a runner that feeds them to a
// reader one by one. A case that fails, crashes or hangs prints its seed; the variable
// TW_DAMAGED_SEED=<seed> then runs that case alone and shows its input.
#include <windows.h>

#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "support/Damager.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <psapi.h>
#include <random>
#include <string>
#include <vector>

// Writes a case's input: over the file when it exists (far cheaper under Wine than
// creating it anew), else as a new file.
inline void WriteCaseFile(const std::string& fileName, const std::string& data) {
    HANDLE file = CreateFileW(ToWide(fileName).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << fileName;
    DWORD written = 0;
    WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_EQ(written, data.size()) << fileName;
}

// A damaged input set aside under `kept` holds it to the byte; the copy is then removed
// for the next case.
inline void ExpectKeptAside(const std::string& kept, const std::string& damaged) {
    EXPECT_EQ(ReadFileToString(kept), damaged) << kept;
    SysDeleteFile(kept);
}

// Runs a reader over damaged copies of valid seed inputs. Case i uses the seed
// FirstSeed + i, which picks the valid input and the damage. Per case: no escaping
// exception (the reader's own refusals are caught by Read), at most CaseLimit seconds,
// and at most MemoryLimit bytes of working set above the start; a case that hangs
// past HangLimit or crashes ends the program after printing its seed.
class TDamagedRun {
public:
    TDamagedRun(std::string format, uint32_t firstSeed, int cases)
        : FFormat(std::move(format)), FFirstSeed(firstSeed), FCases(cases) {}

    std::vector<std::string> Seeds;   // valid inputs of our own making
    std::vector<size_t> CountOffsets; // for TDamager
    double CaseLimit = 5.0;           // seconds
    size_t MemoryLimit = 256u << 20;  // bytes above the working set at the start
    size_t LeakLimit = 64u << 20;     // working set after the run above the start
    static constexpr DWORD HangLimitMs = 30000;

    // read(damaged, seed) reads one damaged input and checks the outcome.
    void Run(const std::function<void(const std::string&, uint32_t)>& read) {
        ASSERT_FALSE(Seeds.empty());
        const PROCESS_MEMORY_COUNTERS before = Memory();
        Current() = this;
        const LPTOP_LEVEL_EXCEPTION_FILTER oldFilter = SetUnhandledExceptionFilter(OnCrash);
        FDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE watchdog = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
        LARGE_INTEGER runStart, runEnd;
        QueryPerformanceCounter(&runStart);
        int failed = 0;
        double slowest = 0;
        uint32_t slowestSeed = 0;
        for (int i = 0; i < FCases && failed < 3; ++i) {
            const uint32_t seed = FFirstSeed + static_cast<uint32_t>(i);
            if (Replay() && seed != ReplaySeed()) continue;
            TDamager damager(seed);
            damager.CountOffsets = CountOffsets;
            const std::string damaged = damager.Damage(Seeds[seed % Seeds.size()]);
            if (Replay()) Dump(damaged);
            FLabelLength =
                std::snprintf(FLabel, sizeof FLabel, "\ndamaged %s: case TW_DAMAGED_SEED=%u\n",
                              FFormat.c_str(), static_cast<unsigned>(seed));
            const bool failedBefore = testing::Test::HasFailure();
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            InterlockedExchange(&FCaseStart, static_cast<LONG>(GetTickCount()));
            InterlockedExchange(&FRunning, 1);
            try {
                read(damaged, seed);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "escaped: " << e.what();
            }
            InterlockedExchange(&FRunning, 0);
            QueryPerformanceCounter(&end);
            const double seconds = Seconds(start, end);
            if (seconds > slowest) {
                slowest = seconds;
                slowestSeed = seed;
            }
            if (!failedBefore && testing::Test::HasFailure()) {
                ++failed;
                ADD_FAILURE() << "failed" << FLabel;
            }
        }
        SetEvent(FDone);
        WaitForSingleObject(watchdog, INFINITE);
        CloseHandle(watchdog);
        CloseHandle(FDone);
        SetUnhandledExceptionFilter(oldFilter);
        Current() = nullptr;
        const PROCESS_MEMORY_COUNTERS after = Memory();
        QueryPerformanceCounter(&runEnd);
        std::printf("damaged %s: %d cases in %.1f s, slowest %.0f ms, peak working set +%zu MB\n",
                    FFormat.c_str(), FCases, Seconds(runStart, runEnd), slowest * 1000,
                    (after.PeakWorkingSetSize -
                     std::min(after.PeakWorkingSetSize, before.WorkingSetSize)) >>
                        20);
        EXPECT_LE(slowest, CaseLimit)
            << FFormat << ": slowest case TW_DAMAGED_SEED=" << slowestSeed;
        // The peak rose no higher than the bound above where the run started.
        EXPECT_LE(after.PeakWorkingSetSize,
                  std::max(before.PeakWorkingSetSize, before.WorkingSetSize + MemoryLimit))
            << FFormat << ": a case took too much memory";
        EXPECT_LE(after.WorkingSetSize, before.WorkingSetSize + LeakLimit)
            << FFormat << ": memory kept after the run";
    }

private:
    static bool Replay() { return GetEnvironmentVariableA("TW_DAMAGED_SEED", nullptr, 0) > 0; }
    static uint32_t ReplaySeed() {
        char text[16] = {};
        GetEnvironmentVariableA("TW_DAMAGED_SEED", text, sizeof text);
        return static_cast<uint32_t>(std::strtoul(text, nullptr, 10));
    }
    // A replayed case shows its input, bytes outside printable ASCII as \xNN.
    static void Dump(const std::string& damaged) {
        std::string shown;
        for (unsigned char c : damaged.substr(0, 8192)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += c >= 32 && c < 127 && c != '\\' ? std::string(1, static_cast<char>(c)) : hex;
        }
        std::printf("input of %zu bytes:\n%s\n", damaged.size(), shown.c_str());
    }
    static double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
    }
    static PROCESS_MEMORY_COUNTERS Memory() {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        return counters;
    }
    static TDamagedRun*& Current() {
        static TDamagedRun* current = nullptr;
        return current;
    }
    // Little stack is left after a stack overflow: the label is written as it stands.
    void PrintLabel(const char* what) const {
        DWORD written = 0;
        HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
        WriteFile(err, FLabel, static_cast<DWORD>(FLabelLength), &written, nullptr);
        WriteFile(err, what, static_cast<DWORD>(std::strlen(what)), &written, nullptr);
    }
    static LONG WINAPI OnCrash(EXCEPTION_POINTERS*) {
        if (Current()) Current()->PrintLabel("crashed\n");
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static DWORD WINAPI Watch(void* self) {
        auto* run = static_cast<TDamagedRun*>(self);
        while (WaitForSingleObject(run->FDone, 200) == WAIT_TIMEOUT) {
            if (run->FRunning &&
                GetTickCount() - static_cast<DWORD>(run->FCaseStart) > HangLimitMs) {
                run->PrintLabel("hangs\n");
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
        return 0;
    }

    std::string FFormat;
    uint32_t FFirstSeed;
    int FCases;
    char FLabel[128] = {};
    int FLabelLength = 0;
    volatile LONG FCaseStart = 0;
    volatile LONG FRunning = 0;
    HANDLE FDone = nullptr;
};
