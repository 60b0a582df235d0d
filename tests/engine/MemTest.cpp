#include "engine/Mem.h"
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

TEST(Mem, BytesToMBRoundsHalvesToEven) {
    EXPECT_EQ(TMem::BytesToMB(0), 1);
    EXPECT_EQ(TMem::BytesToMB(1000000), 1);
    EXPECT_EQ(TMem::BytesToMB(1000001), 1);
    EXPECT_EQ(TMem::BytesToMB(1049172 * 3), 3);
    EXPECT_EQ(TMem::BytesToMB(1573758), 2);           // 1.5: to even
    EXPECT_EQ(TMem::BytesToMB(1049172 * 2 + 524586), 2);  // 2.5: to even
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
    EXPECT_GT(f.TotalVirtual, 2048);  // a 64-bit process has far more than 2 GiB
    EXPECT_EQ(mem.GetCPUUsage(), 1);   // no dynamic-data key on the NT line
    EXPECT_TRUE(TMem::IsWindowsNT());
}

TEST(Mem, OptimizerHoldsAllBlocksThenReleasesThem) {
    TMem mem;
    std::vector<std::string> events;
    mem.OnAllocate = [&](TMem*, int i) { events.push_back("a" + std::to_string(i)); };
    mem.OnRelease = [&](TMem*, int i) { events.push_back("r" + std::to_string(i)); };
    mem.FreeMemory(0);
    EXPECT_TRUE(events.empty());
    mem.FreeMemory(3);
    EXPECT_EQ(events, (std::vector<std::string>{"a0", "a1", "a2", "r0", "r1", "r2"}));
}

TEST(Mem, FailureReleasesEveryBlockClaimed) {
    auto availVirtual = [] {
        MEMORYSTATUSEX s{};
        s.dwLength = sizeof(s);
        GlobalMemoryStatusEx(&s);
        return s.ullAvailVirtual;
    };
    TMem mem;
    const uint64_t before = availVirtual();
    uint64_t held = 0;
    mem.OnAllocate = [&](TMem*, int i) {
        if (i < 63) return;
        held = availVirtual();
        throw std::runtime_error("stop");
    };
    EXPECT_THROW(mem.FreeMemory(100), std::runtime_error);
    EXPECT_LT(held + 60 * uint64_t(TMem::MegaByte), before);
    EXPECT_GT(availVirtual() + 8 * uint64_t(TMem::MegaByte), before);
}
