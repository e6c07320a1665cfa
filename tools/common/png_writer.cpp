#include "tools/common/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "gfx/bitmap.h"

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

void NoFlush(png_structp) {}

// libpng reports errors by jumping back here; nothing that lives across the
// jump is changed after it is set, so nothing can be clobbered. setOutput
// points libpng at a file or at memory.
template <typename SetOutput>
bool WriteRows(SetOutput setOutput, const std::vector<png_byte>& samples, png_uint_32 width, png_uint_32 height,
               int colourType, size_t channels) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    setOutput(png);
    png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (png_uint_32 y = 0; y < height; ++y) png_write_row(png, &samples[static_cast<size_t>(y) * width * channels]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height, bool landscape) {
    int32_t outWidth = landscape ? height : width;
    int32_t outHeight = landscape ? width : height;
    std::vector<png_byte> rgb(static_cast<size_t>(outWidth) * outHeight * 3);
    for (int32_t y = 0; y < outHeight; ++y) {
        for (int32_t x = 0; x < outWidth; ++x) {
            // Turned clockwise: the frame's x grows downward in the picture
            // and its y toward the left.
            uint32_t pixel = landscape ? pixels[(outWidth - 1 - x) * width + y] : pixels[y * width + x];
            png_byte* out = &rgb[(static_cast<size_t>(y) * outWidth + x) * 3];
            out[0] = static_cast<png_byte>(pixel >> 16);
            out[1] = static_cast<png_byte>(pixel >> 8);
            out[2] = static_cast<png_byte>(pixel);
        }
    }

    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool written =
        WriteRows([file](png_structp png) { png_init_io(png, file); }, rgb, static_cast<png_uint_32>(outWidth),
                  static_cast<png_uint_32>(outHeight), PNG_COLOR_TYPE_RGB, 3);
    return std::fclose(file) == 0 && written;
}

bool WritePng(const std::string& path, const Bitmap& bitmap, bool landscape) {
    return WritePng(path, bitmap.pixels, bitmap.width, bitmap.height, landscape);
}

std::vector<uint8_t> EncodePngWithAlpha(const uint32_t* pixels, int32_t width, int32_t height) {
    std::vector<png_byte> rgba(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        rgba[i * 4] = static_cast<png_byte>(pixels[i] >> 16);
        rgba[i * 4 + 1] = static_cast<png_byte>(pixels[i] >> 8);
        rgba[i * 4 + 2] = static_cast<png_byte>(pixels[i]);
        rgba[i * 4 + 3] = static_cast<png_byte>(pixels[i] >> 24);
    }
    std::vector<uint8_t> bytes;
    auto toMemory = [&bytes](png_structp png) { png_set_write_fn(png, &bytes, AppendToBytes, NoFlush); };
    if (!WriteRows(toMemory, rgba, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                   PNG_COLOR_TYPE_RGB_ALPHA, 4))
        return {};
    return bytes;
}
