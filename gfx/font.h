// The bitmap font: one row of square glyph cells and the charset naming them.
#pragma once

#include <cstdint>

#include "gfx/image.h"

class Font : public Image {
public:
    // Loads and turns the sheet, copies the charset (cut to 511 characters)
    // and counts the cells.
    void Load(const char* path, const char* newCharset);

    // Draws text toward smaller y, one cell per character starting one cell
    // above y; spaces and characters without a glyph leave their cell
    // untouched. Glyph Pixels are copied whole.
    void DrawString(Bitmap& destination, int32_t x, int32_t y, const char* text) const;

    // As DrawString, with blue, green and red scaled by (level & 255) / 256;
    // the destination's alpha is kept.
    void DrawStringScaled(Bitmap& destination, int32_t x, int32_t y, const char* text, int32_t level) const;

    // The edge of a glyph cell: the sheet's width after the turn.
    int32_t CellSize() const { return width; }

    // The index of c's glyph, or -1.
    int32_t GlyphIndex(char c) const;

    static constexpr int32_t kCharsetCapacity = 512;

    char charset[kCharsetCapacity] = {};
    int32_t glyphCount = 0;
};

extern Font font;
