#include "standin/host/frame_image.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

using standin::HostPixelFormat;

// Each picture is 2 x 2: full red with blue at its middle value, red at its
// middle with full green, green at its middle with full blue, then black
// with the alpha or spare bit set. The 5-bit middle 16 widens to 132 (0x84),
// the 6-bit middle 32 to 130 (0x82); 8-bit channels stay as they are.
struct FormatCase {
    const char* name;
    HostPixelFormat format;
    int32_t bytesPerPixel;
    std::vector<uint8_t> rows[2];  // in memory order, without the padding
    std::vector<uint8_t> expected;
};

TEST(ConvertToRgb, WidensEachFormatsChannelsAndStepsRowsByThePitch) {
    const std::vector<uint8_t> kWidened = {0xFF, 0x00, 0x84, 0x84, 0xFF, 0x00, 0x00, 0x84, 0xFF, 0x00, 0x00, 0x00};
    const FormatCase cases[] = {
        {"Argb8888",
         HostPixelFormat::Argb8888,
         4,
         {{0x84, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x84, 0x00}, {0xFF, 0x84, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}},
         kWidened},
        {"Bgr24",
         HostPixelFormat::Bgr24,
         3,
         {{0x84, 0x00, 0xFF, 0x00, 0xFF, 0x84}, {0xFF, 0x84, 0x00, 0x00, 0x00, 0x00}},
         kWidened},
        // 0xF810, 0x87E0 / 0x041F, 0x0000
        {"Rgb565",
         HostPixelFormat::Rgb565,
         2,
         {{0x10, 0xF8, 0xE0, 0x87}, {0x1F, 0x04, 0x00, 0x00}},
         {0xFF, 0x00, 0x84, 0x84, 0xFF, 0x00, 0x00, 0x82, 0xFF, 0x00, 0x00, 0x00}},
        // 0x7C10, 0x43E0 / 0x021F, 0x8000
        {"Rgb555", HostPixelFormat::Rgb555, 2, {{0x10, 0x7C, 0xE0, 0x43}, {0x1F, 0x02, 0x00, 0x80}}, kWidened},
    };
    constexpr int32_t kPadding = 4;
    constexpr uint8_t kGuard = 0x5A;
    for (const FormatCase& test : cases) {
        SCOPED_TRACE(test.name);
        // Padding bytes of full scale after each row: a row stepped by the
        // width instead of the pitch reads them as white.
        int32_t pitch = 2 * test.bytesPerPixel + kPadding;
        std::vector<uint8_t> pixels;
        for (const std::vector<uint8_t>& row : test.rows) {
            pixels.insert(pixels.end(), row.begin(), row.end());
            pixels.insert(pixels.end(), kPadding, 0xFF);
        }
        ASSERT_EQ(pixels.size(), static_cast<size_t>(2 * pitch));

        std::vector<uint8_t> rgb(2 * 2 * 3 + 1, kGuard);
        standin::ConvertToRgb(pixels.data(), pitch, test.format, 2, 2, rgb.data());

        EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.end() - 1), test.expected);
        EXPECT_EQ(rgb.back(), kGuard) << "wrote past width * height * 3 bytes";
    }
}

}  // namespace
