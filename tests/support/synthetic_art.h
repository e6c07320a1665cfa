// Pictures for tests that must not depend on the shipped art, and the reading
// of a drawn picture back into "which frame is where, which text is shown".
// Solid frames tell by their colour which frame was drawn, even scaled; tagged
// frames tell in every Pixel their frame and the Pixel's own column and row,
// so a moving or half-covered duck still tells where it was placed.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>

#include "gfx/bitmap.h"
#include "gfx/font.h"

// The size of a duck frame after its quarter-turn.
constexpr int32_t kTurnedDuckWidth = 48;
constexpr int32_t kTurnedDuckHeight = 32;

// The synthetic fonts' glyph cells are this many pixels square.
constexpr int32_t kGlyphCell = 8;

void FillSolid(Bitmap& bitmap, int32_t width, int32_t height, Pixel colour);

// The Pixel at (x, y), or 0xDEADBEEF outside the picture.
Pixel PixelAt(const Bitmap& picture, int32_t x, int32_t y);

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

// A tagged Pixel: opaque, the tag in the second byte, then column and row.
// Tags are the caller's, from 1 up to but not including kGlyphTag.
constexpr uint32_t kGlyphTag = 0x40;
uint32_t TagOf(Pixel pixel);

// A 48 x 32 frame of tagged Pixels; a keyed one has an 8 x 8 block of opaque
// black in the middle, which keyed blits skip.
void MakeTaggedFrame(Bitmap& frame, uint32_t tag, bool keyed);

// The program's charset in 8-pixel cells, each cell one colour naming its glyph.
void MakeTaggedFont(Font& font);

// The tagged text drawn in `cells` glyph cells from (x, y) on: ' ' for an
// untouched cell, '#' for anything that is not one whole glyph.
std::string TextAt(const Bitmap& picture, int32_t x, int32_t y, size_t cells);

testing::AssertionResult ShowsText(const Bitmap& picture, int32_t x, int32_t y, const std::string& expected);

// All glyph cells drawn anywhere, so that stray or missing text shows.
int32_t GlyphCellCount(const Bitmap& picture);

// The tag of the first of frames drawn whole at (x, y), glyph cells on top
// allowed; 0 if none is.
uint32_t TaggedFrameAt(const Bitmap& picture, int32_t x, int32_t y, std::initializer_list<const Bitmap*> frames);

// Where each visible copy of the tagged frame was placed.
using Origin = std::pair<int32_t, int32_t>;
std::set<Origin> Placements(const Bitmap& picture, uint32_t tag);
