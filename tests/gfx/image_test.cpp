#include "gfx/image.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

void SetRows(Image& image, int32_t width, int32_t height, const std::vector<Pixel>& rows) {
    image.Create(width, height);
    for (size_t i = 0; i < rows.size(); ++i) image.pixels[i] = rows[i];
}

std::vector<Pixel> Rows(const Image& image) {
    return std::vector<Pixel>(image.pixels, image.pixels + image.width * image.height);
}

TEST(ImageTest, QuarterTurnTurnsAnticlockwise) {
    enum : Pixel { a = 0xFF0000A0u, b, c, d, e, f };
    Image image;
    SetRows(image, 3, 2, {a, b, c, d, e, f});

    image.QuarterTurn();

    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(Rows(image), (std::vector<Pixel>{c, f, b, e, a, d}));
}

TEST(ImageTest, FourQuarterTurnsGiveTheSameImage) {
    Image image;
    std::vector<Pixel> original;
    for (Pixel i = 0; i < 5 * 3; ++i) original.push_back(0x01020304u * (i + 1));
    SetRows(image, 5, 3, original);

    for (int turn = 0; turn < 4; ++turn) image.QuarterTurn();

    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(Rows(image), original);
}

TEST(ImageTest, QuarterTurnOfAnEmptyImageSwapsSizesOnly) {
    Image empty;
    empty.QuarterTurn();
    EXPECT_EQ(empty.pixels, nullptr);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);

    Image noRows;
    noRows.Create(4, 0);
    noRows.QuarterTurn();
    EXPECT_EQ(noRows.pixels, nullptr);
    EXPECT_EQ(noRows.width, 0);
    EXPECT_EQ(noRows.height, 4);
}

}  // namespace
