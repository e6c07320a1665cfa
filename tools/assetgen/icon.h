// The programs' icon, drawn from a duck frame: square pictures with an alpha
// channel at the sizes a desktop asks for, and a Windows icon file of them.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/pixel_art.h"

// The hicolor theme's sizes, 16 to 256 pixels.
constexpr int32_t kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The sizes the Windows icon holds, the largest last.
constexpr int32_t kWindowsIconSizes[] = {16, 24, 32, 48, 64, 256};

// size x size pixels, 0xAARRGGBB, row after row: the frame's duck (its
// opaque black key left out) centred with a small margin, each pixel the
// average of the part of the duck it covers.
std::vector<uint32_t> DrawIcon(const Picture& frame, int32_t size);

// An .ico file whose entries are the given square PNG files, of the given
// sizes, in that order.
std::vector<uint8_t> IcoFile(const std::vector<std::vector<uint8_t>>& pngs, const std::vector<int32_t>& sizes);
