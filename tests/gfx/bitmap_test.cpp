#include "gfx/bitmap.h"

#include <climits>
#include <cstddef>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

constexpr Pixel kGuard = 0x5A5A5A5Au;

Pixel Background(int32_t x, int32_t y) { return 0x10000000u * static_cast<Pixel>(x % 16) + 0x00A0B000u + y; }

Pixel SourcePixel(int32_t x, int32_t y) { return 0xC0000000u + 0x00010000u * static_cast<Pixel>(x) + y; }

void Fill(Bitmap& bitmap, Pixel (*value)(int32_t, int32_t)) {
    for (int32_t y = 0; y < bitmap.height; ++y) {
        for (int32_t x = 0; x < bitmap.width; ++x) bitmap.pixels[y * bitmap.width + x] = value(x, y);
    }
}

Pixel At(const Bitmap& bitmap, int32_t x, int32_t y) { return bitmap.pixels[y * bitmap.width + x]; }

// A destination Bitmap that lives inside a larger buffer, so that a write
// before its first or after its last Pixel shows up as a changed guard.
class GuardedBitmap {
public:
    GuardedBitmap(int32_t width, int32_t height)
        : storage(static_cast<size_t>(width * height) + 2 * kGuardCount, kGuard) {
        bitmap.pixels = storage.data() + kGuardCount;
        bitmap.width = width;
        bitmap.height = height;
        Fill(bitmap, Background);
    }
    ~GuardedBitmap() { bitmap.pixels = nullptr; }

    bool GuardsIntact() const {
        for (size_t i = 0; i < kGuardCount; ++i) {
            if (storage[i] != kGuard || storage[storage.size() - 1 - i] != kGuard) return false;
        }
        return true;
    }

    Bitmap bitmap;

private:
    static constexpr size_t kGuardCount = 64;
    std::vector<Pixel> storage;
};

// Every destination Pixel: the source where it overlaps, the background elsewhere.
void ExpectBlitResult(const GuardedBitmap& destination, const Bitmap& source, int32_t x, int32_t y) {
    const Bitmap& bitmap = destination.bitmap;
    EXPECT_TRUE(destination.GuardsIntact()) << "source at (" << x << ", " << y << ")";
    for (int32_t row = 0; row < bitmap.height; ++row) {
        for (int32_t column = 0; column < bitmap.width; ++column) {
            int64_t sourceX = int64_t{column} - x;
            int64_t sourceY = int64_t{row} - y;
            bool covered = sourceX >= 0 && sourceX < source.width && sourceY >= 0 && sourceY < source.height;
            Pixel expected = covered ? At(source, static_cast<int32_t>(sourceX), static_cast<int32_t>(sourceY))
                                     : Background(column, row);
            ASSERT_EQ(At(bitmap, column, row), expected)
                << "pixel (" << column << ", " << row << ") with source at (" << x << ", " << y << ")";
        }
    }
}

