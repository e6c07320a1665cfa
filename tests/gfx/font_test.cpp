#include "gfx/font.h"

#include <climits>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/font_charset.h"
#include "support/tga_files.h"

namespace {

constexpr Pixel kLeftoverColour = 0xFF0D0E0Fu;

// Pixel (column, row) of glyph i in the upright sheet picture: red names the
// glyph, green and blue the position, so a wrong glyph or a wrong turn shows.
Pixel GlyphColour(int32_t glyph, int32_t column, int32_t row) {
    return 0xFF000000u | static_cast<Pixel>(200 - glyph) << 16 | static_cast<Pixel>(10 * column + 5) << 8 |
           static_cast<Pixel>(20 * row + 3);
}

// One row of cells, left to right, after `leftover` columns of another colour.
ScratchFile WriteSheet(int32_t glyphs, int32_t cell, int32_t leftover = 0) {
    int32_t width = leftover + glyphs * cell;
    std::vector<Pixel> picture;
    for (int32_t y = 0; y < cell; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture.push_back(x < leftover ? kLeftoverColour
                                           : GlyphColour((x - leftover) / cell, (x - leftover) % cell, y));
        }
    }
    return WriteTga("sheet", {.width = static_cast<uint16_t>(width),
                              .height = static_cast<uint16_t>(cell),
                              .depth = 24,
                              .data = StoreRows24(picture, width, cell)});
}

void LoadFont(Font& target, int32_t glyphs, int32_t cell, const char* charset, int32_t leftover = 0) {
    ScratchFile sheet = WriteSheet(glyphs, cell, leftover);
    target.Load(sheet.Path(), charset);
}

// Alpha varies too, so that a scaled draw that loses the destination's alpha shows.
Pixel Background(int32_t x, int32_t y) { return static_cast<Pixel>((x * 31 + y * 17) & 0xFF) << 24 | 0x00102030u; }

void MakeCanvas(Bitmap& canvas, int32_t width, int32_t height) {
    canvas.Create(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) canvas.pixels[y * width + x] = Background(x, y);
    }
}

struct DrawnCell {
    int32_t glyph;
    int32_t x;
    int32_t top;
};

using Paint = std::function<Pixel(Pixel glyph, Pixel under)>;

Pixel Copy(Pixel glyph, Pixel) { return glyph; }

// Each colour channel of the glyph times level / 256, over the destination's alpha.
Paint ScaledBy(Pixel level) {
    return [level](Pixel glyph, Pixel under) {
        Pixel result = under & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) result |= (((glyph >> shift) & 0xFF) * level >> 8) << shift;
        return result;
    };
}

Pixel BlackOverAlpha(Pixel, Pixel under) { return under & 0xFF000000u; }

// Every canvas Pixel: inside a listed cell, the glyph as the text reads
// upright once the frame is viewed turned; elsewhere the background.
void ExpectCanvas(const Bitmap& canvas, int32_t cell, const std::vector<DrawnCell>& cells, const Paint& paint = Copy) {
    for (int32_t y = 0; y < canvas.height; ++y) {
        for (int32_t x = 0; x < canvas.width; ++x) {
            Pixel expected = Background(x, y);
            for (const DrawnCell& drawn : cells) {
                int32_t s = x - drawn.x;
                int32_t r = y - drawn.top;
                if (s >= 0 && s < cell && r >= 0 && r < cell) {
                    expected = paint(GlyphColour(drawn.glyph, cell - 1 - r, s), Background(x, y));
                }
            }
            ASSERT_EQ(canvas.pixels[y * canvas.width + x], expected) << "pixel (" << x << ", " << y << ")";
        }
    }
}

