// The 5-6-5 conversion, whole groups of eight Pixels with no branch per Pixel.
#include "platform/pocketpc/convert.h"

#include <bit>
#include <cstring>

#include "gfx/pixel_rows.h"

namespace {

constexpr uint32_t kGroupSize = 8;

void StorePixel(uint8_t* destination, Pixel p) {
    uint16_t value = PackRgb565(p);
    std::memcpy(destination, &value, sizeof(value));
}

}  // namespace

void ConvertTo565(const Pixel* pixels, uint16_t* frameBuffer, uint32_t pixelCount) {
    if (pixels == nullptr || frameBuffer == nullptr) return;
    if (pixelCount > kBackBufferPixels) pixelCount = kBackBufferPixels;
    PackRow565(pixels, reinterpret_cast<uint8_t*>(frameBuffer), pixelCount / kGroupSize * kGroupSize,
               std::endian::native);
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
