#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/regular_file.h"
#include "gfx/image.h"

namespace {

constexpr long kHeaderSize = 18;
constexpr long kPaletteSize = 768;
constexpr long kPalettedDataOffset = kHeaderSize + kPaletteSize;
// Thousands of times the largest picture the program draws, and small enough
// that a load and its turn never hold more than about 200 MB.
constexpr int64_t kLargestArea = int64_t{4096} * 4096;

// The three header fields the loader uses.
struct TgaHeader {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t depthWord = 0;
};

// Reads count bytes at offset; whatever the file cannot supply reads as zero.
void ReadAt(FILE* file, long offset, uint8_t* buffer, size_t count) {
    size_t got = 0;
    if (std::fseek(file, offset, SEEK_SET) == 0) got = std::fread(buffer, 1, count, file);
    if (got < count) std::memset(buffer + got, 0, count - got);
}

uint16_t ReadWordAt(FILE* file, long offset) {
    uint8_t bytes[2];
    ReadAt(file, offset, bytes, sizeof bytes);
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

int64_t FileSize(FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    return std::ftell(file);
}

// A picture that cannot be used leaves its part of the screen black, so say
// why where a person starting the program will see it; a file loaded again
// and again (by a test or a fuzzer) says it once.
void Warn(const char* path, const char* reason) {
    static std::string lastPath;
    if (lastPath == path) return;
    lastPath = path;
    std::fprintf(stderr, "warning: cannot read the picture \"%s\" (%s); it is drawn blank\n", path, reason);
}

// The data files sit beside the program where anyone can replace them, so a
// header whose data the file does not hold is refused rather than trusted.
bool ReadHeader(FILE* file, const char* path, TgaHeader& header) {
    int64_t fileSize = FileSize(file);
    if (fileSize < kHeaderSize) {
        Warn(path, "shorter than its header");
        return false;
    }

    uint16_t width = ReadWordAt(file, 12);
    uint16_t height = ReadWordAt(file, 14);
    uint16_t depthWord = ReadWordAt(file, 16);
    int64_t area = int64_t{width} * height;
    if (area > kLargestArea) {
        Warn(path, "more than 4096 x 4096 Pixels");
        return false;
    }

    // Depths that are not decoded still get a blank picture, so they too must
    // come with at least a byte per pixel.
    int32_t depthByte = depthWord & 0xFF;
    int64_t bytesPerPixel = std::max((depthByte + 7) / 8, 1);
    int64_t needed = depthByte == 8 ? kPalettedDataOffset + area : kHeaderSize + area * bytesPerPixel;
    if (fileSize < needed) {
        Warn(path, "shorter than its Pixels");
        return false;
    }

    header.width = width;
    header.height = height;
    header.depthWord = depthWord;
    return true;
}

void DecodePaletted(FILE* file, Pixel* pixels, int32_t width, int32_t height) {
    size_t area = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> palette(kPaletteSize);
    std::vector<uint8_t> indices(area);
    ReadAt(file, kHeaderSize, palette.data(), palette.size());
    ReadAt(file, kPalettedDataOffset, indices.data(), indices.size());

    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = indices.data() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width);
        Pixel* to = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* entry = palette.data() + 3 * from[x];
            to[x] = Pixel{entry[0]} | Pixel{entry[1]} << 8 | Pixel{entry[2]} << 16;
        }
    }
}

// bytesPerPixel 3 gives opaque Pixels; 4 takes the stored alpha.
void DecodeTrueColour(FILE* file, Pixel* pixels, int32_t width, int32_t height, size_t bytesPerPixel) {
    size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
    std::vector<uint8_t> data(rowBytes * static_cast<size_t>(height));
    ReadAt(file, kHeaderSize, data.data(), data.size());

    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = data.data() + static_cast<size_t>(height - 1 - y) * rowBytes;
        Pixel* to = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x, from += bytesPerPixel) {
            Pixel alpha = bytesPerPixel == 4 ? Pixel{from[3]} << 24 : 0xFF000000u;
            to[x] = Pixel{from[0]} | Pixel{from[1]} << 8 | Pixel{from[2]} << 16 | alpha;
        }
    }
}

}  // namespace

void Image::LoadTga(const char* path) {
    FILE* file = OpenRegularFile(path, "rb");
    if (file == nullptr) {
        if (path != nullptr) Warn(path, errno == EINVAL ? "not a regular file" : std::strerror(errno));
        return;
    }

    TgaHeader header;
    if (!ReadHeader(file, path, header)) {
        std::fclose(file);
        return;
    }

    Release();
    width = header.width;
    height = header.height;
    if (width > 0 && height > 0) {
        pixels = new Pixel[static_cast<size_t>(width) * static_cast<size_t>(height)];
        switch (header.depthWord) {
            case 8:
                DecodePaletted(file, pixels, width, height);
                break;
            case 24:
                DecodeTrueColour(file, pixels, width, height, 3);
                break;
            case 32:
                DecodeTrueColour(file, pixels, width, height, 4);
                break;
            // Pictures this loader cannot read still take their place in the
            // layout, blank rather than filled with leftover memory.
            default: {
                char reason[64];
                std::snprintf(reason, sizeof reason, "its depth, %u, is not one this program reads",
                              unsigned{header.depthWord});
                Warn(path, reason);
                Clear();
                break;
            }
        }
    }
    std::fclose(file);
}
