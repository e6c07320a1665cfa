// The quarter-turn clockwise of a whole picture, the desktop's every frame.
#pragma once

#include <cstdint>

#include "gfx/pixel.h"

// Turns a width x height picture (rows with no gap) a quarter clockwise into
// destination, a height x width picture whose rows start destinationStride
// Pixels apart: destination (column c, row r) = source (r, height - 1 - c).
// With doubled set, each Pixel becomes a 2 x 2 block of a 2 height x 2 width
// picture. width is a multiple of 16 and height of 80; whole Pixels are
// moved, alpha included.
void TurnClockwise(const Pixel* source, int32_t width, int32_t height, Pixel* destination, int32_t destinationStride,
                   bool doubled);
