#include "standin/capture/png_folder.h"

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace {

// Empty when the file is not an 8-bit RGB PNG of that size.
std::vector<uint8_t> ReadRgbPng(const std::string& path, int32_t width, int32_t height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    bool shaped = image.format == PNG_FORMAT_RGB && image.width == static_cast<png_uint_32>(width) &&
                  image.height == static_cast<png_uint_32>(height);
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    bool read = png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    if (!shaped || !read) return {};
    return rgb;
}

TEST(PngFolderSink, AFrameReadsBackAsWrittenUnderItsIndexOrItsDemoClock) {
    // 3 x 2, every byte different, so a swapped channel, a flipped row or a
    // dropped column shows.
    std::vector<uint8_t> rgb(3 * 2 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(13 * i + 7);

    struct NamingCase {
        bool namedByTime;
        int64_t index;
        int32_t demoMilliseconds;
        const char* name;
    };
    const NamingCase cases[] = {
        {false, 123, 16800, "frame000123.png"},
        {false, 1234567, 16800, "frame1234567.png"},  // more digits when needed
        {true, 123, 16800, "t016800.png"},
    };
    for (const NamingCase& test : cases) {
        SCOPED_TRACE(test.name);
        std::string folder = TestFilePath(test.namedByTime ? "by-time" : "by-index");
        standin::PngFolderSink sink(folder, test.namedByTime);
        EXPECT_TRUE(sink.Write(rgb.data(), 3, 2, test.index, test.demoMilliseconds));
        EXPECT_TRUE(sink.Finish("music.wav"));
        EXPECT_EQ(ReadRgbPng(folder + "/" + test.name, 3, 2), rgb);
    }
}

TEST(PngFolderSink, AFailedWriteSaysOnceWhereAndWhyAndEndsTheCapture) {
    // A folder that cannot be made: its parent is a file.
    std::string parent = TestFilePath("not-a-folder");
    WriteWholeFile(parent, "x");
    std::string folder = parent + "/frames";
    const uint8_t rgb[3] = {1, 2, 3};
    standin::PngFolderSink sink(folder, false);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(sink.Write(rgb, 1, 1, 0, 0));
    EXPECT_FALSE(sink.Write(rgb, 1, 1, 1, 33));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(sink.Finish("music.wav"));
    size_t first = said.find(folder);
    ASSERT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(folder, first + 1), std::string::npos) << said;
    EXPECT_NE(said.find("Not a directory"), std::string::npos) << said;
}

}  // namespace
