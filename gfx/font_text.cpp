#include "gfx/font_text.h"

#include <cstring>

namespace {

// The next character of a NUL-terminated UTF-8 string, or false with the
// byte that breaks it: overlong forms, surrogates and values past U+10FFFF
// included, and never a byte past the terminator.
bool DecodeNext(const unsigned char*& bytes, uint32_t& codePoint) {
    unsigned char lead = *bytes;
    int32_t more = lead < 0x80                    ? 0
                   : lead >= 0xC2 && lead <= 0xDF ? 1
                   : lead >= 0xE0 && lead <= 0xEF ? 2
                   : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                  : -1;
    if (more < 0) {
        codePoint = lead;
        return false;
    }
    // The second byte's range is what rules out overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    uint32_t value = more == 0 ? lead : lead & (0x3F >> more);
    for (int32_t i = 1; i <= more; ++i) {
        unsigned char next = bytes[i];
        bool fits = i == 1 ? next >= low && next <= high : next >= 0x80 && next <= 0xBF;
        if (!fits) {
            codePoint = next;
            return false;
        }
        value = value << 6 | (next & 0x3F);
    }
    bytes += more + 1;
    codePoint = value;
    return true;
}

}  // namespace

FontTextCheck ToFontText(const char* utf8, const char* charset, int32_t maxLength, char* out) {
    FontTextCheck check;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(utf8);
    int32_t written = 0;
    while (*bytes != 0 && check.fault == FontTextFault::None) {
        uint32_t codePoint = 0;
        const unsigned char* start = bytes;
        bool decoded = DecodeNext(bytes, codePoint);
        ++check.length;
        if (decoded && codePoint >= 'A' && codePoint <= 'Z') codePoint += 'a' - 'A';
        bool drawable = codePoint == ' ' || (codePoint > ' ' && codePoint < 0x7F &&
                                             std::strchr(charset, static_cast<int>(codePoint)) != nullptr);
        if (!decoded || !drawable) {
            check.fault = decoded ? FontTextFault::NoGlyph : FontTextFault::NotUtf8;
            check.position = check.length;
            check.codePoint = codePoint;
            check.character = reinterpret_cast<const char*>(start);
            check.characterBytes = static_cast<int32_t>(bytes - start);
        } else if (written < maxLength) {
            out[written++] = static_cast<char>(codePoint);
        }
    }
    out[written] = '\0';
    if (check.fault == FontTextFault::None && check.length == 0) check.fault = FontTextFault::Empty;
    if (check.fault == FontTextFault::None && check.length > maxLength) check.fault = FontTextFault::TooLong;
    return check;
}
