// The quarter-turn into the staging image and the four surface pixel formats.
#include "platform/desktop/convert.h"

#include <array>
#include <cstring>

#include "gfx/pixel_rows.h"
#include "gfx/turn.h"

namespace {

// Writes count destination pixels from count staging Pixels.
using RowConverter = void (*)(const Pixel* source, uint8_t* destination, uint32_t count);

void ConvertRow565(const Pixel* source, uint8_t* destination, uint32_t count) {
    PackRow565(source, destination, count);
}

void CopyRow8888(const Pixel* source, uint8_t* destination, uint32_t count) {
    std::memcpy(destination, source, count * sizeof(Pixel));
}

constexpr int32_t kLowestDepth = 15;
constexpr int32_t kHighestDepth = 32;

// Indexed by bits per pixel - 15; a null entry means the depth has no conversion.
constexpr auto kRowConverters = [] {
    std::array<RowConverter, kHighestDepth - kLowestDepth + 1> table{};
    table[15 - kLowestDepth] = PackRow555;
    table[16 - kLowestDepth] = ConvertRow565;
    table[24 - kLowestDepth] = PackRow888;
    table[32 - kLowestDepth] = CopyRow8888;
    return table;
}();

}  // namespace

void TurnIntoStaging(const Pixel* backBuffer, Pixel* staging, bool doubleSize) {
    if (backBuffer == nullptr || staging == nullptr) return;
    TurnClockwise(backBuffer, kBackBufferWidth, kBackBufferHeight, staging, PictureWidthFor(doubleSize), doubleSize);
}

void ConvertStaging(const Pixel* staging, int32_t bitsPerPixel, uint8_t* surface, int32_t pitch, uint32_t width,
                    uint32_t height) {
    if (bitsPerPixel < kLowestDepth || bitsPerPixel > kHighestDepth) return;
    RowConverter convertRow = kRowConverters[bitsPerPixel - kLowestDepth];
    if (convertRow == nullptr || staging == nullptr || surface == nullptr) return;

    if (width > kStagingMaxWidth) width = kStagingMaxWidth;
    if (height > kStagingMaxHeight) height = kStagingMaxHeight;
    int64_t bytesPerPixel = (bitsPerPixel + 1) / 8;
    // A pitch shorter than a row would have each row overwrite the last.
    if (pitch < bytesPerPixel * width) return;

    for (uint32_t row = 0; row < height; ++row, staging += width, surface += pitch) convertRow(staging, surface, width);
}

void TurnAndConvert(const Pixel* backBuffer, bool doubleSize, Pixel* staging, int32_t bitsPerPixel, uint8_t* surface,
                    int32_t pitch, uint32_t width, uint32_t height) {
    auto pictureWidth = static_cast<uint32_t>(PictureWidthFor(doubleSize));
    auto pictureHeight = static_cast<uint32_t>(PictureHeightFor(doubleSize));
    bool wholePixelRows = pitch >= static_cast<int64_t>(width * sizeof(Pixel)) && pitch % sizeof(Pixel) == 0 &&
                          reinterpret_cast<uintptr_t>(surface) % alignof(Pixel) == 0;
    if (bitsPerPixel == 32 && backBuffer != nullptr && surface != nullptr && width == pictureWidth &&
        height == pictureHeight && wholePixelRows) {
        TurnClockwise(backBuffer, kBackBufferWidth, kBackBufferHeight, reinterpret_cast<Pixel*>(surface),
                      pitch / static_cast<int32_t>(sizeof(Pixel)), doubleSize);
        return;
    }
    TurnIntoStaging(backBuffer, staging, doubleSize);
    ConvertStaging(staging, bitsPerPixel, surface, pitch, width, height);
}
