#include "formats/png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

// A capture is thousands of frames: zlib's fastest level, and each row as
// its difference from the row above, which costs next to nothing, shrinks
// gradients and doubled rows, and spares zlib the work of matching them.
// Several times faster than the default level with adaptive filtering.
constexpr int kFastCompressionLevel = 1;
constexpr int kFastRowFilters = PNG_FILTER_UP;

struct PngError {
    char message[128];
};

void KeepPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngError*>(png_get_error_ptr(png));
    std::snprintf(error->message, sizeof error->message, "%s", message);
    png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp) {}

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

void NoFlush(png_structp) {}

// The one place libpng is driven. It reports errors by jumping back here;
// nothing with a destructor lives in this frame and nothing read after the
// jump changes after it is set. Exactly one of file and bytes is given.
bool WriteRows(FILE* file, std::vector<uint8_t>* bytes, const PngImage& image, PngCompression compression,
               PngError& error) {
    if (image.width <= 0 || image.height <= 0 || (image.channels != 3 && image.channels != 4)) {
        std::snprintf(error.message, sizeof error.message, "the picture has no pixels");
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, KeepPngError, IgnorePngWarning);
    if (png == nullptr) {
        std::snprintf(error.message, sizeof error.message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    if (info == nullptr) png_error(png, "out of memory");
    if (file != nullptr) {
        png_init_io(png, file);
    } else {
        png_set_write_fn(png, bytes, AppendToBytes, NoFlush);
    }
    if (compression == PngCompression::Fast) {
        png_set_compression_level(png, kFastCompressionLevel);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, kFastRowFilters);
    }
    int colourType = image.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    size_t rowBytes = static_cast<size_t>(image.width) * static_cast<size_t>(image.channels);
    for (int32_t y = 0; y < image.height; ++y) png_write_row(png, image.samples + static_cast<size_t>(y) * rowBytes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePngFile(const std::string& path, const PngImage& image, PngCompression compression) {
    PngError error{};
    errno = 0;
    FILE* file = std::fopen(path.c_str(), "wb");
    bool opened = file != nullptr;
    bool written = opened && WriteRows(file, nullptr, image, compression, error);
    if (opened && std::fclose(file) != 0) written = false;
    if (written) return true;

    // The system's reason when there is one (a full disk, no permission),
    // else libpng's.
    const char* reason = errno != 0 ? std::strerror(errno) : error.message;
    std::fprintf(stderr, "error: could not write the PNG file \"%s\": %s\n", path.c_str(), reason);
    // A file cut short by a full disk is no picture; none is better. Only a
    // regular file: the path may name a device.
    std::error_code ignored;
    if (opened && std::filesystem::is_regular_file(path, ignored)) std::filesystem::remove(path, ignored);
    return false;
}

std::vector<uint8_t> EncodePng(const PngImage& image, PngCompression compression) {
    PngError error{};
    std::vector<uint8_t> bytes;
    if (!WriteRows(nullptr, &bytes, image, compression, error)) return {};
    return bytes;
}

std::vector<uint8_t> PixelSamples(const uint32_t* pixels, int32_t width, int32_t height, int32_t channels,
                                  bool landscape) {
    int32_t outWidth = landscape ? height : width;
    int32_t outHeight = landscape ? width : height;
    std::vector<uint8_t> samples(static_cast<size_t>(outWidth) * static_cast<size_t>(outHeight) *
                                 static_cast<size_t>(channels));
    uint8_t* out = samples.data();
    for (int32_t y = 0; y < outHeight; ++y) {
        for (int32_t x = 0; x < outWidth; ++x, out += channels) {
            // Turned clockwise: the frame's x grows downward in the picture
            // and its y toward the left.
            uint32_t pixel = landscape ? pixels[(outWidth - 1 - x) * width + y] : pixels[y * width + x];
            out[0] = static_cast<uint8_t>(pixel >> 16);
            out[1] = static_cast<uint8_t>(pixel >> 8);
            out[2] = static_cast<uint8_t>(pixel);
            if (channels == 4) out[3] = static_cast<uint8_t>(pixel >> 24);
        }
    }
    return samples;
}

bool WritePixelsPngFile(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
                        bool landscape) {
    std::vector<uint8_t> rgb = PixelSamples(pixels, width, height, 3, landscape);
    PngImage image{rgb.data(), landscape ? height : width, landscape ? width : height, 3};
    return WritePngFile(path, image, PngCompression::Default);
}
