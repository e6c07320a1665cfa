// The text form of the pictures: what it accepts and how it names mistakes.
#include "tools/assetgen/pixel_art.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

#include "support/test_files.h"
#include "tools/assetgen/font_sheet.h"

namespace {

std::string Written(const std::string& name, const std::string& contents) {
    std::string path = TestFilePath(name);
    WriteWholeFile(path, contents);
    return path;
}

// The message of the error that reading throws, or "" if none.
template <typename Read>
std::string ErrorOf(Read read) {
    try {
        read();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

TEST(PixelArt, RowsOfPaletteCharactersBecomePixelsTopRowFirst) {
    std::string palette = Written("palette.txt", "# comment\ncolour . 0 0 0\ncolour y 255 208 32\n");
    std::string art = Written("art.txt", "# a 3 x 2 picture\n.y.\n\nyy.\n");
    Picture picture = ReadPicture(art, ReadPalette(palette), 3, 2);
    ASSERT_EQ(picture.pixels.size(), 6u);
    EXPECT_EQ(picture.At(1, 0), (Rgb{255, 208, 32}));
    EXPECT_EQ(picture.At(0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(picture.At(0, 1), (Rgb{255, 208, 32}));
    EXPECT_EQ(picture.At(2, 1), (Rgb{0, 0, 0}));
}

TEST(PixelArt, UnknownCharacterIsNamedWithFileLineAndColumn) {
    Palette palette{{'.', {0, 0, 0}}};
    std::string art = Written("unknown.txt", "# two rows\n...\n..x\n");
    std::string message = ErrorOf([&] { ReadPicture(art, palette, 3, 2); });
    EXPECT_NE(message.find(art + ":3:"), std::string::npos) << message;
    EXPECT_NE(message.find("column 3"), std::string::npos) << message;
    EXPECT_NE(message.find("'x'"), std::string::npos) << message;
}

TEST(PixelArt, RowOfTheWrongWidthOrTheWrongRowCountIsRefused) {
    Palette palette{{'.', {0, 0, 0}}};
    std::string narrow = Written("narrow.txt", "...\n..\n");
    EXPECT_NE(ErrorOf([&] { ReadPicture(narrow, palette, 3, 2); }).find(narrow + ":2:"), std::string::npos);
    std::string shortArt = Written("short.txt", "...\n");
    EXPECT_NE(ErrorOf([&] { ReadPicture(shortArt, palette, 3, 2); }).find("expected 2 rows"), std::string::npos);
}

TEST(PixelArt, MissingFileAndBadColourLinesAreNamed) {
    std::string missing = TestFilePath("no_such_art.txt");
    EXPECT_NE(ErrorOf([&] { ReadPalette(missing); }).find(missing), std::string::npos);
    std::string badColour = Written("bad_colour.txt", "colour . 0 0 300\n");
    EXPECT_NE(ErrorOf([&] { ReadPalette(badColour); }).find(badColour + ":1:"), std::string::npos);
    std::string twice = Written("twice.txt", "colour . 0 0 0\ncolour . 1 1 1\n");
    EXPECT_NE(ErrorOf([&] { ReadPalette(twice); }).find("twice"), std::string::npos);
}

std::string Band(const std::string& chars, char ink) {
    std::string cells;
    for (size_t i = 0; i < chars.size(); ++i) cells += std::string(i == 0 ? "" : " ") + std::string(8, ink);
    std::string band = "chars";
    for (char c : chars) band += std::string(" ") + c;
    band += "\n";
    for (int row = 0; row < 8; ++row) band += cells + "\n";
    return band;
}

TEST(FontArt, GlyphsLandInCharsetOrderWhateverTheirOrderInTheFile) {
    std::string art = Written("font.txt", "colour . 0 0 0\ncolour X 255 255 255\n" + Band("b", 'X') + Band("a", '.'));
    FontSheet sheet = ReadFontSheet(art, "ab");
    ASSERT_EQ(sheet.width, 16);
    EXPECT_EQ(sheet.At(0, 0), (Rgb{0, 0, 0})) << "a is the first cell";
    EXPECT_EQ(sheet.At(8, 7), (Rgb{255, 255, 255})) << "b is the second";
}

TEST(FontArt, MissingDuplicateOrStrayGlyphsAreRefused) {
    std::string header = "colour . 0 0 0\n";
    std::string missing = Written("missing.txt", header + Band("a", '.'));
    EXPECT_NE(ErrorOf([&] { ReadFontSheet(missing, "ab"); }).find("'b' has no glyph"), std::string::npos);
    std::string twice = Written("twice.txt", header + Band("a", '.') + Band("a", '.'));
    EXPECT_NE(ErrorOf([&] { ReadFontSheet(twice, "a"); }).find("drawn twice"), std::string::npos);
    std::string stray = Written("stray.txt", header + Band("ab", '.'));
    EXPECT_NE(ErrorOf([&] { ReadFontSheet(stray, "a"); }).find("not in the charset"), std::string::npos);
}

}  // namespace
