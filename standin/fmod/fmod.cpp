// The calls of the tracker sound library: the sound system's state and which
// clock a song keeps time on. Decoding, the audio device and the virtual
// clock live in the fmod_*.cpp files beside this one.
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fmod.h>

#include "standin/fmod/fmod_host.h"
#include "standin/fmod/fmod_internal.h"

namespace standin {

constinit SoundSystem soundSystem;

int64_t SteadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int64_t FramesToMilliseconds(int64_t frames, int rate) { return frames * 1000 / rate; }

namespace {

// libxmp mixes at 4000 to 49170 Hz; these are the rates the original accepts.
constexpr int kMinMixRate = 8000;
constexpr int kMaxMixRate = 48000;

FMUSIC_MODULE& SongOrSilence(FMUSIC_MODULE* mod) { return mod != nullptr ? *mod : soundSystem.silence; }

int64_t ElapsedMilliseconds(const FMUSIC_MODULE& song) {
    switch (song.clock) {
        case SongClock::kDevice:
            return FramesToMilliseconds(DeviceAudibleFrames(song), soundSystem.mixRate);
        case SongClock::kVirtual:
            return VirtualElapsedMilliseconds(song);
        case SongClock::kWall:
            break;
    }
    return (SteadyNanoseconds() - song.startNs) / 1'000'000;
}

// The device's estimate can step back a little when a late callback
// arrives; the picture must not.
int SongTime(FMUSIC_MODULE& song) {
    if (!song.playing) return song.stoppedMs;
    int64_t elapsed = std::clamp<int64_t>(ElapsedMilliseconds(song) + soundSystem.startMs, 0, INT_MAX);
    song.lastMs = std::max(song.lastMs, static_cast<int>(elapsed));
    return song.lastMs;
}

void Stop(FMUSIC_MODULE& song) {
    if (!song.playing) return;
    song.stoppedMs = SongTime(song);
    if (song.clock == SongClock::kDevice) StopOnDevice(song);
    song.playing = false;
    if (soundSystem.playing == &song) soundSystem.playing = nullptr;
}

void StopPlayingSong() {
    if (soundSystem.playing != nullptr) Stop(*soundSystem.playing);
}

// The original library is torn down when its DLL unloads; here the audio
// thread must stop before the process's globals are destroyed.
void CloseAtExit() { FSOUND_Close(); }

}  // namespace

int64_t HeardFrames(int64_t framesHanded, int lastBufferFrames, int64_t nanosecondsSince, int rate) {
    int64_t heardAtCallback = framesHanded - lastBufferFrames;
    int64_t since = std::clamp<int64_t>(nanosecondsSince, 0, 1'000'000'000);
    return std::min(heardAtCallback + since * rate / 1'000'000'000, framesHanded);
}

// Rendered rather than sought: a decoder seeks only to the start of a
// pattern, and the picture is timed to the millisecond.
void SkipToStart(FMUSIC_MODULE& song) {
    constexpr int kChunkFrames = 1024;
    int16_t scratch[kChunkFrames * kChannels];
    int64_t left = int64_t{soundSystem.startMs} * soundSystem.mixRate / 1000;
    while (left > 0) {
        int count = static_cast<int>(std::min<int64_t>(left, kChunkFrames));
        RenderSong(song, scratch, count);
        left -= count;
    }
}

void ResetOutput() {
    StopPlayingSong();
    if (soundSystem.hasDevice) CloseAudioDevice();
    soundSystem.hasDevice = false;
    soundSystem.initialised = false;
}

}  // namespace standin

using standin::soundSystem;

signed char FSOUND_Init(int mixrate, int, unsigned int) {
    if (mixrate < standin::kMinMixRate || mixrate > standin::kMaxMixRate) {
        soundSystem.lastError = FMOD_ERR_INIT;
        return 0;
    }
    if (soundSystem.initialised && mixrate == soundSystem.mixRate) {
        return soundSystem.hasDevice || soundSystem.virtualClock ? 1 : 0;
    }
    standin::ResetOutput();
    if (!soundSystem.atExitRegistered) {
        std::atexit(standin::CloseAtExit);
        soundSystem.atExitRegistered = true;
    }
    soundSystem.initialised = true;
    soundSystem.mixRate = mixrate;
    if (soundSystem.virtualClock) return 1;
    standin::ReadTestSettings();

    soundSystem.hasDevice = standin::OpenAudioDevice(mixrate);
    if (soundSystem.hasDevice) return 1;
    soundSystem.lastError = FMOD_ERR_INIT;
    return 0;
}

void FSOUND_Close() {
    standin::ResetOutput();
    while (soundSystem.songs != nullptr) {
        FMUSIC_MODULE* next = soundSystem.songs->next;
        standin::FreeSong(soundSystem.songs);
        soundSystem.songs = next;
    }
    soundSystem.silence = FMUSIC_MODULE{};
}

FMUSIC_MODULE* FMUSIC_LoadSong(const char* name) {
    if (!soundSystem.initialised) {
        soundSystem.lastError = FMOD_ERR_UNINITIALIZED;
        return nullptr;
    }
    int error = FMOD_ERR_NONE;
    FMUSIC_MODULE* song = standin::LoadSongFile(name, &error);
    if (song == nullptr) {
        soundSystem.lastError = error;
        return nullptr;
    }
    song->next = soundSystem.songs;
    soundSystem.songs = song;
    return song;
}

signed char FMUSIC_PlaySong(FMUSIC_MODULE* mod) {
    using standin::SongClock;
    FMUSIC_MODULE& song = standin::SongOrSilence(mod);
    standin::StopPlayingSong();
    song.playing = true;
    song.stoppedMs = 0;
    song.lastMs = 0;
    song.startNs = standin::SteadyNanoseconds();
    if (soundSystem.virtualClock) {
        song.clock = SongClock::kVirtual;
        standin::StartOnVirtualClock(song);
    } else if (soundSystem.hasDevice && song.decoder != nullptr && standin::StartOnDevice(song)) {
        song.clock = SongClock::kDevice;
    } else {
        song.clock = SongClock::kWall;
    }
    soundSystem.playing = &song;
    return mod != nullptr ? 1 : 0;
}

signed char FMUSIC_StopSong(FMUSIC_MODULE* mod) {
    standin::Stop(standin::SongOrSilence(mod));
    return mod != nullptr ? 1 : 0;
}

int FMUSIC_GetTime(FMUSIC_MODULE* mod) {
    FMUSIC_MODULE& song = standin::SongOrSilence(mod);
    int time = standin::SongTime(song);
    if (song.playing) standin::LogClockReading(time);
    return time;
}

int FSOUND_GetError() { return soundSystem.lastError; }

int FmodDecodedTime(FMUSIC_MODULE* mod) {
    using standin::SongClock;
    FMUSIC_MODULE& song = standin::SongOrSilence(mod);
    if (!song.playing) return song.stoppedMs;
    switch (song.clock) {
        case SongClock::kDevice:
            return static_cast<int>(
                standin::FramesToMilliseconds(standin::DeviceDecodedFrames(song), soundSystem.mixRate));
        case SongClock::kVirtual:
            return static_cast<int>(standin::FramesToMilliseconds(song.framesRendered, soundSystem.mixRate));
        case SongClock::kWall:
            break;
    }
    return standin::SongTime(song);
}
