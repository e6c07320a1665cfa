// The song of the demo: composed around the intro's cue table, so the ducks'
// singing lands where the picture shows them sing, then a quieter loop for
// the game.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/song/score.h"
#include "assets/song/xm_module.h"

enum SongChannel : int32_t {
    // The ducks, and nothing else: two channels taking turns, so a note can
    // fade out on one while the next starts on the other.
    kVoiceChannel = 0,
    kLeadChannel = kVoiceChannel + 2,
    kVoiceChannelCount = kLeadChannel - kVoiceChannel,
    kBellChannel,
    kBassChannel,
    kPadChannel,  // three channels from here
    kPluckChannel = kPadChannel + 3,
    kPowerChannel,
    kKickChannel,
    kSnareChannel,
    kRollChannel,  // a second snare, for rolls faster than a row
    kHatChannel,
    kCymbalChannel,
    kControlChannel,  // global volume only
    kSongChannels,
};

struct ComposedSong {
    XmModule module;
    std::vector<PlacedNote> placed;  // every note, in time order
    int32_t loopStartMs = 0;         // where the song returns after its end
};

ComposedSong ComposeSong();
