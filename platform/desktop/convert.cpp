// The quarter-turn into the staging image and the four surface pixel formats.
#include "platform/desktop/convert.h"

#include <array>
#include <cstring>

namespace {

constexpr int32_t kNormalWidth = kBackBufferHeight;
constexpr int32_t kDoubleWidth = 2 * kBackBufferHeight;

// Writes count destination pixels from count staging Pixels.
using RowConverter = void (*)(const Pixel* source, uint8_t* destination, uint32_t count);

void StoreWord(uint8_t* destination, uint32_t value) {
    destination[0] = static_cast<uint8_t>(value);
    destination[1] = static_cast<uint8_t>(value >> 8);
}

void ConvertRow555(const Pixel* source, uint8_t* destination, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i, destination += 2) {
        Pixel p = source[i];
        StoreWord(destination, (p >> 9 & 0x7C00u) | (p >> 6 & 0x03E0u) | (p >> 3 & 0x001Fu));
    }
}

void ConvertRow565(const Pixel* source, uint8_t* destination, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i, destination += 2) {
        StoreWord(destination, PackRgb565(source[i]));
    }
}

void ConvertRow888(const Pixel* source, uint8_t* destination, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i, destination += 3) {
        Pixel p = source[i];
        destination[0] = static_cast<uint8_t>(p);
        destination[1] = static_cast<uint8_t>(p >> 8);
        destination[2] = static_cast<uint8_t>(p >> 16);
    }
}

void CopyRow8888(const Pixel* source, uint8_t* destination, uint32_t count) {
    std::memcpy(destination, source, count * sizeof(Pixel));
}

constexpr int32_t kLowestDepth = 15;
constexpr int32_t kHighestDepth = 32;

// Indexed by bits per pixel - 15; a null entry means the depth has no conversion.
constexpr auto kRowConverters = [] {
    std::array<RowConverter, kHighestDepth - kLowestDepth + 1> table{};
    table[15 - kLowestDepth] = ConvertRow555;
    table[16 - kLowestDepth] = ConvertRow565;
    table[24 - kLowestDepth] = ConvertRow888;
    table[32 - kLowestDepth] = CopyRow8888;
    return table;
}();

}  // namespace

void TurnIntoStaging(const Pixel* backBuffer, Pixel* staging, bool doubleSize) {
    if (backBuffer == nullptr || staging == nullptr) return;
    for (int32_t y = kBackBufferHeight - 1; y >= 0; --y) {
        const Pixel* row = backBuffer + y * kBackBufferWidth;
        int32_t column = kBackBufferHeight - 1 - y;
        if (doubleSize) {
            for (int32_t x = 0; x < kBackBufferWidth; ++x) {
                Pixel* block = staging + 2 * x * kDoubleWidth + 2 * column;
                block[0] = block[1] = block[kDoubleWidth] = block[kDoubleWidth + 1] = row[x];
            }
        } else {
            for (int32_t x = 0; x < kBackBufferWidth; ++x) staging[x * kNormalWidth + column] = row[x];
        }
    }
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
