// The BackBuffer-sized frame the drawing fuzzers draw into, and how they
// check it: every Pixel they did not mean to draw stays the background.
#pragma once

#include <algorithm>

#include "gfx/bitmap.h"

constexpr Pixel kBackground = 0x5A3C1E0Fu;

// A failed check stops the fuzzer on the input that caused it.
inline void Check(bool holds) {
    if (!holds) __builtin_trap();
}

// The frame, all background, made at the first input.
inline Bitmap& BackgroundFrame() {
    static Bitmap frame;
    if (frame.pixels == nullptr) {
        frame.Create(kBackBufferWidth, kBackBufferHeight);
        std::fill(frame.pixels, frame.pixels + kBackBufferWidth * kBackBufferHeight, kBackground);
    }
    return frame;
}

// Checks one Pixel of the frame and puts the background back for the next input.
inline void CheckPixel(Pixel& actual, Pixel expected) {
    Check(actual == expected);
    actual = kBackground;
}
