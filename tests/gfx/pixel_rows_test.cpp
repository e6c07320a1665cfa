#include "gfx/pixel_rows.h"

#include <bit>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "gfx/turn.h"
#include "support/vector_paths.h"

namespace {

constexpr uint8_t kGuard = 0xA5;

// What a kernel writes for count Pixels of source, in bytes, with guard
// bytes after it that it must leave alone.
struct Kernel {
    const char* name;
    size_t bytesPerPixel;
    std::function<void(const Pixel* source, uint8_t* destination, uint32_t count)> run;
    std::function<void(Pixel p, uint8_t* destination)> plain;
};

void PutWord(uint8_t* destination, uint32_t word, std::endian order) {
    destination[order == std::endian::little ? 0 : 1] = static_cast<uint8_t>(word);
    destination[order == std::endian::little ? 1 : 0] = static_cast<uint8_t>(word >> 8);
}

void PutPixel(uint8_t* destination, Pixel p) {
    for (int i = 0; i < 4; ++i) destination[i] = static_cast<uint8_t>(p >> 8 * i);
}

std::vector<Kernel> Kernels() {
    std::vector<Kernel> kernels = {
        {"PackRow565 little-endian", 2,
         [](const Pixel* s, uint8_t* d, uint32_t n) { PackRow565(s, d, n, std::endian::little); },
         [](Pixel p, uint8_t* d) { PutWord(d, PackRgb565(p), std::endian::little); }},
        {"PackRow565 big-endian", 2,
         [](const Pixel* s, uint8_t* d, uint32_t n) { PackRow565(s, d, n, std::endian::big); },
         [](Pixel p, uint8_t* d) { PutWord(d, PackRgb565(p), std::endian::big); }},
        {"PackRow555", 2, [](const Pixel* s, uint8_t* d, uint32_t n) { PackRow555(s, d, n); },
         [](Pixel p, uint8_t* d) {
             PutWord(d, (p >> 9 & 0x7C00u) | (p >> 6 & 0x03E0u) | (p >> 3 & 0x001Fu), std::endian::little);
         }},
        {"PackRow888", 3, [](const Pixel* s, uint8_t* d, uint32_t n) { PackRow888(s, d, n); },
         [](Pixel p, uint8_t* d) {
             d[0] = static_cast<uint8_t>(p);
             d[1] = static_cast<uint8_t>(p >> 8);
             d[2] = static_cast<uint8_t>(p >> 16);
         }},
        // As one row, a copy is its source.
        {"CopyPixelRect", 4,
         [](const Pixel* s, uint8_t* d, uint32_t n) {
             std::vector<Pixel> row(n + 1);  // never empty: no null row, even for no Pixels
             CopyPixelRect(s, 0, row.data(), 0, static_cast<int32_t>(n), 1);
             for (uint32_t i = 0; i < n; ++i) PutPixel(d + 4 * i, row[i]);
         },
         [](Pixel p, uint8_t* d) { PutPixel(d, p); }},
        // Keyed onto a row of 0x01010101: the key (every Pixel whose low byte
        // is 0x40, about one in four here) leaves the row's Pixel.
        {"CopyPixelRectKeyed", 4,
         [](const Pixel* s, uint8_t* d, uint32_t n) {
             std::vector<Pixel> keyed(s, s + n + 1);
             for (Pixel& p : keyed) p = (p & 0xC0u) == 0x40u ? 0xFF000040u : p;
             std::vector<Pixel> row(n + 1, 0x01010101u);
             CopyPixelRectKeyed(keyed.data(), 0, row.data(), 0, static_cast<int32_t>(n), 1, 0xFF000040u);
             for (uint32_t i = 0; i < n; ++i) PutPixel(d + 4 * i, row[i]);
         },
         [](Pixel p, uint8_t* d) { PutPixel(d, (p & 0xC0u) == 0x40u ? 0x01010101u : p); }},
    };
    for (int32_t level : {255, 128, 77, 1, 0, 256, 300, -1}) {
        kernels.push_back({"ScaleColours", 4,
                           [level](const Pixel* s, uint8_t* d, uint32_t n) {
                               std::vector<Pixel> pixels(s, s + n + 1);
                               ScaleColours(pixels.data(), n, level);
                               for (uint32_t i = 0; i < n; ++i) PutPixel(d + 4 * i, pixels[i]);
                           },
                           [level](Pixel p, uint8_t* d) { PutPixel(d, ScaleColour(p, level)); }});
    }
    return kernels;
}

// Every per-frame row kernel on every vector path this processor runs, held
// against the plain formula on random Pixels: counts around the groups of
// four, eight and sixteen and past a few thousand, nothing written after them.
TEST(PixelRows, EveryKernelMatchesThePlainFormulaOnEveryPath) {
    std::mt19937 random(20261208);
    std::vector<Pixel> source(4802);  // one past the largest count, for the copies that take it
    for (Pixel& p : source) p = random();
    ForEachVectorPath([&](VectorPath path) {
        for (const Kernel& kernel : Kernels()) {
            for (uint32_t count : {0u, 1u, 3u, 7u, 8u, 9u, 15u, 16u, 17u, 23u, 241u, 1037u, 4801u}) {
                size_t bytes = kernel.bytesPerPixel * count;
                std::vector<uint8_t> expected(bytes + 64, kGuard);
                for (uint32_t i = 0; i < count; ++i) kernel.plain(source[i], &expected[kernel.bytesPerPixel * i]);
                std::vector<uint8_t> actual(bytes + 64, kGuard);
                kernel.run(source.data(), actual.data(), count);
                EXPECT_EQ(actual, expected)
                    << kernel.name << ", " << count << " Pixels, path " << static_cast<int32_t>(path);
            }
        }
    });
}

// The quarter-turn, plain and doubled, into rows with a gap between them,
// on every path: destination (column c, row r) = source (r, height - 1 - c).
TEST(PixelRows, TheTurnMatchesThePlainFormulaOnEveryPath) {
    std::mt19937 random(20261208);
    constexpr int32_t kWidth = 32, kHeight = 160, kGap = 3;
    std::vector<Pixel> source(kWidth * kHeight);
    for (Pixel& p : source) p = random();
    ForEachVectorPath([&](VectorPath path) {
        for (int32_t scale : {1, 2}) {
            int32_t stride = scale * kHeight + kGap;
            std::vector<Pixel> expected(static_cast<size_t>(stride) * scale * kWidth, 0x5A5A5A5Au);
            for (int32_t r = 0; r < scale * kWidth; ++r) {
                for (int32_t c = 0; c < scale * kHeight; ++c)
                    expected[r * stride + c] = source[(r / scale) + (kHeight - 1 - c / scale) * kWidth];
            }
            std::vector<Pixel> actual(expected.size(), 0x5A5A5A5Au);
            TurnClockwise(source.data(), kWidth, kHeight, actual.data(), stride, scale == 2);
            EXPECT_EQ(actual, expected) << "scale " << scale << ", path " << static_cast<int32_t>(path);
        }
    });
}

}  // namespace
