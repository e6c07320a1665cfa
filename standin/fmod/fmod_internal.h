// What the parts of the sound stand-in share: the song, the sound system's
// state, and the calls between the API, the audio device and the virtual clock.
#pragma once

#include <xmp.h>

#include <cstdint>
#include <fmod.h>

class AudioSink;

namespace standin {

constexpr int kChannels = 2;
constexpr int kBytesPerFrame = kChannels * 2;

// Which clock a played song keeps time on.
enum class SongClock {
    kDevice,   // frames the audio device has played
    kWall,     // the steady clock: no device, or the empty handle
    kVirtual,  // the host's virtual clock; audio goes to its sink
};

}  // namespace standin

// Plain data, so that nothing is destroyed under the audio thread at exit.
struct FMUSIC_MODULE {
    xmp_context decoder = nullptr;  // null for the stand-in of the empty handle
    FMUSIC_MODULE* next = nullptr;  // the loaded songs, for FSOUND_Close
    bool playing = false;
    standin::SongClock clock = standin::SongClock::kWall;
    int64_t startNs = 0;         // steady clock at FMUSIC_PlaySong
    int64_t startTicks = 0;      // virtual clock at FMUSIC_PlaySong
    int64_t framesRendered = 0;  // virtual clock: frames handed to the sink
    int stoppedMs = 0;           // the time while not playing
    int lastMs = 0;              // the last time reported, so it never goes back
};

namespace standin {

struct SoundSystem {
    bool initialised = false;
    bool hasDevice = false;
    bool atExitRegistered = false;
    int mixRate = 44100;
    int lastError = FMOD_ERR_NONE;
    FMUSIC_MODULE* songs = nullptr;    // every loaded song
    FMUSIC_MODULE* playing = nullptr;  // the one playing song, or null
    FMUSIC_MODULE silence;             // stands in for the empty handle

    int startMs = 0;  // where every song played starts, and its time with it

    bool virtualClock = false;
    AudioSink* sink = nullptr;
    int ticksPerSecond = 1000;
    int64_t virtualTicks = 0;
};

extern constinit SoundSystem soundSystem;

int64_t SteadyNanoseconds();
int64_t FramesToMilliseconds(int64_t frames, int rate);

// Fills frameCount interleaved stereo frames from the song's decoder, or
// with silence when it has none or it fails. Runs on the audio thread too:
// no allocation, no locks.
void RenderSong(FMUSIC_MODULE& song, int16_t* frames, int frameCount);

// Decodes and drops the song's first startMs, so what plays next is exactly
// what would play there. Call right after the decoder's player starts.
void SkipToStart(FMUSIC_MODULE& song);

// Stops the music and closes the device; FSOUND_Init opens it again.
void ResetOutput();

// Reads a module file; on failure null and *error says why.
FMUSIC_MODULE* LoadSongFile(const char* path, int* error);
void FreeSong(FMUSIC_MODULE* song);

// The audio device: SDL's (fmod_device.cpp), or waveOut on Windows
// (fmod_waveout.cpp). OpenAudioDevice warns on stderr when it fails.
bool OpenAudioDevice(int rate);
void CloseAudioDevice();
bool StartOnDevice(FMUSIC_MODULE& song);
void StopOnDevice(FMUSIC_MODULE& song);
int64_t DeviceAudibleFrames(const FMUSIC_MODULE& song);

// The frames heard of framesHanded, when the device took the last
// lastBufferFrames of them nanosecondsSince ago: that buffer is not heard
// before it is taken, then in real time, and never more than was handed.
int64_t HeardFrames(int64_t framesHanded, int lastBufferFrames, int64_t nanosecondsSince, int rate);
int64_t DeviceDecodedFrames(const FMUSIC_MODULE& song);

// The test mode of a run on a real device (fmod_clock_log.cpp): read at
// FSOUND_Init, then one line per reading of the clock.
void ReadTestSettings();
void LogClockReading(int milliseconds);

// The virtual clock (fmod_offline.cpp).
void StartOnVirtualClock(FMUSIC_MODULE& song);
int64_t VirtualElapsedMilliseconds(const FMUSIC_MODULE& song);

}  // namespace standin
