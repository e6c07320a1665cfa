#include "gfx/font_text.h"

#include <gtest/gtest.h>
#include <string>

#include "app/font_charset.h"

namespace {

struct Given {
    const char* name;
    const char* text;
    FontTextFault fault;
    const char* drawn;   // None: what the font draws
    int32_t position;    // NotUtf8, NoGlyph
    uint32_t codePoint;  // NoGlyph: the character; NotUtf8: the byte
};

class FontTextTest : public testing::TestWithParam<Given> {};

TEST_P(FontTextTest, KeepsWhatTheFontDrawsAndNamesTheFirstFault) {
    const Given& given = GetParam();
    char drawn[6];
    FontTextCheck check = ToFontText(given.text, kFontCharset, 5, drawn);
    EXPECT_EQ(check.fault, given.fault);
    if (given.fault == FontTextFault::None) {
        EXPECT_EQ(std::string(drawn), given.drawn);
    }
    if (given.fault == FontTextFault::NotUtf8 || given.fault == FontTextFault::NoGlyph) {
        EXPECT_EQ(check.position, given.position);
        EXPECT_EQ(check.codePoint, given.codePoint);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, FontTextTest,
                         testing::Values(Given{"CapitalsLowered", "Ab :)", FontTextFault::None, "ab :)", 0, 0},
                                         Given{"QuoteAndStar", "\"x\"*", FontTextFault::None, "\"x\"*", 0, 0},
                                         Given{"Backslash", "a\\", FontTextFault::NoGlyph, "", 2, '\\'},
                                         Given{"Overlong", "\xC0\xAF", FontTextFault::NotUtf8, "", 1, 0xC0},
                                         Given{"Surrogate", "\xED\xA0\x80", FontTextFault::NotUtf8, "", 1, 0xA0},
                                         Given{"CutShortAtTheEnd", "a\xE2\x82", FontTextFault::NotUtf8, "", 2, 0x00},
                                         Given{"OneTooMany", "abcdef", FontTextFault::TooLong, "", 0, 0},
                                         Given{"AsLongAsAllowed", "ABCDE", FontTextFault::None, "abcde", 0, 0}),
                         [](const testing::TestParamInfo<Given>& info) { return std::string(info.param.name); });

}  // namespace
