#include "demo/duck_row.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "fakes/fake_system.h"
#include "gfx/image.h"
#include "support/synthetic_art.h"
#include "support/test_files.h"
#include "support/tga_files.h"

namespace {

constexpr Pixel kBackground = 0xFF123456u;

class DuckRowTest : public testing::Test {
protected:
    void SetUp() override {
        FillSolid(target, kBackBufferWidth, kBackBufferHeight, kBackground);
        MakeSyntheticFrames(row.frames, kDuckFrameCount);
    }

    std::array<int32_t, kDuckSlotCount> FramesAt(int32_t t) const {
        std::array<int32_t, kDuckSlotCount> frames;
        row.SlotFramesAt(t, frames.data());
        return frames;
    }

    // The frame drawn at a slot's top-left corner, shifted by (dx, dy).
    int32_t DrawnFrame(int32_t slot, int32_t dx = 0, int32_t dy = 0) const {
        return SyntheticFrameIndex(PixelAt(target, kRowX + dx, SlotY(slot) + dy));
    }

    Bitmap target;
    DuckRow row{target};
};

using Frames = std::array<int32_t, kDuckSlotCount>;

TEST_F(DuckRowTest, ACueAppliesAfterItsStartUpToItsEnd) {
    row.AddCue(100, 200, 3, kSing);
    EXPECT_EQ(FramesAt(100), (Frames{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(FramesAt(101), (Frames{0, 0, 0, kSing, 0, 0}));
    EXPECT_EQ(FramesAt(200), (Frames{0, 0, 0, kSing, 0, 0}));
    EXPECT_EQ(FramesAt(201), (Frames{0, 0, 0, 0, 0, 0}));
}

TEST_F(DuckRowTest, MeetingCuesNeitherOverlapNorLeaveAGap) {
    row.AddCue(100, 200, 1, kLeft);
    row.AddCue(200, 300, 1, kRight);
    row.AddCue(400, 400, 1, kSad);  // empty window
    EXPECT_EQ(FramesAt(200)[1], kLeft);
    EXPECT_EQ(FramesAt(201)[1], kRight);
    EXPECT_EQ(FramesAt(400)[1], kStance);
}

TEST_F(DuckRowTest, TheCueAddedLastWins) {
    row.AddCue(0, 1000, 4, kSad);
    row.AddCue(500, 600, 4, kSadSingHalf);
    EXPECT_EQ(FramesAt(550)[4], kSadSingHalf);
    EXPECT_EQ(FramesAt(700)[4], kSad);

    DuckRow reversed(target);
    reversed.AddCue(500, 600, 4, kSadSingHalf);
    reversed.AddCue(0, 1000, 4, kSad);
    Frames frames;
    reversed.SlotFramesAt(550, frames.data());
    EXPECT_EQ(frames[4], kSad);
}

TEST_F(DuckRowTest, CuesOutsideTheRowOrTheSpriteSetChangeNothing) {
    row.AddCue(0, 1000, 6, kSing);
    row.AddCue(0, 1000, -1, kSing);
    row.AddCue(0, 1000, 2, kDuckFrameCount);
    row.AddCue(0, 1000, 2, -1);
    EXPECT_EQ(FramesAt(500), (Frames{0, 0, 0, 0, 0, 0}));
}

TEST_F(DuckRowTest, TheListHoldsAtMost256Cues) {
    for (int32_t i = 0; i < kCueCapacity; ++i) row.AddCue(i, i + 1, i % kDuckSlotCount, kSing);
    row.AddCue(0, 100000, 0, kSad);
    EXPECT_EQ(row.cueCount, kCueCapacity);
    EXPECT_EQ(FramesAt(50000)[0], kStance);
}

TEST_F(DuckRowTest, DrawsSixSlotsFromLeftToRightInTheLandscapeView) {
    row.AddCue(0, 10, 0, kSing);
    row.AddCue(0, 10, 5, kLoudSing);
    row.Draw(5);
    EXPECT_EQ(DrawnFrame(0), kSing);
    for (int32_t slot = 1; slot <= 4; ++slot) EXPECT_EQ(DrawnFrame(slot), kStance) << slot;
    EXPECT_EQ(DrawnFrame(5), kLoudSing);
    // y = 230, 195, ..., 55; each duck 32 high, nothing between the slots' blocks drawn over.
    EXPECT_EQ(PixelAt(target, kRowX, SlotY(5) - 1), kBackground);
    EXPECT_EQ(PixelAt(target, kRowX, SlotY(0) + kTurnedDuckHeight), kBackground);
    EXPECT_EQ(PixelAt(target, kRowX - 1, SlotY(0)), kBackground);
}

TEST_F(DuckRowTest, JitterMovesEveryDuck) {
    row.jitterX = 3;
    row.jitterY = 2;
    row.Draw(0);
    for (int32_t slot = 0; slot < kDuckSlotCount; ++slot) {
        EXPECT_EQ(DrawnFrame(slot, 3, 2), kStance) << slot;
        EXPECT_EQ(PixelAt(target, kRowX + 2, SlotY(slot) + 2), kBackground) << slot;
    }
}

TEST_F(DuckRowTest, AMissingFrameDrawsNothingInItsSlot) {
    row.frames[kSad].Release();
    row.AddCue(0, 10, 2, kSad);
    row.Draw(5);
    EXPECT_EQ(PixelAt(target, kRowX, SlotY(2)), kBackground);
    EXPECT_EQ(DrawnFrame(1), kStance);
}

TEST(DuckRowLoad, LoadsAFrameBesideTheExecutableAndTurnsIt) {
    // A 2 x 3 picture, 24-bit, bottom row first.
    std::string folder = TestFilePath("duck-row");
    std::string data = folder + "/data";
    std::filesystem::create_directories(data);
    WriteTgaTo(data + "/duckie_sad.tga",
               {.width = 2, .height = 3, .data = {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0, 5, 0, 0}});
    ResetFakeSystem();
    TheFakeSystem().executablePath = folder + "/duckdemo";

    Bitmap target;
    DuckRow row(target);
    row.LoadFrame(kSad, kDuckFrameFiles[kSad]);
    row.LoadFrame(kDuckFrameCount, kDuckFrameFiles[kSad]);  // no such index: ignored
    ResetFakeSystem();

    EXPECT_EQ(row.frames[kSad].width, 3);
    EXPECT_EQ(row.frames[kSad].height, 2);
    EXPECT_EQ(row.frames[kStance].width, 0);
}

}  // namespace
