// The handheld picture: BackBuffer Pixels as 16-bit 5-6-5 frame-buffer pixels.
#pragma once

#include <cstdint>

#include "gfx/bitmap.h"
#include "gfx/pixel.h"

constexpr uint32_t kBackBufferPixels = kBackBufferWidth * kBackBufferHeight;

// Converts the first pixelCount Pixels, in memory order, into as many
// consecutive frame-buffer words, eight at a time: the Pixels after the last
// whole group of eight are not written. pixelCount is cut to the BackBuffer's
// 76,800 Pixels. A null source or frame buffer writes nothing.
void ConvertTo565(const Pixel* pixels, uint16_t* frameBuffer, uint32_t pixelCount);

// For a frame buffer of any layout: BackBuffer Pixel (x, y) for x < width and
// y < height goes to the 16-bit word at frameBuffer + x * xPitch + y * yPitch
// (byte offsets, either may be negative; the caller places frameBuffer so that
// every such word lies on the screen). width and height are cut to the
// BackBuffer's 240 x 320. A null source or frame buffer writes nothing.
void ConvertTo565Pitched(const Pixel* pixels, int32_t width, int32_t height, uint8_t* frameBuffer, int32_t xPitch,
                         int32_t yPitch);
