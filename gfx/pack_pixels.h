// Rows of Pixels packed into the 15-, 16- and 24-bit formats of screens.
// With SSE2 the packing runs four or eight Pixels to an instruction; other
// processors (the handheld's among them) take the plain loop, which gives
// the same bytes.
#pragma once

#include <bit>
#include <cstdint>

#include "gfx/pixel.h"

// count 5-6-5 words, in order's byte order: (R >> 3) << 11 | (G >> 2) << 5 | B >> 3.
void PackRow565(const Pixel* source, uint8_t* destination, uint32_t count, std::endian order = std::endian::little);

// count little-endian 5-5-5 words, the top bit clear.
void PackRow555(const Pixel* source, uint8_t* destination, uint32_t count);

// count groups of three bytes: blue, green, red; alpha is dropped.
void PackRow888(const Pixel* source, uint8_t* destination, uint32_t count);
