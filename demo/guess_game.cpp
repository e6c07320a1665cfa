// The shell game's state machine: every step redraws the whole picture of the
// current state, then may move on.
#include "demo/guess_game.h"

#include <algorithm>
#include <cstdio>

#include "core/platform.h"
#include "core/random.h"
#include "core/sine_table.h"
#include "demo/duck_row.h"
#include "gfx/pixel.h"

namespace {

constexpr int32_t kSlotCount = kDuckSlotCount;
// The marked duck's star, this far below its slot's y.
constexpr int32_t kMarkerOffset = 20;
// The pointer answers inside a band kHoverWidth across from the row's x and
// six slot steps tall, ending 30 past slot 0's y. Slot s answers from 5 past
// SlotY(s) up to 40 past it.
constexpr int32_t kHoverWidth = 60;
constexpr int32_t kHoverBottom = SlotY(0) + 30;
constexpr int32_t kHoverTop = kHoverBottom - kSlotCount * kSlotStep;
constexpr int32_t kHoverSlotBase = SlotY(0) + 40;
constexpr int32_t kGlyphCell = 8;
constexpr uint32_t kShowTime = 5000;

// The swaps stop speeding up at this level.
constexpr int32_t kFastestLevel = 15;

// A swap is quicker each level, down to the fastest.
uint32_t SwapDuration(int32_t level) { return static_cast<uint32_t>(512 - 20 * std::min(level, kFastestLevel)); }

}  // namespace

GuessGame::GuessGame(Bitmap& target, const Font& font) : target(target), font(font) {}

void GuessGame::TakeFrames(const DuckRow& row) {
    stanceFrame = &row.frames[kStance];
    highlightFrame = &row.frames[kSingHalf];
    sadFrame = &row.frames[kSad];
}

void GuessGame::Step() {
    DrawLevelLine();
    switch (state) {
        case kNewTurn:
            SystemShowCursor();
            timerStart = SystemTickCount();
            DrawRow(*stanceFrame);
            SeedRandom(timerStart);
            markedSlot = static_cast<uint8_t>(NextRandom() % kSlotCount);
            swapsLeft = level + 5;
            state = kShowMarked;
            break;
        case kShowMarked:
            font.DrawString(target, 50, 232, "watch this duckie!");
            DrawRow(*stanceFrame);
            DrawMarker();
            if (SystemTickCount() - timerStart > kShowTime) state = kReseed;
            break;
        case kReseed:
            SeedRandom(SystemTickCount());
            DrawRow(*stanceFrame);
            state = kPickPair;
            break;
        case kPickPair:
            timerStart = SystemTickCount();
            PickPair();
            DrawRow(*stanceFrame);
            state = kSwap;
            break;
        case kSwap:
            StepSwap();
            break;
        case kGuess:
            StepGuess();
            break;
        case kJudge:
            timerStart = SystemTickCount();
            DrawRow(*stanceFrame);
            if (guessedRight != 0) ++level;
            state = kResult;
            break;
        case kResult:
            StepResult();
            break;
        default:
            break;
    }
}

void GuessGame::DrawLevelLine() {
    char text[20];
    int32_t length = std::snprintf(text, sizeof text, "level %d", static_cast<int>(level));
    font.DrawString(target, 200, (kBackBufferHeight - kGlyphCell * length) / 2 + kGlyphCell * length, text);
}

void GuessGame::DrawRow(const Bitmap& frame) {
    for (int32_t slot = 0; slot < kSlotCount; ++slot) target.Blit(frame, kRowX, SlotY(slot));
}

void GuessGame::DrawMarker() { font.DrawString(target, kRowX, SlotY(markedSlot) + kMarkerOffset, "*"); }

void GuessGame::PickPair() {
    if (NextRandom() % 2 == 0) {
        swapSlot = NextRandom() % (kSlotCount - 1);
    } else {
        // An odd draw always moves the marked duck, so it never stands still for long.
        swapSlot = std::clamp(markedSlot - 1 + NextRandom() % 2, 0, kSlotCount - 2);
    }
}

void GuessGame::SwapPlaces(uint32_t elapsed, DuckPlace places[kDuckSlotCount]) const {
    uint32_t duration = SwapDuration(level);
    // Each moving duck travels one slot step in the duration.
    uint32_t msPerPixel = duration / kSlotStep;
    // A late step would carry the moving ducks off the picture; it shows them
    // where the swap ends instead.
    uint32_t shown = std::min(elapsed, duration);
    int32_t bulge = sineTable[(shown * 127u / duration) & 255u] / 8;
    int32_t travel = static_cast<int32_t>(shown / msPerPixel);
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
        places[slot] = slot == swapSlot       ? DuckPlace{kRowX + bulge, SlotY(slot) - travel}
                       : slot == swapSlot + 1 ? DuckPlace{kRowX - bulge, SlotY(slot) + travel}
                                              : DuckPlace{kRowX, SlotY(slot)};
    }
}

void GuessGame::StepSwap() {
    uint32_t duration = SwapDuration(level);
    uint32_t elapsed = SystemTickCount() - timerStart;
    DuckPlace places[kDuckSlotCount];
    SwapPlaces(elapsed, places);
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
        bool moving = slot == swapSlot || slot == swapSlot + 1;
        if (moving) {
            target.BlitKeyed(*stanceFrame, places[slot].x, places[slot].y, kOpaqueBlack);
        } else {
            target.Blit(*stanceFrame, places[slot].x, places[slot].y);
        }
    }

    if (elapsed <= duration) return;
    if (markedSlot == swapSlot) {
        markedSlot = static_cast<uint8_t>(swapSlot + 1);
    } else if (markedSlot == swapSlot + 1) {
        markedSlot = static_cast<uint8_t>(swapSlot);
    }
    state = swapsLeft-- > 0 ? kPickPair : kGuess;
}

void GuessGame::StepGuess() {
    font.DrawString(target, 50, 240, "now which one is it?");
    font.DrawString(target, prompt.x, prompt.y, prompt.text);

    int32_t pointerX = inputState.pointerX;
    int32_t pointerY = inputState.pointerY;
    int32_t hovered = -1;
    if (pointerX > kRowX && pointerX < kRowX + kHoverWidth && pointerY > kHoverTop && pointerY < kHoverBottom) {
        hovered = (kHoverSlotBase - pointerY) / kSlotStep;
    }

    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
        target.Blit(slot == hovered ? *highlightFrame : *stanceFrame, kRowX, SlotY(slot));
    }

    // Just past slot 5 the band still answers, with a slot no duck stands in:
    // such a press is taken and is always wrong.
    if (hovered >= 0 && inputState.buttonDown != 0) {
        guessedRight = hovered == markedSlot ? 1 : 0;
        state = kJudge;
    }
}

void GuessGame::StepResult() {
    if (guessedRight != 0) {
        font.DrawString(target, 50, 220, "nice! level up!");
        DrawRow(*highlightFrame);
    } else {
        font.DrawString(target, 50, 220, "awww, wrong! :(");
        font.DrawString(target, 66, 240, "this one is the one.");
        DrawRow(*sadFrame);
        DrawMarker();
    }
    if (SystemTickCount() - timerStart > kShowTime) state = kNewTurn;
}
