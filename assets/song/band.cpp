// The band under the duck row: pads, bass, drums and the plucked and struck
// parts, texture by texture, from the title to the fade after the big note.
#include <algorithm>
#include <span>

#include "assets/song/harmony.h"
#include "assets/song/instruments.h"
#include "assets/song/song.h"
#include "assets/song/song_parts.h"
#include "demo/intro.h"

namespace {

enum class Texture { Title, Story, Build, Groove, Look, Baffled, Angry, AngryHalf, Break, Resolve };

struct TextureAt {
    int32_t beat;
    Texture texture;
};

struct ChordAt {
    int32_t beat;
    Chord chord;
};

// What the picture does decides the texture: the title and the story gently,
// a groove while the ducks sing, the drums out while they look around, the
// hard texture while they are angry (half time once the sulker sings, so it
// is heard), a roll into the big note.
constexpr TextureAt kTextures[] = {
    {0, Texture::Title},   {8, Texture::Story},      {20, Texture::Build},      {24, Texture::Groove},
    {31, Texture::Look},   {35, Texture::Baffled},   {40, Texture::Angry},      {45, Texture::Groove},
    {52, Texture::Angry},  {56, Texture::AngryHalf}, {77, Texture::Look},       {80, Texture::Build},
    {84, Texture::Groove}, {89, Texture::Angry},     {108, Texture::AngryHalf}, {112, Texture::Break},
};

constexpr ChordAt kChords[] = {
    {0, kChordCmaj7}, {4, kChordAm7},    {8, kChordFmaj7}, {12, kChordG6}, {16, kChordEm7}, {18, kChordAm7},
    {20, kChordDm7},  {22, kChordG7sus}, {23, kChordG7},   {24, kChordC},  {28, kChordG},   {30, kChordAb},
    {34, kChordBb},   {36, kChordDb},    {38, kChordG7},   {40, kChordCm}, {44, kChordAb},  {46, kChordG},
    {48, kChordC},    {51, kChordCm},    {60, kChordFm},   {64, kChordBb}, {68, kChordAb},  {72, kChordG7},
    {76, kChordCm},   {80, kChordG7},    {84, kChordC},    {88, kChordF},  {89, kChordFm},  {92, kChordCm},
    {96, kChordAb},   {100, kChordCm},   {102, kChordAb},  {104, kChordG}, {108, kChordFm}, {112, kChordG7},
};

// After the big note: C major at last, then the row fades out.
constexpr ChordAt kResolveChords[] = {{0, kChordC}, {4, kChordAm}, {6, kChordF}, {8, kChordDm7}, {10, kChordG7sus}};

template <typename Entry>
const Entry& LastAtOrBefore(std::span<const Entry> entries, int32_t beat) {
    const Entry* found = &entries.front();
    for (const Entry& entry : entries) {
        if (entry.beat <= beat) found = &entry;
    }
    return *found;
}

struct RowPlan {
    Texture texture;
    const Chord* chord;
    int32_t inBar;  // 0..15
};

int32_t PadVolume(Texture texture) {
    switch (texture) {
        case Texture::Title:
            return 21;
        case Texture::Story:
            return 28;
        case Texture::Angry:
            return 22;
        case Texture::AngryHalf:
        case Texture::Resolve:
            return 26;
        default:
            return 32;
    }
}

void Pads(Score& score, int32_t row, int32_t lengthRows, const RowPlan& plan) {
    auto notes = Voicing(*plan.chord, Pitch(kG, 3));
    for (size_t i = 0; i < notes.size(); ++i) {
        score.Note(RowTick(row), kPadChannel + static_cast<int32_t>(i), notes[i], kPad, PadVolume(plan.texture),
                   RowTick(lengthRows) - 2);
    }
}

void Bass(Score& score, int32_t row, const RowPlan& plan) {
    int32_t root = BassNote(*plan.chord);
    int32_t tick = RowTick(row);
    int32_t i = plan.inBar;
    switch (plan.texture) {
        case Texture::Story:
            if (i % 8 == 0) score.Note(tick, kBassChannel, root, kBass, 30, RowTick(7));
            break;
        case Texture::Build:
            if (i % 4 == 0) score.Note(tick, kBassChannel, root, kBass, 40, RowTick(3));
            break;
        case Texture::Groove:
        case Texture::Resolve:
            if (i == 0 || i == 8) score.Note(tick, kBassChannel, root, kBass, 46, RowTick(5));
            if (i == 6) score.Note(tick, kBassChannel, root + 7, kBass, 40, RowTick(1));
            if (i == 14) score.Note(tick, kBassChannel, root + 12, kBass, 40, RowTick(1));
            break;
        case Texture::Look:
        case Texture::Baffled:
            if (i % 4 == 0) score.Note(tick, kBassChannel, root, kBass, 36, RowTick(1));
            break;
        case Texture::Angry:
            if (i % 2 == 0) score.Note(tick, kBassChannel, i % 8 == 6 ? root + 12 : root, kGrowl, 40, RowTick(1));
            break;
        case Texture::AngryHalf:
            if (i % 8 == 0) score.Note(tick, kBassChannel, root, kGrowl, 40, RowTick(7));
            break;
        case Texture::Break:
            if (i >= 8 && i % 2 == 0) score.Note(tick, kBassChannel, root, kGrowl, 28 + 3 * i / 2, RowTick(1));
            break;
        case Texture::Title:
            break;
    }
}

void Drum(Score& score, int32_t tick, int32_t channel, int32_t instrument, int32_t volume) {
    score.Note(tick, channel, Pitch(kC, 4), instrument, volume, 0);
}

void Drums(Score& score, int32_t row, const RowPlan& plan, bool textureStarts) {
    int32_t tick = RowTick(row);
    int32_t i = plan.inBar;
    switch (plan.texture) {
        case Texture::Build:
            if (i % 4 == 0) Drum(score, tick, kKickChannel, kKick, 30 + i);
            if (i % 2 == 0) Drum(score, tick, kHatChannel, kHat, 14);
            if (i >= 12) Drum(score, tick, kSnareChannel, kSnare, 18 + 6 * (i - 12));
            break;
        case Texture::Groove:
        case Texture::Resolve: {
            // After the big note the groove only carries the row to its fade.
            int32_t kick = plan.texture == Texture::Resolve ? 40 : 52;
            if (i == 0 || i == 8) Drum(score, tick, kKickChannel, kKick, kick);
            if (i == 10) Drum(score, tick, kKickChannel, kKick, kick - 14);
            if (i == 4 || i == 12) Drum(score, tick, kSnareChannel, kSnare, 46);
            if (i == 14) {
                Drum(score, tick, kHatChannel, kOpenHat, 16);
            } else if (i % 2 == 0) {
                Drum(score, tick, kHatChannel, kHat, i % 4 == 0 ? 28 : 22);
            }
            break;
        }
        case Texture::Look:
            if (i % 4 == 2) Drum(score, tick, kHatChannel, kHat, 14);
            if (i == 0) Drum(score, tick, kKickChannel, kKick, 28);
            break;
        case Texture::Baffled:
            if (i % 2 == 0) Drum(score, tick, kHatChannel, kHat, 14);
            if (i == 0 || i == 6) Drum(score, tick, kKickChannel, kKick, 32);
            if (i == 12) Drum(score, tick, kSnareChannel, kSnare, 24);
            break;
        case Texture::Angry:
            if (i == 0 || i == 3 || i == 6 || i == 8 || i == 11 || i == 14) Drum(score, tick, kKickChannel, kKick, 44);
            if (i == 4 || i == 12) Drum(score, tick, kSnareChannel, kSnare, 42);
            Drum(score, tick, kHatChannel, kHat, i % 2 == 0 ? 26 : 18);
            if (textureStarts) Drum(score, tick, kCymbalChannel, kCrash, 40);
            break;
        case Texture::AngryHalf:
            if (i == 0 || i == 10) Drum(score, tick, kKickChannel, kKick, 46);
            if (i == 8) Drum(score, tick, kSnareChannel, kSnare, 42);
            if (i % 2 == 0) Drum(score, tick, kHatChannel, kHat, 16);
            break;
        case Texture::Break:
            if (i < 8 && i % 4 == 0) Drum(score, tick, kHatChannel, kHat, 12);
            if (i >= 8) Drum(score, tick, kSnareChannel, kSnare, 16 + 4 * (i - 8));
            if (i >= 12) Drum(score, tick + kTicksPerRow / 2, kRollChannel, kSnare, 14 + 4 * (i - 8));
            break;
        case Texture::Title:
        case Texture::Story:
            break;
    }
}

// Bell arpeggios in the quiet parts, plucked offbeats in the grooves, a
// tiptoeing pluck while the ducks look round, a chromatic slide when they are
// baffled, power chords when they are angry.
void Melodic(Score& score, int32_t row, const RowPlan& plan) {
    int32_t tick = RowTick(row);
    int32_t i = plan.inBar;
    auto high = Voicing(*plan.chord, Pitch(kG, 4));
    int32_t power = BassNote(*plan.chord) + 12;
    constexpr int32_t kArpeggio[] = {0, 1, 2, 3, 2, 1, 0, 1};
    auto tone = [&](int32_t step) { return step == 3 ? high[0] + 12 : high[static_cast<size_t>(step)]; };
    switch (plan.texture) {
        case Texture::Title:
            if (i % 4 == 0) score.Note(tick, kBellChannel, tone(i / 4 % 4), kBell, 19, 0);
            break;
        case Texture::Story:
        case Texture::Build:
            if (i % 2 == 0) score.Note(tick, kBellChannel, tone(kArpeggio[i / 2]), kBell, 19, 0);
            break;
        case Texture::Groove:
        case Texture::Resolve:
            if (i % 4 == 2) score.Note(tick, kPluckChannel, tone(i / 4 % 3), kPluck, 30, RowTick(1));
            break;
        case Texture::Look:
            if (i == 0 || i == 3 || i == 6 || i == 8 || i == 11 || i == 14) {
                score.Note(tick, kPluckChannel, tone((i / 3) % 4) - 12, kPluck, 34, RowTick(1));
            }
            break;
        case Texture::Baffled:
            if (i % 2 == 0) score.Note(tick, kPluckChannel, high[2] + 12 - i / 2, kPluck, 34, RowTick(1));
            break;
        case Texture::Angry:
            if (i % 2 == 0) score.Note(tick, kPowerChannel, power, kPower, 32, RowTick(i % 8 == 0 ? 2 : 1) - 2);
            break;
        case Texture::AngryHalf:
            if (i == 0) score.Note(tick, kPowerChannel, power, kPower, 30, RowTick(kBarRows) - 2);
            break;
        case Texture::Break:
            break;
    }
}

// The big note: everything at once, on the cue's own tick.
void Hit(Score& score, int32_t hitTick) {
    Drum(score, hitTick, kCymbalChannel, kCrash, 50);
    Drum(score, hitTick, kKickChannel, kKick, 46);
    Drum(score, hitTick, kSnareChannel, kSnare, 48);
    auto notes = Voicing(kChordC, Pitch(kG, 3));
    for (size_t i = 0; i < notes.size(); ++i) {
        score.Note(hitTick, kPadChannel + static_cast<int32_t>(i), notes[i], kPad, 32, RowTick(2 * kBeatRows));
    }
    score.Note(hitTick, kBassChannel, BassNote(kChordC), kBass, 36, RowTick(2 * kBeatRows));
    score.Note(hitTick, kPowerChannel, BassNote(kChordC) + 12, kPower, 24, RowTick(2 * kBeatRows));
    score.Note(hitTick, kBellChannel, Pitch(kC, 6), kBell, 40, 0);
    score.Note(hitTick, kLeadChannel, Pitch(kG, 5), kFlute, 20, RowTick(2 * kBeatRows));
}

void Fade(Score& score, int32_t fromMs, int32_t toMs) {
    for (int32_t row = RowAtOrAfter(fromMs); row * kRowMs <= toMs; ++row) {
        score.levels.push_back({row, -1, 64 * (toMs - row * kRowMs) / (toMs - fromMs)});
    }
}

}  // namespace

