// The Web Audio output that plays the song in a browser. The browser calls
// nothing of ours from its audio thread, so each clock reading tops up the
// queue of the page's audio node, and the node's count of frames played says
// how much has been heard.
#include <algorithm>
#include <cstdio>

#include "standin/fmod/fmod_internal.h"

// webaudio.js
extern "C" {
int WebAudioOpen(int rate);
void WebAudioClose();
void WebAudioRestart();
void WebAudioQueue(const int16_t* frames, int frameCount);
double WebAudioPlayedFrames();
double WebAudioHeardFrames();
}

namespace standin {

namespace {

// 23 ms at 44100 Hz, and four of them queued ahead: a slow frame or two of
// the page's loop does not starve the node, and a stop is heard soon.
constexpr int kChunkFrames = 1024;
constexpr int kQueuedAheadFrames = 4 * kChunkFrames;

struct Device {
    bool open = false;
    FMUSIC_MODULE* song = nullptr;  // null: nothing is queued
    int64_t framesHanded = 0;
    int16_t chunk[kChunkFrames * kChannels] = {};
};

Device device;

void TopUp() {
    if (device.song == nullptr) return;
    auto played = static_cast<int64_t>(WebAudioPlayedFrames());
    while (device.framesHanded - played < kQueuedAheadFrames) {
        RenderSong(*device.song, device.chunk, kChunkFrames);
        WebAudioQueue(device.chunk, kChunkFrames);
        device.framesHanded += kChunkFrames;
    }
}

}  // namespace

bool OpenAudioDevice(int rate) {
    if (WebAudioOpen(rate) == 0) {
        std::fprintf(stderr,
                     "warning: no audio device (Web Audio: no audio context at %d Hz); the music plays "
                     "silently on the wall clock\n",
                     rate);
        return false;
    }
    device.open = true;
    return true;
}

void CloseAudioDevice() {
    WebAudioClose();
    device.open = false;
    device.song = nullptr;
}

bool StartOnDevice(FMUSIC_MODULE& song) {
    if (xmp_start_player(song.decoder, soundSystem.mixRate, 0) != 0) return false;
    SkipToStart(song);
    WebAudioRestart();
    device.song = &song;
    device.framesHanded = 0;
    TopUp();
    return true;
}

void StopOnDevice(FMUSIC_MODULE& song) {
    if (device.song != &song) return;
    device.song = nullptr;
    WebAudioRestart();
}

int64_t DeviceAudibleFrames(const FMUSIC_MODULE& song) {
    if (device.song != &song) return 0;
    TopUp();
    return std::min(static_cast<int64_t>(WebAudioHeardFrames()), device.framesHanded);
}

int64_t DeviceDecodedFrames(const FMUSIC_MODULE& song) { return device.song == &song ? device.framesHanded : 0; }

}  // namespace standin
