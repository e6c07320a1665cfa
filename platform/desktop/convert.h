// The desktop picture from the BackBuffer: the quarter-turn into the staging
// image and its conversion into the locked surface's pixel format.
#pragma once

#include <cstdint>

#include "gfx/bitmap.h"
#include "gfx/pixel.h"

// The desktop picture is the BackBuffer turned a quarter-turn: 320 x 240, or
// 640 x 480 in double size. The window, the display mode, the staging image
// and the conversion all take its size from here.
constexpr int32_t PictureWidthFor(bool doubleSize) { return (doubleSize ? 2 : 1) * kBackBufferHeight; }
constexpr int32_t PictureHeightFor(bool doubleSize) { return (doubleSize ? 2 : 1) * kBackBufferWidth; }

// The staging image holds the turned picture, rows following one another
// with no gap.
constexpr int32_t kStagingMaxWidth = PictureWidthFor(true);
constexpr int32_t kStagingMaxHeight = PictureHeightFor(true);
constexpr int32_t kStagingMaxPixels = kStagingMaxWidth * kStagingMaxHeight;

// Turns the 240 x 320 BackBuffer a quarter-turn clockwise into staging:
// staging (column c, row r) = BackBuffer (r, 319 - c) in a 320 x 240 image,
// or each BackBuffer Pixel as a 2 x 2 block of a 640 x 480 image in double
// size. Whole Pixels, alpha included. staging must hold the whole image.
void TurnIntoStaging(const Pixel* backBuffer, Pixel* staging, bool doubleSize);

// Converts a width x height staging image (width Pixels per row, no gap) into
// a locked surface of bitsPerPixel 15 (5-5-5), 16 (5-6-5), 24 (B, G, R bytes)
// or 32 (unchanged), one row every pitch bytes; the bytes after each row's
// pixels are left alone. Any other depth, a null surface, or a pitch too short
// for a row writes nothing. width and height are cut to the staging image's
// largest size, so staging is never read past its 640 x 480 Pixels.
void ConvertStaging(const Pixel* staging, int32_t bitsPerPixel, uint8_t* surface, int32_t pitch, uint32_t width,
                    uint32_t height);

// The picture into the locked surface: TurnIntoStaging, then ConvertStaging.
// A 32-bit surface of the picture's own size takes the turn directly, as the
// conversion would only copy it; staging is then left as it was.
void TurnAndConvert(const Pixel* backBuffer, bool doubleSize, Pixel* staging, int32_t bitsPerPixel, uint8_t* surface,
                    int32_t pitch, uint32_t width, uint32_t height);
