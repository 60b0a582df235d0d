#pragma once
// Memory figures in megabytes, the processor usage on the Windows 9x line, and the
// optimizer that claims and releases large blocks so that Windows trims other
// processes. Main thread only.
#include "classlib/base/Registry.h"
#include <cstdint>
#include <functional>

// Megabytes of 1049172 bytes.
struct TMemoryFigures {
    int64_t TotalPhys = 0;
    int64_t AvailPhys = 0;
    int64_t TotalPageFile = 0;
    int64_t AvailPageFile = 0;
    int64_t TotalVirtual = 0;
    int64_t AvailVirtual = 0;
};

class TMem {
public:
    static constexpr int64_t MegaByte = 1049172;

    TMem(); // opens HKEY_DYN_DATA "PerfStats\StatData" when it exists (Windows 9x)

    void GetMemoryStatus(TMemoryFigures& figures);
    // Above 1000000 bytes: bytes / MegaByte rounded half to even; otherwise 1.
    [[nodiscard]] static int64_t BytesToMB(uint64_t value);
    [[nodiscard]] int GetCPUUsage() const; // 1 when it cannot be read
    // The value "Quorbane" of the machine's "Run" key: reads it, or writes the
    // program's path (Enable) or deletes it; the writing forms return false.
    bool AutoStart(bool write, bool enable);
    [[nodiscard]] bool IsAutoStart() { return AutoStart(false, false); }

    // Claims Count blocks of MegaByte bytes, writing to every page, then releases
    // them. When a block cannot be claimed, every block claimed so far is released
    // and std::bad_alloc is raised.
    void FreeMemory(int count);

    // Fired on the main thread after each block is claimed or released.
    std::function<void(TMem* sender, int index)> OnAllocate;
    std::function<void(TMem* sender, int index)> OnRelease;
    // Lets the message loop run between blocks (the program binds
    // Application.ProcessMessages).
    std::function<void()> OnProcessMessages;

private:
    TRegistry FStats;
    MEMORYSTATUSEX FStatus{};
};
