// The handheld's full-screen window: taps set the pointer, any key quits.
#pragma once

#include "platform/pocketpc/wince.h"

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
