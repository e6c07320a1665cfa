// The song's instruments, every sample synthesised here.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/song/xm_module.h"

// XM instrument numbers, from 1.
enum SongInstrument : int32_t {
    kVoice = 1,  // the ducks: a nasal, vowel-like voice with a quick pitch drop
    kShout,      // the same voice pushed harder, for the angry ducks
    kPad,        // three slowly beating saws
    kBass,
    kGrowl,  // a hollow, saturated bass for the angry parts
    kPluck,
    kBell,
    kFlute,  // the birthday melody
    kPower,  // a saturated root-fifth-octave chord
    kKick,
    kSnare,
    kHat,
    kOpenHat,
    kCrash,
};

std::vector<XmInstrument> MakeInstruments();
