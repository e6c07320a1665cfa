#include "tools/common/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "gfx/bitmap.h"

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
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(outWidth), static_cast<png_uint_32>(outHeight), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < outHeight; ++y) png_write_row(png, &rgb[static_cast<size_t>(y) * outWidth * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool WritePng(const std::string& path, const Bitmap& bitmap, bool landscape) {
    return WritePng(path, bitmap.pixels, bitmap.width, bitmap.height, landscape);
}
