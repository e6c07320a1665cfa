// A TGA file as the program uses one: loaded, turned, and drawn into the frame
// at the position its header's origin names. Each step is held against the
// plain reading of what it should give, so a wrong Pixel fails as a crash does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_frame.h"
#include "fuzz/fuzz_input_file.h"
#include "gfx/bitmap.h"
#include "gfx/image.h"
#include "gfx/pixel.h"

namespace {

// The Pixel the file gives (x, y), row 0 at the top; 0 for depths not decoded.
Pixel FilePixel(const uint8_t* data, int32_t width, int32_t height, int32_t x, int32_t y) {
    size_t stored = static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    const uint8_t* p = nullptr;
    switch (data[16] | data[17] << 8) {
        case 8:
            p = data + 18 + 3 * size_t{data[786 + stored]};
            return Pixel{p[0]} | Pixel{p[1]} << 8 | Pixel{p[2]} << 16;
        case 24:
            p = data + 18 + 3 * stored;
            return Pixel{p[0]} | Pixel{p[1]} << 8 | Pixel{p[2]} << 16 | kOpaqueBlack;
        case 32:
            p = data + 18 + 4 * stored;
            return Pixel{p[0]} | Pixel{p[1]} << 8 | Pixel{p[2]} << 16 | Pixel{p[3]} << 24;
        default:
            return 0;
    }
}

// Every frame Pixel in and around where the picture lands is the picture's
// Pixel over it, unless keyed out, or the background; the rest of the frame
// is left to the address checks. Puts the background back afterwards.
void CheckBlit(Bitmap& frame, const Bitmap& picture, int32_t x, int32_t y, bool keyed) {
    int64_t left = std::max<int64_t>(int64_t{x} - 1, 0);
    int64_t top = std::max<int64_t>(int64_t{y} - 1, 0);
    int64_t right = std::min<int64_t>(int64_t{x} + picture.width + 1, frame.width);
    int64_t bottom = std::min<int64_t>(int64_t{y} + picture.height + 1, frame.height);
    for (int64_t row = top; row < bottom; ++row) {
        for (int64_t column = left; column < right; ++column) {
            int64_t pictureX = column - x;
            int64_t pictureY = row - y;
            Pixel expected = kBackground;
            if (pictureX >= 0 && pictureX < picture.width && pictureY >= 0 && pictureY < picture.height) {
                Pixel p = picture.pixels[pictureY * picture.width + pictureX];
                if (!keyed || p != kOpaqueBlack) expected = p;
            }
            CheckPixel(frame.pixels[row * frame.width + column], expected);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile file("tga");
    Bitmap& frame = BackgroundFrame();

    Image image;
    image.LoadTga(file.Write(data, size));
    int32_t width = image.width;
    int32_t height = image.height;
    // A picture costs no more than its file can fill, at least a byte a Pixel.
    Check(int64_t{width} * height <= static_cast<int64_t>(size));
    Check((image.pixels != nullptr) == (width > 0 && height > 0));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) Check(image.pixels[y * width + x] == FilePixel(data, width, height, x, y));

    std::vector<Pixel> loaded(image.pixels, image.pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
    image.QuarterTurn();
    Check(image.width == height && image.height == width);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            Check(image.pixels[(width - 1 - x) * height + y] == loaded[static_cast<size_t>(y * width + x)]);

    int32_t x = OriginWord(data, size, 8);
    int32_t y = OriginWord(data, size, 10);
    frame.Blit(image, x, y);
    CheckBlit(frame, image, x, y, false);
    frame.BlitKeyed(image, x, y, kOpaqueBlack);
    CheckBlit(frame, image, x, y, true);

    std::vector<Pixel> turned(image.pixels, image.pixels + loaded.size());
    image.ScaleBrightness(x);
    for (size_t i = 0; i < turned.size(); ++i) Check(image.pixels[i] == ScaleColour(turned[i], x));
    return 0;
}
