#include "gfx/bitmap.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

namespace {

size_t PixelCount(const Bitmap& bitmap) {
    return static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height);
}

}  // namespace

PixelRect ClipToBitmap(const Bitmap& target, int64_t x, int64_t y, int32_t rectWidth, int32_t rectHeight) {
    if (target.pixels == nullptr || rectWidth <= 0 || rectHeight <= 0) return {};
    int64_t left = std::max<int64_t>(x, 0);
    int64_t top = std::max<int64_t>(y, 0);
    int64_t right = std::min<int64_t>(x + rectWidth, target.width);
    int64_t bottom = std::min<int64_t>(y + rectHeight, target.height);
    if (left >= right || top >= bottom) return {};
    return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
            static_cast<int32_t>(bottom)};
}

void Bitmap::Create(int32_t newWidth, int32_t newHeight) {
    Release();
    width = std::max(newWidth, 0);
    height = std::max(newHeight, 0);
    if (width > 0 && height > 0) pixels = new Pixel[PixelCount(*this)];
}

void Bitmap::Clear() {
    if (pixels != nullptr) std::memset(pixels, 0, PixelCount(*this) * sizeof(Pixel));
}

void Bitmap::Release() {
    delete[] pixels;
    pixels = nullptr;
    width = 0;
    height = 0;
}

void Bitmap::Blit(const Bitmap& source, int32_t x, int32_t y) {
    if (source.pixels == nullptr) return;
    PixelRect clip = ClipToBitmap(*this, x, y, source.width, source.height);
    if (clip.IsEmpty()) return;

    size_t rowBytes = static_cast<size_t>(clip.right - clip.left) * sizeof(Pixel);
    const Pixel* from = source.pixels + (clip.top - int64_t{y}) * source.width + (clip.left - int64_t{x});
    Pixel* to = pixels + int64_t{clip.top} * width + clip.left;
    for (int32_t row = clip.top; row < clip.bottom; ++row) {
        std::memcpy(to, from, rowBytes);
        from += source.width;
        to += width;
    }
}

void Bitmap::BlitKeyed(const Bitmap& source, int32_t x, int32_t y, Pixel key) {
    if (source.pixels == nullptr) return;
    PixelRect clip = ClipToBitmap(*this, x, y, source.width, source.height);
    if (clip.IsEmpty()) return;

    int32_t columns = clip.right - clip.left;
    const Pixel* from = source.pixels + (clip.top - int64_t{y}) * source.width + (clip.left - int64_t{x});
    Pixel* to = pixels + int64_t{clip.top} * width + clip.left;
    for (int32_t row = clip.top; row < clip.bottom; ++row) {
        // Every destination Pixel is written, the keyed ones with themselves:
        // a select without a branch, which the compiler vectorises.
        for (int32_t column = 0; column < columns; ++column)
            to[column] = from[column] != key ? from[column] : to[column];
        from += source.width;
        to += width;
    }
}

// ScaleColour on the 16-bit halves of the Pixels, copied through a buffer of
// halves: (channel * level) >> 8 fits sixteen bits, so the vectoriser
// multiplies eight halves at once. The alpha half's high byte is multiplied
// by 256, which keeps it.
void Bitmap::ScaleBrightness(int32_t level) {
    constexpr size_t kChunkPixels = 512;
    constexpr size_t kAlphaHalf = std::endian::native == std::endian::little ? 1 : 0;
    uint16_t factor = static_cast<uint16_t>(static_cast<uint32_t>(level) & 255u);
    uint16_t highFactors[2 * kChunkPixels];
    for (size_t i = 0; i < 2 * kChunkPixels; ++i) highFactors[i] = (i & 1) == kAlphaHalf ? 256 : factor;
    uint16_t halves[2 * kChunkPixels];
    size_t count = PixelCount(*this);
    for (size_t done = 0; done < count; done += kChunkPixels) {
        size_t chunk = std::min(kChunkPixels, count - done);
        std::memcpy(halves, pixels + done, chunk * sizeof(Pixel));
        for (size_t i = 0; i < 2 * chunk; ++i) {
            uint16_t half = halves[i];
            halves[i] =
                static_cast<uint16_t>(((half & 0xFFu) * factor >> 8) | ((half >> 8) * highFactors[i] & 0xFF00u));
        }
        std::memcpy(pixels + done, halves, chunk * sizeof(Pixel));
    }
}
