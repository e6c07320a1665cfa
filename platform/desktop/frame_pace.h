// The pace of the picture: one frame per refresh of a 60 Hz screen, so the
// main loop gives the processor back between frames instead of spinning.
#pragma once

#include <stdint.h>

struct FramePace {
    uint32_t start = 0;   // tick of the first frame counted
    uint32_t frames = 0;  // shown since then
    bool started = false;
};

// Milliseconds to wait before showing the next frame, now being the tick
// counter. A loop that falls more than a frame behind counts again from now
// instead of hurrying to catch up.
uint32_t WaitBeforeFrame(FramePace& pace, uint32_t now);
