// The main window: its creation from the setup options, its procedure that
// turns keyboard and mouse messages into InputState, and its geometry.
#pragma once

#include <stdint.h>

#include "platform/desktop/win32.h"

// The client area in client and in screen coordinates; set when the window
// is created and refreshed on every WM_MOVE.
extern RECT clientRect;
extern RECT screenClientRect;

// The picture's size: 320 x 240, or 640 x 480 at double size.
int32_t PictureWidth();
int32_t PictureHeight();

// The window phase of opening the display: the setup box (Cancel ends the
// process with exit code 0), the class, the window, its geometry. Returns
// the window, or null after logging the failed step.
HWND OpenMainWindow(HINSTANCE instance);

// Gives the full-screen window a caption and the windowed size and place,
// for a run whose full-screen modes were all refused.
void MakeWindowed(HWND window);

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Client position (packed as in lParam) to BackBuffer coordinates: the
// reverse of the quarter-turn the picture is shown with.
void MapPointer(LPARAM position, LONG doubleSize, int32_t& pointerX, int32_t& pointerY);
