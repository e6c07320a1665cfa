// The 74-second intro: text lines fading in and out, the performing duck row
// with its fades and shake, and the closing picture, all a function of the
// DemoClock.
#pragma once

#include <cstdint>
#include <span>

#include "core/envelope.h"
#include "demo/duck_row.h"
#include "gfx/font.h"

struct IntroEnvelopes {
    Envelope titleShow;
    Envelope titleFadeIn;
    Envelope presentsFadeIn;
    Envelope titleFadeOut;
    Envelope storyShow;
    Envelope storyFadeIn;
    Envelope storyFadeOut;
    Envelope rowFadeIn;
    Envelope rowFadeOut;
    Envelope birthdayShow;
    Envelope birthdayFadeIn;
    Envelope birthdayFadeOut;
    Envelope finaleFadeIn;  // its end is the end of the intro
};

// One row of the cue table. A single is one cue; a triple shows the half
// frame, the full frame, then the half frame again; a group gives slots 0-3
// one frame and slot 5, on the other side of the sulking slot 4, another.
enum class CueRowKind { Single, Triple, Group };

struct CueRow {
    CueRowKind kind;
    int32_t slot;      // not used by groups
    int32_t times[4];  // a, b (, c, d for triples)
    int32_t frameA;    // single: the frame; triple: the half frame; group: slots 0-3
    int32_t frameB;    // triple: the full frame; group: slot 5
};

std::span<const CueRow> IntroCueRows();

// The whole row shakes while the sulking duck's loud sing is at its full
// frame: after start, up to and including end.
struct ShakeWindow {
    int32_t start;
    int32_t end;
};

ShakeWindow IntroShakeWindow();

// A text line is drawn while its show envelope is active, at the level of its
// fade-out while that is active, else of its fade-in.
struct IntroTextLine {
    const char* text;
    int32_t x;
    int32_t y;
    Envelope IntroEnvelopes::*show;
    Envelope IntroEnvelopes::*fadeIn;
    Envelope IntroEnvelopes::*fadeOut;
};

// Title, story and birthday lines, two each, the first of a pair above the
// second in the landscape picture.
std::span<const IntroTextLine> IntroTextLines();

inline constexpr int32_t kIntroTextLineCount = 6;
// The lines a person may change: who the demo is from, the wish and who it
// is for.
inline constexpr int32_t kPresenterLine = 0;
inline constexpr int32_t kWishLine = 4;
inline constexpr int32_t kRecipientLine = 5;

// Where a line of length characters starts (it is drawn toward smaller y, a
// character 8 pixels long) to be centred across the landscape picture.
constexpr int32_t CentredLineY(int32_t length) { return 160 + 4 * length; }

// Appends the cues of every row, in table order: the order decides which cue
// wins where two cover the same slot.
void AddIntroCues(DuckRow& row);

// Sets the thirteen envelopes, in the order the intro's timeline lists them.
void SetIntroEnvelopes(IntroEnvelopes& envelopes);

// The intro's length in ms: the end of its closing fade-in, where the game
// takes over.
int32_t IntroEndTime();

// Draws the picture for t into the row's target, which the caller has
// cleared, with lines in the place of the table's own. Uses NextRandom for
// the shake.
void DrawIntroFrame(int32_t t, DuckRow& row, const IntroEnvelopes& envelopes, const Font& font,
                    std::span<const IntroTextLine> lines = IntroTextLines());
