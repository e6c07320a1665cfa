// The greeting a person makes of the intro: who the demo is from, the wish
// and who it is for, given on the command line in place of the table's own.
#pragma once

#include <cstdint>
#include <span>

#include "demo/intro.h"

// The picture is 320 pixels across, a character 8.
inline constexpr int32_t kGreetingMaxLength = 40;

// What the command line gave, or null where it gave nothing.
struct GreetingOptions {
    const char* from = nullptr;
    const char* wish = nullptr;
    const char* to = nullptr;
};

// The intro's text lines with the given texts in place: a changed line keeps
// its x and is centred by its length; the others are the table's own.
struct IntroText {
    IntroTextLine lines[kIntroTextLineCount];
    char texts[3][kGreetingMaxLength + 1];

    std::span<const IntroTextLine> Lines() const { return lines; }
};

// Fills text from the options. A text the font cannot draw, an empty one or
// one too long is refused: false, with one line on stderr saying which
// option, what is wrong and what it takes.
bool MakeIntroText(const char* programName, const GreetingOptions& options, IntroText& text);
