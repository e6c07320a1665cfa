// Pictures for tests that must not depend on the shipped art: solid duck
// frames whose colour tells which frame was drawn, and a font of solid cells.
#pragma once

#include <cstdint>

#include "gfx/bitmap.h"
#include "gfx/font.h"

// The size of a duck frame after its quarter-turn.
constexpr int32_t kTurnedDuckWidth = 48;
constexpr int32_t kTurnedDuckHeight = 32;

void FillSolid(Bitmap& bitmap, int32_t width, int32_t height, Pixel colour);

// Opaque, with red (index + 1) * 10, so a scaled copy still tells its frame.
constexpr Pixel SyntheticFrameColour(int32_t index) {
    return 0xFF000000u | static_cast<uint32_t>((index + 1) * 10) << 16 | 0x8040u;
}

// Frame index of an unscaled SyntheticFrameColour, or -1.
int32_t SyntheticFrameIndex(Pixel pixel);

// Every frame of frames[] a solid 48 x 32 block of its colour.
void MakeSyntheticFrames(Bitmap* frames, int32_t count);

// 8-pixel cells, the program's charset, every glyph solid white.
void MakeSyntheticFont(Font& font);
