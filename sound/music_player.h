// Loads, plays, stops and times the demo's one tracker module. Its play time
// in milliseconds is the DemoClock that the intro is drawn on.
#pragma once

#include <cstdint>

struct FMUSIC_MODULE;

class MusicPlayer {
public:
    // Initialises the sound library and loads the module; true when a module
    // handle was obtained. A failure is logged with the library's code.
    bool Load(const char* path);

    void Play();

    // The DemoClock. Logs nothing: it is read every pass.
    int32_t GetTime() const;

    void Stop();

    // Empty until a load succeeds; never released.
    FMUSIC_MODULE* song = nullptr;
};

extern MusicPlayer musicPlayer;
