// The waveOut device that plays the song on Windows: a thread of ours refills
// the buffers the device hands back, and the device's own position says how
// much of the song has been heard. <windows.h> brings waveOut with it.
#include <algorithm>
#include <cstdio>
#include <windows.h>

#include "standin/fmod/fmod_internal.h"

namespace standin {

namespace {

// 23 ms each at 44100 Hz, 186 ms in all: with four (93 ms) Wine's PulseAudio
// driver ran dry on a busy machine; a stop is still heard within a fifth of
// a second.
constexpr int kBufferCount = 8;
constexpr int kBufferFrames = 1024;

// The thread and the main thread touch the song, its decoder and the count
// of frames handed only inside the lock.
struct Device {
    HWAVEOUT handle = nullptr;
    HANDLE bufferDone = nullptr;  // set by the device for each buffer it hands back
    HANDLE thread = nullptr;
    CRITICAL_SECTION lock{};
    bool quit = false;
    int rate = 0;
    FMUSIC_MODULE* song = nullptr;  // null: nothing is queued
    int64_t framesHanded = 0;
    WAVEHDR headers[kBufferCount]{};
    int16_t samples[kBufferCount][kBufferFrames * kChannels]{};
};

Device device;

// Inside the lock. Buffers the device still holds are left alone; the event
// brings the thread back for them.
void QueueFreeBuffers() {
    if (device.song == nullptr) return;
    for (WAVEHDR& header : device.headers) {
        if ((header.dwFlags & WHDR_INQUEUE) != 0) continue;
        RenderSong(*device.song, reinterpret_cast<int16_t*>(header.lpData), kBufferFrames);
        device.framesHanded += kBufferFrames;
        waveOutWrite(device.handle, &header, sizeof header);
    }
}

DWORD WINAPI FillBuffers(LPVOID) {
    for (;;) {
        WaitForSingleObject(device.bufferDone, INFINITE);
        EnterCriticalSection(&device.lock);
        bool quit = device.quit;
        if (!quit) QueueFreeBuffers();
        LeaveCriticalSection(&device.lock);
        if (quit) return 0;
    }
}

// Frames played since the last reset, as the device counts them.
int64_t PlayedFrames() {
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(device.handle, &time, sizeof time) != MMSYSERR_NOERROR) return 0;
    if (time.wType == TIME_SAMPLES) return time.u.sample;
    if (time.wType == TIME_BYTES) return time.u.cb / kBytesPerFrame;
    return 0;
}

void WarnNoDevice(const char* step, MMRESULT result) {
    std::fprintf(stderr, "warning: no audio device (%s: %u); the music plays silently on the wall clock\n", step,
                 result);
}

}  // namespace

bool OpenAudioDevice(int rate) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = kChannels;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = 16;  // what libxmp renders with no format flags
    format.nBlockAlign = kBytesPerFrame;
    format.nAvgBytesPerSec = format.nSamplesPerSec * kBytesPerFrame;

    HANDLE bufferDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (bufferDone == nullptr) {
        WarnNoDevice("CreateEvent", MMSYSERR_NOMEM);
        return false;
    }
    HWAVEOUT handle = nullptr;
    MMRESULT result =
        waveOutOpen(&handle, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(bufferDone), 0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        WarnNoDevice("waveOutOpen", result);
        CloseHandle(bufferDone);
        return false;
    }
    device.handle = handle;
    device.bufferDone = bufferDone;
    device.rate = rate;
    device.quit = false;
    device.song = nullptr;
    device.framesHanded = 0;
    InitializeCriticalSection(&device.lock);
    for (int index = 0; index < kBufferCount; ++index) {
        WAVEHDR& header = device.headers[index];
        header = WAVEHDR{};
        header.lpData = reinterpret_cast<LPSTR>(device.samples[index]);
        header.dwBufferLength = sizeof device.samples[index];
        waveOutPrepareHeader(handle, &header, sizeof header);
    }
    device.thread = CreateThread(nullptr, 0, FillBuffers, nullptr, 0, nullptr);
    if (device.thread == nullptr) {
        WarnNoDevice("CreateThread", MMSYSERR_NOMEM);
        CloseAudioDevice();
        return false;
    }
    // Above the main loop, so a busy frame never keeps the buffers waiting.
    SetThreadPriority(device.thread, THREAD_PRIORITY_TIME_CRITICAL);
    return true;
}

void CloseAudioDevice() {
    EnterCriticalSection(&device.lock);
    device.quit = true;
    device.song = nullptr;
    waveOutReset(device.handle);
    LeaveCriticalSection(&device.lock);
    if (device.thread != nullptr) {
        SetEvent(device.bufferDone);
        WaitForSingleObject(device.thread, INFINITE);
        CloseHandle(device.thread);
    }
    for (WAVEHDR& header : device.headers) waveOutUnprepareHeader(device.handle, &header, sizeof header);
    waveOutClose(device.handle);
    CloseHandle(device.bufferDone);
    DeleteCriticalSection(&device.lock);
    device.handle = nullptr;
    device.bufferDone = nullptr;
    device.thread = nullptr;
    device.song = nullptr;
}

bool StartOnDevice(FMUSIC_MODULE& song) {
    EnterCriticalSection(&device.lock);
    // Drops what an earlier song queued, and the position starts over at 0.
    device.song = nullptr;
    waveOutReset(device.handle);
    bool started = xmp_start_player(song.decoder, device.rate, 0) == 0;
    if (started) {
        SkipToStart(song);
        device.song = &song;
        device.framesHanded = 0;
        QueueFreeBuffers();
    }
    LeaveCriticalSection(&device.lock);
    return started;
}

void StopOnDevice(FMUSIC_MODULE& song) {
    EnterCriticalSection(&device.lock);
    if (device.song == &song) {
        device.song = nullptr;
        waveOutReset(device.handle);
    }
    LeaveCriticalSection(&device.lock);
}

// The device counts what it has played; it never counts more than it was
// given, but the minimum keeps a driver's rounding from running ahead.
int64_t DeviceAudibleFrames(const FMUSIC_MODULE& song) {
    EnterCriticalSection(&device.lock);
    bool playingThisSong = device.song == &song;
    int64_t handed = device.framesHanded;
    int64_t played = playingThisSong ? PlayedFrames() : 0;
    LeaveCriticalSection(&device.lock);
    return std::min(played, handed);
}

int64_t DeviceDecodedFrames(const FMUSIC_MODULE& song) {
    EnterCriticalSection(&device.lock);
    int64_t handed = device.song == &song ? device.framesHanded : 0;
    LeaveCriticalSection(&device.lock);
    return handed;
}

}  // namespace standin
