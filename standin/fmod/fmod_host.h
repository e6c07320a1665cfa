// What a host (capture mode, measuring tools, tests) may ask of the sound
// stand-in beyond the library's own calls: a virtual clock that renders the
// music offline into a sink, and the decoded position.
#pragma once

#include <fmod.h>

#include "standin/fmod/audio_sink.h"

// From now on songs keep time on a virtual clock that moves only when the
// host calls FmodAdvanceVirtualClock, by whole ticks of 1/ticksPerSecond
// second (a capture's frame rate, or 1000 for milliseconds). No audio device
// is opened: the playing song is rendered into the sink, frame-exact, as the
// clock moves, so a run is the same sample for sample on any machine. The
// empty handle renders silence. Switching clocks stops the music and closes
// the output, so call it before FSOUND_Init. The sink must live until the
// clock is switched again.
void FmodUseVirtualClock(AudioSink* sink, int ticksPerSecond);

// Moves the virtual clock on; FMUSIC_GetTime then reads the virtual time.
void FmodAdvanceVirtualClock(int ticks);

// Every song played from now on starts that far in: the music from there,
// and FMUSIC_GetTime counting from there.
void FmodStartSongsAt(int milliseconds);

// Back to the audio device and the steady clock, from the next FSOUND_Init.
void FmodUseRealClock();

// Milliseconds of the playing song decoded so far: handed to the device
// (ahead of FMUSIC_GetTime by what the device still holds) or to the sink.
int FmodDecodedTime(FMUSIC_MODULE* mod);
