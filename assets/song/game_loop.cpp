// The game's music: eight quiet bars that return to their start for as long
// as the game runs, their last chord leading back into their first.
#include "assets/song/harmony.h"
#include "assets/song/instruments.h"
#include "assets/song/song.h"
#include "assets/song/song_parts.h"

namespace {

constexpr Chord kLoopChords[] = {kChordC, kChordAm, kChordF, kChordG, kChordC, kChordAm, kChordDm7, kChordG7};

struct TuneNote {
    int32_t pitch;
    int32_t row;  // within the bar
};

// Two bars a line, quarter notes mostly, every bar starting on a chord tone.
constexpr TuneNote kTune[][4] = {
    {{Pitch(kE, 5), 0}, {Pitch(kG, 5), 4}, {Pitch(kC, 6), 8}, {0, 0}},
    {{Pitch(kB, 5), 0}, {Pitch(kA, 5), 4}, {Pitch(kE, 5), 8}, {0, 0}},
    {{Pitch(kF, 5), 0}, {Pitch(kA, 5), 4}, {Pitch(kC, 6), 8}, {Pitch(kA, 5), 12}},
    {{Pitch(kG, 5), 0}, {Pitch(kD, 5), 8}, {0, 0}, {0, 0}},
    {{Pitch(kE, 5), 0}, {Pitch(kG, 5), 4}, {Pitch(kC, 6), 8}, {Pitch(kE, 6), 12}},
    {{Pitch(kD, 6), 0}, {Pitch(kC, 6), 4}, {Pitch(kA, 5), 8}, {0, 0}},
    {{Pitch(kF, 5), 0}, {Pitch(kA, 5), 4}, {Pitch(kC, 6), 8}, {Pitch(kD, 6), 12}},
    {{Pitch(kB, 5), 0}, {Pitch(kG, 5), 8}, {Pitch(kF, 5), 12}, {0, 0}},
};

}  // namespace

int32_t AddGameLoop(Score& score, int32_t loopRow) {
    // The loop sets the global volume on its first row, so every pass is as
    // quiet as the first.
    score.levels.push_back({loopRow, -1, 48});
    for (int32_t bar = 0; bar < static_cast<int32_t>(std::size(kLoopChords)); ++bar) {
        const Chord& chord = kLoopChords[bar];
        int32_t barRow = loopRow + bar * kBarRows;
        auto notes = Voicing(chord, Pitch(kG, 3));
        for (size_t i = 0; i < notes.size(); ++i) {
            score.Note(RowTick(barRow), kPadChannel + static_cast<int32_t>(i), notes[i], kPad, 22,
                       RowTick(kBarRows) - 2);
        }
        for (int32_t i = 0; i < kBarRows; ++i) {
            int32_t tick = RowTick(barRow + i);
            int32_t root = BassNote(chord);
            if (i == 0 || i == 8) score.Note(tick, kBassChannel, root, kBass, 38, RowTick(5));
            if (i == 6) score.Note(tick, kBassChannel, root + 7, kBass, 32, RowTick(1));
            if (i == 14) score.Note(tick, kBassChannel, root + 12, kBass, 32, RowTick(1));
            if (i == 0 || i == 8) score.Note(tick, kKickChannel, Pitch(kC, 4), kKick, 34, 0);
            if (i == 4 || i == 12) score.Note(tick, kSnareChannel, Pitch(kC, 4), kSnare, 22, 0);
            if (i % 2 == 0) score.Note(tick, kHatChannel, Pitch(kC, 4), kHat, i % 4 == 0 ? 16 : 11, 0);
        }
        for (const TuneNote& note : kTune[bar]) {
            if (note.pitch != 0) score.Note(RowTick(barRow + note.row), kBellChannel, note.pitch, kBell, 30, 0);
        }
    }
    return loopRow + static_cast<int32_t>(std::size(kLoopChords)) * kBarRows;
}
