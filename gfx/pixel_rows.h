// The loops over whole rows of Pixels that every frame runs: packing into
// the 15-, 16- and 24-bit formats of screens, copying with and without a
// colour key, and scaling brightness. With SSE2 or AVX2 they run four or
// eight Pixels to an instruction; other processors (the handheld's among
// them) take the plain loop, which gives the same bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "gfx/pixel.h"

// count 5-6-5 words, in order's byte order: (R >> 3) << 11 | (G >> 2) << 5 | B >> 3.
void PackRow565(const Pixel* source, uint8_t* destination, uint32_t count, std::endian order = std::endian::little);

// count little-endian 5-5-5 words, the top bit clear.
void PackRow555(const Pixel* source, uint8_t* destination, uint32_t count);

// count groups of three bytes: blue, green, red; alpha is dropped.
void PackRow888(const Pixel* source, uint8_t* destination, uint32_t count);

// Copies a columns x rows rectangle whose rows start fromStride (and
// toStride) Pixels apart.
void CopyPixelRect(const Pixel* from, int32_t fromStride, Pixel* to, int32_t toStride, int32_t columns, int32_t rows);

// The same, leaving each destination Pixel whose source Pixel is key.
void CopyPixelRectKeyed(const Pixel* from, int32_t fromStride, Pixel* to, int32_t toStride, int32_t columns,
                        int32_t rows, Pixel key);

// ScaleColour of each of count Pixels.
void ScaleColours(Pixel* pixels, size_t count, int32_t level);
