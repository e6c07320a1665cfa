// The ducks' singing. Every note starts on the tick nearest the cue that
// opens the beak: the full frame of a singing triple, or the half-open beak
// of the sulking duck's hums. The pitches are the composition.
#include <algorithm>
#include <span>
#include <stdexcept>
#include <vector>

#include "assets/song/harmony.h"
#include "assets/song/instruments.h"
#include "assets/song/song.h"
#include "assets/song/song_parts.h"
#include "demo/intro.h"

namespace {

struct VoiceCue {
    int32_t start;
    int32_t end;
    int32_t frame;
};

bool IsSinging(int32_t frame) {
    return frame == kSing || frame == kSadSing || frame == kAngryLeftSing || frame == kAngryRightSing ||
           frame == kLoudSing;
}

std::vector<VoiceCue> VoiceCues() {
    std::vector<VoiceCue> cues;
    for (const CueRow& row : IntroCueRows()) {
        // The note lasts while the beak is open: the full frame and the half
        // frame that closes it.
        if (row.kind == CueRowKind::Triple && IsSinging(row.frameB)) {
            cues.push_back({row.times[1], row.times[3], row.frameB});
        }
        if (row.kind == CueRowKind::Single && row.frameA == kSadSingHalf) {
            cues.push_back({row.times[0], row.times[1], row.frameA});
        }
    }
    std::stable_sort(cues.begin(), cues.end(), [](const VoiceCue& a, const VoiceCue& b) { return a.start < b.start; });
    return cues;
}

// In time order. The five ducks sing in C major; the one in slot 4 keeps
// turning it minor: its first note is the flat third over A flat, then its
// lament walks down G F Eb D C while the others glare, and at last it sings
// the G that crowns C major.
constexpr int32_t kPitches[] = {
    Pitch(kG, 4),  Pitch(kA, 4), Pitch(kC, 5),  Pitch(kE, 5), Pitch(kD, 5), Pitch(kEb, 5),  // first round
    Pitch(kG, 4),  Pitch(kA, 4), Pitch(kB, 4),  Pitch(kC, 5), Pitch(kE, 5), Pitch(kEb, 5),  // second round
    Pitch(kG, 4),  Pitch(kF, 4), Pitch(kEb, 4), Pitch(kD, 4), Pitch(kC, 4),                 // the lament
    Pitch(kC, 5),  Pitch(kD, 5), Pitch(kE, 5),  Pitch(kG, 5), Pitch(kE, 5), Pitch(kC, 5),   // third round
    Pitch(kAb, 4),                                                                          // and the sulk
    Pitch(kC, 5),  Pitch(kC, 5), Pitch(kEb, 5), Pitch(kC, 5), Pitch(kD, 5),                 // the shouting
    Pitch(kAb, 4), Pitch(kG, 5), Pitch(kE, 5),                                              // sulk, big note, sigh
};

struct Delivery {
    int32_t instrument;
    int32_t volume;
};

Delivery DeliveryFor(int32_t frame) {
    switch (frame) {
        case kLoudSing:
            return {kVoice, 64};
        case kSadSing:
            return {kVoice, 54};
        case kAngryLeftSing:
        case kAngryRightSing:
            return {kShout, 50};
        case kSadSingHalf:
            return {kVoice, 30};
        default:
            return {kVoice, 48};
    }
}

}  // namespace

int32_t LoudCueMs() {
    for (const VoiceCue& cue : VoiceCues()) {
        if (cue.frame == kLoudSing) return cue.start;
    }
    throw std::runtime_error("the cue table has no loud singing");
}

void AddDuckVoices(Score& score) {
    std::vector<VoiceCue> cues = VoiceCues();
    if (cues.size() != std::size(kPitches)) {
        throw std::runtime_error("the song has " + std::to_string(std::size(kPitches)) +
                                 " sung notes but the cue table " + std::to_string(cues.size()));
    }
    for (size_t i = 0; i < cues.size(); ++i) {
        Delivery delivery = DeliveryFor(cues[i].frame);
        int32_t start = TickAt(cues[i].start);
        int32_t length = TickAt(cues[i].end) - start;
        int32_t channel = kVoiceChannel + static_cast<int32_t>(i) % kVoiceChannelCount;
        score.Note(start, channel, kPitches[i], delivery.instrument, delivery.volume, length);
        // Shouting and belting, the ducks double themselves an octave down
        // on the other channel, which is free again by then.
        bool doubled =
            cues[i].frame == kLoudSing || cues[i].frame == kAngryLeftSing || cues[i].frame == kAngryRightSing;
        if (doubled) {
            int32_t other = kVoiceChannel + (channel - kVoiceChannel + 1) % kVoiceChannelCount;
            score.Note(start, other, kPitches[i] - 12, kShout, delivery.volume, length);
        }
    }
}
