#include "standin/capture/png_folder.h"

#include <png.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace standin {

namespace {

// A capture is thousands of frames: zlib's fastest level, and each row as
// its difference from the row above, which costs next to nothing, shrinks
// gradients and doubled rows, and spares zlib the work of matching them.
// Several times faster than the default level with adaptive filtering.
constexpr int kCompressionLevel = 1;
constexpr int kRowFilters = PNG_FILTER_UP;

struct PngError {
    char message[128];
};

void KeepPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngError*>(png_get_error_ptr(png));
    std::snprintf(error->message, sizeof error->message, "%s", message);
    png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp) {}

// libpng reports errors by jumping back here; nothing with a destructor lives
// in this frame and nothing read after the jump changes after it is set.
bool WriteRows(FILE* file, const uint8_t* rgb, png_uint_32 width, png_uint_32 height, PngError& error) {
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
    png_init_io(png, file);
    png_set_compression_level(png, kCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, kRowFilters);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    size_t rowBytes = static_cast<size_t>(width) * 3;
    for (png_uint_32 y = 0; y < height; ++y) png_write_row(png, rgb + y * rowBytes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePngFile(const std::string& path, const uint8_t* rgb, int32_t width, int32_t height) {
    PngError error{};
    errno = 0;
    FILE* file = std::fopen(path.c_str(), "wb");
    bool opened = file != nullptr;
    bool written = file != nullptr && width > 0 && height > 0 &&
                   WriteRows(file, rgb, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), error);
    if (file != nullptr && std::fclose(file) != 0) written = false;
    if (written) return true;

    // The system's reason when there is one (a full disk, no permission),
    // else libpng's.
    const char* reason = errno != 0              ? std::strerror(errno)
                         : error.message[0] != 0 ? error.message
                                                 : "the picture has no pixels";
    std::fprintf(stderr, "error: could not write the PNG file \"%s\": %s\n", path.c_str(), reason);
    // A file cut short by a full disk is no picture; none is better. Only a
    // regular file: the path may name a device.
    std::error_code ignored;
    if (opened && std::filesystem::is_regular_file(path, ignored)) std::filesystem::remove(path, ignored);
    return false;
}

PngFolderSink::PngFolderSink(std::string folder, bool namedByTime)
    : folder(std::move(folder)), namedByTime(namedByTime) {}

bool PngFolderSink::Write(const uint8_t* rgb, int32_t width, int32_t height, int64_t index, int32_t demoMilliseconds) {
    if (failed) return false;
    if (!folderMade) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "error: could not make the capture folder \"%s\": %s\n", folder.c_str(),
                         error.message().c_str());
            failed = true;
            return false;
        }
        folderMade = true;
    }

    char name[32];
    if (namedByTime) {
        std::snprintf(name, sizeof name, "t%06" PRId32 ".png", demoMilliseconds);
    } else {
        std::snprintf(name, sizeof name, "frame%06" PRId64 ".png", index);
    }
    path.assign(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;

    failed = !WritePngFile(path, rgb, width, height);
    return !failed;
}

bool PngFolderSink::Finish(const char*) { return !failed; }

}  // namespace standin
