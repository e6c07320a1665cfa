// The birthday lines get the birthday song, as a waltz three rows a beat,
// and the closing picture a final chord.
#include "assets/song/harmony.h"
#include "assets/song/instruments.h"
#include "assets/song/song.h"
#include "assets/song/song_parts.h"
#include "demo/intro.h"

namespace {

constexpr int32_t kWaltzBeatRows = 3;
constexpr int32_t kWaltzBarRows = 3 * kWaltzBeatRows;

struct MelodyNote {
    int32_t pitch;
    int32_t rows;
};

// The traditional tune, "hap-py" as a long and a short row.
constexpr MelodyNote kMelody[] = {
    {Pitch(kG, 4), 2}, {Pitch(kG, 4), 1},                                        // pickup
    {Pitch(kA, 4), 3}, {Pitch(kG, 4), 3}, {Pitch(kC, 5), 3},                     //
    {Pitch(kB, 4), 6}, {Pitch(kG, 4), 2}, {Pitch(kG, 4), 1},                     //
    {Pitch(kA, 4), 3}, {Pitch(kG, 4), 3}, {Pitch(kD, 5), 3},                     //
    {Pitch(kC, 5), 6}, {Pitch(kG, 4), 2}, {Pitch(kG, 4), 1},                     //
    {Pitch(kG, 5), 3}, {Pitch(kE, 5), 3}, {Pitch(kC, 5), 3},                     //
    {Pitch(kB, 4), 3}, {Pitch(kA, 4), 3}, {Pitch(kF, 5), 2}, {Pitch(kF, 5), 1},  //
    {Pitch(kE, 5), 3}, {Pitch(kC, 5), 3}, {Pitch(kD, 5), 3},                     //
    {Pitch(kC, 5), 9},
};

// One chord a bar after the pickup; the seventh bar turns to G7 on its last beat.
constexpr Chord kBars[] = {kChordC, kChordG, kChordG, kChordC, kChordC7, kChordF, kChordC, kChordC};

void Waltz(Score& score, int32_t startRow) {
    int32_t row = startRow;
    for (const MelodyNote& note : kMelody) {
        score.Note(RowTick(row), kLeadChannel, note.pitch, kFlute, 30, RowTick(note.rows) - 3);
        score.Note(RowTick(row), kBellChannel, note.pitch + 12, kBell, 14, 0);
        row += note.rows;
    }
    int32_t firstBar = startRow + kWaltzBeatRows;
    for (int32_t bar = 0; bar < static_cast<int32_t>(std::size(kBars)); ++bar) {
        int32_t barRow = firstBar + bar * kWaltzBarRows;
        bool last = bar + 1 == static_cast<int32_t>(std::size(kBars));
        score.Note(RowTick(barRow), kBassChannel, BassNote(kBars[bar]), kBass, 44, RowTick(last ? 8 : 2));
        score.Note(RowTick(barRow), kKickChannel, Pitch(kC, 4), kKick, 26, 0);
        if (last) continue;
        for (int32_t beat = 1; beat < 3; ++beat) {
            const Chord& chord = bar == 6 && beat == 2 ? kChordG7 : kBars[bar];
            auto notes = Voicing(chord, Pitch(kG, 3));
            int32_t tick = RowTick(barRow + beat * kWaltzBeatRows);
            for (size_t i = 0; i < notes.size(); ++i) {
                score.Note(tick, kPadChannel + static_cast<int32_t>(i), notes[i], kPluck, 24, 0);
            }
            score.Note(tick, kHatChannel, Pitch(kC, 4), kHat, 12, 0);
        }
    }
}

// A C major chord spread wide, rolled upward from the bell and the pluck, held
// until the picture has faded in.
void FinalChord(Score& score, int32_t startRow, int32_t endMs) {
    int32_t tick = RowTick(startRow);
    int32_t length = TickAt(endMs) - tick - 40;
    auto notes = Voicing(kChordC, Pitch(kC, 4));
    for (size_t i = 0; i < notes.size(); ++i) {
        score.Note(tick, kPadChannel + static_cast<int32_t>(i), notes[i], kPad, 44, length);
    }
    score.Note(tick, kBassChannel, Pitch(kC, 2), kBass, 48, length);
    score.Note(tick, kLeadChannel, Pitch(kE, 5), kFlute, 34, length);
    score.Note(tick, kCymbalChannel, Pitch(kC, 4), kCrash, 26, 0);
    const int32_t roll[] = {Pitch(kC, 5), Pitch(kG, 5), Pitch(kC, 6), Pitch(kE, 6)};
    for (int32_t i = 0; i < 4; ++i) {
        score.Note(tick + 8 * i, i % 2 == 0 ? kPluckChannel : kBellChannel, roll[i], i % 2 == 0 ? kPluck : kBell, 30,
                   0);
    }
}

}  // namespace

void AddBirthday(Score& score) {
    IntroEnvelopes envelopes;
    SetIntroEnvelopes(envelopes);
    int32_t startRow = RowAtOrAfter(envelopes.birthdayShow.startTime);
    score.levels.push_back({startRow, -1, 64});
    Waltz(score, startRow);
    FinalChord(score, RowAtOrAfter(envelopes.finaleFadeIn.startTime), envelopes.finaleFadeIn.endTime);
}
