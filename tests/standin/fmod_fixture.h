// The sound stand-in keeps its state for the whole process. Each case starts
// with the sound system closed, on the real clock and SDL's dummy audio
// driver, and leaves it so; the cases pass one process each, as CTest runs
// them, and all in one.
#pragma once

#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <fmod.h>
#include <gtest/gtest.h>
#include <string>

#include "standin/fmod_host.h"
#include "support/test_files.h"
#include "support/xm_builder.h"

class FmodTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_DISKAUDIOFILE");
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
