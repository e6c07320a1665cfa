// One 32-bit Pixel: bytes blue, green, red, alpha in memory (0xAARRGGBB).
#pragma once

#include <cstdint>

using Pixel = uint32_t;

// Opaque black, as black loads from a 24-bit picture: the colour key of the
// swapping ducks.
constexpr Pixel kOpaqueBlack = 0xFF000000u;

// p with blue, green and red each scaled by (level & 255) / 256, rounding
// down; alpha kept. Red and blue share one multiply: neither product can
// reach into the other's byte.
constexpr Pixel ScaleColour(Pixel p, int32_t level) {
    uint32_t l = static_cast<uint32_t>(level) & 255u;
    uint32_t redBlue = ((p & 0x00FF00FFu) * l >> 8) & 0x00FF00FFu;
    uint32_t green = ((p & 0x0000FF00u) * l >> 8) & 0x0000FF00u;
    return (p & 0xFF000000u) | redBlue | green;
}

// The 16-bit 5-6-5 word of p: (R >> 3) << 11 | (G >> 2) << 5 | (B >> 3); alpha
// is ignored. The wide form keeps it in the low half of a 32-bit value, so a
// converter packing several Pixels stays in 32-bit lanes.
constexpr uint32_t PackRgb565Wide(Pixel p) { return (p >> 8 & 0xF800u) | (p >> 5 & 0x07E0u) | (p >> 3 & 0x001Fu); }

constexpr uint16_t PackRgb565(Pixel p) { return static_cast<uint16_t>(PackRgb565Wide(p)); }
