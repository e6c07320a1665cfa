// The sound stand-in keeps its state for the whole process. Each case starts
// with the sound system closed, on the real clock and SDL's disk audio driver
// writing to /dev/null (a device that needs no sound card), and leaves it so;
// the cases pass one process each, as CTest runs them, and all in one.
#pragma once

#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fmod.h>
#include <gtest/gtest.h>
#include <string>

#include "standin/fmod/fmod_host.h"
#include "support/test_files.h"
#include "support/xm_builder.h"

class FmodTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    }

    void TearDown() override {
        FSOUND_Close();
        FmodUseRealClock();
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }

    // Writes the module to the test's output folder; returns its path.
    static std::string WriteModule(const XmSong& song, const std::string& name) {
        std::string path = TestFilePath(name);
        WriteWholeFile(path, BuildXm(song));
        return path;
    }
};

inline int64_t WallMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// How far the song's clock may stray from the wall clock over an interval.
struct ClockTolerance {
    int percent;
    int milliseconds;
};

// Without a device the song's clock is the steady clock itself: only the
// moments of the two readings differ, by a preemption at most.
constexpr ClockTolerance kOnTheWallClock{0, 15};

inline void ExpectInStepWithTheWallClock(int songElapsed, int64_t wallElapsed, ClockTolerance tolerance) {
    int64_t allowed = wallElapsed * tolerance.percent / 100 + tolerance.milliseconds;
    EXPECT_LE(std::abs(songElapsed - wallElapsed), allowed)
        << "the song moved " << songElapsed << " ms in " << wallElapsed << " ms of wall clock";
}
