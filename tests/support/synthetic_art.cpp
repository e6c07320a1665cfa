#include "support/synthetic_art.h"

#include <algorithm>
#include <cstdio>

#include "app/font_charset.h"

namespace {

constexpr int32_t kGlyphCount = static_cast<int32_t>(sizeof kFontCharset) - 1;

bool InKeyBlock(int32_t column, int32_t row) { return column >= 20 && column < 28 && row >= 12 && row < 20; }

// A font of kGlyphCount cells stacked bottom to top, glyph 0 lowest.
template <typename Colour>
void MakeCellFont(Font& font, Colour colourOf) {
    font.Create(kGlyphCell, kGlyphCell * kGlyphCount);
    for (int32_t glyph = 0; glyph < kGlyphCount; ++glyph) {
        int32_t top = (kGlyphCount - 1 - glyph) * kGlyphCell;
        std::fill_n(font.pixels + top * kGlyphCell, kGlyphCell * kGlyphCell, colourOf(glyph));
    }
    std::snprintf(font.charset, sizeof font.charset, "%s", kFontCharset);
    font.glyphCount = kGlyphCount;
}

}  // namespace

void FillSolid(Bitmap& bitmap, int32_t width, int32_t height, Pixel colour) {
    bitmap.Create(width, height);
    std::fill(bitmap.pixels, bitmap.pixels + width * height, colour);
}

Pixel PixelAt(const Bitmap& picture, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return 0xDEADBEEFu;
    return picture.pixels[y * picture.width + x];
}

int32_t SyntheticFrameIndex(Pixel pixel) {
    for (int32_t index = 0; index < 19; ++index)
        if (pixel == SyntheticFrameColour(index)) return index;
    return -1;
}

void MakeSyntheticFrames(Bitmap* frames, int32_t count) {
    for (int32_t index = 0; index < count; ++index)
        FillSolid(frames[index], kTurnedDuckWidth, kTurnedDuckHeight, SyntheticFrameColour(index));
}

void MakeSyntheticFont(Font& font) {
    MakeCellFont(font, [](int32_t) { return 0xFFFFFFFFu; });
}

uint32_t TagOf(Pixel pixel) { return (pixel >> 16) & 0xFF; }

void MakeTaggedFrame(Bitmap& frame, uint32_t tag, bool keyed) {
    frame.Create(kTurnedDuckWidth, kTurnedDuckHeight);
    for (int32_t row = 0; row < kTurnedDuckHeight; ++row) {
        for (int32_t column = 0; column < kTurnedDuckWidth; ++column) {
            Pixel tagged = 0xFF000000u | tag << 16 | static_cast<uint32_t>(column) << 8 | static_cast<uint32_t>(row);
            frame.pixels[row * kTurnedDuckWidth + column] = keyed && InKeyBlock(column, row) ? kOpaqueBlack : tagged;
        }
    }
}

void MakeTaggedFont(Font& font) {
    MakeCellFont(font, [](int32_t glyph) { return 0xFF000000u | kGlyphTag << 16 | static_cast<uint32_t>(glyph); });
}

std::string TextAt(const Bitmap& picture, int32_t x, int32_t y, size_t cells) {
    std::string text;
    for (size_t k = 0; k < cells; ++k) {
        int32_t top = y - kGlyphCell * static_cast<int32_t>(k + 1);
        Pixel first = PixelAt(picture, x, top);
        bool uniform = true;
        for (int32_t i = 0; i < kGlyphCell * kGlyphCell; ++i)
            uniform = uniform && PixelAt(picture, x + i % kGlyphCell, top + i / kGlyphCell) == first;
        if (!uniform) {
            text += '#';
        } else if (first == 0) {
            text += ' ';
        } else if (TagOf(first) == kGlyphTag && (first & 0xFF) < kGlyphCount) {
            text += kFontCharset[first & 0xFF];
        } else {
            text += '#';
        }
    }
    return text;
}

testing::AssertionResult ShowsText(const Bitmap& picture, int32_t x, int32_t y, const std::string& expected) {
    std::string actual = TextAt(picture, x, y, expected.size());
    if (actual == expected) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "at (" << x << ", " << y << ") found \"" << actual << "\"";
}

int32_t GlyphCellCount(const Bitmap& picture) {
    int32_t pixels = 0;
    for (int32_t i = 0; i < picture.width * picture.height; ++i) pixels += TagOf(picture.pixels[i]) == kGlyphTag;
    return pixels / (kGlyphCell * kGlyphCell);
}

uint32_t TaggedFrameAt(const Bitmap& picture, int32_t x, int32_t y, std::initializer_list<const Bitmap*> frames) {
    for (const Bitmap* frame : frames) {
        bool whole = true;
        for (int32_t row = 0; row < frame->height && whole; ++row) {
            for (int32_t column = 0; column < frame->width && whole; ++column) {
                Pixel drawn = PixelAt(picture, x + column, y + row);
                whole = drawn == frame->pixels[row * frame->width + column] || TagOf(drawn) == kGlyphTag;
            }
        }
        if (whole) return TagOf(frame->pixels[0]);
    }
    return 0;
}

std::set<Origin> Placements(const Bitmap& picture, uint32_t tag) {
    std::set<Origin> origins;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            Pixel p = picture.pixels[y * picture.width + x];
            if (TagOf(p) == tag && p >> 24 == 0xFF) {
                origins.insert({x - static_cast<int32_t>((p >> 8) & 0xFF), y - static_cast<int32_t>(p & 0xFF)});
            }
        }
    }
    return origins;
}
