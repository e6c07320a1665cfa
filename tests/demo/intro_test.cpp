#include "demo/intro.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <string>

#include "core/random.h"
#include "formats/png_file.h"
#include "support/synthetic_art.h"
#include "support/test_files.h"

namespace {

int32_t CountRows(CueRowKind kind) {
    auto rows = IntroCueRows();
    return static_cast<int32_t>(
        std::count_if(rows.begin(), rows.end(), [kind](const CueRow& row) { return row.kind == kind; }));
}

bool IsHalfFrame(int32_t frame) {
    return frame == kSingHalf || frame == kSadSingHalf || frame == kAngryLeftSingHalf || frame == kAngryRightSingHalf ||
           frame == kLoudSingHalf;
}

int32_t HalfOf(int32_t full) {
    switch (full) {
        case kSing:
            return kSingHalf;
        case kSadSing:
            return kSadSingHalf;
        case kAngryLeftSing:
            return kAngryLeftSingHalf;
        case kAngryRightSing:
            return kAngryRightSingHalf;
        case kLoudSing:
            return kLoudSingHalf;
        default:
            return -1;
    }
}

TEST(IntroCueTable, Holds48RowsThatExpandTo138Cues) {
    EXPECT_EQ(IntroCueRows().size(), 48u);
    EXPECT_EQ(CountRows(CueRowKind::Triple), 29);
    EXPECT_EQ(CountRows(CueRowKind::Single), 11);
    EXPECT_EQ(CountRows(CueRowKind::Group), 8);

    Bitmap target;
    DuckRow row(target);
    AddIntroCues(row);
    EXPECT_EQ(row.cueCount, 138);
}

TEST(IntroCueTable, ExpandsEachKindInItsOrder) {
    Bitmap target;
    DuckRow row(target);
    AddIntroCues(row);
    auto same = [](const SpriteCue& a, const SpriteCue& b) {
        return a.start == b.start && a.end == b.end && a.slot == b.slot && a.frame == b.frame;
    };
    // Row 1, a triple: half, full, half.
    EXPECT_TRUE(same(row.cues[0], {12465, 12515, 0, kSingHalf}));
    EXPECT_TRUE(same(row.cues[1], {12515, 12615, 0, kSing}));
    EXPECT_TRUE(same(row.cues[2], {12615, 12665, 0, kSingHalf}));
    // Row 7, the first group: slots 0-3 right, then slot 5 left.
    for (int32_t slot = 0; slot < 4; ++slot) EXPECT_TRUE(same(row.cues[18 + slot], {15000, 17000, slot, kRight}));
    EXPECT_TRUE(same(row.cues[22], {15000, 17000, 5, kLeft}));
    // Row 10, the first single, after three groups.
    EXPECT_TRUE(same(row.cues[33], {16000, 17000, 4, kLeft}));
    // Row 48, the last group.
    EXPECT_TRUE(same(row.cues[137], {56800, 61700, 5, kLeft}));
}

TEST(IntroCueTable, TriplesFlankTheirFullFrameWithFiftyMillisecondHalves) {
    int32_t rowNumber = 0;
    for (const CueRow& row : IntroCueRows()) {
        ++rowNumber;
        if (row.kind != CueRowKind::Triple || rowNumber == 11) continue;
        EXPECT_EQ(row.times[1], row.times[0] + 50) << "row " << rowNumber;
        EXPECT_EQ(row.times[3], row.times[2] + 50) << "row " << rowNumber;
        EXPECT_TRUE(IsHalfFrame(row.frameA)) << "row " << rowNumber;
        EXPECT_EQ(row.frameA, HalfOf(row.frameB)) << "row " << rowNumber;
    }
}

// A changed line is placed by the rule, so the rule must give every default
// line where the table puts it: the two story lines, which no one changes,
// have always sat half a character off it.
TEST(IntroTextLines, StartWhereTheirLengthCentresThem) {
    const int32_t offCentre[kIntroTextLineCount] = {0, 0, 4, 4, 0, 0};
    std::span<const IntroTextLine> lines = IntroTextLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kIntroTextLineCount));
    for (int32_t i = 0; i < kIntroTextLineCount; ++i) {
        int32_t length = static_cast<int32_t>(std::string(lines[i].text).size());
        EXPECT_EQ(lines[i].y, CentredLineY(length) + offCentre[i]) << lines[i].text;
    }
}

TEST(IntroEnvelopes, AreSetInTheirWindows) {
    IntroEnvelopes envelopes;
    SetIntroEnvelopes(envelopes);
    EXPECT_EQ(envelopes.titleFadeOut.Value(2501), 255);
    EXPECT_EQ(envelopes.presentsFadeIn.startTime, 500);
    EXPECT_EQ(envelopes.rowFadeOut.endTime, 61700);
    EXPECT_EQ(envelopes.birthdayFadeIn.toValue, 255);
    EXPECT_EQ(envelopes.storyShow.endTime, 10000);
    EXPECT_EQ(envelopes.finaleFadeIn.startTime, 72000);
    EXPECT_EQ(envelopes.finaleFadeIn.endTime, 74000);
}

