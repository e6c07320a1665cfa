// The nineteen duck frames: one art file per frame under assets/ducks/, named
// after the frame's data file, all drawn with the shared duck palette.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/pixel_art.h"

// Upright, as the file stores them; the program turns them at load.
constexpr int32_t kDuckWidth = 32;
constexpr int32_t kDuckHeight = 48;

// "sad_sing" for the frame whose data file is "data\duckie_sad_sing.tga".
std::string DuckFrameName(int32_t index);

// The data file's own name, "duckie_sad_sing.tga".
std::string DuckFrameFileName(int32_t index);

// All frames, by SpriteSet index, from assetsDir/ducks/.
std::vector<Picture> ReadDuckFrames(const std::string& assetsDir);

void WriteDuckFrames(const std::string& dataDir, const std::vector<Picture>& frames);
