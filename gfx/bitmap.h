// Plain 32-bit pixel buffers and the operations everything is drawn with.
#pragma once

#include <cstdint>

#include "gfx/pixel.h"

// width x height Pixels, row after row, row 0 at the top: Pixel (x, y) is
// pixels[y * width + x]. Owns its pixels; never copied.
class Bitmap {
public:
    Bitmap() = default;
    ~Bitmap() { Release(); }

    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // Allocates width x height Pixels, contents not set. Releases any buffer
    // the Bitmap already had. A negative size counts as 0, and a 0-sized
    // Bitmap has no buffer.
    void Create(int32_t newWidth, int32_t newHeight);

    // Every byte of the buffer becomes zero.
    void Clear();

    // Frees the buffer and leaves the Bitmap empty (0 x 0).
    void Release();

    // Opaque copy of the whole source with its top-left Pixel at (x, y).
    // Whatever would fall outside this Bitmap is left out.
    void Blit(const Bitmap& source, int32_t x, int32_t y);

    // As Blit, but source Pixels equal to key in all 32 bits are skipped.
    void BlitKeyed(const Bitmap& source, int32_t x, int32_t y, Pixel key);

    // Scales blue, green and red by (level & 255) / 256, rounding down;
    // alpha is kept. 255 is not the identity.
    void ScaleBrightness(int32_t level);

    Pixel* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

// A rectangle of Pixels, right and bottom exclusive.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool IsEmpty() const { return left >= right || top >= bottom; }
};

// The part of a rectWidth x rectHeight rectangle placed at (x, y) that lies
// inside target, in target's coordinates; empty if target has no pixels.
// Positions are 64-bit so that callers stepping far off the edge cannot wrap.
PixelRect ClipToBitmap(const Bitmap& target, int64_t x, int64_t y, int32_t rectWidth, int32_t rectHeight);

// The frame every pass draws into: 240 wide, 320 high, viewed a quarter-turn
// rotated.
extern Bitmap backBuffer;

constexpr int32_t kBackBufferWidth = 240;
constexpr int32_t kBackBufferHeight = 320;