TEST(BitmapTest, ScaleBrightnessScalesColourRoundingDownAndKeepsAlpha) {
    Bitmap bitmap;
    bitmap.Create(2, 1);
    auto scaled = [&](int32_t level) {
        bitmap.pixels[0] = 0x7F'FF'80'01u;  // alpha 127, red 255, green 128, blue 1
        bitmap.pixels[1] = 0xFF'FF'FF'FFu;
        bitmap.ScaleBrightness(level);
        return std::vector<Pixel>{bitmap.pixels[0], bitmap.pixels[1]};
    };

    EXPECT_EQ(scaled(255), (std::vector<Pixel>{0x7F'FE'7F'00u, 0xFF'FE'FE'FEu}));
    EXPECT_EQ(scaled(128), (std::vector<Pixel>{0x7F'7F'40'00u, 0xFF'7F'7F'7Fu}));
    EXPECT_EQ(scaled(0), (std::vector<Pixel>{0x7F'00'00'00u, 0xFF'00'00'00u}));
    EXPECT_EQ(scaled(1), (std::vector<Pixel>{0x7F'00'00'00u, 0xFF'00'00'00u}));
    // Only the low eight bits of the level count.
    EXPECT_EQ(scaled(256), scaled(0));
    EXPECT_EQ(scaled(384), scaled(128));
    EXPECT_EQ(scaled(-1), scaled(255));

    // Channels are scaled independently: the blue product must not spill into green.
    bitmap.pixels[0] = 0x00'00'00'FFu;
    bitmap.ScaleBrightness(255);
    EXPECT_EQ(bitmap.pixels[0], 0x00'00'00'FEu);
}

TEST(BitmapTest, BlitKeyedSkipsOnlyPixelsEqualToTheKeyInAllThirtyTwoBits) {
    Bitmap source;
    source.Create(4, 1);
    source.pixels[0] = kOpaqueBlack;
    source.pixels[1] = 0x00000000u;
    source.pixels[2] = 0xFF000001u;
    source.pixels[3] = 0x7F000000u;
    GuardedBitmap destination(6, 3);

    destination.bitmap.BlitKeyed(source, 1, 1, kOpaqueBlack);

    EXPECT_TRUE(destination.GuardsIntact());
    EXPECT_EQ(At(destination.bitmap, 1, 1), Background(1, 1));
    EXPECT_EQ(At(destination.bitmap, 2, 1), 0x00000000u);
    EXPECT_EQ(At(destination.bitmap, 3, 1), 0xFF000001u);
    EXPECT_EQ(At(destination.bitmap, 4, 1), 0x7F000000u);
    EXPECT_EQ(At(destination.bitmap, 0, 1), Background(0, 1));
    EXPECT_EQ(At(destination.bitmap, 5, 1), Background(5, 1));
    for (int32_t x = 0; x < 6; ++x) {
        EXPECT_EQ(At(destination.bitmap, x, 0), Background(x, 0));
        EXPECT_EQ(At(destination.bitmap, x, 2), Background(x, 2));
    }
}

TEST(BitmapTest, BlitCopiesEverySourcePixelIncludingAlpha) {
    Bitmap source;
    source.Create(5, 4);
    Fill(source, SourcePixel);
    source.pixels[7] = 0x00123456u;

    GuardedBitmap sameSize(5, 4);
    sameSize.bitmap.Blit(source, 0, 0);
    ExpectBlitResult(sameSize, source, 0, 0);
    EXPECT_EQ(At(sameSize.bitmap, 2, 1), 0x00123456u);

    // Inside a wider destination each row lands at the destination's stride.
    GuardedBitmap wider(9, 7);
    wider.bitmap.Blit(source, 3, 2);
    ExpectBlitResult(wider, source, 3, 2);

    GuardedBitmap keyed(9, 7);
    keyed.bitmap.BlitKeyed(source, 2, 3, kOpaqueBlack);
    ExpectBlitResult(keyed, source, 2, 3);
}

TEST(BitmapTest, BlitsOfEmptyBitmapsWriteNothing) {
    Bitmap empty;
    Bitmap noRows;
    noRows.Create(5, 0);
    Bitmap noColumns;
    noColumns.Create(0, 5);
    GuardedBitmap destination(4, 4);

    for (const Bitmap* source : {&empty, &noRows, &noColumns}) {
        destination.bitmap.Blit(*source, 0, 0);
        destination.bitmap.BlitKeyed(*source, 1, 1, kOpaqueBlack);
        ExpectBlitResult(destination, empty, 0, 0);
    }

    // Nor does a destination without pixels read or write anything.
    Bitmap source;
    source.Create(2, 2);
    Fill(source, SourcePixel);
    Bitmap noDestination;
    noDestination.Blit(source, 0, 0);
    noDestination.BlitKeyed(source, 0, 0, kOpaqueBlack);
    EXPECT_EQ(noDestination.pixels, nullptr);
}

TEST(BitmapTest, BlitsWriteOnlyThePartInsideTheDestination) {
    Bitmap source;
    source.Create(4, 3);
    Fill(source, SourcePixel);
    struct Position {
        int32_t x;
        int32_t y;
    };
    const Position positions[] = {
        {-2, 3},        {8, 3},         {3, -1},        {3, 6},                    // off each edge
        {-3, -2},       {9, 6},         {-1, 7},        {7, -2},                   // off each corner
        {-4, 0},        {10, 0},        {0, -3},        {0, 8},         {-4, -3},  // touching from outside
        {INT32_MIN, 0}, {INT32_MAX, 0}, {0, INT32_MIN}, {0, INT32_MAX}, {INT32_MAX, INT32_MAX},
    };

    for (const Position& position : positions) {
        GuardedBitmap plain(10, 8);
        plain.bitmap.Blit(source, position.x, position.y);
        ExpectBlitResult(plain, source, position.x, position.y);

        GuardedBitmap keyed(10, 8);
        keyed.bitmap.BlitKeyed(source, position.x, position.y, kOpaqueBlack);
        ExpectBlitResult(keyed, source, position.x, position.y);
    }

    // A source larger than the destination on every side.
    Bitmap large;
    large.Create(14, 12);
    Fill(large, SourcePixel);
    GuardedBitmap covered(10, 8);
    covered.bitmap.Blit(large, -2, -3);
    ExpectBlitResult(covered, large, -2, -3);
}

TEST(BitmapTest, CreateAndClear) {
    Bitmap bitmap;
    bitmap.Create(kBackBufferWidth, kBackBufferHeight);
    ASSERT_NE(bitmap.pixels, nullptr);
    EXPECT_EQ(bitmap.width, 240);
    EXPECT_EQ(bitmap.height, 320);
    Fill(bitmap, SourcePixel);

    bitmap.Clear();
    size_t nonZero = 0;
    for (int32_t i = 0; i < bitmap.width * bitmap.height; ++i) nonZero += bitmap.pixels[i] != 0;
    EXPECT_EQ(nonZero, 0u);

    // Creating again replaces the buffer (the old one is freed: see the asan run).
    bitmap.Create(3, 2);
    EXPECT_EQ(bitmap.width, 3);
    EXPECT_EQ(bitmap.height, 2);
    Fill(bitmap, SourcePixel);
    EXPECT_EQ(At(bitmap, 2, 1), SourcePixel(2, 1));

    bitmap.Create(-4, 7);
    EXPECT_EQ(bitmap.pixels, nullptr);
    EXPECT_EQ(bitmap.width, 0);
    EXPECT_EQ(bitmap.height, 7);
    bitmap.Clear();
    bitmap.ScaleBrightness(100);

    bitmap.Create(2, 2);
    bitmap.Release();
    EXPECT_EQ(bitmap.pixels, nullptr);
    EXPECT_EQ(bitmap.width, 0);
    EXPECT_EQ(bitmap.height, 0);
}

TEST(BitmapTest, ScaleBrightnessMatchesScaleColourOnEveryPixelOfRandomPictures) {
    std::mt19937 random(20261208);
    // Sizes below, at and past a few thousand Pixels, none a multiple of eight.
    for (int32_t width : {1, 7, 37, 241}) {
        GuardedBitmap picture(width, 41);
        Bitmap& bitmap = picture.bitmap;
        for (int32_t level : {255, 128, 77, 1, 0, 256, 300, -1}) {
            std::vector<Pixel> expected;
            for (int32_t i = 0; i < width * 41; ++i) {
                bitmap.pixels[i] = random();
                expected.push_back(ScaleColour(bitmap.pixels[i], level));
            }
            bitmap.ScaleBrightness(level);
            int32_t wrong = 0;
            for (int32_t i = 0; i < width * 41; ++i) wrong += bitmap.pixels[i] != expected[i];
            EXPECT_EQ(wrong, 0) << width << " x 41 at level " << level;
        }
        EXPECT_TRUE(picture.GuardsIntact()) << width << " x 41";
    }
}

TEST(BitmapTest, BlitsMatchThePlainCopyOnRandomPictures) {
    std::mt19937 random(20261208);
    for (int32_t width : {1, 3, 8, 13, 48, 61}) {
        Bitmap source;
        source.Create(width, 9);
        // A third of the Pixels are the key.
        for (int32_t i = 0; i < width * 9; ++i) source.pixels[i] = random() % 3 == 0 ? kOpaqueBlack : random();
        for (bool keyed : {false, true}) {
            GuardedBitmap picture(50, 20);
            Bitmap& bitmap = picture.bitmap;
            std::vector<Pixel> expected(bitmap.pixels, bitmap.pixels + 50 * 20);
            for (int32_t y = 0; y < 9; ++y) {
                for (int32_t x = 0; x < width && x + 5 < 50; ++x) {
                    Pixel p = At(source, x, y);
                    if (!keyed || p != kOpaqueBlack) expected[(y + 4) * 50 + x + 5] = p;
                }
            }
            if (keyed) {
                bitmap.BlitKeyed(source, 5, 4, kOpaqueBlack);
            } else {
                bitmap.Blit(source, 5, 4);
            }
            EXPECT_EQ(std::vector<Pixel>(bitmap.pixels, bitmap.pixels + 50 * 20), expected)
                << width << " wide, " << (keyed ? "keyed" : "plain");
            EXPECT_TRUE(picture.GuardsIntact());
        }
    }
}

}  // namespace
