// What the host's files share: the record behind a host window, where its
// pictures go in it, and what starting and stopping the host call.
#pragma once

#include <SDL.h>
#include <stdint.h>

#include <chrono>
#include <vector>

#include "standin/host/host_capture.h"
#include "standin/host/sdl_host.h"

namespace standin {

struct HostWindow {
    SDL_Window* sdl = nullptr;
    int32_t width = 0;  // logical size of what is shown in it
    int32_t height = 0;
    int32_t scale = 1;                // of the window's size over its logical size
    std::vector<uint32_t> converted;  // the last picture, as 32-bit ARGB
    int32_t pictureWidth = 0;         // and its size
    int32_t pictureHeight = 0;
    std::chrono::steady_clock::time_point nextRefresh;
    uint32_t minimisations = 0;  // times minimised or hidden
    uint32_t focusLosses = 0;    // times the keyboard focus went to another window
    bool minimised = false;
    bool focusAway = false;
    HostWindow* next = nullptr;  // every live window, for the end of the process
};

// Pictures are shown at the largest whole factor that fits, centred.
struct Placement {
    int32_t scale;
    int32_t offsetX;
    int32_t offsetY;
};

Placement PlacementOf(const HostWindow& window);

// Saves the window's last picture as a PNG file beside the program and
// notes where in the program's log: what F12 does.
void SaveScreenshot(const HostWindow& window);

// True once the host has started: SDL video, or capture mode.
bool HostStarted();

// The capture the host works for, or null.
HostCapture* CurrentCapture();

// The window created last and still there, or null.
HostWindow* NewestHostWindow();

// The end of the process: the windows left open and the fonts give back
// what they hold before SDL stops.
void DestroyEveryHostWindow();
void CloseHostFonts();

}  // namespace standin
