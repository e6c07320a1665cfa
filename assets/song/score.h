// A song as timed events, and its layout into XM patterns. Time runs in
// ticks of one speed and tempo for the whole song, so an event's tick gives
// its row and, through a note delay, its tick within the row.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/song/xm_module.h"

// Twelve ticks a row at 250 BPM: 10 ms ticks, 120 ms rows. The fine tick
// lets a note start within 5 ms of any time.
constexpr int32_t kTicksPerRow = 12;
constexpr int32_t kSongBpm = 250;
constexpr int32_t kTickMs = 2500 / kSongBpm;
constexpr int32_t kRowMs = kTicksPerRow * kTickMs;
constexpr int32_t kRowsPerPattern = 64;

constexpr int32_t TickAt(int32_t ms) { return (ms + kTickMs / 2) / kTickMs; }
constexpr int32_t MsAt(int32_t tick) { return tick * kTickMs; }

struct ScoreNote {
    int32_t tick = 0;
    int32_t channel = 0;
    int32_t note = 0;  // XM note 1..96
    int32_t instrument = 0;
    int32_t volume = 64;
    int32_t length = 0;  // ticks until key-off; 0 lets it ring
};

// Set on a row, not a tick: channel volume (volume column) or, with
// channel -1, the global volume.
struct ScoreLevel {
    int32_t row = 0;
    int32_t channel = 0;
    int32_t volume = 0;
};

struct Score {
    std::vector<ScoreNote> notes;
    std::vector<ScoreLevel> levels;

    void Note(int32_t tick, int32_t channel, int32_t note, int32_t instrument, int32_t volume, int32_t length) {
        notes.push_back({tick, channel, note, instrument, volume, length});
    }
};

// A note as the module plays it: its time in ms from the start of the song.
struct PlacedNote {
    int32_t ms = 0;
    int32_t channel = 0;
    int32_t note = 0;
    int32_t instrument = 0;
    int32_t volume = 0;
};

struct Arrangement {
    std::vector<XmPattern> patterns;
    std::vector<uint8_t> orders;
    int32_t restartPosition = 0;
    std::vector<PlacedNote> placed;
};

// Rows [0, loopRow) play once, rows [loopRow, endRow) are the loop the song
// returns to; patterns never straddle loopRow. Global volume goes on
// controlChannel. Two notes in one cell are an error naming time and
// channel. A note's key-off is left out when a later note on its channel
// starts first, or shares the key-off's cell: that note ends the old one.
Arrangement Arrange(const Score& score, int32_t channels, int32_t controlChannel, int32_t loopRow, int32_t endRow);
