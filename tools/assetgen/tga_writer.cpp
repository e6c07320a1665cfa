#include "tools/assetgen/tga_writer.h"

#include <cstdio>
#include <stdexcept>

namespace {

constexpr size_t kHeaderSize = 18;

void Put16(std::vector<uint8_t>& bytes, size_t offset, int32_t value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

std::vector<uint8_t> Header(int32_t width, int32_t height, uint8_t depth, bool colourMapped) {
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
        throw std::runtime_error("a TGA picture must be 1..65535 pixels on each edge");
    }
    std::vector<uint8_t> header(kHeaderSize, 0);
    header[1] = colourMapped ? 1 : 0;
    header[2] = colourMapped ? 1 : 2;
    if (colourMapped) {
        Put16(header, 5, 256);
        header[7] = 24;
    }
    Put16(header, 12, width);
    Put16(header, 14, height);
    header[16] = depth;
    return header;
}

}  // namespace

void WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error(path + ": cannot write this file");
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    if (std::fclose(file) != 0 || written != bytes.size()) throw std::runtime_error(path + ": write failed");
}

void WriteTga24(const std::string& path, const Picture& picture) {
    std::vector<uint8_t> bytes = Header(picture.width, picture.height, 24, false);
    for (int32_t y = picture.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            const Rgb& pixel = picture.At(x, y);
            bytes.insert(bytes.end(), {pixel.blue, pixel.green, pixel.red});
        }
    }
    WriteBinaryFile(path, bytes);
}

void WriteTga8(const std::string& path, int32_t width, int32_t height, const std::array<Rgb, 256>& palette,
               const std::vector<uint8_t>& indices) {
    if (indices.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        throw std::runtime_error(path + ": the index count does not match the picture's size");
    }
    std::vector<uint8_t> bytes = Header(width, height, 8, true);
    for (const Rgb& entry : palette) bytes.insert(bytes.end(), {entry.blue, entry.green, entry.red});
    for (int32_t y = height - 1; y >= 0; --y) {
        auto row = indices.begin() + static_cast<std::ptrdiff_t>(y) * width;
        bytes.insert(bytes.end(), row, row + width);
    }
    WriteBinaryFile(path, bytes);
}
