// What the stand-ins pretend the machine has. Tests set it to meet a 5-5-5
// card or a failing step; a person can set it through DUCKDEMO_HARDWARE, e.g.
// "depths=16;redmask=0x7c00;windowbpp=16;fail=CreateSurface".
#pragma once

#include <stdint.h>

#include <string>

namespace standin {

struct Hardware {
    bool accepts32 = true;  // full-screen depths SetDisplayMode accepts
    bool accepts24 = true;
    bool accepts16 = true;
    uint32_t redMask16 = 0xF800;  // 5-6-5; 0x7C00 is a 5-5-5 card
    int32_t windowBitsPerPixel = 32;
    std::string failingStep;  // the name of one call that fails, e.g. "SetClipper"
    int32_t screenWidth = 0;  // 0: the real screen's
    int32_t screenHeight = 0;
};

Hardware& TheHardware();

// Reads DUCKDEMO_HARDWARE once, if set. Returns false with a message on
// stderr for a setting it does not understand.
bool LoadHardwareFromEnvironment();

// Whether the named call should fail on this hardware.
bool StepFails(const char* step);

}  // namespace standin
