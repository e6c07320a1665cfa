#include "platform/desktop/frame_pace.h"

#include <gtest/gtest.h>

namespace {

struct Frame {
    uint32_t now;
    uint32_t wait;
};

// Frames due at 1000 * n / 60 ms after the first: 16, 33, 50, 66...
TEST(FramePace, WaitsForEachFrameOfA60HzScreenAndNeverHurriesToCatchUp) {
    const Frame frames[] = {
        {1000, 0},   // the first frame counts from now
        {1005, 11},  // due at 1016
        {1016, 17},  // due at 1033
        {1040, 10},  // late by 7: still due at 1050
        {1100, 0},   // more than a frame behind: counts again from 1100
        {1101, 15},  // due at 1116
    };
    FramePace pace;
    for (const Frame& frame : frames) EXPECT_EQ(WaitBeforeFrame(pace, frame.now), frame.wait) << "at " << frame.now;
}

TEST(FramePace, KeepsItsPaceAcrossTheTickCountersWrap) {
    FramePace pace;
    EXPECT_EQ(WaitBeforeFrame(pace, 0xFFFFFFF0u), 0u);
    EXPECT_EQ(WaitBeforeFrame(pace, 0xFFFFFFF8u), 8u);  // due 16 later, past the wrap
}

}  // namespace
