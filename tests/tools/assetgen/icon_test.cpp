// The icon drawn from a duck frame, and the Windows icon file around it.
#include "tools/assetgen/icon.h"

#include <gtest/gtest.h>

namespace {

constexpr Rgb kFeather{200, 100, 50};

// A 32 x 48 frame of key black with a 16 x 32 block of one colour off its
// centre: the icon must centre the block and never blend the key into it.
Picture BlockFrame() {
    Picture frame{32, 48, std::vector<Rgb>(32 * 48)};
    for (int32_t y = 10; y < 42; ++y)
        for (int32_t x = 4; x < 20; ++x) frame.pixels[static_cast<size_t>(y) * 32 + x] = kFeather;
    return frame;
}

TEST(Icon, AtEverySizeTheDuckIsCentredOnClearGroundAndNoEdgeTurnsDark) {
    for (int32_t size : kIconSizes) {
        std::vector<uint32_t> icon = DrawIcon(BlockFrame(), size);
        ASSERT_EQ(icon.size(), static_cast<size_t>(size) * size);
        EXPECT_EQ(icon[0] >> 24, 0u) << size;
        EXPECT_EQ(icon.back() >> 24, 0u) << size;
        EXPECT_EQ(icon[static_cast<size_t>(size / 2) * size + size / 2], 0xFFC86432u) << size;
        int32_t left = size, right = -1;
        for (int32_t y = 0; y < size; ++y) {
            for (int32_t x = 0; x < size; ++x) {
                uint32_t pixel = icon[static_cast<size_t>(y) * size + x];
                if (pixel >> 24 == 0) continue;
                // Partly covered pixels are lighter in alpha, never in colour.
                EXPECT_EQ(pixel & 0xFFFFFFu, 0xC86432u) << size << ": " << x << "," << y;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        EXPECT_EQ(left, size - 1 - right) << size;
    }
}

uint32_t LittleEndian(const std::vector<uint8_t>& bytes, size_t at, int32_t count) {
    uint32_t value = 0;
    for (int32_t i = count - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<size_t>(i)];
    return value;
}

TEST(Icon, TheIcoDirectoryNamesEachPictureItsSizeAndWhereItLies) {
    std::vector<std::vector<uint8_t>> pngs = {{1, 2, 3}, {4, 5, 6, 7, 8}};
    std::vector<uint8_t> ico = IcoFile(pngs, {16, 256});
    ASSERT_EQ(ico.size(), 6u + 2 * 16 + 3 + 5);
    EXPECT_EQ(LittleEndian(ico, 2, 2), 1u);  // an icon, not a cursor
    EXPECT_EQ(LittleEndian(ico, 4, 2), 2u);
    EXPECT_EQ(ico[6], 16);
    EXPECT_EQ(ico[6 + 16], 0);  // 256 is written as 0
    for (size_t entry = 0; entry < 2; ++entry) {
        size_t at = 6 + 16 * entry;
        EXPECT_EQ(LittleEndian(ico, at + 8, 4), pngs[entry].size());
        uint32_t offset = LittleEndian(ico, at + 12, 4);
        ASSERT_LE(offset + pngs[entry].size(), ico.size());
        EXPECT_EQ(std::vector<uint8_t>(ico.begin() + offset, ico.begin() + offset + pngs[entry].size()), pngs[entry]);
    }
}

}  // namespace
