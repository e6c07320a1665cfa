// Pitches and chords for the song, in XM note numbers (C4 is 49).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum PitchClass : int32_t {
    kC = 0,
    kDb = 1,
    kD = 2,
    kEb = 3,
    kE = 4,
    kF = 5,
    kGb = 6,
    kG = 7,
    kAb = 8,
    kA = 9,
    kBb = 10,
    kB = 11
};

constexpr int32_t Pitch(int32_t pitchClass, int32_t octave) { return 12 * octave + pitchClass + 1; }

// A bass note and three upper tones, all as pitch classes.
struct Chord {
    int32_t bass;
    std::array<int32_t, 3> tones;
};

// The upper tones in close position, each in the octave from `lowest` up,
// lowest first: neighbouring chords then share or step between tones.
constexpr std::array<int32_t, 3> Voicing(const Chord& chord, int32_t lowest) {
    std::array<int32_t, 3> notes{};
    for (size_t i = 0; i < 3; ++i) {
        int32_t note = lowest + ((chord.tones[i] - (lowest - 1)) % 12 + 12) % 12;
        notes[i] = note;
    }
    for (size_t i = 0; i < 3; ++i) {
        for (size_t j = i + 1; j < 3; ++j) {
            if (notes[j] < notes[i]) {
                int32_t swap = notes[i];
                notes[i] = notes[j];
                notes[j] = swap;
            }
        }
    }
    return notes;
}

// The bass note low in the second octave, the sharps and flats above G an
// octave lower so the line never climbs out of the bass.
constexpr int32_t BassNote(const Chord& chord) { return Pitch(chord.bass, chord.bass >= kAb ? 1 : 2); }

constexpr Chord kChordC{kC, {kC, kE, kG}};
constexpr Chord kChordCm{kC, {kC, kEb, kG}};
constexpr Chord kChordCmaj7{kC, {kE, kG, kB}};
constexpr Chord kChordC7{kC, {kE, kG, kBb}};
constexpr Chord kChordDb{kDb, {kDb, kF, kAb}};
constexpr Chord kChordDm7{kD, {kF, kA, kC}};
constexpr Chord kChordEm7{kE, {kG, kB, kD}};
constexpr Chord kChordF{kF, {kF, kA, kC}};
constexpr Chord kChordFm{kF, {kF, kAb, kC}};
constexpr Chord kChordFmaj7{kF, {kA, kC, kE}};
constexpr Chord kChordG{kG, {kG, kB, kD}};
constexpr Chord kChordG6{kG, {kB, kD, kE}};
constexpr Chord kChordG7{kG, {kF, kB, kD}};
constexpr Chord kChordG7sus{kG, {kF, kC, kD}};
constexpr Chord kChordAb{kAb, {kAb, kC, kEb}};
constexpr Chord kChordAm{kA, {kA, kC, kE}};
constexpr Chord kChordAm7{kA, {kC, kE, kG}};
constexpr Chord kChordBb{kBb, {kBb, kD, kF}};