constexpr Pixel kBackground = 0xFF808080u;

// Draws intro frames over a grey background, so a line drawn at level 0
// (black) can be told from one not drawn at all.
class IntroFrameTest : public testing::Test {
protected:
    void SetUp() override {
        SetIntroEnvelopes(envelopes);
        MakeSyntheticFrames(row.frames, kDuckFrameCount);
        AddIntroCues(row);
        MakeSyntheticFont(font);
        SeedRandom(1);
    }

    void Draw(int32_t t) {
        FillSolid(target, kBackBufferWidth, kBackBufferHeight, kBackground);
        DrawIntroFrame(t, row, envelopes, font);
    }

    // The red level of the first cell of a text line at (x, y), or -1 where
    // the line was not drawn. White glyphs scale to (255 * level) >> 8.
    int32_t TextLevel(int32_t x, int32_t y) const {
        Pixel pixel = PixelAt(target, x + 4, y - 4);
        return pixel == kBackground ? -1 : static_cast<int32_t>(pixel >> 16 & 0xFF);
    }

    std::array<int32_t, kDuckSlotCount> SlotFrames(int32_t t) const {
        std::array<int32_t, kDuckSlotCount> frames;
        row.SlotFramesAt(t, frames.data());
        return frames;
    }

    bool AllPixelsAre(Pixel pixel) const {
        return std::all_of(target.pixels, target.pixels + target.width * target.height,
                           [pixel](Pixel p) { return p == pixel; });
    }

    Bitmap target;
    DuckRow row{target};
    IntroEnvelopes envelopes;
    Font font;
};

using Frames = std::array<int32_t, kDuckSlotCount>;

TEST_F(IntroFrameTest, TitleLinesFadeInAndOut) {
    Draw(0);
    EXPECT_TRUE(AllPixelsAre(kBackground));

    Draw(1);
    EXPECT_EQ(TextLevel(100, 204), 0);  // "m o r v e k", drawn black
    EXPECT_EQ(TextLevel(116, 192), 0);  // "presents"

    Draw(750);
    EXPECT_EQ(TextLevel(100, 204), 254);
    EXPECT_EQ(TextLevel(116, 192), 126);  // presentsFadeIn at 127

    Draw(2500);
    EXPECT_EQ(TextLevel(100, 204), 254);
    EXPECT_EQ(TextLevel(116, 192), 254);
    Draw(2501);
    EXPECT_EQ(TextLevel(100, 204), 254);  // titleFadeOut, still 255
    Draw(2750);
    EXPECT_EQ(TextLevel(116, 192), 127);  // titleFadeOut at 128
    Draw(3000);
    EXPECT_EQ(TextLevel(100, 204), 0);
    EXPECT_EQ(TextLevel(116, 192), 0);
    Draw(3001);
    EXPECT_TRUE(AllPixelsAre(kBackground));
}

TEST_F(IntroFrameTest, StoryLinesEndWhereTheRowBegins) {
    Draw(4000);
    EXPECT_TRUE(AllPixelsAre(kBackground));
    Draw(7000);
    EXPECT_EQ(TextLevel(100, 256), 254);  // "\"based on a true story\""
    EXPECT_EQ(TextLevel(116, 224), 254);  // "a birthday demo"
    Draw(10000);
    EXPECT_EQ(TextLevel(100, 256), 0);
    EXPECT_EQ(TextLevel(116, 224), 0);
    EXPECT_EQ(PixelAt(target, kRowX, SlotY(0)), kBackground);  // no row yet
}

TEST_F(IntroFrameTest, TheRowFadesInAsAWhole) {
    Draw(10001);
    EXPECT_TRUE(AllPixelsAre(0xFF000000u));  // everything scaled by 0

    Draw(11000);
    EXPECT_EQ(PixelAt(target, kRowX, SlotY(0)), ScaleColour(SyntheticFrameColour(kStance), 255));
    EXPECT_EQ(PixelAt(target, 0, 0), ScaleColour(kBackground, 255));

    Draw(11001);
    EXPECT_EQ(PixelAt(target, kRowX, SlotY(0)), SyntheticFrameColour(kStance));
    EXPECT_EQ(PixelAt(target, 0, 0), kBackground);
}

