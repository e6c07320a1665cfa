#include "core/random.h"

#include <gtest/gtest.h>

namespace {

TEST(Random, UnseededSequenceMatchesTheDesktopLibrary) {
    // The first values the desktop C library gives before any srand.
    SeedRandom(1);
    for (int32_t expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
        EXPECT_EQ(NextRandom(), expected);
}

TEST(Random, SeedRestartsTheSequence) {
    SeedRandom(12345);
    int32_t first = NextRandom();
    int32_t second = NextRandom();
    SeedRandom(12345);
    EXPECT_EQ(NextRandom(), first);
    EXPECT_EQ(NextRandom(), second);
    SeedRandom(0);
    EXPECT_EQ(NextRandom(), 38);  // 2531011 >> 16
}

TEST(Random, ValuesStayInRangeAcrossSeeds) {
    for (uint32_t seed : {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu, 4000000000u}) {
        SeedRandom(seed);
        for (int i = 0; i < 1000; ++i) {
            int32_t value = NextRandom();
            ASSERT_GE(value, 0);
            ASSERT_LE(value, kRandomMax);
        }
    }
}

}  // namespace
