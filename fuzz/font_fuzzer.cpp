// The font as the program uses it: a sheet loaded with the program's charset,
// then text drawn into the frame, plain and scaled. The input is the text, a
// NUL, then the sheet's file; the pen starts where the sheet's header origin
// names. What is drawn is held against the cells the text should fill.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/font_charset.h"
#include "fuzz/fuzz_frame.h"
#include "fuzz/fuzz_input_file.h"
#include "gfx/bitmap.h"
#include "gfx/font.h"

namespace {

// The sheet row where c's cell starts, or -1 for a gap.
int64_t CellTop(const Font& textFont, char c) {
    if (c == ' ') return -1;
    const char* found = std::strchr(kFontCharset, c);
    if (c == '\0' || found == nullptr || found - kFontCharset >= textFont.glyphCount) return -1;
    return (textFont.glyphCount - 1 - (found - kFontCharset)) * int64_t{textFont.CellSize()};
}

// Every frame Pixel of the column of cells the text runs up, and of the
// Pixels around it, is its glyph's Pixel or the background; level < 0 stands
// for a plain DrawString. Puts the background back afterwards.
void CheckText(Bitmap& frame, const Font& textFont, int32_t x, int32_t y, const std::string& text, int32_t level) {
    int64_t cell = textFont.pixels != nullptr ? textFont.CellSize() : 0;
    int64_t length = static_cast<int64_t>(text.size());
    int64_t left = std::max<int64_t>(int64_t{x} - 1, 0);
    int64_t right = std::min<int64_t>(int64_t{x} + cell + 1, frame.width);
    int64_t top = std::max<int64_t>(int64_t{y} - length * cell - 1, 0);
    int64_t bottom = std::min<int64_t>(int64_t{y} + 1, frame.height);
    for (int64_t row = top; row < bottom; ++row) {
        for (int64_t column = left; column < right; ++column) {
            Pixel expected = kBackground;
            int64_t cellColumn = column - x;
            if (cell > 0 && row < y && row >= y - length * cell && cellColumn >= 0 && cellColumn < cell) {
                int64_t index = (y - 1 - row) / cell;
                int64_t cellTop = CellTop(textFont, text[static_cast<size_t>(index)]);
                int64_t cellRow = row - (y - (index + 1) * cell);
                if (cellTop >= 0) {
                    Pixel glyph = textFont.pixels[(cellTop + cellRow) * cell + cellColumn];
                    expected =
                        level < 0 ? glyph : (kBackground & 0xFF000000u) | (ScaleColour(glyph, level) & 0x00FFFFFFu);
                }
            }
            CheckPixel(frame.pixels[row * frame.width + column], expected);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile file("font");
    Bitmap& frame = BackgroundFrame();

    const void* end = std::memchr(data, '\0', size);
    size_t textSize = end != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(end) - data) : size;
    std::string text(reinterpret_cast<const char*>(data), textSize);
    const uint8_t* sheet = data + textSize;
    size_t sheetSize = size - textSize;
    if (sheetSize > 0) {
        ++sheet;
        --sheetSize;
    }

    Font textFont;
    textFont.Load(file.Write(sheet, sheetSize), kFontCharset);
    Check(textFont.glyphCount >= 0 && std::strcmp(textFont.charset, kFontCharset) == 0);
    Check(textFont.CellSize() == 0 || textFont.glyphCount == textFont.height / textFont.CellSize());

    int32_t x = OriginWord(sheet, sheetSize, 8);
    int32_t y = OriginWord(sheet, sheetSize, 10);
    textFont.DrawString(frame, x, y, text.c_str());
    CheckText(frame, textFont, x, y, text, -1);
    int32_t level = static_cast<int32_t>(textSize * 37);
    textFont.DrawStringScaled(frame, x, y, text.c_str(), level);
    CheckText(frame, textFont, x, y, text, level & 255);
    return 0;
}
