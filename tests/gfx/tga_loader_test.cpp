#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "gfx/image.h"
#include "support/tga_files.h"

namespace {

std::vector<Pixel> Rows(const Image& image) {
    if (image.pixels == nullptr) return {};
    return std::vector<Pixel>(image.pixels, image.pixels + image.width * image.height);
}

std::vector<uint8_t> Palette() {
    std::vector<uint8_t> palette(768);
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i * 7 + 1);
    return palette;
}

// An Image holding a known 2 x 1 picture, to show that a refused file leaves it alone.
void LoadKnownPicture(Image& image) {
    ScratchFile file = WriteTga("known", {.width = 2, .height = 1, .depth = 24, .data = {1, 2, 3, 4, 5, 6}});
    image.LoadTga(file.Path());
    ASSERT_EQ(Rows(image), (std::vector<Pixel>{0xFF030201u, 0xFF060504u}));
}

void ExpectKnownPicture(const Image& image, const Pixel* buffer, const char* what) {
    EXPECT_EQ(image.pixels, buffer) << what;
    EXPECT_EQ(image.width, 2) << what;
    EXPECT_EQ(image.height, 1) << what;
    EXPECT_EQ(Rows(image), (std::vector<Pixel>{0xFF030201u, 0xFF060504u})) << what;
}

TEST(TgaLoaderTest, MissingFileLeavesTheImageAsItWas) {
    std::string missing = UniqueTestPath("missing");

    Image fresh;
    fresh.LoadTga(missing.c_str());
    EXPECT_EQ(fresh.pixels, nullptr);
    EXPECT_EQ(fresh.width, 0);
    EXPECT_EQ(fresh.height, 0);

    Image loaded;
    LoadKnownPicture(loaded);
    const Pixel* buffer = loaded.pixels;
    loaded.LoadTga(missing.c_str());
    ExpectKnownPicture(loaded, buffer, "missing file");
}

// A FIFO would block the load until a writer came; it, a folder and a device
// are refused at once, as a missing file is.
TEST(TgaLoaderTest, WhatIsNoRegularFileIsRefusedAsAMissingOneIs) {
    std::string fifo = UniqueTestPath("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string folder = UniqueTestPath("folder");
    std::filesystem::create_directories(folder);
    for (const std::string& path : {fifo, folder, std::string("/dev/zero")}) {
        Image loaded;
        LoadKnownPicture(loaded);
        const Pixel* buffer = loaded.pixels;
        loaded.LoadTga(path.c_str());
        ExpectKnownPicture(loaded, buffer, path.c_str());
    }
}

// A picture the program cannot use leaves its part of the screen black; the
// person who replaced it is told which file and why.
TEST(TgaLoaderTest, APictureThatCannotBeUsedIsNamedOnStderrWithTheReason) {
    std::string folder = UniqueTestPath("folder_picture");
    std::filesystem::create_directories(folder);
    ScratchFile headerOnly = WriteTga("header_only", {.width = 16384, .height = 16384, .depth = 0});
    ScratchFile cut = WriteTga("cut", {.width = 4, .height = 4, .depth = 24, .cutTo = 17});
    ScratchFile deep = WriteTga("deep", {.width = 1, .height = 1, .depth = 16, .data = {0, 0}});
    const std::pair<std::string, const char*> cases[] = {
        {UniqueTestPath("missing"), "(No such file or directory)"},      {folder, "(Is a directory)"},
        {headerOnly.Path(), "(more than 4096 x 4096 Pixels)"},           {cut.Path(), "(shorter than its header)"},
        {deep.Path(), "(its depth, 16, is not one this program reads)"},
    };
    for (const auto& [path, reason] : cases) {
        testing::internal::CaptureStderr();
        Image image;
        image.LoadTga(path.c_str());
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("\"" + path + "\" " + reason), std::string::npos) << said;
    }
}

TEST(TgaLoaderTest, TwentyFourBitRowsAreFlippedAndOpaque) {
    // Stored bottom row first: P, Q, then R, S; S is black.
    ScratchFile file = WriteTga("rgb", {.width = 2,
                                        .height = 2,
                                        .depth = 24,
                                        .data = {0x10, 0x11, 0x12, 0x20, 0x21, 0x22,     // P, Q
                                                 0x30, 0x31, 0x32, 0x00, 0x00, 0x00}});  // R, S
    Image image;
    image.LoadTga(file.Path());

    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(Rows(image), (std::vector<Pixel>{0xFF323130u, kOpaqueBlack, 0xFF121110u, 0xFF222120u}));
}

