#include "gfx/bitmap.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

#include "gfx/pixel_rows.h"

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
    const Pixel* from = source.pixels + (clip.top - int64_t{y}) * source.width + (clip.left - int64_t{x});
    Pixel* to = pixels + int64_t{clip.top} * width + clip.left;
    CopyPixelRect(from, source.width, to, width, clip.right - clip.left, clip.bottom - clip.top);
}

void Bitmap::BlitKeyed(const Bitmap& source, int32_t x, int32_t y, Pixel key) {
    if (source.pixels == nullptr) return;
    PixelRect clip = ClipToBitmap(*this, x, y, source.width, source.height);
    if (clip.IsEmpty()) return;
    const Pixel* from = source.pixels + (clip.top - int64_t{y}) * source.width + (clip.left - int64_t{x});
    Pixel* to = pixels + int64_t{clip.top} * width + clip.left;
    CopyPixelRectKeyed(from, source.width, to, width, clip.right - clip.left, clip.bottom - clip.top, key);
}

void Bitmap::ScaleBrightness(int32_t level) {
    if (pixels != nullptr) ScaleColours(pixels, PixelCount(*this), level);
}
