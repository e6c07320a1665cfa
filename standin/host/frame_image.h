// A presented picture, in whichever pixel format the host shows, turned into
// the 8-bit RGB rows the capture sinks take.
#pragma once

#include <cstdint>

#include "standin/host/sdl_host.h"

namespace standin {

// Writes width * height * 3 bytes of R, G, B to rgb, rows top to bottom.
// pitch is the bytes from one row's start to the next. 5- and 6-bit channels
// are widened by repeating their top bits, so full scale stays 255; alpha and
// the 5-5-5 format's spare bit are ignored.
void ConvertToRgb(const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width, int32_t height,
                  uint8_t* rgb);

}  // namespace standin
