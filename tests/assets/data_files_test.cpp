// The pictures in the build tree's data folder, read the way the programs
// read them.
#include <algorithm>
#include <gtest/gtest.h>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "app/font_charset.h"
#include "demo/duck_row.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "support/test_files.h"

namespace {

constexpr Pixel kKey = 0xFF000000u;

std::string DataFile(const std::string& name) { return std::string(DUCKDEMO_DATA_DIR) + "/" + name; }

std::string FrameFile(int32_t index) {
    std::string path = kDuckFrameFiles[index];
    return DataFile(path.substr(path.find_last_of("\\/") + 1));
}

std::vector<Pixel> PixelsOf(const Bitmap& bitmap) {
    return std::vector<Pixel>(bitmap.pixels, bitmap.pixels + bitmap.width * bitmap.height);
}

TEST(DuckFrames, EveryFrameIsAnUncompressed24BitBottomUpTga) {
    for (int32_t index = 0; index < kDuckFrameCount; ++index) {
        std::vector<uint8_t> bytes = ReadBytes(FrameFile(index));
        ASSERT_EQ(bytes.size(), 18u + 32 * 48 * 3) << FrameFile(index);
        EXPECT_EQ(bytes[0], 0) << "no image ID";
        EXPECT_EQ(bytes[2], 2) << "uncompressed true colour";
        EXPECT_EQ(bytes[16], 24);
        EXPECT_EQ(bytes[17], 0) << "descriptor 0: bottom-up, no alpha bits";
    }
}

TEST(DuckFrames, EveryFrameLoadsUpright32By48AndTurnsTo48By32) {
    for (int32_t index = 0; index < kDuckFrameCount; ++index) {
        Image frame;
        frame.LoadTga(FrameFile(index).c_str());
        EXPECT_EQ(frame.width, 32) << FrameFile(index);
        EXPECT_EQ(frame.height, 48) << FrameFile(index);
        frame.QuarterTurn();
        EXPECT_EQ(frame.width, 48);
        EXPECT_EQ(frame.height, 32);
    }
}

TEST(DuckFrames, TurnedFramesFitEveryPlaceTheIntroAndTheGameDrawThem) {
    for (int32_t index = 0; index < kDuckFrameCount; ++index) {
        Image frame;
        frame.LoadTga(FrameFile(index).c_str());
        frame.QuarterTurn();
        ASSERT_GT(frame.width * frame.height, 0);
        // The row and its shake stand at x 90..93, the swaps bulge to 105;
        // the slots and the swap paths span y 51..234.
        for (int32_t x : {90, 105}) {
            for (int32_t y : {51, 234}) {
                EXPECT_TRUE(x >= 0 && x + frame.width <= kBackBufferWidth) << "frame " << index << " at x " << x;
                EXPECT_TRUE(y >= 0 && y + frame.height <= kBackBufferHeight) << "frame " << index << " at y " << y;
            }
        }
    }
}

TEST(DuckFrames, TopRowsStayClearForTheGamesStar) {
    for (int32_t index = 0; index < kDuckFrameCount; ++index) {
        Image frame;
        frame.LoadTga(FrameFile(index).c_str());
        ASSERT_EQ(frame.width, 32);
        for (int32_t y = 0; y < 9; ++y) {
            for (int32_t x = 0; x < frame.width; ++x) {
                ASSERT_EQ(frame.pixels[y * frame.width + x], kKey)
                    << "frame " << index << " (" << x << ", " << y << ")";
            }
        }
    }
}

// Opaque black is the colour key of the swaps: any of it inside the duck
// would let the other duck show through, so all of it must be background
// reachable from the edge.
TEST(DuckFrames, KeyColourIsOnlyTheBackgroundAroundTheDuck) {
    for (int32_t index = 0; index < kDuckFrameCount; ++index) {
        Image frame;
        frame.LoadTga(FrameFile(index).c_str());
        ASSERT_EQ(frame.width, 32);
        std::vector<bool> reached(static_cast<size_t>(frame.width * frame.height), false);
        std::queue<std::pair<int32_t, int32_t>> open;
        auto visit = [&](int32_t x, int32_t y) {
            if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) return;
            size_t at = static_cast<size_t>(y * frame.width + x);
            if (reached[at] || frame.pixels[at] != kKey) return;
            reached[at] = true;
            open.push({x, y});
        };
        for (int32_t x = 0; x < frame.width; ++x) visit(x, 0), visit(x, frame.height - 1);
        for (int32_t y = 0; y < frame.height; ++y) visit(0, y), visit(frame.width - 1, y);
        while (!open.empty()) {
            auto [x, y] = open.front();
            open.pop();
            visit(x + 1, y), visit(x - 1, y), visit(x, y + 1), visit(x, y - 1);
        }
        int32_t duckPixels = 0;
        for (size_t at = 0; at < reached.size(); ++at) {
            EXPECT_TRUE(reached[at] || frame.pixels[at] != kKey)
                << "frame " << index << " has key colour inside at " << at % 32 << ", " << at / 32;
            duckPixels += frame.pixels[at] != kKey ? 1 : 0;
        }
        EXPECT_GT(duckPixels, 32 * 48 / 3) << "frame " << index << " is nearly empty";
    }
}

