// What the stand-ins pretend the machine has. Tests set it to meet a 5-5-5
// card or a failing step; a person can set it through DUCKDEMO_HARDWARE, e.g.
// "depths=16;redmask=0x7c00;windowbpp=16;fail=CreateSurface", or for the
// handheld "handheld=320x240;xpitch=-480;ypitch=2".
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
    int32_t windowScale = 1;  // new windows are shown this many times larger; see kLargestWindowScale

    // The handheld's frame buffer, as its display library describes it.
    int32_t handheldWidth = 240;
    int32_t handheldHeight = 320;
    int32_t handheldXPitch = 2;
    int32_t handheldYPitch = 480;
    int32_t handheldBitsPerPixel = 16;
};

// A window scale: the pretended screen as many times larger as whole factors
// allow on the PC's, leaving room for the desktop's panels.
constexpr int32_t kLargestWindowScale = 0;

Hardware& TheHardware();

// The scale new windows are shown at on a PC screen of this size.
int32_t WindowScaleOn(int32_t pcWidth, int32_t pcHeight);

// Applies settings such as "depths=16;redmask=0x7c00". False, with the
// reason in error, for the first setting it does not understand; the ones
// before it are applied.
bool ApplyHardwareSettings(Hardware& hardware, const char* settings, std::string& error);

// Reads DUCKDEMO_HARDWARE, if set. Returns false with a message on stderr
// for a setting it does not understand.
bool LoadHardwareFromEnvironment();

// Whether the named call should fail on this hardware.
bool StepFails(const char* step);

}  // namespace standin
