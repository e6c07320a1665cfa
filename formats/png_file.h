// PNG files through libpng, for everything that saves a picture: capture's
// frames, F12, the data generator's sheets and icons, and the tests' views.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 8-bit samples, rows top to bottom with no padding: 3 channels for R, G, B,
// 4 for R, G, B, A.
struct PngImage {
    const uint8_t* samples;
    int32_t width;
    int32_t height;
    int32_t channels;
};

enum class PngCompression {
    Default,  // libpng's own choice: the smallest files, for pictures written once
    Fast,     // for captures of thousands of frames
};

// False, after saying on stderr which file and why, when the file cannot be
// written; a file cut short (a full disk) is removed rather than left.
bool WritePngFile(const std::string& path, const PngImage& image, PngCompression compression);

// The file's bytes in memory; none when libpng fails.
std::vector<uint8_t> EncodePng(const PngImage& image, PngCompression compression);

// Pixels of 0xAARRGGBB as samples of 3 channels (alpha dropped: the engine
// never blends by it) or 4 (icons keep it). With landscape set the picture
// is turned a quarter-turn clockwise, as the handheld's presented frame is
// seen.
std::vector<uint8_t> PixelSamples(const uint32_t* pixels, int32_t width, int32_t height, int32_t channels,
                                  bool landscape);

// PixelSamples of 3 channels as a file.
bool WritePixelsPngFile(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height, bool landscape);