TEST(DuckFrames, OneDuckInEveryPoseAndNoTwoPosesAlike) {
    std::vector<std::vector<Pixel>> frames;
    for (int32_t index = 0; index < kDuckFrameCount; ++index) {
        Image frame;
        frame.LoadTga(FrameFile(index).c_str());
        ASSERT_EQ(frame.height, 48);
        frames.push_back(PixelsOf(frame));
    }
    // The feet (the bottom three rows) are the same in every frame.
    for (int32_t index = 1; index < kDuckFrameCount; ++index) {
        EXPECT_TRUE(std::equal(frames[0].end() - 3 * 32, frames[0].end(), frames[index].end() - 3 * 32))
            << "frame " << index << " stands on other feet";
    }
    std::set<std::vector<Pixel>> distinct(frames.begin(), frames.end());
    EXPECT_EQ(distinct.size(), frames.size());
}

// The light on the head is painted on the head: a duck that only turns its
// eyes or opens its beak keeps it whole and in place, and a brow may cover
// it but never moves it, or the head seems to twitch between frames.
TEST(DuckFrames, TheHeadsHighlightStaysWhereTheStanceHasIt) {
    constexpr Pixel kHighlight = 0xFFFFF096u;
    auto highlightOf = [](int32_t index) {
        Image frame;
        frame.LoadTga(FrameFile(index).c_str());
        std::set<int32_t> at;
        for (int32_t i = 0; i < frame.width * frame.height; ++i) {
            if (frame.pixels[i] == kHighlight) at.insert(i);
        }
        return at;
    };
    const std::set<int32_t> stance = highlightOf(kStance);
    ASSERT_GE(stance.size(), 8u);
    for (int32_t index = 1; index < kDuckFrameCount; ++index) {
        std::set<int32_t> frame = highlightOf(index);
        EXPECT_TRUE(std::includes(stance.begin(), stance.end(), frame.begin(), frame.end()))
            << "frame " << index << " has highlight where the stance has none";
    }
    for (int32_t index : {kSing, kSingHalf, kLeft, kRight}) EXPECT_EQ(highlightOf(index), stance) << "frame " << index;
}

TEST(FontSheet, Is392By8PalettedWithA256EntryColourMap) {
    std::vector<uint8_t> bytes = ReadBytes(DataFile("fonts.tga"));
    ASSERT_EQ(bytes.size(), 786u + 392 * 8);
    EXPECT_EQ(bytes[1], 1) << "has a colour map";
    EXPECT_EQ(bytes[2], 1) << "uncompressed colour-mapped";
    EXPECT_EQ(bytes[5] | bytes[6] << 8, 256);
    EXPECT_EQ(bytes[7], 24);
    EXPECT_EQ(bytes[12] | bytes[13] << 8, 392);
    EXPECT_EQ(bytes[14] | bytes[15] << 8, 8);
    EXPECT_EQ(bytes[16], 8);
    EXPECT_EQ(bytes[17], 0);
}

TEST(FontSheet, LoadsAsFortyNineEightPixelGlyphsEachInkedAndDistinct) {
    Font sheet;
    sheet.Load(DataFile("fonts.tga").c_str(), kFontCharset);
    ASSERT_EQ(sheet.CellSize(), 8);
    ASSERT_EQ(sheet.glyphCount, 49);

    std::set<std::vector<Pixel>> glyphs;
    for (const char* c = kFontCharset; *c != '\0'; ++c) {
        Bitmap cell;
        cell.Create(8, 8);
        cell.Clear();
        const char text[] = {*c, '\0'};
        sheet.DrawString(cell, 0, 8, text);
        std::vector<Pixel> pixels = PixelsOf(cell);
        int32_t ink = 0;
        for (Pixel pixel : pixels) ink += (pixel & 0xFFFFFFu) != 0 ? 1 : 0;
        EXPECT_GE(ink, 2) << "'" << *c << "' has no ink";
        EXPECT_LT(ink, 40) << "'" << *c << "' is a blot";
        glyphs.insert(pixels);
    }
    EXPECT_EQ(glyphs.size(), 49u);
}

}  // namespace
