// The driver: start-up, the main loop and shutdown, the same for both
// programs. The platform entry point calls RunProgram with its Display and
// what its game shows that the other's does not.
#pragma once

#include "core/platform.h"
#include "demo/guess_game.h"
#include "demo/intro.h"

// Runs the whole program until inputState.quit is set, the intro showing
// introLines; returns the exit code, 1.
int RunProgram(Display& display, InstanceHandle instance, const GuessPrompt& prompt,
               std::span<const IntroTextLine> introLines = IntroTextLines());
