#include "standin/host/frame_image.h"

#include <cstddef>

namespace standin {

namespace {

constexpr uint8_t Widen5(uint32_t value) { return static_cast<uint8_t>((value << 3) | (value >> 2)); }
constexpr uint8_t Widen6(uint32_t value) { return static_cast<uint8_t>((value << 2) | (value >> 4)); }

// Pixels are read byte by byte: the formats are little-endian in memory
// whatever the machine is, and a pitch need not keep words aligned.
template <int32_t kBytesPerPixel, typename PixelToRgb>
void ConvertRows(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height, uint8_t* rgb,
                 PixelToRgb pixelToRgb) {
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* source = pixels + static_cast<ptrdiff_t>(y) * pitch;
        for (int32_t x = 0; x < width; ++x, source += kBytesPerPixel, rgb += 3) pixelToRgb(source, rgb);
    }
}

}  // namespace

void ConvertToRgb(const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width, int32_t height,
                  uint8_t* rgb) {
    const auto* bytes = static_cast<const uint8_t*>(pixels);
    switch (format) {
        case HostPixelFormat::Argb8888:
        case HostPixelFormat::Bgr24: {
            // 0xAARRGGBB as a little-endian word lies B, G, R, A in memory,
            // the same order as the 24-bit surface without its alpha.
            auto bgrToRgb = [](const uint8_t* source, uint8_t* out) {
                out[0] = source[2];
                out[1] = source[1];
                out[2] = source[0];
            };
            if (format == HostPixelFormat::Argb8888) {
                ConvertRows<4>(bytes, pitch, width, height, rgb, bgrToRgb);
            } else {
                ConvertRows<3>(bytes, pitch, width, height, rgb, bgrToRgb);
            }
            break;
        }
        case HostPixelFormat::Rgb565:
            ConvertRows<2>(bytes, pitch, width, height, rgb, [](const uint8_t* source, uint8_t* out) {
                uint32_t word = source[0] | (uint32_t{source[1]} << 8);
                out[0] = Widen5(word >> 11);
                out[1] = Widen6((word >> 5) & 0x3F);
                out[2] = Widen5(word & 0x1F);
            });
            break;
        case HostPixelFormat::Rgb555:
            ConvertRows<2>(bytes, pitch, width, height, rgb, [](const uint8_t* source, uint8_t* out) {
                uint32_t word = source[0] | (uint32_t{source[1]} << 8);
                out[0] = Widen5((word >> 10) & 0x1F);
                out[1] = Widen5((word >> 5) & 0x1F);
                out[2] = Widen5(word & 0x1F);
            });
            break;
    }
}

}  // namespace standin