TEST(TgaLoaderTest, EightBitPixelsComeFromThePaletteWithZeroAlpha) {
    std::vector<uint8_t> palette = Palette();
    palette[15] = 10;  // entry 5: blue, green, red
    palette[16] = 20;
    palette[17] = 30;
    palette[0] = palette[1] = palette[2] = 0;  // entry 0: black
    // Three columns, two rows, stored bottom row first.
    ScratchFile file =
        WriteTga("paletted", {.width = 3, .height = 2, .depth = 8, .palette = palette, .data = {5, 0, 255, 1, 2, 5}});
    Image image;
    image.LoadTga(file.Path());

    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    uint8_t bytes[4];
    std::memcpy(bytes, &image.pixels[2], sizeof bytes);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{10, 20, 30, 0}));
    auto entry = [&](int i) {
        return Pixel{palette[3 * i]} | Pixel{palette[3 * i + 1]} << 8 | Pixel{palette[3 * i + 2]} << 16;
    };
    EXPECT_EQ(Rows(image), (std::vector<Pixel>{entry(1), entry(2), 0x001E140Au, 0x001E140Au, 0u, entry(255)}));
}

TEST(TgaLoaderTest, ThirtyTwoBitPixelsAreTakenWhole) {
    ScratchFile file = WriteTga("rgba", {.width = 2,
                                         .height = 2,
                                         .depth = 32,
                                         .data = {1, 2, 3, 4, 5, 6, 7, 8,           // bottom row
                                                  9, 10, 11, 12, 13, 14, 15, 0}});  // top row
    Image image;
    image.LoadTga(file.Path());

    ASSERT_EQ(image.width, 2);
    ASSERT_EQ(image.height, 2);
    uint8_t bytes[16];
    std::memcpy(bytes, image.pixels, sizeof bytes);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 16),
              (std::vector<uint8_t>{9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(TgaLoaderTest, OtherDepthWordsKeepTheSizeWithBlankPixels) {
    struct Case {
        uint8_t depth;
        uint8_t descriptor;
        const char* what;
    };
    const Case cases[] = {{32, 8, "32-bit with alpha bits"},
                          {24, 32, "24-bit top-left origin"},
                          {16, 0, "16-bit"},
                          {8, 32, "8-bit top-left origin"}};
    for (const Case& test : cases) {
        int bytesPerPixel = (test.depth + 7) / 8;
        TgaContents contents{.width = 4, .height = 3, .depth = test.depth, .descriptor = test.descriptor};
        if (test.depth == 8) contents.palette = Palette();
        contents.data.assign(static_cast<size_t>(4 * 3 * bytesPerPixel), 0xAB);
        ScratchFile file = WriteTga("undecoded", contents);

        // Leave recognisable garbage where the next buffer of this size is likely to come from.
        Bitmap dirty;
        dirty.Create(4, 3);
        std::memset(dirty.pixels, 0xCD, 4 * 3 * sizeof(Pixel));
        dirty.Release();

        Image image;
        image.LoadTga(file.Path());
        EXPECT_EQ(image.width, 4) << test.what;
        EXPECT_EQ(image.height, 3) << test.what;
        EXPECT_EQ(Rows(image), std::vector<Pixel>(12, 0u)) << test.what;
    }
}

TEST(TgaLoaderTest, ZeroSizedHeaderGivesAnImageWithoutPixels) {
    ScratchFile noRows = WriteTga("no_rows", {.width = 5, .height = 0, .depth = 24});
    Image image;
    image.LoadTga(noRows.Path());
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 0);

    ScratchFile noColumns = WriteTga("no_columns", {.width = 0, .height = 7, .depth = 8, .palette = Palette()});
    image.LoadTga(noColumns.Path());
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 7);
}

