#include "engine/tools/Mem.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include <memory>
#include <new>
#include <vector>

namespace {
const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const AutoStartValue = "Quorbane";

struct TVirtualFree {
    void operator()(void* p) const { VirtualFree(p, 0, MEM_RELEASE); }
};
using TBlock = std::unique_ptr<void, TVirtualFree>;

// A committed block whose every page has been written, so it is really resident.
TBlock ClaimBlock(size_t size) {
    TBlock block(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block) throw std::bad_alloc();
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    auto* bytes = static_cast<volatile uint8_t*>(block.get());
    for (size_t i = 0; i < size; i += info.dwPageSize)
        bytes[i] = 0;
    return block;
}
} // namespace

TMem::TMem() : FStats(KEY_READ) {
    FStats.RootKey = HKEY_DYN_DATA;
    FStats.OpenKeyReadOnly("PerfStats\\StatData");
}

void TMem::GetMemoryStatus(TMemoryFigures& figures) {
    FStatus.dwLength = sizeof(FStatus);
    GlobalMemoryStatusEx(&FStatus);
    figures.TotalPhys = BytesToMB(FStatus.ullTotalPhys);
    figures.AvailPhys = BytesToMB(FStatus.ullAvailPhys);
    figures.TotalPageFile = BytesToMB(FStatus.ullTotalPageFile);
    figures.AvailPageFile = BytesToMB(FStatus.ullAvailPageFile);
    figures.TotalVirtual = BytesToMB(FStatus.ullTotalVirtual);
    figures.AvailVirtual = BytesToMB(FStatus.ullAvailVirtual);
}

int64_t TMem::BytesToMB(uint64_t value) {
    if (value <= 1000000) return 1;
    const uint64_t whole = value / MegaByte;
    const uint64_t rest = value % MegaByte;
    const uint64_t twice = 2 * rest;
    const bool up = twice > MegaByte || (twice == MegaByte && (whole & 1));
    return static_cast<int64_t>(whole + (up ? 1 : 0));
}

int TMem::GetCPUUsage() const {
    if (!FStats.CurrentKey()) return 1;
    try {
        int32_t usage = 0;
        if (FStats.ReadBinaryData("KERNEL\\CPUUsage", &usage, sizeof(usage)) == sizeof(usage))
            return usage;
    } catch (const Exception&) {
        // Not a binary value: as if absent.
        LogSwallowed("TMem::GetCPUUsage");
    }
    return 1;
}

bool TMem::AutoStart(bool write, bool enable) {
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    if (!write) {
        try {
            return reg.OpenKeyReadOnly(RunKey) && !reg.ReadString(AutoStartValue).empty();
        } catch (const Exception&) {
            return false; // not a string value
        }
    }
    if (reg.OpenKey(RunKey, true)) {
        if (enable)
            reg.WriteString(AutoStartValue, ParamStr(0));
        else
            reg.DeleteValue(AutoStartValue);
    }
    return false;
}

void TMem::FreeMemory(int count) {
    std::vector<TBlock> blocks; // released by the destructor when a claim fails
    blocks.reserve(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) {
        blocks.push_back(ClaimBlock(MegaByte));
        if (OnAllocate) OnAllocate(this, i);
        if (OnProcessMessages) OnProcessMessages();
    }
    for (int i = 0; i < count; ++i) {
        blocks[i].reset();
        if (OnRelease) OnRelease(this, i);
        if (OnProcessMessages) OnProcessMessages();
    }
}
