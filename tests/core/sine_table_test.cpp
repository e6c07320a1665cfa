#include "core/sine_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <numeric>

namespace {

class SineTableTest : public testing::Test {
protected:
    void SetUp() override { BuildSineTable(); }
};

TEST_F(SineTableTest, EveryEntryFollowsTheRule) {
    // The other floating-point path: the product in double precision.
    const float singleStep = 6.28f / 255.0f;
    uint32_t singleStepBits = 0;
    std::memcpy(&singleStepBits, &singleStep, sizeof singleStepBits);
    ASSERT_EQ(singleStepBits, 0x3CC9BF83u);
    const double step = singleStep;
    for (int i = 0; i < 256; ++i) {
        int expected = static_cast<int>(std::sin(i * step) * 127.0);
        EXPECT_EQ(sineTable[i], expected) << "entry " << i;
    }
}

TEST_F(SineTableTest, TellingEntries) {
    EXPECT_EQ(sineTable[0], 0);
    EXPECT_EQ(sineTable[1], 3);
    EXPECT_EQ(sineTable[2], 6);
    EXPECT_EQ(sineTable[32], 90);
    for (int i = 59; i <= 68; ++i) EXPECT_EQ(sineTable[i], 126) << i;
    EXPECT_EQ(sineTable[69], 125);
    EXPECT_EQ(sineTable[127], 1);
    EXPECT_EQ(sineTable[128], -1);
    EXPECT_EQ(sineTable[160], -90);
    for (int i = 187; i <= 196; ++i) EXPECT_EQ(sineTable[i], -126) << i;
    EXPECT_EQ(sineTable[197], -125);
    EXPECT_EQ(sineTable[254], -3);
    EXPECT_EQ(sineTable[255], 0);  // 6.28, not a full turn
}

TEST_F(SineTableTest, RangeAndSum) {
    EXPECT_EQ(*std::max_element(sineTable, sineTable + 256), 126);
    EXPECT_EQ(*std::min_element(sineTable, sineTable + 256), -126);
    EXPECT_EQ(std::accumulate(sineTable, sineTable + 256, 0), -2);
}

}  // namespace
