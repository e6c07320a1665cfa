#include "tools/assetgen/preview.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "demo/duck_row.h"
#include "formats/png_file.h"
#include "tools/assetgen/duck_frames.h"

namespace {

constexpr uint32_t kSheetColour = 0xFF202830u;
constexpr uint32_t kFrameBorder = 0xFF607080u;
constexpr uint32_t kLabelColour = 0xFFFFFFFFu;
constexpr int32_t kFrameScale = 4;
constexpr int32_t kFramesPerLine = 5;
constexpr int32_t kMargin = 16;
constexpr int32_t kFontScale = 4;
constexpr int32_t kGlyphsPerLine = 25;

constexpr const char* kSampleLines[] = {
    "m o r v e k",
    "presents",
    "\"based on a true story\"",
    "a birthday demo",
    "happy birthday",
    "tiru :)",
    "watch this duckie!",
    "now which one is it?",
    "use your mouse to guess!",
    "nice! level up!",
    "awww, wrong! :(",
    "this one is the one.",
    "level: 12  [ok] (x+y-1) 3,4,5?",
};

uint32_t Packed(const Rgb& colour) { return 0xFF000000u | colour.red << 16 | colour.green << 8 | colour.blue; }

class Canvas {
public:
    Canvas(int32_t canvasWidth, int32_t canvasHeight)
        : width(canvasWidth), height(canvasHeight), pixels(static_cast<size_t>(width) * height, kSheetColour) {}

    void Fill(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
        for (int32_t row = std::max(y, 0); row < std::min(y + h, height); ++row) {
            for (int32_t column = std::max(x, 0); column < std::min(x + w, width); ++column) {
                pixels[static_cast<size_t>(row) * width + column] = colour;
            }
        }
    }

    void Frame(const Picture& picture, int32_t x, int32_t y, int32_t scale) {
        Fill(x - 1, y - 1, picture.width * scale + 2, picture.height * scale + 2, kFrameBorder);
        for (int32_t row = 0; row < picture.height; ++row) {
            for (int32_t column = 0; column < picture.width; ++column) {
                Fill(x + column * scale, y + row * scale, scale, scale, Packed(picture.At(column, row)));
            }
        }
    }

    // Glyphs as the font sheet holds them, background included; '_' is not in
    // the charset, so it is drawn as a line to keep the frame names exact.
    void Text(const FontSheet& font, const std::string& text, int32_t x, int32_t y, int32_t scale) {
        for (char c : text) {
            size_t cell = font.charset.find(c);
            if (c == '_') Fill(x + scale, y + (kGlyphSize - 1) * scale, (kGlyphSize - 2) * scale, scale, kLabelColour);
            if (cell != std::string::npos) {
                for (int32_t row = 0; row < kGlyphSize; ++row) {
                    for (int32_t column = 0; column < kGlyphSize; ++column) {
                        Rgb colour = font.At(static_cast<int32_t>(cell) * kGlyphSize + column, row);
                        Fill(x + column * scale, y + row * scale, scale, scale, Packed(colour));
                    }
                }
            }
            x += kGlyphSize * scale;
        }
    }

    int32_t width;
    int32_t height;
    std::vector<uint32_t> pixels;
};

}  // namespace

void WritePreview(const std::string& path, const std::vector<Picture>& frames, const FontSheet& font) {
    const int32_t cellWidth = 26 * kGlyphSize;
    const int32_t cellHeight = kDuckHeight * kFrameScale + 3 * kGlyphSize;
    const int32_t frameLines = (static_cast<int32_t>(frames.size()) + kFramesPerLine - 1) / kFramesPerLine;
    const int32_t rowTop = kMargin + frameLines * (cellHeight + kMargin);
    const int32_t rowHeight = kDuckHeight * 2 + 2 * kMargin;
    const int32_t fontTop = rowTop + rowHeight;
    const int32_t glyphLines = (static_cast<int32_t>(font.charset.size()) + kGlyphsPerLine - 1) / kGlyphsPerLine;
    const int32_t glyphStep = (kGlyphSize + 1) * kFontScale;
    const int32_t samplesTop = fontTop + glyphLines * glyphStep + kMargin;
    const int32_t sampleCount = static_cast<int32_t>(std::size(kSampleLines));

    Canvas canvas(kMargin * 2 + kFramesPerLine * cellWidth, samplesTop + sampleCount * 3 * kGlyphSize + kMargin);

    for (size_t index = 0; index < frames.size(); ++index) {
        int32_t x = kMargin + static_cast<int32_t>(index % kFramesPerLine) * cellWidth;
        int32_t y = kMargin + static_cast<int32_t>(index / kFramesPerLine) * (cellHeight + kMargin);
        canvas.Frame(frames[index], x, y, kFrameScale);
        std::string label = std::to_string(index) + " " + DuckFrameName(static_cast<int32_t>(index));
        canvas.Text(font, label, x, y + kDuckHeight * kFrameScale + kGlyphSize, 1);
    }

    // The game's row: six ducks a slot step apart, the marked one under its
    // star, once at true size and once doubled; then the other poses small.
    canvas.Fill(kMargin, rowTop, canvas.width - 2 * kMargin, rowHeight - kMargin, 0xFF000000u);
    for (int32_t slot = 0; slot < kDuckSlotCount; ++slot) {
        int32_t x = kMargin + 8 + slot * kSlotStep;
        canvas.Frame(frames[kStance], x, rowTop + 8, 1);
        canvas.Frame(frames[slot == 2 ? kSingHalf : kStance], 260 + slot * 2 * kSlotStep, rowTop + 4, 2);
    }
    canvas.Text(font, "*", kMargin + 8 + kSlotStep + 12, rowTop + 8, 1);
    canvas.Text(font, "*", 260 + 2 * kSlotStep + 24, rowTop + 4, 2);

    for (size_t cell = 0; cell < font.charset.size(); ++cell) {
        int32_t x = kMargin + static_cast<int32_t>(cell % kGlyphsPerLine) * glyphStep;
        int32_t y = fontTop + static_cast<int32_t>(cell / kGlyphsPerLine) * glyphStep;
        canvas.Text(font, std::string(1, font.charset[cell]), x, y, kFontScale);
    }
    for (int32_t line = 0; line < sampleCount; ++line) {
        int32_t y = samplesTop + line * 3 * kGlyphSize;
        canvas.Text(font, kSampleLines[line], kMargin, y, 1);
        canvas.Text(font, kSampleLines[line], kMargin + 34 * kGlyphSize, y, 2);
    }

    if (!WritePixelsPngFile(path, canvas.pixels.data(), canvas.width, canvas.height, false)) {
        throw std::runtime_error(path + ": cannot write the preview");
    }
}
