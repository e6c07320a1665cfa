#include "sound/music_player.h"

#include <fmod.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "fakes/fake_fmod.h"
#include "support/program_log.h"

namespace {

// Keeps what the player appends to the program's log.
class MusicPlayerTest : public ProgramLogTest {
protected:
    void SetUp() override {
        ResetFakeFmod();
        ProgramLogTest::SetUp();
    }

    MusicPlayer player;
};

TEST_F(MusicPlayerTest, LoadInitialisesThenLoadsAndLogsBoth) {
    EXPECT_TRUE(player.Load("/srv/duck/data/duck.xm"));
    EXPECT_NE(player.song, nullptr);
    EXPECT_EQ(TheFakeFmod().calls, (std::vector<std::string>{"init 44100 32 0", "load /srv/duck/data/duck.xm"}));
    EXPECT_EQ(Logged(), "[sfx] FSOUND_Init()...\n[sfx] FMUSIC_LoadSong(\"/srv/duck/data/duck.xm\")...\n");
}

TEST_F(MusicPlayerTest, AFailedLoadLogsTheLibrarysCode) {
    TheFakeFmod().loadSucceeds = false;
    TheFakeFmod().errorCode = FMOD_ERR_FILE_FORMAT;
    EXPECT_FALSE(player.Load("/srv/duck/data/duck.xm"));
    EXPECT_EQ(player.song, nullptr);
    EXPECT_EQ(Logged(),
              "[sfx] FSOUND_Init()...\n[sfx] FMUSIC_LoadSong(\"/srv/duck/data/duck.xm\")...\n"
              "[ERROR] FSOUND FAILED: 10\n");
}

TEST_F(MusicPlayerTest, PlayAndStopAreLoggedButTheClockIsNot) {
    player.Load("duck.xm");
    TheFakeFmod().time = [] { return 16800; };
    size_t afterLoad = Logged().size();

    player.Play();
    EXPECT_EQ(player.GetTime(), 16800);
    EXPECT_EQ(player.GetTime(), 16800);
    player.Stop();

    EXPECT_EQ(Logged().substr(afterLoad), "[sfx] FMUSIC_PlaySong()...\n[sfx] FMUSIC_StopSong()...\n");
    EXPECT_EQ(TheFakeFmod().getTimeCalls, 2);
}

}  // namespace
