// The row of six duck sprites that performs during the intro: nineteen
// frames and a list of timed cues saying which frame each slot shows.
#pragma once

#include <cstdint>

#include "gfx/bitmap.h"
#include "gfx/image.h"

// SpriteSet indices, named after the frames' files.
enum DuckFrame : int32_t {
    kStance = 0,
    kSing = 1,
    kSingHalf = 2,
    kLeft = 3,
    kRight = 4,
    kAngryLeft = 5,
    kAngryRight = 6,
    kSad = 7,
    kSadLookdown = 8,
    kSadSing = 9,
    kSadSingHalf = 10,
    kWtfLeft = 11,
    kWtfRight = 12,
    kAngryLeftSing = 13,
    kAngryRightSing = 14,
    kAngryLeftSingHalf = 15,
    kAngryRightSingHalf = 16,
    kLoudSing = 17,
    kLoudSingHalf = 18,
};

constexpr int32_t kDuckFrameCount = kLoudSingHalf + 1;
constexpr int32_t kDuckSlotCount = 6;
constexpr int32_t kCueCapacity = 256;

// The file of each frame, beside the executable, by SpriteSet index: one for
// each of the kDuckFrameCount frames.
extern const char* const kDuckFrameFiles[];

// The row's place in the BackBuffer: every slot at x kRowX, slot 0 at the
// largest y (the leftmost duck in the landscape picture) and each next slot
// kSlotStep above the last.
constexpr int32_t kRowX = 90;
constexpr int32_t kSlotZeroY = 230;
constexpr int32_t kSlotStep = 35;
constexpr int32_t SlotY(int32_t slot) { return kSlotZeroY - kSlotStep * slot; }

// Slot shows frame while start < t <= end.
struct SpriteCue {
    int32_t start;
    int32_t end;
    int32_t slot;
    int32_t frame;
};

class DuckRow {
public:
    explicit DuckRow(Bitmap& rowTarget) : target(rowTarget) {}

    DuckRow(const DuckRow&) = delete;
    DuckRow& operator=(const DuckRow&) = delete;

    // Loads frames[index] from a path relative to the executable and turns it
    // to the landscape view.
    void LoadFrame(int32_t index, const char* relativePath);

    // Appends a cue; cues past the capacity are dropped.
    void AddCue(int32_t start, int32_t end, int32_t slot, int32_t frame);

    // The frame of the last cue covering t for each slot; stance where none
    // does.
    void SlotFramesAt(int32_t t, int32_t slotFrame[kDuckSlotCount]) const;

    // Blits the six slots showing their frames at t, shifted by the jitter.
    void Draw(int32_t t);

    Bitmap& target;
    Image frames[kDuckFrameCount];
    int32_t jitterX = 0;
    int32_t jitterY = 0;
    int32_t cueCount = 0;
    SpriteCue cues[kCueCapacity] = {};
};
