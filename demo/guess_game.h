// The shell game after the intro: one duck is marked, pairs swap along
// sine-bent paths, the player points at the one they believe is marked.
#pragma once

#include <cstdint>

#include "demo/duck_row.h"
#include "gfx/bitmap.h"
#include "gfx/font.h"

// The game's states, in the order a turn passes through them.
enum GuessState : int32_t {
    kNewTurn = 0,
    kShowMarked = 1,
    kReseed = 2,
    kPickPair = 3,
    kSwap = 4,
    kGuess = 5,
    kJudge = 6,
    kResult = 7,
};

// What the game shows under the row while waiting for a guess: the texts
// differ per platform, and so do their places because their lengths do.
struct GuessPrompt {
    const char* text = "";
    int32_t x = 0;
    int32_t y = 0;
};

// Where a duck is drawn: the top left of its frame in the BackBuffer.
struct DuckPlace {
    int32_t x;
    int32_t y;
};

class GuessGame {
public:
    GuessGame(Bitmap& target, const Font& font);

    // Draws the whole picture of the current state into the target and may
    // advance the state. Reads inputState, the tick counter and the random
    // generator; allocates nothing.
    void Step();

    // Points the game's three roles at the row's frames: stance, the half
    // sing as the highlight, and sad. Called once the frames are loaded.
    void TakeFrames(const DuckRow& row);

    // Where each slot's duck is drawn elapsed ms into the current swap; a
    // late step shows the ducks where the swap ends.
    void SwapPlaces(uint32_t elapsed, DuckPlace places[kDuckSlotCount]) const;

    const Bitmap* stanceFrame = nullptr;
    const Bitmap* highlightFrame = nullptr;
    const Bitmap* sadFrame = nullptr;
    GuessPrompt prompt;

    int32_t level = 1;
    int32_t state = 0;
    uint8_t markedSlot = 0;
    int32_t swapsLeft = 0;
    int32_t swapSlot = 0;
    uint32_t timerStart = 0;
    int32_t guessedRight = 0;

private:
    void DrawLevelLine();
    void DrawRow(const Bitmap& frame);
    void DrawMarker();
    void PickPair();
    void StepSwap();
    void StepGuess();
    void StepResult();

    Bitmap& target;
    const Font& font;
};
