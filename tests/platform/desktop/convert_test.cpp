#include "platform/desktop/convert.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

constexpr Pixel kStagingGuard = 0x5A5A5A5Au;
constexpr uint8_t kSurfaceGuard = 0xEE;

// Red 0x12, green 0x34, blue 0x56 under three alphas, then white, pure red,
// green and blue, and opaque black.
const std::vector<Pixel> kColourSamples = {0x00123456u, 0xFF123456u, 0x80123456u, 0xFFFFFFFFu,
                                           0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};

// Every Pixel different, alpha included, so a misplaced or truncated copy shows.
Pixel Source(int32_t x, int32_t y) { return static_cast<Pixel>(((x * 7 + y * 3) & 0xFF) << 24 | y << 12 | x); }

std::vector<Pixel> MakeBackBuffer() {
    std::vector<Pixel> pixels(kBackBufferWidth * kBackBufferHeight);
    for (int32_t y = 0; y < kBackBufferHeight; ++y) {
        for (int32_t x = 0; x < kBackBufferWidth; ++x) pixels[y * kBackBufferWidth + x] = Source(x, y);
    }
    return pixels;
}

std::vector<Pixel> Turn(const std::vector<Pixel>& backBuffer, bool doubleSize) {
    std::vector<Pixel> staging(kStagingMaxPixels, kStagingGuard);
    TurnIntoStaging(backBuffer.data(), staging.data(), doubleSize);
    return staging;
}

std::vector<Pixel> Turn(bool doubleSize) { return Turn(MakeBackBuffer(), doubleSize); }

std::vector<uint8_t> Convert(const std::vector<Pixel>& staging, int32_t bitsPerPixel, int32_t pitch, uint32_t width,
                             uint32_t height, size_t surfaceSize) {
    std::vector<uint8_t> surface(surfaceSize, kSurfaceGuard);
    ConvertStaging(staging.data(), bitsPerPixel, surface.data(), pitch, width, height);
    return surface;
}

std::vector<uint16_t> ConvertToWords(const std::vector<Pixel>& staging, int32_t bitsPerPixel) {
    uint32_t count = static_cast<uint32_t>(staging.size());
    std::vector<uint8_t> bytes = Convert(staging, bitsPerPixel, static_cast<int32_t>(2 * count), count, 1, 2 * count);
    std::vector<uint16_t> words;
    for (size_t i = 0; i < bytes.size(); i += 2) words.push_back(static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8));
    return words;
}

bool AllGuard(const std::vector<uint8_t>& bytes, size_t from = 0) {
    for (size_t i = from; i < bytes.size(); ++i) {
        if (bytes[i] != kSurfaceGuard) return false;
    }
    return true;
}

TEST(TurnIntoStaging, NormalSizeCornersLandAtThePictureCorners) {
    std::vector<Pixel> staging = Turn(false);
    EXPECT_EQ(staging[0 * 320 + 0], Source(0, 319));
    EXPECT_EQ(staging[0 * 320 + 319], Source(0, 0));
    EXPECT_EQ(staging[239 * 320 + 0], Source(239, 319));
    EXPECT_EQ(staging[239 * 320 + 319], Source(239, 0));
}

TEST(TurnIntoStaging, NormalSizeIsAQuarterTurnClockwiseOfWholePixels) {
    std::vector<Pixel> staging = Turn(false);
    int32_t wrong = 0;
    for (int32_t r = 0; r < 240; ++r) {
        for (int32_t c = 0; c < 320; ++c) wrong += staging[r * 320 + c] != Source(r, 319 - c);
    }
    EXPECT_EQ(wrong, 0);
    // The source's alpha bytes vary, and arrive unchanged.
    EXPECT_EQ(staging[5 * 320 + 17] >> 24, Source(5, 302) >> 24);
    EXPECT_NE(staging[5 * 320 + 17] >> 24, staging[5 * 320 + 18] >> 24);
    // Only the 320 x 240 image is written.
    for (size_t i = 320 * 240; i < staging.size(); ++i) ASSERT_EQ(staging[i], kStagingGuard) << i;
}

TEST(TurnIntoStaging, DoubleSizeShowsEachPixelAsATwoByTwoBlock) {
    std::vector<Pixel> staging = Turn(true);
    EXPECT_EQ(staging[0 * 640 + 0], Source(0, 319));
    EXPECT_EQ(staging[0 * 640 + 1], Source(0, 319));
    EXPECT_EQ(staging[1 * 640 + 0], Source(0, 319));
    EXPECT_EQ(staging[1 * 640 + 1], Source(0, 319));
    EXPECT_EQ(staging[478 * 640 + 638], Source(239, 0));
    EXPECT_EQ(staging[478 * 640 + 639], Source(239, 0));
    EXPECT_EQ(staging[479 * 640 + 638], Source(239, 0));
    EXPECT_EQ(staging[479 * 640 + 639], Source(239, 0));

    int32_t wrong = 0;
    for (int32_t r = 0; r < 480; ++r) {
        for (int32_t c = 0; c < 640; ++c) wrong += staging[r * 640 + c] != Source(r / 2, 319 - c / 2);
    }
    EXPECT_EQ(wrong, 0);
}

