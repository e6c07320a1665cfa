#include <chrono>
#include <fmod.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>

#include "core/debug_log.h"
#include "sound/music_player.h"
#include "standin/fmod/fmod_fixture.h"
#include "support/program_log.h"
#include "support/test_files.h"
#include "support/xm_builder.h"

namespace {

// The music player on the real stand-in, logging to the program's log.
class MusicPlayerOnFmod : public FmodTest {
protected:
    void SetUp() override {
        FmodTest::SetUp();
        logSizeBefore = ProgramLogSize();
    }

    // The sound lines only: a test program of another layer, run by another
    // CTest at the same time, may write to the same log file.
    std::string Logged() const {
        std::istringstream appended(ReadWholeFile(debugLog.Path()).substr(logSizeBefore));
        std::string sound;
        for (std::string line; std::getline(appended, line);) {
            if (line.starts_with("[sfx] ") || line.starts_with("[ERROR] FSOUND")) sound += line + "\n";
        }
        return sound;
    }

    MusicPlayer player;
    size_t logSizeBefore = 0;
};

TEST_F(MusicPlayerOnFmod, AMissingModuleLogsTheNotFoundCode) {
    std::string path = TestFilePath("no-such.xm");
    EXPECT_FALSE(player.Load(path.c_str()));
    EXPECT_EQ(player.song, nullptr);
    EXPECT_EQ(Logged(),
              "[sfx] FSOUND_Init()...\n[sfx] FMUSIC_LoadSong(\"" + path + "\")...\n[ERROR] FSOUND FAILED: 9\n");
}

TEST_F(MusicPlayerOnFmod, AFileThatIsNoModuleLogsTheFormatCode) {
    std::string path = TestFilePath("picture.xm");
    WriteWholeFile(path, std::string("\x89PNG\r\n\x1a\n", 8) + std::string(200, '\0'));
    EXPECT_FALSE(player.Load(path.c_str()));
    EXPECT_EQ(Logged(),
              "[sfx] FSOUND_Init()...\n[sfx] FMUSIC_LoadSong(\"" + path + "\")...\n[ERROR] FSOUND FAILED: 10\n");
}

TEST_F(MusicPlayerOnFmod, ASuccessfulRunLogsFourLinesAndKeepsTime) {
    std::string path = WriteModule(XmSong{}, "song.xm");
    ASSERT_TRUE(player.Load(path.c_str()));
    int64_t wallStart = WallMilliseconds();
    player.Play();
    // However slowly a busy machine plays it, the song moves, and never
    // ahead of the wall clock.
    int32_t time = 0;
    while (time == 0 && WallMilliseconds() - wallStart < 60'000) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        time = player.GetTime();
    }
    int64_t wallElapsed = WallMilliseconds() - wallStart;
    player.Stop();

    EXPECT_GT(time, 0);
    EXPECT_LE(time, wallElapsed);
    EXPECT_EQ(Logged(), "[sfx] FSOUND_Init()...\n[sfx] FMUSIC_LoadSong(\"" + path +
                            "\")...\n[sfx] FMUSIC_PlaySong()...\n[sfx] FMUSIC_StopSong()...\n");
}

// What the driver does after a failed load: the intro still runs, silently.
TEST_F(MusicPlayerOnFmod, AfterAFailedLoadTheClockStillRuns) {
    EXPECT_FALSE(player.Load(TestFilePath("no-such.xm").c_str()));
    player.Play();
    int64_t wallStart = WallMilliseconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ExpectInStepWithTheWallClock(player.GetTime(), WallMilliseconds() - wallStart, kOnTheWallClock);
    player.Stop();
}

}  // namespace
