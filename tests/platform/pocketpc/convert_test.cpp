#include "platform/pocketpc/convert.h"

#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

constexpr uint16_t kGuard = 0xA5A5;

// Neighbouring Pixels convert to different words, so a shifted write shows.
Pixel Source(int32_t x, int32_t y) {
    uint32_t hash = (static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u) * 2654435761u;
    return hash ^ static_cast<uint32_t>(x << 3 | y << 13);
}

std::vector<Pixel> MakeBackBuffer() {
    std::vector<Pixel> pixels(kBackBufferPixels);
    for (int32_t y = 0; y < kBackBufferHeight; ++y) {
        for (int32_t x = 0; x < kBackBufferWidth; ++x) pixels[y * kBackBufferWidth + x] = Source(x, y);
    }
    return pixels;
}

TEST(ConvertTo565, PacksRedGreenBlueAndIgnoresAlpha) {
    std::vector<Pixel> pixels = {0x00123456u, 0xFF123456u, 0x80123456u, 0xFFFFFFFFu,
                                 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
    std::vector<uint16_t> words(8, kGuard);
    ConvertTo565(pixels.data(), words.data(), 8);
    std::vector<uint16_t> expected = {0x11AA, 0x11AA, 0x11AA, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0000};
    EXPECT_EQ(words, expected);
}

TEST(ConvertTo565, PixelXYLandsAtWordYTimes240PlusX) {
    std::vector<Pixel> backBuffer = MakeBackBuffer();
    std::vector<uint16_t> screen(kBackBufferPixels, kGuard);
    ConvertTo565(backBuffer.data(), screen.data(), 240 * 320);
    EXPECT_EQ(screen[0], PackRgb565(Source(0, 0)));
    EXPECT_EQ(screen[200 * 240 + 100], PackRgb565(Source(100, 200)));
    int32_t wrong = 0;
    for (int32_t y = 0; y < 320; ++y) {
        for (int32_t x = 0; x < 240; ++x) wrong += screen[y * 240 + x] != PackRgb565(Source(x, y));
    }
    EXPECT_EQ(wrong, 0);
}

TEST(ConvertTo565, PixelsAfterTheLastWholeGroupOfEightAreNotWritten) {
    std::vector<Pixel> pixels(32, 0xFFFFFFFFu);
    std::vector<uint16_t> words(32, kGuard);
    ConvertTo565(pixels.data(), words.data(), 13);
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(words[i], 0xFFFF) << i;
    for (size_t i = 8; i < 32; ++i) EXPECT_EQ(words[i], kGuard) << i;

    std::vector<uint16_t> fewerThanEight(8, kGuard);
    ConvertTo565(pixels.data(), fewerThanEight.data(), 7);
    EXPECT_EQ(fewerThanEight, std::vector<uint16_t>(8, kGuard));
}

TEST(ConvertTo565, CountBeyondTheBackBufferConvertsOnlyTheBackBuffer) {
    // A larger screen: the count would read past the BackBuffer, which is
    // exactly its size here so the address sanitizer catches any over-read.
    std::vector<Pixel> backBuffer = MakeBackBuffer();
    for (uint32_t count : {kBackBufferPixels + 8, 480u * 640u, 0xFFFFFFFFu}) {
        std::vector<uint16_t> screen(480 * 640, kGuard);
        ConvertTo565(backBuffer.data(), screen.data(), count);
        EXPECT_EQ(screen[kBackBufferPixels - 1], PackRgb565(Source(239, 319))) << count;
        EXPECT_EQ(screen[kBackBufferPixels], kGuard) << count;
        EXPECT_EQ(screen.back(), kGuard) << count;
    }
}

TEST(ConvertTo565, MissingFrameBufferOrPixelsWritesNothing) {
    std::vector<Pixel> pixels(8, 0xFFFFFFFFu);
    ConvertTo565(pixels.data(), nullptr, 8);
    std::vector<uint16_t> words(8, kGuard);
    ConvertTo565(nullptr, words.data(), 8);
    EXPECT_EQ(words, std::vector<uint16_t>(8, kGuard));
}

TEST(ConvertTo565Pitched, PortraitPitchesMatchTheSequentialConversion) {
    std::vector<Pixel> backBuffer = MakeBackBuffer();
    std::vector<uint16_t> sequential(kBackBufferPixels, kGuard);
    std::vector<uint16_t> pitched(kBackBufferPixels, kGuard);
    ConvertTo565(backBuffer.data(), sequential.data(), kBackBufferPixels);
    ConvertTo565Pitched(backBuffer.data(), 240, 320, reinterpret_cast<uint8_t*>(pitched.data()), 2, 480);
    EXPECT_EQ(pitched, sequential);
}

TEST(ConvertTo565Pitched, LandscapeScreenGetsEachPixelWhereThePitchesSay) {
    // A 320 x 240 screen held so that the portrait picture's top is at its
    // left: BackBuffer (x, y) goes to screen column y of row 239 - x.
    constexpr size_t kGuardWords = 64;
    std::vector<Pixel> backBuffer = MakeBackBuffer();
    std::vector<uint16_t> memory(kBackBufferPixels + 2 * kGuardWords, kGuard);
    uint16_t* screen = memory.data() + kGuardWords;
    ConvertTo565Pitched(backBuffer.data(), 240, 320, reinterpret_cast<uint8_t*>(screen + 239 * 320), -640, 2);

    int32_t wrong = 0;
    for (int32_t y = 0; y < 320; ++y) {
        for (int32_t x = 0; x < 240; ++x) wrong += screen[(239 - x) * 320 + y] != PackRgb565(Source(x, y));
    }
    EXPECT_EQ(wrong, 0);
    for (size_t i = 0; i < kGuardWords; ++i) {
        EXPECT_EQ(memory[i], kGuard) << i;
        EXPECT_EQ(memory[memory.size() - 1 - i], kGuard) << i;
    }
}

TEST(ConvertTo565Pitched, LargerScreenGetsOnlyTheBackBufferArea) {
    constexpr int32_t kScreenWidth = 480;
    constexpr int32_t kScreenHeight = 640;
    std::vector<Pixel> backBuffer = MakeBackBuffer();
    std::vector<uint16_t> screen(kScreenWidth * kScreenHeight, kGuard);
    ConvertTo565Pitched(backBuffer.data(), kScreenWidth, kScreenHeight, reinterpret_cast<uint8_t*>(screen.data()), 2,
                        2 * kScreenWidth);

    int32_t wrong = 0;
    for (int32_t y = 0; y < kScreenHeight; ++y) {
        for (int32_t x = 0; x < kScreenWidth; ++x) {
            bool inside = x < 240 && y < 320;
            uint16_t expected = inside ? PackRgb565(Source(x, y)) : kGuard;
            wrong += screen[y * kScreenWidth + x] != expected;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(ConvertTo565Pitched, NothingIsWrittenWithoutAFrameBufferPixelsOrArea) {
    std::vector<Pixel> backBuffer = MakeBackBuffer();
    ConvertTo565Pitched(backBuffer.data(), 240, 320, nullptr, 2, 480);
    std::vector<uint16_t> screen(16, kGuard);
    uint8_t* frameBuffer = reinterpret_cast<uint8_t*>(screen.data());
    ConvertTo565Pitched(nullptr, 4, 4, frameBuffer, 2, 8);
    ConvertTo565Pitched(backBuffer.data(), 0, 4, frameBuffer, 2, 8);
    ConvertTo565Pitched(backBuffer.data(), 4, -1, frameBuffer, 2, 8);
    EXPECT_EQ(screen, std::vector<uint16_t>(16, kGuard));
}

TEST(ConvertTo565, MatchesThePlainPixelByPixelCodeOnRandomPictures) {
    std::mt19937 random(20261208);
    std::vector<Pixel> pixels(kBackBufferPixels);
    for (Pixel& p : pixels) p = random();
    // Counts around the whole groups of eight and sixteen, and past a few hundred Pixels.
    for (uint32_t count : {0u, 7u, 8u, 9u, 23u, 520u, 1037u, 4096u, kBackBufferPixels - 3, kBackBufferPixels}) {
        std::vector<uint16_t> expected(kBackBufferPixels, kGuard);
        for (uint32_t i = 0; i < count / 8 * 8; ++i) expected[i] = PackRgb565(pixels[i]);
        std::vector<uint16_t> words(kBackBufferPixels, kGuard);
        ConvertTo565(pixels.data(), words.data(), count);
        uint32_t wrong = 0;
        for (uint32_t i = 0; i < kBackBufferPixels; ++i) wrong += words[i] != expected[i];
        EXPECT_EQ(wrong, 0u) << count << " Pixels";
    }
}

}  // namespace
