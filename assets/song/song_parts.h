// The parts the song is assembled from, and the beat grid they share: four
// rows a beat, sixteen a bar, from the start of the song.
#pragma once

#include <cstdint>

#include "assets/song/score.h"

constexpr int32_t kBeatRows = 4;
constexpr int32_t kBarRows = 16;
constexpr int32_t kBeatTicks = kBeatRows * kTicksPerRow;

constexpr int32_t RowTick(int32_t row) { return row * kTicksPerRow; }
constexpr int32_t BeatRow(int32_t beat) { return beat * kBeatRows; }

// The first row that starts at or after ms.
constexpr int32_t RowAtOrAfter(int32_t ms) { return (ms + kRowMs - 1) / kRowMs; }

// The ducks' notes, each on the tick nearest its cue.
void AddDuckVoices(Score& score);

// Everything under the duck row, from the title to the fade after the big
// note at hitTick; the fade follows the row's own fade-out.
void AddBand(Score& score, int32_t hitTick);

// The time of the big note: the start of the full frame of the loud cue.
int32_t LoudCueMs();

// The birthday waltz under the birthday lines, and the final chord under the
// closing picture.
void AddBirthday(Score& score);

// The game's loop: rows [loopRow, returned row).
int32_t AddGameLoop(Score& score, int32_t loopRow);
