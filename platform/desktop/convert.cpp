// The quarter-turn into the staging image and the four surface pixel formats.
#include "platform/desktop/convert.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr int32_t kNormalWidth = kBackBufferHeight;
constexpr int32_t kDoubleWidth = 2 * kBackBufferHeight;
constexpr int32_t kTurnTile = 16;
static_assert(kBackBufferWidth % kTurnTile == 0 && kBackBufferHeight % kTurnTile == 0);

// Writes count destination pixels from count staging Pixels.
using RowConverter = void (*)(const Pixel* source, uint8_t* destination, uint32_t count);

// Each row is packed into a local buffer, which nothing else can point into,
// so the packing loops vectorise; the buffer is then copied to the surface.
// Surface words are little-endian whatever the host.
constexpr uint16_t LittleEndian(uint16_t value) {
    if constexpr (std::endian::native == std::endian::little) return value;
    return static_cast<uint16_t>(value << 8 | value >> 8);
}

constexpr uint32_t LittleEndian(uint32_t value) {
    if constexpr (std::endian::native == std::endian::little) return value;
    return (value << 24) | (value << 8 & 0x00FF0000u) | (value >> 8 & 0x0000FF00u) | (value >> 24);
}

// The packed pixel in the low sixteen bits of a 32-bit value.
constexpr uint32_t Pack555(Pixel p) { return (p >> 9 & 0x7C00u) | (p >> 6 & 0x03E0u) | (p >> 3 & 0x001Fu); }

// Two Pixels to a 32-bit word: the packing stays in 32-bit lanes, with no
// narrowing of each term to sixteen bits.
template <uint32_t (*Pack)(Pixel)>
void ConvertRowToWords(const Pixel* source, uint8_t* destination, uint32_t count) {
    uint32_t pairs[kStagingMaxWidth / 2];
    uint32_t pairCount = count / 2;
    for (uint32_t i = 0; i < pairCount; ++i) {
        pairs[i] = LittleEndian(Pack(source[2 * i]) | Pack(source[2 * i + 1]) << 16);
    }
    std::memcpy(destination, pairs, pairCount * sizeof(uint32_t));
    if (count % 2 != 0) {
        uint16_t last = LittleEndian(static_cast<uint16_t>(Pack(source[count - 1])));
        std::memcpy(destination + 2 * (count - 1), &last, sizeof(last));
    }
}

// Four Pixels make twelve bytes, packed as three 32-bit words.
void ConvertRow888(const Pixel* source, uint8_t* destination, uint32_t count) {
    uint32_t longs[kStagingMaxWidth * 3 / 4];
    uint32_t groups = count / 4;
    for (uint32_t g = 0; g < groups; ++g) {
        const Pixel* p = source + 4 * g;
        longs[3 * g] = LittleEndian((p[0] & 0x00FFFFFFu) | p[1] << 24);
        longs[3 * g + 1] = LittleEndian((p[1] >> 8 & 0x0000FFFFu) | p[2] << 16);
        longs[3 * g + 2] = LittleEndian((p[2] >> 16 & 0x000000FFu) | p[3] << 8);
    }
    std::memcpy(destination, longs, groups * 12);
    for (uint32_t i = 4 * groups; i < count; ++i) {
        Pixel p = source[i];
        destination[3 * i] = static_cast<uint8_t>(p);
        destination[3 * i + 1] = static_cast<uint8_t>(p >> 8);
        destination[3 * i + 2] = static_cast<uint8_t>(p >> 16);
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
    table[15 - kLowestDepth] = ConvertRowToWords<Pack555>;
    table[16 - kLowestDepth] = ConvertRowToWords<PackRgb565Wide>;
    table[24 - kLowestDepth] = ConvertRow888;
    table[32 - kLowestDepth] = CopyRow8888;
    return table;
}();

}  // namespace

void TurnIntoStaging(const Pixel* backBuffer, Pixel* staging, bool doubleSize) {
    if (backBuffer == nullptr || staging == nullptr) return;
    // In square tiles, so the BackBuffer rows read and the staging rows
    // written all stay in the cache while a tile is turned.
    for (int32_t tileColumn = 0; tileColumn < kNormalWidth; tileColumn += kTurnTile) {
        const Pixel* bottomRow = backBuffer + (kBackBufferHeight - 1 - tileColumn) * kBackBufferWidth;
        for (int32_t tileX = 0; tileX < kBackBufferWidth; tileX += kTurnTile) {
            for (int32_t x = tileX; x < tileX + kTurnTile; ++x) {
                const Pixel* from = bottomRow + x;
                if (doubleSize) {
                    // Gathered once, then widened and copied with whole-vector stores.
                    Pixel gathered[kTurnTile];
                    for (int32_t i = 0; i < kTurnTile; ++i) gathered[i] = from[-i * kBackBufferWidth];
                    Pixel* top = staging + 2 * x * kDoubleWidth + 2 * tileColumn;
                    for (int32_t i = 0; i < kTurnTile; ++i) top[2 * i] = top[2 * i + 1] = gathered[i];
                    std::memcpy(top + kDoubleWidth, top, 2 * kTurnTile * sizeof(Pixel));
                } else {
                    Pixel* to = staging + x * kNormalWidth + tileColumn;
                    for (int32_t i = 0; i < kTurnTile; ++i) to[i] = from[-i * kBackBufferWidth];
                }
            }
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
