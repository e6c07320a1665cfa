// Measures the sound stand-in's clock on an audio device (SDL's disk driver
// writing to /dev/null unless SDL_AUDIODRIVER says otherwise): how far
// FMUSIC_GetTime trails the decoded position, how finely it moves, and how it
// drifts from the wall clock.
//
//   fmod_clock <module> [seconds, default 60] [mix rate, default 44100]
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fmod.h>
#include <thread>

#include "standin/fmod/fmod_host.h"

namespace {

int64_t WallMilliseconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

struct Statistics {
    int smallest = 1 << 30;
    int largest = -(1 << 30);
    int64_t sum = 0;
    int64_t count = 0;

    void Add(int value) {
        smallest = std::min(smallest, value);
        largest = std::max(largest, value);
        sum += value;
        ++count;
    }
    double Mean() const { return count > 0 ? static_cast<double>(sum) / static_cast<double>(count) : 0.0; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <module> [seconds] [mix rate]\n", argv[0]);
        return 2;
    }
    int seconds = argc > 2 ? std::max(std::atoi(argv[2]), 2) : 60;
    int rate = argc > 3 ? std::atoi(argv[3]) : 44100;
    // SDL's dummy driver counts as no device; the disk driver plays on a
    // thread of its own like a sound card, paced by sleeps.
    setenv("SDL_AUDIODRIVER", "disk", 0);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);

    if (FSOUND_Init(rate, 32, 0) == 0) std::fprintf(stderr, "no audio device: measuring the wall-clock fallback\n");
    FMUSIC_MODULE* song = FMUSIC_LoadSong(argv[1]);
    if (song == nullptr) {
        std::fprintf(stderr, "cannot load %s: error %d\n", argv[1], FSOUND_GetError());
        return 1;
    }

    FMUSIC_PlaySong(song);
    auto start = std::chrono::steady_clock::now();
    // Drift is counted from the first second on, past the device's start-up.
    int64_t wallAtOneSecond = -1;
    int heardAtOneSecond = 0;
    int decodedAtOneSecond = 0;
    Statistics lag;
    Statistics step;
    int previous = 0;
    int backSteps = 0;
    int64_t nextReport = 10000;
    std::printf("  wall ms   heard ms   heard - wall   decoded - heard\n");
    for (;;) {
        int64_t wall = WallMilliseconds(start);
        int heard = FMUSIC_GetTime(song);
        int decoded = FmodDecodedTime(song);
        lag.Add(decoded - heard);
        if (heard < previous) ++backSteps;
        if (heard != previous) step.Add(heard - previous);
        previous = heard;
        if (wallAtOneSecond < 0 && wall >= 1000) {
            wallAtOneSecond = wall;
            heardAtOneSecond = heard;
            decodedAtOneSecond = decoded;
        }
        if (wall >= nextReport) {
            std::printf("%9lld %10d %14lld %17d\n", static_cast<long long>(wall), heard,
                        static_cast<long long>(heard - wall), decoded - heard);
            nextReport += 10000;
        }
        if (wall >= seconds * 1000LL) {
            int64_t wallSpan = wall - wallAtOneSecond;
            int64_t heardSpan = heard - heardAtOneSecond;
            std::printf("\nreadings %lld, steps back %d\n", static_cast<long long>(lag.count), backSteps);
            std::printf("decoded - heard: mean %.1f ms, min %d, max %d\n", lag.Mean(), lag.smallest, lag.largest);
            std::printf("step between readings that moved: mean %.1f ms, max %d\n", step.Mean(), step.largest);
            std::printf("drift from 1 s to %lld ms: heard %lld ms in %lld ms of wall clock: %+lld ms (%+.2f%%)\n",
                        static_cast<long long>(wall), static_cast<long long>(heardSpan),
                        static_cast<long long>(wallSpan), static_cast<long long>(heardSpan - wallSpan),
                        100.0 * static_cast<double>(heardSpan - wallSpan) / static_cast<double>(wallSpan));
            // A device that takes frames faster or slower than real time (SDL's
            // disk driver sleeps whole milliseconds per buffer, 11 for 11.6 at
            // 44100 Hz) moves the heard clock with it: the music is the reference.
            int64_t decodedSpan = decoded - decodedAtOneSecond;
            std::printf("the device's own pace: %lld ms decoded in %lld ms of wall clock (%+.2f%%)\n",
                        static_cast<long long>(decodedSpan), static_cast<long long>(wallSpan),
                        100.0 * static_cast<double>(decodedSpan - wallSpan) / static_cast<double>(wallSpan));
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    FSOUND_Close();
    return 0;
}
