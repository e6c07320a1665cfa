#include "gfx/font.h"

#include <cstddef>
#include <cstring>

namespace {

// Walks text one cell toward smaller y per character and hands every drawn
// glyph Pixel to write(sheet Pixel, destination Pixel). Cells are clipped to
// the destination, so a line running off an edge loses only what is outside.
template <typename WritePixel>
void DrawGlyphs(const Font& textFont, Bitmap& destination, int32_t x, int32_t y, const char* text, WritePixel write) {
    int32_t cell = textFont.CellSize();
    if (textFont.pixels == nullptr || cell <= 0) return;

    int64_t pen = y;
    for (const char* c = text; *c != '\0'; ++c) {
        pen -= cell;
        if (*c == ' ') continue;
        int32_t index = textFont.GlyphIndex(*c);
        if (index < 0) continue;

        PixelRect clip = ClipToBitmap(destination, x, pen, cell, cell);
        if (clip.IsEmpty()) continue;

        int64_t cellTop = int64_t{textFont.glyphCount - 1 - index} * cell;
        for (int32_t row = clip.top; row < clip.bottom; ++row) {
            const Pixel* from = textFont.pixels + (cellTop + (row - pen)) * cell + (clip.left - int64_t{x});
            Pixel* to = destination.pixels + int64_t{row} * destination.width + clip.left;
            for (int32_t column = clip.left; column < clip.right; ++column) write(*from++, *to++);
        }
    }
}

}  // namespace

void Font::Load(const char* path, const char* newCharset) {
    LoadTga(path);
    QuarterTurn();
    int32_t length = 0;
    while (length < kCharsetCapacity - 1 && newCharset[length] != '\0') ++length;
    std::memcpy(charset, newCharset, static_cast<size_t>(length));
    charset[length] = '\0';
    glyphCount = width > 0 ? height / width : 0;
}

int32_t Font::GlyphIndex(char c) const {
    for (int32_t i = 0; i < kCharsetCapacity && charset[i] != '\0'; ++i) {
        // A charset longer than the sheet names cells that are not there.
        if (charset[i] == c) return i < glyphCount ? i : -1;
    }
    return -1;
}

void Font::DrawString(Bitmap& destination, int32_t x, int32_t y, const char* text) const {
    DrawGlyphs(*this, destination, x, y, text, [](Pixel from, Pixel& to) { to = from; });
}

void Font::DrawStringScaled(Bitmap& destination, int32_t x, int32_t y, const char* text, int32_t level) const {
    DrawGlyphs(*this, destination, x, y, text,
               [level](Pixel from, Pixel& to) { to = (to & 0xFF000000u) | (ScaleColour(from, level) & 0x00FFFFFFu); });
}
