// The setup box asked before the window opens, and the options it sets.
#pragma once

#include "platform/desktop/resource.h"
#include "platform/desktop/win32.h"

// 1 ticked, 0 not; 0 until OK and never changed afterwards.
struct SetupOptions {
    LONG fullscreen;
    LONG doubleSize;
    LONG alwaysOnTop;
};

extern SetupOptions setupOptions;

// Set when the options came from the command line and the box is skipped.
extern BOOL setupFromCommandLine;

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Asks the options: 1 for OK (or options given on the command line), 0 for
// Cancel, -1 when the box could not be shown.
INT_PTR RunSetupDialog(HINSTANCE instance);