TEST(ConvertStaging, SixteenBitPacksFiveSixFive) {
    std::vector<uint16_t> expected = {0x11AA, 0x11AA, 0x11AA, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0000};
    EXPECT_EQ(ConvertToWords(kColourSamples, 16), expected);
}

TEST(ConvertStaging, FifteenBitPacksFiveFiveFiveWithTheTopBitClear) {
    // Alpha 0xFF, 0x80 and white's alpha never reach the top bit.
    std::vector<uint16_t> expected = {0x08CA, 0x08CA, 0x08CA, 0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x0000};
    EXPECT_EQ(ConvertToWords(kColourSamples, 15), expected);
}

TEST(ConvertStaging, TwentyFourBitWritesBlueGreenRedAndDropsAlpha) {
    // Pitch 8 leaves two bytes of padding after the two pixels.
    std::vector<uint8_t> bytes = Convert({0xAA123456u, 0x55ABCDEFu}, 24, 8, 2, 1, 8);
    std::vector<uint8_t> expected = {0x56, 0x34, 0x12, 0xEF, 0xCD, 0xAB, kSurfaceGuard, kSurfaceGuard};
    EXPECT_EQ(bytes, expected);
}

TEST(ConvertStaging, ThirtyTwoBitCopiesWholePixels) {
    std::vector<uint8_t> bytes = Convert({0xAA123456u, 0x00ABCDEFu}, 32, 8, 2, 1, 8);
    std::vector<uint8_t> expected = {0x56, 0x34, 0x12, 0xAA, 0xEF, 0xCD, 0xAB, 0x00};
    EXPECT_EQ(bytes, expected);
}

TEST(ConvertStaging, RowsStartPitchBytesApartAndPaddingIsKept) {
    constexpr uint32_t kWidth = 3;
    constexpr uint32_t kHeight = 4;
    std::vector<Pixel> staging;
    for (uint32_t i = 0; i < kWidth * kHeight; ++i) staging.push_back(0x01020304u * (i + 1) + 0x80000000u);

    for (int32_t bitsPerPixel : {15, 16, 24, 32}) {
        int32_t rowBytes = (bitsPerPixel + 1) / 8 * static_cast<int32_t>(kWidth);
        int32_t pitch = rowBytes + 5;
        size_t size = static_cast<size_t>(pitch) * kHeight + 16;
        std::vector<uint8_t> padded = Convert(staging, bitsPerPixel, pitch, kWidth, kHeight, size);
        std::vector<uint8_t> tight = Convert(staging, bitsPerPixel, rowBytes, kWidth, kHeight, rowBytes * kHeight);

        for (uint32_t row = 0; row < kHeight; ++row) {
            for (int32_t i = 0; i < pitch; ++i) {
                uint8_t expected = i < rowBytes ? tight[row * rowBytes + i] : kSurfaceGuard;
                ASSERT_EQ(padded[row * pitch + i], expected) << bitsPerPixel << " bpp, row " << row << ", byte " << i;
            }
        }
        EXPECT_TRUE(AllGuard(padded, static_cast<size_t>(pitch) * kHeight)) << bitsPerPixel << " bpp";
    }
}

TEST(ConvertStaging, DepthsWithoutAConversionWriteNothing) {
    std::vector<Pixel> staging(16, 0xFF808080u);
    std::vector<int32_t> depths = {INT32_MIN, -1, 0, 8, 14, 33, 64, INT32_MAX};
    for (int32_t depth = 17; depth < 32; ++depth) {
        if (depth != 24) depths.push_back(depth);
    }
    for (int32_t depth : depths) EXPECT_TRUE(AllGuard(Convert(staging, depth, 64, 4, 4, 256))) << depth << " bpp";
}

TEST(ConvertStaging, MissingSurfaceOrStagingWritesNothing) {
    std::vector<Pixel> staging(16, 0xFF808080u);
    ConvertStaging(staging.data(), 32, nullptr, 16, 4, 4);
    std::vector<uint8_t> surface(64, kSurfaceGuard);
    ConvertStaging(nullptr, 32, surface.data(), 16, 4, 4);
    EXPECT_TRUE(AllGuard(surface));
}

TEST(ConvertStaging, PitchShorterThanARowWritesNothing) {
    std::vector<Pixel> staging(16, 0xFF808080u);
    EXPECT_TRUE(AllGuard(Convert(staging, 32, 15, 4, 4, 64)));
    EXPECT_TRUE(AllGuard(Convert(staging, 16, -8, 4, 4, 64)));
}

TEST(ConvertStaging, SizeIsCutToTheStagingImage) {
    // Exactly the staging image's Pixels, so a read past them is caught under
    // the address sanitizer; the surface would take far more.
    std::vector<Pixel> staging(kStagingMaxPixels, 0x00010203u);
    constexpr int32_t kPitch = 4 * 1000;
    std::vector<uint8_t> wide = Convert(staging, 32, kPitch, 1000, 1, kPitch);
    EXPECT_EQ(wide[4 * 639], 0x03);
    EXPECT_TRUE(AllGuard(wide, 4 * 640));

    std::vector<uint8_t> tall = Convert(staging, 32, kPitch, 640, 1000, static_cast<size_t>(kPitch) * 1000);
    EXPECT_EQ(tall[static_cast<size_t>(kPitch) * 479], 0x03);
    EXPECT_TRUE(AllGuard(tall, static_cast<size_t>(kPitch) * 480));
}

