// The driver: start-up, the main loop and shutdown, the same for every
// program. The platform entry point calls RunProgram with its Display and
// what its game shows that the other's does not; a platform whose loop
// belongs to someone else (a browser) calls the three steps itself.
#pragma once

#include "core/platform.h"
#include "demo/guess_game.h"
#include "demo/intro.h"

// Opens everything and starts the music; the first pass may follow at once.
void StartProgram(Display& display, InstanceHandle instance, const GuessPrompt& prompt,
                  std::span<const IntroTextLine> introLines = IntroTextLines());

// One pass of the main loop: clear, pump one message, read the clock once,
// draw the intro or step the game, present.
void RunProgramPass(Display& display);

// Stops the music and closes the display; returns the exit code, 1.
int StopProgram(Display& display);

// The running program's game, for a host that needs to see where its ducks are.
const GuessGame& ProgramGame();

// Runs the whole program until inputState.quit is set, the intro showing
// introLines; returns the exit code, 1.
int RunProgram(Display& display, InstanceHandle instance, const GuessPrompt& prompt,
               std::span<const IntroTextLine> introLines = IntroTextLines());
