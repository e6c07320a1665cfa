// What the host's files share: the record behind a host window, where its
// pictures go in it, and what starting and stopping the host call.
#pragma once

#include <SDL.h>
#include <stdint.h>

#include <chrono>
#include <vector>

#include "standin/host/sdl_host.h"

namespace standin {

struct HostWindow {
    SDL_Window* sdl = nullptr;
    int32_t width = 0;  // logical size of what is shown in it
    int32_t height = 0;
    bool topmost = false;
    int32_t scale = 1;                // of the window's size over its logical size
    std::vector<uint32_t> converted;  // the last picture, as 32-bit ARGB
    std::chrono::steady_clock::time_point nextRefresh;
    HostWindow* next = nullptr;  // every live window, for the end of the process
};

// Pictures are shown at the largest whole factor that fits, centred.
struct Placement {
    int32_t scale;
    int32_t offsetX;
    int32_t offsetY;
};

Placement PlacementOf(const HostWindow& window);

// True once SDL video has started.
bool HostStarted();

// The end of the process: the windows left open and the fonts give back
// what they hold before SDL stops.
void DestroyEveryHostWindow();
void CloseHostFonts();

}  // namespace standin