TEST(FontTest, LoadTurnsTheSheetAndCountsItsCells) {
    Font demo;
    LoadFont(demo, 49, 8, kFontCharset);
    EXPECT_EQ(demo.width, 8);
    EXPECT_EQ(demo.height, 392);
    EXPECT_EQ(demo.CellSize(), 8);
    EXPECT_EQ(demo.glyphCount, 49);
    EXPECT_STREQ(demo.charset, kFontCharset);
    EXPECT_EQ(demo.GlyphIndex('a'), 0);
    EXPECT_EQ(demo.GlyphIndex('*'), 48);
    EXPECT_EQ(demo.GlyphIndex('A'), -1);
    EXPECT_EQ(demo.GlyphIndex('\0'), -1);

    std::string tooLong(600, 'x');
    tooLong[0] = 'a';
    Font cut;
    LoadFont(cut, 2, 4, tooLong.c_str());
    EXPECT_EQ(std::strlen(cut.charset), 511u);
    EXPECT_EQ(cut.charset[0], 'a');
}

TEST(FontTest, TextStepsOneCellTowardSmallerY) {
    Font demo;
    LoadFont(demo, 49, 8, kFontCharset);
    Bitmap canvas;
    MakeCanvas(canvas, kBackBufferWidth, kBackBufferHeight);

    demo.DrawString(canvas, 100, 204, "ab");
    ExpectCanvas(canvas, 8, {{0, 100, 196}, {1, 100, 188}});

    MakeCanvas(canvas, kBackBufferWidth, kBackBufferHeight);
    demo.DrawString(canvas, 0, 320, "z9*");
    ExpectCanvas(canvas, 8, {{25, 0, 312}, {41, 0, 304}, {48, 0, 296}});
}

TEST(FontTest, SpacesAndUnknownCharactersLeaveTheirCellUntouched) {
    Font demo;
    LoadFont(demo, 49, 8, kFontCharset);
    Bitmap canvas;

    for (const char* text : {"a b", "aBb", "a%b",
                             "a\xE9"
                             "b"}) {
        MakeCanvas(canvas, 40, 40);
        demo.DrawString(canvas, 5, 30, text);
        ExpectCanvas(canvas, 8, {{0, 5, 22}, {1, 5, 6}});
    }

    // A space draws nothing even where the charset names a glyph for it.
    Font withSpace;
    LoadFont(withSpace, 3, 8, "a b");
    MakeCanvas(canvas, 40, 40);
    withSpace.DrawString(canvas, 5, 30, "  b");
    ExpectCanvas(canvas, 8, {{2, 5, 6}});
}

TEST(FontTest, ARepeatedCharacterUsesItsFirstCell) {
    Font repeated;
    LoadFont(repeated, 4, 6, "abca");
    EXPECT_EQ(repeated.GlyphIndex('a'), 0);

    Bitmap canvas;
    MakeCanvas(canvas, 30, 30);
    repeated.DrawString(canvas, 2, 20, "ac");
    ExpectCanvas(canvas, 6, {{0, 2, 14}, {2, 2, 8}});
}

TEST(FontTest, ScaledTextScalesColourAndKeepsTheDestinationAlpha) {
    Font demo;
    LoadFont(demo, 49, 8, kFontCharset);
    Bitmap canvas;
    const std::vector<DrawnCell> cells = {{0, 3, 22}, {9, 3, 14}};

    for (int32_t level : {0, 256, -256}) {
        MakeCanvas(canvas, 20, 40);
        demo.DrawStringScaled(canvas, 3, 30, "aj", level);
        ExpectCanvas(canvas, 8, cells, BlackOverAlpha);
    }

    MakeCanvas(canvas, 20, 40);
    demo.DrawStringScaled(canvas, 3, 30, "aj", 128);
    ExpectCanvas(canvas, 8, cells, ScaledBy(128));

    MakeCanvas(canvas, 20, 40);
    demo.DrawStringScaled(canvas, 3, 30, "aj", 255 + 512);
    ExpectCanvas(canvas, 8, cells, ScaledBy(255));
}

TEST(FontTest, LeftoverColumnsAtTheLeftOfTheSheetAreNeverDrawn) {
    Font uneven;
    LoadFont(uneven, 3, 6, "abc", 4);
    EXPECT_EQ(uneven.glyphCount, 3);

    Bitmap canvas;
    MakeCanvas(canvas, 10, 20);
    uneven.DrawString(canvas, 1, 19, "abc");
    ExpectCanvas(canvas, 6, {{0, 1, 13}, {1, 1, 7}, {2, 1, 1}});
}