void AddBand(Score& score, int32_t hitTick) {
    IntroEnvelopes envelopes;
    SetIntroEnvelopes(envelopes);
    const int32_t hitRow = hitTick / kTicksPerRow;
    const int32_t resolveRow = (hitRow / kBeatRows + 1) * kBeatRows;
    const int32_t endRow = RowAtOrAfter(envelopes.rowFadeOut.endTime);

    auto planAt = [&](int32_t row) {
        int32_t beat = row / kBeatRows;
        if (row >= resolveRow) {
            int32_t since = (row - resolveRow) / kBeatRows;
            return RowPlan{Texture::Resolve, &LastAtOrBefore<ChordAt>(kResolveChords, since).chord, row % kBarRows};
        }
        return RowPlan{LastAtOrBefore<TextureAt>(kTextures, beat).texture,
                       &LastAtOrBefore<ChordAt>(kChords, beat).chord, row % kBarRows};
    };
    auto sameSegment = [](const RowPlan& a, const RowPlan& b) { return a.texture == b.texture && a.chord == b.chord; };

    score.levels.push_back({0, -1, 64});
    for (int32_t row = 0; row < endRow; ++row) {
        if (row >= hitRow && row < resolveRow) continue;
        RowPlan plan = planAt(row);
        bool segmentStarts = row == 0 || row == resolveRow || !sameSegment(plan, planAt(row - 1));
        bool textureStarts = row == 0 || plan.texture != planAt(row - 1).texture;
        if (segmentStarts) {
            int32_t end = row + 1;
            while (end < endRow && end != hitRow && sameSegment(plan, planAt(end))) ++end;
            Pads(score, row, end - row, plan);
        }
        Bass(score, row, plan);
        Drums(score, row, plan, textureStarts);
        Melodic(score, row, plan);
    }
    Hit(score, hitTick);
    Fade(score, envelopes.rowFadeOut.startTime, envelopes.rowFadeOut.endTime);
}
