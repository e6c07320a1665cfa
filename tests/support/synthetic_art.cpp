#include "support/synthetic_art.h"

#include <algorithm>
#include <cstdio>

#include "app/font_charset.h"

void FillSolid(Bitmap& bitmap, int32_t width, int32_t height, Pixel colour) {
    bitmap.Create(width, height);
    std::fill(bitmap.pixels, bitmap.pixels + width * height, colour);
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
    int32_t glyphCount = static_cast<int32_t>(sizeof kFontCharset) - 1;
    FillSolid(font, 8, 8 * glyphCount, 0xFFFFFFFFu);
    std::snprintf(font.charset, sizeof font.charset, "%s", kFontCharset);
    font.glyphCount = glyphCount;
}