TEST(FontTest, GlyphsAreClippedToTheDestination) {
    Font small;
    LoadFont(small, 3, 6, "abc");
    Bitmap canvas;
    struct Case {
        int32_t x;
        int32_t y;
        std::vector<DrawnCell> cells;
    };
    const Case cases[] = {
        {-4, 16, {{0, -4, 10}, {1, -4, 4}, {2, -4, -2}}},  // off the left and the top
        {11, 20, {{0, 11, 14}, {1, 11, 8}, {2, 11, 2}}},   // off the right and the bottom
        {4, 24, {{0, 4, 18}, {1, 4, 12}, {2, 4, 6}}},      // starts below the destination
        {-6, 12, {}},                                      // just past the left edge
        {14, 12, {}},                                      // just past the right edge
        {INT32_MIN, 12, {}},
        {INT32_MAX, 12, {}},
        {4, INT32_MIN, {}},
        {4, INT32_MAX, {}},
    };
    for (const Case& test : cases) {
        MakeCanvas(canvas, 14, 16);
        small.DrawString(canvas, test.x, test.y, "abc");
        ExpectCanvas(canvas, 6, test.cells);

        MakeCanvas(canvas, 14, 16);
        small.DrawStringScaled(canvas, test.x, test.y, "abc", 0);
        ExpectCanvas(canvas, 6, test.cells, BlackOverAlpha);
    }
}

TEST(FontTest, ACharsetLongerThanTheSheetDrawsOnlyTheSheetsCells) {
    Font shortSheet;
    LoadFont(shortSheet, 3, 6, "abcdef");
    EXPECT_EQ(shortSheet.glyphCount, 3);
    EXPECT_EQ(shortSheet.GlyphIndex('c'), 2);
    EXPECT_EQ(shortSheet.GlyphIndex('d'), -1);
    EXPECT_EQ(shortSheet.GlyphIndex('f'), -1);

    Bitmap canvas;
    MakeCanvas(canvas, 10, 30);
    shortSheet.DrawString(canvas, 2, 24, "dcf");
    ExpectCanvas(canvas, 6, {{2, 2, 12}});
    MakeCanvas(canvas, 10, 30);
    shortSheet.DrawStringScaled(canvas, 2, 24, "dcf", 255);
    ExpectCanvas(canvas, 6, {{2, 2, 12}}, ScaledBy(255));
}

TEST(FontTest, EmptyTextAndEmptyFontsDrawNothing) {
    Bitmap canvas;
    MakeCanvas(canvas, 20, 20);

    Font demo;
    LoadFont(demo, 49, 8, kFontCharset);
    demo.DrawString(canvas, 2, 18, "");
    demo.DrawStringScaled(canvas, 2, 18, "", 200);

    Font neverLoaded;
    neverLoaded.DrawString(canvas, 2, 18, "abc");

    std::string missing = UniqueTestPath("missing_sheet");
    Font missingSheet;
    missingSheet.Load(missing.c_str(), "abc");
    EXPECT_EQ(missingSheet.glyphCount, 0);
    missingSheet.DrawString(canvas, 2, 18, "abc");

    // A sheet with no rows turns into one 0 wide: no cells, and no division by zero.
    ScratchFile flat = WriteTga("flat", {.width = 24, .height = 0, .depth = 24});
    Font flatSheet;
    flatSheet.Load(flat.Path(), "abc");
    EXPECT_EQ(flatSheet.CellSize(), 0);
    EXPECT_EQ(flatSheet.glyphCount, 0);
    flatSheet.DrawString(canvas, 2, 18, "abc");
    flatSheet.DrawStringScaled(canvas, 2, 18, "abc", 100);

    ExpectCanvas(canvas, 8, {});
}

}  // namespace
