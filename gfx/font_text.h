// Text a person gives the font to draw: read strictly as UTF-8, upper-case
// letters lowered (the font has only lower case), space and the font's own
// characters kept, anything else named with where it stands.
#pragma once

#include <cstdint>

enum class FontTextFault { None, NotUtf8, NoGlyph, Empty, TooLong };

struct FontTextCheck {
    FontTextFault fault = FontTextFault::None;
    int32_t position = 0;             // NotUtf8, NoGlyph: the character's, from 1
    uint32_t codePoint = 0;           // NoGlyph: the character; NotUtf8: the byte that breaks it
    const char* character = nullptr;  // NoGlyph: where it starts in the text given
    int32_t characterBytes = 0;
    int32_t length = 0;  // the characters read
};

// Writes what the font draws for utf8 into out (room for maxLength
// characters and a NUL), stopping at the first fault; the length is judged
// once every character is known to be drawable.
FontTextCheck ToFontText(const char* utf8, const char* charset, int32_t maxLength, char* out);