// The first, plain turn and conversions, which the fast ones must match byte
// for byte.
void ReferenceTurn(const Pixel* backBuffer, Pixel* staging, bool doubleSize) {
    for (int32_t y = kBackBufferHeight - 1; y >= 0; --y) {
        const Pixel* row = backBuffer + y * kBackBufferWidth;
        int32_t column = kBackBufferHeight - 1 - y;
        for (int32_t x = 0; x < kBackBufferWidth; ++x) {
            if (doubleSize) {
                Pixel* block = staging + 2 * x * 640 + 2 * column;
                block[0] = block[1] = block[640] = block[641] = row[x];
            } else {
                staging[x * 320 + column] = row[x];
            }
        }
    }
}

void ReferenceConvert(const Pixel* staging, int32_t bitsPerPixel, uint8_t* surface, int32_t pitch, uint32_t width,
                      uint32_t height) {
    for (uint32_t row = 0; row < height; ++row, staging += width, surface += pitch) {
        uint8_t* to = surface;
        for (uint32_t i = 0; i < width; ++i) {
            Pixel p = staging[i];
            uint32_t value = bitsPerPixel == 15   ? (p >> 9 & 0x7C00u) | (p >> 6 & 0x03E0u) | (p >> 3 & 0x001Fu)
                             : bitsPerPixel == 16 ? (p >> 8 & 0xF800u) | (p >> 5 & 0x07E0u) | (p >> 3 & 0x001Fu)
                                                  : p;
            for (int32_t byte = 0; byte < (bitsPerPixel + 1) / 8; ++byte)
                *to++ = static_cast<uint8_t>(value >> 8 * byte);
        }
    }
}

// Where two equally long pictures first differ, their size if nowhere.
template <typename Element>
size_t FirstDifference(const std::vector<Element>& actual, const std::vector<Element>& expected) {
    return static_cast<size_t>(std::mismatch(actual.begin(), actual.end(), expected.begin()).first - actual.begin());
}

TEST(TurnAndConvert, MatchThePlainPixelByPixelCodeOnRandomPictures) {
    std::mt19937 random(20261208);
    std::vector<Pixel> backBuffer(kBackBufferWidth * kBackBufferHeight);
    for (Pixel& p : backBuffer) p = random();
    std::vector<Pixel> staging(kStagingMaxPixels);
    for (Pixel& p : staging) p = random();

    for (bool doubleSize : {false, true}) {
        std::vector<Pixel> expected(kStagingMaxPixels, kStagingGuard);
        ReferenceTurn(backBuffer.data(), expected.data(), doubleSize);
        EXPECT_EQ(FirstDifference(Turn(backBuffer, doubleSize), expected), expected.size())
            << (doubleSize ? "double size" : "normal size");

        // Turned straight into a 32-bit surface, its row padding kept.
        uint32_t width = doubleSize ? 640 : 320, height = doubleSize ? 480 : 240;
        int32_t pitch = static_cast<int32_t>(width) * 4 + 12;
        std::vector<uint8_t> expectedSurface(static_cast<size_t>(pitch) * height, kSurfaceGuard);
        ReferenceConvert(expected.data(), 32, expectedSurface.data(), pitch, width, height);
        std::vector<uint8_t> surface(expectedSurface.size(), kSurfaceGuard);
        std::vector<Pixel> unused(kStagingMaxPixels);
        TurnAndConvert(backBuffer.data(), doubleSize, unused.data(), 32, surface.data(), pitch, width, height);
        EXPECT_EQ(FirstDifference(surface, expectedSurface), surface.size()) << "turned into the surface";
    }

    struct Shape {
        uint32_t width, height;
        int32_t padding;
    };
    // Widths off every group size, so the tails after whole groups are checked.
    for (Shape shape : {Shape{320, 240, 0}, Shape{640, 480, 0}, Shape{1, 3, 1}, Shape{7, 5, 3}, Shape{13, 9, 2},
                        Shape{31, 4, 5}, Shape{639, 17, 1}}) {
        for (int32_t bitsPerPixel : {15, 16, 24, 32}) {
            int32_t pitch = (bitsPerPixel + 1) / 8 * static_cast<int32_t>(shape.width) + shape.padding;
            size_t size = static_cast<size_t>(pitch) * shape.height;
            std::vector<uint8_t> expected(size, kSurfaceGuard);
            ReferenceConvert(staging.data(), bitsPerPixel, expected.data(), pitch, shape.width, shape.height);
            std::vector<uint8_t> actual = Convert(staging, bitsPerPixel, pitch, shape.width, shape.height, size);
            EXPECT_EQ(FirstDifference(actual, expected), size)
                << bitsPerPixel << " bpp, " << shape.width << " x " << shape.height;
        }
    }
}

}  // namespace
