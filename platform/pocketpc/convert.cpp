// The 5-6-5 conversion, whole groups of eight Pixels with no branch per Pixel.
#include "platform/pocketpc/convert.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr uint32_t kGroupSize = 8;

constexpr uint32_t kChunkPixels = 512;

// Two Pixels to a 32-bit word, in the frame buffer's own byte order: the
// packing stays in 32-bit lanes instead of narrowing each term to sixteen
// bits, and goes through a buffer nothing else can point into.
void ConvertChunk(const Pixel* source, uint16_t* destination, uint32_t count) {
    constexpr uint32_t kFirstShift = std::endian::native == std::endian::little ? 0 : 16;
    uint32_t pairs[kChunkPixels / 2];
    for (uint32_t i = 0; i < count / 2; ++i) {
        pairs[i] = PackRgb565Wide(source[2 * i]) << kFirstShift | PackRgb565Wide(source[2 * i + 1])
                                                                      << (16 - kFirstShift);
    }
    std::memcpy(destination, pairs, count * sizeof(uint16_t));
}

void StorePixel(uint8_t* destination, Pixel p) {
    uint16_t value = PackRgb565(p);
    std::memcpy(destination, &value, sizeof(value));
}

}  // namespace

void ConvertTo565(const Pixel* pixels, uint16_t* frameBuffer, uint32_t pixelCount) {
    if (pixels == nullptr || frameBuffer == nullptr) return;
    if (pixelCount > kBackBufferPixels) pixelCount = kBackBufferPixels;
    uint32_t whole = pixelCount / kGroupSize * kGroupSize;
    for (uint32_t done = 0; done < whole; done += kChunkPixels) {
        ConvertChunk(pixels + done, frameBuffer + done, std::min(kChunkPixels, whole - done));
    }
}

void ConvertTo565Pitched(const Pixel* pixels, int32_t width, int32_t height, uint8_t* frameBuffer, int32_t xPitch,
                         int32_t yPitch) {
    if (pixels == nullptr || frameBuffer == nullptr || width <= 0 || height <= 0) return;
    if (width > kBackBufferWidth) width = kBackBufferWidth;
    if (height > kBackBufferHeight) height = kBackBufferHeight;
    for (int32_t y = 0; y < height; ++y) {
        const Pixel* source = pixels + y * kBackBufferWidth;
        uint8_t* destination = frameBuffer + static_cast<intptr_t>(y) * yPitch;
        for (int32_t x = 0; x < width; ++x) StorePixel(destination + static_cast<intptr_t>(x) * xPitch, source[x]);
    }
}
