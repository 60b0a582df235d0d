#include "classlib/base/Random.h"
#include <gtest/gtest.h>

TEST(Random, RunTimeSequenceFromTheStartState) {
    RandSeed = 255;
    const uint32_t ranges[] = {100, 100, 100, 256, 256, 1000, 2, 7};
    const uint32_t expected[] = {0, 59, 95, 35, 243, 666, 0, 5};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Random(ranges[i]), expected[i]) << "draw " << i;
    RandSeed = 255;
    EXPECT_EQ(Random(0), 0u);
    EXPECT_EQ(RandSeed, 8093948u);
    EXPECT_DOUBLE_EQ(RandomFloat(), 2563470573.0 / 4294967296.0);
    EXPECT_EQ(RandSeed, 2563470573u);
}