TEST_F(IntroFrameTest, TheRowPerformsTheCueTable) {
    EXPECT_EQ(SlotFrames(0), (Frames{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(SlotFrames(12465), (Frames{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(SlotFrames(12466)[0], kSingHalf);
    EXPECT_EQ(SlotFrames(16800), (Frames{kRight, kRight, kRight, kRight, kRight, kLeft}));
    EXPECT_EQ(SlotFrames(30600)[4], kSadSingHalf);
    EXPECT_EQ(SlotFrames(30600)[0], kAngryRight);
    EXPECT_EQ(SlotFrames(55854)[4], kLoudSingHalf);
    EXPECT_EQ(SlotFrames(55855)[4], kLoudSing);
    EXPECT_EQ(SlotFrames(56654)[4], kLoudSing);
    EXPECT_EQ(SlotFrames(56655)[4], kLoudSingHalf);
    EXPECT_EQ(SlotFrames(61700), (Frames{kRight, kRight, kRight, kRight, kSad, kLeft}));
    EXPECT_EQ(SlotFrames(61701), (Frames{0, 0, 0, 0, 0, 0}));

    Draw(16800);
    for (int32_t slot = 0; slot < kDuckSlotCount; ++slot)
        EXPECT_EQ(SyntheticFrameIndex(PixelAt(target, kRowX, SlotY(slot))), slot == 5 ? kLeft : kRight) << slot;
}

TEST_F(IntroFrameTest, TheRowShakesOnlyDuringTheLoudNote) {
    Draw(55854);
    EXPECT_EQ(row.jitterX, 0);
    EXPECT_EQ(row.jitterY, 0);
    EXPECT_EQ(NextRandom(), 41) << "no random number was drawn";

    SeedRandom(1);  // the first two draws are 41 and 18467: offsets 0 and 2
    Draw(55855);
    EXPECT_EQ(row.jitterX, 0);
    EXPECT_EQ(row.jitterY, 2);
    EXPECT_EQ(SyntheticFrameIndex(PixelAt(target, kRowX, SlotY(4) + 2)), kLoudSing);
    EXPECT_EQ(PixelAt(target, kRowX, SlotY(4) + 1), kBackground);

    for (int32_t pass = 0; pass < 200; ++pass) {
        Draw(56654);
        ASSERT_GE(row.jitterX, 0);
        ASSERT_LE(row.jitterX, 3);
        ASSERT_GE(row.jitterY, 0);
        ASSERT_LE(row.jitterY, 3);
    }

    Draw(56655);
    EXPECT_EQ(row.jitterX, 0);
    EXPECT_EQ(row.jitterY, 0);
    EXPECT_EQ(SyntheticFrameIndex(PixelAt(target, kRowX, SlotY(4))), kLoudSingHalf);
}

TEST_F(IntroFrameTest, TheRowFadesOutAndLeavesBlack) {
    Draw(59000);  // the fade-out starts after its start time
    EXPECT_EQ(PixelAt(target, kRowX, SlotY(4)), SyntheticFrameColour(kSad));
    Draw(60350);
    EXPECT_EQ(PixelAt(target, kRowX, SlotY(4)), ScaleColour(SyntheticFrameColour(kSad), 128));
    Draw(61700);
    EXPECT_TRUE(AllPixelsAre(0xFF000000u));
    Draw(61701);
    EXPECT_TRUE(AllPixelsAre(kBackground));
}

TEST_F(IntroFrameTest, BirthdayLinesAndTheClosingPicture) {
    Draw(62000);
    EXPECT_TRUE(AllPixelsAre(kBackground));
    Draw(66000);
    EXPECT_EQ(TextLevel(100, 216), 254);  // "happy birthday"
    EXPECT_EQ(TextLevel(116, 188), 254);  // "tiru :)"
    Draw(70001);
    EXPECT_TRUE(AllPixelsAre(kBackground));

    Draw(74000);  // six stance ducks at 255, one part in 256 darker
    for (int32_t slot = 0; slot < kDuckSlotCount; ++slot)
        EXPECT_EQ(PixelAt(target, kRowX, SlotY(slot)), ScaleColour(SyntheticFrameColour(kStance), 255)) << slot;
    Draw(74001);
    EXPECT_TRUE(AllPixelsAre(kBackground));
}

// Frames a person can open: build/<preset>/tests/output/intro-<t>.png.
TEST_F(IntroFrameTest, RendersTellingTimesToPng) {
    for (int32_t t : {1000, 7000, 10500, 16800, 30600, 55855, 60350, 66000, 73000}) {
        FillSolid(target, kBackBufferWidth, kBackBufferHeight, 0);
        DrawIntroFrame(t, row, envelopes, font);
        std::string path = TestOutputDir() + "/intro-" + std::to_string(t) + ".png";
        EXPECT_TRUE(WritePixelsPngFile(path, target.pixels, target.width, target.height, true)) << path;
        EXPECT_GT(ReadWholeFile(path).size(), 100u);
    }
}

}  // namespace
