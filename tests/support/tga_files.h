// Writes small TGA files for the loader and font tests, well-formed or not.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gfx/pixel.h"

// A file on disk for the length of one test; removed when it goes.
class ScratchFile {
public:
    explicit ScratchFile(std::string newPath) : path(std::move(newPath)) {}
    ~ScratchFile();

    ScratchFile(ScratchFile&& other) noexcept : path(std::move(other.path)) { other.path.clear(); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ScratchFile& operator=(ScratchFile&&) = delete;

    const char* Path() const { return path.c_str(); }

private:
    std::string path;
};

struct TgaContents {
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t depth = 24;
    uint8_t descriptor = 0;
    // Written straight after the header when not empty (768 bytes for an
    // 8-bit file), and marks the file as colour-mapped.
    std::vector<uint8_t> palette = {};
    // The image data as stored: bottom row first.
    std::vector<uint8_t> data = {};
    // Keep only this many bytes of the file, when not negative.
    int64_t cutTo = -1;
};

// A path that no other test case, nor another test process, uses; the file
// does not exist yet.
std::string UniqueTestPath(const char* stem);

void WriteTgaTo(const std::string& path, const TgaContents& contents);

// The file at UniqueTestPath(stem).
ScratchFile WriteTga(const char* stem, const TgaContents& contents);

// 24-bit image data for Pixels listed top row first, as a file stores them:
// bottom row first, blue, green, red.
std::vector<uint8_t> StoreRows24(const std::vector<Pixel>& topDown, int32_t width, int32_t height);
