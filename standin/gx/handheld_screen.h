// What the handheld display library shows, for tests and captures: beyond
// the library's own calls.
#pragma once

#include <stdint.h>

namespace standin {

// The frame buffer's words in screen order, row by row, as many as the
// handheld's width times its height.
const uint16_t* HandheldScreen();

}  // namespace standin
