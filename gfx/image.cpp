#include "gfx/image.h"

#include <cstddef>

void Image::QuarterTurn() {
    int32_t oldWidth = width;
    int32_t oldHeight = height;
    Pixel* turned = nullptr;
    if (pixels != nullptr) {
        turned = new Pixel[static_cast<size_t>(oldWidth) * static_cast<size_t>(oldHeight)];
        for (int32_t y = 0; y < oldHeight; ++y) {
            const Pixel* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(oldWidth);
            for (int32_t x = 0; x < oldWidth; ++x) {
                turned[static_cast<size_t>(oldWidth - 1 - x) * static_cast<size_t>(oldHeight) + y] = row[x];
            }
        }
    }
    delete[] pixels;
    pixels = turned;
    width = oldHeight;
    height = oldWidth;
}
