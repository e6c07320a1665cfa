#include "formats/png_file.h"

#include <png.h>
#include <signal.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "support/test_files.h"

namespace {

std::vector<uint8_t> DecodePng(const std::vector<uint8_t>& bytes, png_uint_32 format) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
    image.format = format;
    std::vector<uint8_t> samples(PNG_IMAGE_SIZE(image));
    bool read = png_image_finish_read(&image, nullptr, samples.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return read ? samples : std::vector<uint8_t>{};
}

// Both compressions and both channel counts go through one writer: each
// reads back as written, a turned picture turned, and only a picture with
// pixels is written.
TEST(PngFile, EachKindReadsBackAsWritten) {
    const uint32_t pixels[] = {0x80FF0000, 0x4000FF00, 0x000000FF, 0xFF123456, 0x10ABCDEF, 0xFF000000};
    std::vector<uint8_t> rgba = PixelSamples(pixels, 3, 2, 4, false);
    EXPECT_EQ(rgba, (std::vector<uint8_t>{0xFF, 0,    0,    0x80, 0,    0xFF, 0,    0x40, 0, 0, 0xFF, 0,
                                          0x12, 0x34, 0x56, 0xFF, 0xAB, 0xCD, 0xEF, 0x10, 0, 0, 0,    0xFF}));
    for (PngCompression compression : {PngCompression::Default, PngCompression::Fast}) {
        EXPECT_EQ(DecodePng(EncodePng({rgba.data(), 3, 2, 4}, compression), PNG_FORMAT_RGBA), rgba);
        std::vector<uint8_t> rgb = PixelSamples(pixels, 3, 2, 3, false);
        EXPECT_EQ(DecodePng(EncodePng({rgb.data(), 3, 2, 3}, compression), PNG_FORMAT_RGB), rgb);
    }
    // Turned clockwise, the 3 x 2 frame is 2 x 3 with its first row on the right.
    EXPECT_EQ(PixelSamples(pixels, 3, 2, 3, true),
              (std::vector<uint8_t>{0x12, 0x34, 0x56, 0xFF, 0, 0, 0xAB, 0xCD, 0xEF, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF}));
    EXPECT_TRUE(EncodePng({rgba.data(), 0, 2, 4}, PngCompression::Fast).empty());
}

TEST(PngFile, AFailedWriteSaysWhereAndWhyAndLeavesADeviceAlone) {
    const uint8_t rgb[3] = {1, 2, 3};
    // A full disk: the bytes that do not fit, or the close that flushes them.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WritePngFile("/dev/full", {rgb, 1, 1, 3}, PngCompression::Fast));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("\"/dev/full\": No space left on device"), std::string::npos) << said;
    EXPECT_TRUE(std::filesystem::exists("/dev/full")) << "a device is no picture to remove";
}

// Writes a picture of noise under a file size limit of 200 bytes; exits 0
// when the write failed.
void WriteUnderASizeLimit(const std::string& path) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{200, 200};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<uint8_t> noise(64 * 64 * 3);
    uint32_t state = 12345;
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 24);
    std::_Exit(WritePngFile(path, {noise.data(), 64, 64, 3}, PngCompression::Fast) ? 1 : 0);
}

// A disk that fills up halfway through a picture, as a file size limit makes
// it: no picture cut short is left to be taken for a frame.
TEST(PngFileDeathTest, AFileCutShortByAFullDiskIsNotLeftBehind) {
    std::string path = TestFilePath("cut-short.png");
    std::filesystem::remove(path);
    EXPECT_EXIT(WriteUnderASizeLimit(path), testing::ExitedWithCode(0), "could not write");
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
