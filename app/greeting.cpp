#include "app/greeting.h"

#include <cstdio>

#include "app/font_charset.h"
#include "gfx/font_text.h"

namespace {

void PrintRefusal(const char* programName, const char* option, const FontTextCheck& check) {
    std::fprintf(stderr, "%s: %s ", programName, option);
    switch (check.fault) {
        case FontTextFault::NotUtf8:
            std::fprintf(stderr, "is not UTF-8: byte 0x%02X at character %d breaks it\n", check.codePoint,
                         check.position);
            return;
        case FontTextFault::NoGlyph:
            // A control character is named only by its number, never written out.
            if (check.codePoint < 0x20 || (check.codePoint >= 0x7F && check.codePoint < 0xA0)) {
                std::fprintf(stderr, "has U+%04X", check.codePoint);
            } else {
                std::fprintf(stderr, "has \"%.*s\" (U+%04X)", check.characterBytes, check.character, check.codePoint);
            }
            std::fprintf(stderr,
                         " at character %d, which the font cannot draw: it has space and %s (capitals are drawn"
                         " small)\n",
                         check.position, kFontCharset);
            return;
        case FontTextFault::Empty:
        case FontTextFault::TooLong:
            std::fprintf(stderr,
                         "has %d characters: it takes 1 to %d (the picture is 320 pixels across, 8 a character)\n",
                         check.length, kGreetingMaxLength);
            return;
        case FontTextFault::None:
            return;
    }
}

}  // namespace

bool MakeIntroText(const char* programName, const GreetingOptions& options, IntroText& text) {
    std::span<const IntroTextLine> table = IntroTextLines();
    for (int32_t i = 0; i < kIntroTextLineCount; ++i) text.lines[i] = table[i];
    struct Given {
        const char* option;
        const char* text;
        int32_t line;
    };
    const Given given[] = {{"--from", options.from, kPresenterLine},
                           {"--wish", options.wish, kWishLine},
                           {"--to", options.to, kRecipientLine}};
    for (int32_t i = 0; i < 3; ++i) {
        if (given[i].text == nullptr) continue;
        FontTextCheck check = ToFontText(given[i].text, kFontCharset, kGreetingMaxLength, text.texts[i]);
        if (check.fault != FontTextFault::None) {
            PrintRefusal(programName, given[i].option, check);
            return false;
        }
        IntroTextLine& line = text.lines[given[i].line];
        line.text = text.texts[i];
        line.y = CentredLineY(check.length);
    }
    return true;
}