TEST(TgaLoaderTest, FilesThatCannotHoldTheirHeaderAreRefused) {
    std::vector<uint8_t> full(4 * 4 * 3, 0x42);
    struct Case {
        TgaContents contents;
        const char* what;
    };
    const Case cases[] = {
        {{.width = 4, .height = 4, .depth = 24, .data = full, .cutTo = 18 + 4 * 4 * 3 - 1}, "24-bit one byte short"},
        {{.width = 4, .height = 4, .depth = 32, .data = full}, "32-bit with 24-bit data"},
        {{.width = 4, .height = 4, .depth = 8, .palette = Palette(), .cutTo = 786 + 15}, "8-bit one index short"},
        {{.width = 4, .height = 4, .depth = 8, .data = full}, "8-bit without palette"},
        {{.width = 4, .height = 4, .depth = 16, .data = full, .cutTo = 18 + 31}, "16-bit one byte short"},
        {{.width = 4, .height = 4, .depth = 0, .data = full, .cutTo = 18 + 15}, "depth 0, less than a byte a pixel"},
        {{.width = 4, .height = 4, .depth = 32, .descriptor = 8, .data = full}, "depth word 2080, data short"},
        {{.width = 65535, .height = 65535, .depth = 24, .data = full}, "65535 x 65535 on a tiny file"},
        {{.width = 16384, .height = 16384, .depth = 32, .data = full}, "16384 x 16384 on a tiny file"},
        {{.width = 4, .height = 4, .depth = 24, .data = full, .cutTo = 17}, "header cut short"},
        {{.width = 4, .height = 4, .depth = 24, .cutTo = 0}, "empty file"},
    };
    for (const Case& test : cases) {
        ScratchFile file = WriteTga("refused", test.contents);
        Image fresh;
        fresh.LoadTga(file.Path());
        EXPECT_EQ(fresh.pixels, nullptr) << test.what;
        EXPECT_EQ(fresh.width, 0) << test.what;
        EXPECT_EQ(fresh.height, 0) << test.what;

        Image loaded;
        LoadKnownPicture(loaded);
        const Pixel* buffer = loaded.pixels;
        loaded.LoadTga(file.Path());
        ExpectKnownPicture(loaded, buffer, test.what);
    }
}

TEST(TgaLoaderTest, AnySideLoadsUpTo4096By4096PixelsInAll) {
    struct Case {
        uint16_t width;
        uint16_t height;
        bool loads;
        const char* what;
    };
    const Case cases[] = {
        {20000, 1, true, "20000 x 1"},
        {1, 20000, true, "1 x 20000"},
        // The files are sparse and really hold that many indices.
        {4096, 4097, false, "4096 x 4097"},
        {32768, 16385, false, "32768 x 16385"},
    };
    for (const Case& test : cases) {
        int32_t area = test.width * test.height;
        std::vector<Pixel> expected;  // top row first
        TgaContents contents{.width = test.width, .height = test.height};
        if (test.loads) {
            for (int32_t i = 0; i < area; ++i) expected.push_back(0xFF000000u | static_cast<Pixel>(i * 40503));
            contents.data = StoreRows24(expected, test.width, test.height);
        } else {
            contents.depth = 8;
            contents.palette = Palette();
        }
        ScratchFile file = WriteTga("long_side", contents);
        if (!test.loads) std::filesystem::resize_file(file.Path(), 786 + static_cast<uintmax_t>(area));

        Image image;
        image.LoadTga(file.Path());
        EXPECT_EQ(image.width, test.loads ? test.width : 0) << test.what;
        EXPECT_EQ(image.height, test.loads ? test.height : 0) << test.what;
        if (test.loads) {
            EXPECT_EQ(Rows(image), expected) << test.what;
        } else {
            EXPECT_EQ(image.pixels, nullptr) << test.what;
        }
    }
}

TEST(TgaLoaderTest, ReloadingReplacesThePicture) {
    Image image;
    LoadKnownPicture(image);
    ScratchFile second = WriteTga("second", {.width = 1, .height = 2, .depth = 32, .data = {1, 2, 3, 4, 5, 6, 7, 8}});

    // The first buffer must be freed, not leaked: the asan run checks.
    image.LoadTga(second.Path());

    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(Rows(image), (std::vector<Pixel>{0x08070605u, 0x04030201u}));
}

}  // namespace
