// Writes 32-bit Pixels to a PNG file through libpng, so a person can look at
// what a test drew or what the data generator made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Bitmap;

// Pixels are 0xAARRGGBB; alpha is dropped (the engine never blends by it).
// With landscape set the picture is turned a quarter-turn clockwise, as the
// presented frame is seen. Returns false when the file cannot be written.
bool WritePng(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height, bool landscape);

bool WritePng(const std::string& path, const Bitmap& bitmap, bool landscape);

// A PNG file's bytes that keep the alpha of 0xAARRGGBB pixels (icons); none
// when libpng fails.
std::vector<uint8_t> EncodePngWithAlpha(const uint32_t* pixels, int32_t width, int32_t height);
