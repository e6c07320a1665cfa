// The virtual clock of capture mode: the host moves it, and the playing song
// is rendered into the host's sink in step, with no audio device.
#include <algorithm>

#include "standin/fmod/fmod_host.h"
#include "standin/fmod/fmod_internal.h"

namespace standin {

namespace {

// The piece rendered at a time, so a step of any length needs no allocation.
constexpr int kRenderFrames = 1024;

int64_t TicksSincePlay(const FMUSIC_MODULE& song) { return soundSystem.virtualTicks - song.startTicks; }

// Counted from the start of the song rather than added up step by step, so a
// clock moving in steps of 1/30 s loses no fraction of a frame.
void RenderDueFrames(FMUSIC_MODULE& song) {
    int64_t due = TicksSincePlay(song) * soundSystem.mixRate / soundSystem.ticksPerSecond;
    int16_t frames[kRenderFrames * kChannels];
    while (song.framesRendered < due) {
        int count = static_cast<int>(std::min<int64_t>(due - song.framesRendered, kRenderFrames));
        RenderSong(song, frames, count);
        if (soundSystem.sink != nullptr) soundSystem.sink->Write(frames, count);
        song.framesRendered += count;
    }
}

}  // namespace

void StartOnVirtualClock(FMUSIC_MODULE& song) {
    // Should the decoder refuse to start, RenderSong writes silence.
    if (song.decoder != nullptr && xmp_start_player(song.decoder, soundSystem.mixRate, 0) == 0) SkipToStart(song);
    song.startTicks = soundSystem.virtualTicks;
    song.framesRendered = 0;
    if (soundSystem.sink != nullptr) soundSystem.sink->Start(soundSystem.mixRate);
}

int64_t VirtualElapsedMilliseconds(const FMUSIC_MODULE& song) {
    return TicksSincePlay(song) * 1000 / soundSystem.ticksPerSecond;
}

}  // namespace standin

using standin::soundSystem;

void FmodUseVirtualClock(AudioSink* sink, int ticksPerSecond) {
    standin::ResetOutput();
    soundSystem.virtualClock = true;
    soundSystem.sink = sink;
    soundSystem.ticksPerSecond = std::max(ticksPerSecond, 1);
    soundSystem.virtualTicks = 0;
}

void FmodAdvanceVirtualClock(int ticks) {
    if (!soundSystem.virtualClock || ticks <= 0) return;
    soundSystem.virtualTicks += ticks;
    FMUSIC_MODULE* song = soundSystem.playing;
    if (song != nullptr && song->clock == standin::SongClock::kVirtual) standin::RenderDueFrames(*song);
}

void FmodStartSongsAt(int milliseconds) { soundSystem.startMs = std::max(milliseconds, 0); }

void FmodUseRealClock() {
    standin::ResetOutput();
    soundSystem.virtualClock = false;
    soundSystem.sink = nullptr;
    soundSystem.ticksPerSecond = 1000;
    soundSystem.virtualTicks = 0;
}
