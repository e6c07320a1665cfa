// Bitmaps loaded from TGA files: the duck frames and the font sheet.
#pragma once

#include "gfx/bitmap.h"

class Image : public Bitmap {
public:
    // Fills the Image from an uncompressed TGA file of 8 (paletted), 24 or 32
    // bits with a zero descriptor byte. A file that cannot be opened, whose
    // header does not match its size, or whose picture has more Pixels than
    // 4096 x 4096 leaves the Image as it was; any other depth gives the
    // header's size with every Pixel zero. Either way a warning on stderr
    // names the file and why.
    void LoadTga(const char* path);

    // Turns the picture a quarter-turn anticlockwise: old (x, y) lands at new
    // (y, oldWidth - 1 - x); width and height swap.
    void QuarterTurn();
};
