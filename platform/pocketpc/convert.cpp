// The 5-6-5 conversion, eight Pixels per step with no branch inside a group.
#include "platform/pocketpc/convert.h"

#include <cstring>

namespace {

constexpr uint32_t kGroupSize = 8;

void ConvertGroup(const Pixel* source, uint16_t* destination) {
    for (uint32_t i = 0; i < kGroupSize; ++i) destination[i] = PackRgb565(source[i]);
}

void StorePixel(uint8_t* destination, Pixel p) {
    uint16_t value = PackRgb565(p);
    std::memcpy(destination, &value, sizeof(value));
}

}  // namespace

void ConvertTo565(const Pixel* pixels, uint16_t* frameBuffer, uint32_t pixelCount) {
    if (pixels == nullptr || frameBuffer == nullptr) return;
    if (pixelCount > kBackBufferPixels) pixelCount = kBackBufferPixels;
    for (uint32_t groups = pixelCount / kGroupSize; groups > 0; --groups) {
        ConvertGroup(pixels, frameBuffer);
        pixels += kGroupSize;
        frameBuffer += kGroupSize;
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
