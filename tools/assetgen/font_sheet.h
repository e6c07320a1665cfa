// The font sheet: 8 x 8 glyph cells drawn as text in bands ("chars" line,
// then eight rows of cells), assembled into one row of cells in charset order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/pixel_art.h"

constexpr int32_t kGlyphSize = 8;

struct FontSheet {
    std::string charset;
    int32_t width = 0;
    int32_t height = kGlyphSize;
    std::array<Rgb, 256> palette = {};
    std::vector<uint8_t> indices;  // row after row, top row first

    Rgb At(int32_t x, int32_t y) const { return palette[indices[static_cast<size_t>(y) * width + x]]; }
};

// Every character of charset must be drawn exactly once, and nothing else.
FontSheet ReadFontSheet(const std::string& path, const std::string& charset);

void WriteFontSheet(const std::string& path, const FontSheet& sheet);
