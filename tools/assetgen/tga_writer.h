// Uncompressed TGA files in the form the program's loader reads: no image ID,
// bottom row first, descriptor byte 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/pixel_art.h"

// 24 bits per pixel. Throws std::runtime_error when the file cannot be written.
void WriteTga24(const std::string& path, const Picture& picture);

// 8 bits per pixel with a colour map of exactly 256 entries of 24 bits, so the
// image data starts at byte 786. indices are row after row, top row first.
void WriteTga8(const std::string& path, int32_t width, int32_t height, const std::array<Rgb, 256>& palette,
               const std::vector<uint8_t>& indices);

// Writes bytes to a file, creating nothing but the file itself.
void WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);
