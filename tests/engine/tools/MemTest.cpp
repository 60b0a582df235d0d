#include "engine/tools/Mem.h"
#include "classlib/gui/Platform.h"
#include <gtest/gtest.h>
#include <psapi.h>
#include <stdexcept>
#include <vector>

TEST(Mem, BytesToMBRoundsHalvesToEven) {
    EXPECT_EQ(TMem::BytesToMB(0), 1);
    EXPECT_EQ(TMem::BytesToMB(1000000), 1);
    EXPECT_EQ(TMem::BytesToMB(1000001), 1);
    EXPECT_EQ(TMem::BytesToMB(1049172 * 3), 3);
    EXPECT_EQ(TMem::BytesToMB(1573758), 2);              // 1.5: to even
    EXPECT_EQ(TMem::BytesToMB(1049172 * 2 + 524586), 2); // 2.5: to even
    // Beyond 2 GiB the figures stay true.
    EXPECT_EQ(TMem::BytesToMB(3ull << 30), 3070);
    EXPECT_EQ(TMem::BytesToMB(64ull << 30), 65499);
}

TEST(Mem, FiguresAreRealMegabytes) {
    TMem mem;
    TMemoryFigures f;
    mem.GetMemoryStatus(f);
    EXPECT_GT(f.TotalPhys, 16);
    EXPECT_LE(f.AvailPhys, f.TotalPhys);
    EXPECT_GT(f.TotalVirtual, 2048); // a 64-bit process has far more than 2 GiB
    EXPECT_EQ(mem.GetCPUUsage(), 1); // no dynamic-data key on the NT line
    EXPECT_TRUE(IsWindowsNT());
}

TEST(Mem, OptimizerHoldsAllBlocksThenReleasesThem) {
    TMem mem;
    std::vector<std::pair<char, int>> events;
    mem.OnAllocate = [&](TMem*, int i) { events.emplace_back('a', i); };
    mem.OnRelease = [&](TMem*, int i) { events.emplace_back('r', i); };
    mem.FreeMemory(0);
    EXPECT_TRUE(events.empty());
    mem.FreeMemory(3);
    const std::vector<std::pair<char, int>> expected = {{'a', 0}, {'a', 1}, {'a', 2},
                                                        {'r', 0}, {'r', 1}, {'r', 2}};
    EXPECT_EQ(events, expected);
}

TEST(Mem, FailureReleasesEveryBlockClaimedAndBlocksAreTouched) {
    auto workingSet = [] {
        PROCESS_MEMORY_COUNTERS c{};
        GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof(c));
        return uint64_t(c.WorkingSetSize);
    };
    const uint64_t mb = TMem::MegaByte;
    TMem mem;
    const uint64_t before = workingSet();
    uint64_t held = 0;
    mem.OnAllocate = [&](TMem*, int i) {
        if (i < 63) return;
        held = workingSet();
        throw std::runtime_error("stop");
    };
    EXPECT_THROW(mem.FreeMemory(100), std::runtime_error);
    EXPECT_GT(held, before + 60 * mb); // the pages were written, so they are resident
    EXPECT_LT(workingSet(), before + 8 * mb);
}
