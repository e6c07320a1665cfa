// The driver: start-up, the main loop and shutdown, the same for both
// programs. The platform entry point calls RunProgram with its Display.
#pragma once

#include <cstdint>

#include "core/platform.h"

// The font sheet's characters, in the order of its cells.
inline constexpr char kFontCharset[] = "abcdefghijklmnopqrstuvwxyz.,?!-+0123456789()[]\":*";

// Runs the whole program until inputState.quit is set; returns the exit
// code, 1.
int RunProgram(Display& display, InstanceHandle instance);
