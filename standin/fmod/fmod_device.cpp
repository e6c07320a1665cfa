// The SDL audio device that plays the song: its callback decodes on SDL's
// audio thread, and the main thread reads from it how much has been heard.
#include <SDL.h>

#include <algorithm>
#include <alsa/asoundlib.h>
#include <cstdio>
#include <cstring>

#include "standin/fmod/fmod_internal.h"

namespace standin {

namespace {

// 11.6 ms at 44100 Hz: the clock is never more than one such step away from
// what is heard, without interpolation, and the audio thread wakes often
// enough that a busy main loop does not starve it.
constexpr Uint16 kBufferFrames = 512;

// What the callback shares with the main thread. SDL holds its lock on the
// device while the callback runs, so the main thread touches these, and the
// playing song's decoder, only inside SDL_LockAudioDevice.
struct Device {
    SDL_AudioDeviceID id = 0;
    int rate = 0;
    FMUSIC_MODULE* song = nullptr;  // null: the callback plays silence
    int64_t framesHanded = 0;
    int64_t lastCallbackNs = 0;
    int lastBufferFrames = 0;
};

constinit Device device;

struct DeviceReading {
    bool playingThisSong = false;
    int64_t framesHanded = 0;
    int64_t lastCallbackNs = 0;
    int lastBufferFrames = 0;
};

void SDLCALL FillBuffer(void*, Uint8* stream, int length) {
    if (device.song == nullptr) {
        std::memset(stream, 0, static_cast<size_t>(length));
        return;
    }
    int frames = length / kBytesPerFrame;
    RenderSong(*device.song, reinterpret_cast<int16_t*>(stream), frames);
    device.framesHanded += frames;
    device.lastBufferFrames = frames;
    device.lastCallbackNs = SteadyNanoseconds();
}

DeviceReading Read(const FMUSIC_MODULE& song) {
    SDL_LockAudioDevice(device.id);
    DeviceReading reading{device.song == &song, device.framesHanded, device.lastCallbackNs, device.lastBufferFrames};
    SDL_UnlockAudioDevice(device.id);
    return reading;
}

// ALSA's library prints its own lines while SDL looks for a sound card; ours
// says in one line what is missing and what happens instead.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void WarnNoDevice(const char* step, const char* reason) {
    std::fprintf(stderr, "warning: no audio device (%s: %s); the music plays silently on the wall clock\n", step,
                 reason);
}

}  // namespace

bool OpenAudioDevice(int rate) {
    snd_lib_error_set_handler(IgnoreAlsaError);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        WarnNoDevice("SDL audio", SDL_GetError());
        return false;
    }
    // SDL's dummy driver, named alone or reached down a list of drivers,
    // plays nothing and takes each buffer after a sleep of whole milliseconds
    // (11 for 11.6 at 44100 Hz): the wall clock keeps better time.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver != nullptr && std::strcmp(driver, "dummy") == 0) {
        WarnNoDevice("SDL audio driver", driver);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;  // what libxmp renders with no format flags
    wanted.channels = kChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = FillBuffer;
    // With no changes allowed SDL converts to whatever the hardware takes, so
    // the callback always gets the asked format and buffer size.
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (id == 0) {
        WarnNoDevice("open", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    device = Device{};
    device.id = id;
    device.rate = rate;
    return true;
}

void CloseAudioDevice() {
    SDL_CloseAudioDevice(device.id);  // waits for the audio thread to end
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device = Device{};
}

bool StartOnDevice(FMUSIC_MODULE& song) {
    SDL_LockAudioDevice(device.id);
    bool started = xmp_start_player(song.decoder, device.rate, 0) == 0;
    if (started) {
        SkipToStart(song);
        device.song = &song;
        device.framesHanded = 0;
        device.lastBufferFrames = 0;
    }
    SDL_UnlockAudioDevice(device.id);
    if (started) SDL_PauseAudioDevice(device.id, 0);
    return started;
}

void StopOnDevice(FMUSIC_MODULE& song) {
    SDL_LockAudioDevice(device.id);
    bool wasPlaying = device.song == &song;
    if (wasPlaying) device.song = nullptr;
    SDL_UnlockAudioDevice(device.id);
    if (wasPlaying) SDL_PauseAudioDevice(device.id, 1);
}

int64_t DeviceAudibleFrames(const FMUSIC_MODULE& song) {
    DeviceReading reading = Read(song);
    if (!reading.playingThisSong || reading.framesHanded == 0) return 0;
    // A device that holds more than one buffer plays the last one later
    // still, and SDL2 does not say by how much.
    return HeardFrames(reading.framesHanded, reading.lastBufferFrames, SteadyNanoseconds() - reading.lastCallbackNs,
                       device.rate);
}

int64_t DeviceDecodedFrames(const FMUSIC_MODULE& song) {
    DeviceReading reading = Read(song);
    return reading.playingThisSong ? reading.framesHanded : 0;
}

}  // namespace standin
