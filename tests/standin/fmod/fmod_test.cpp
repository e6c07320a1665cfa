#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fmod.h>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "standin/fmod/fmod_fixture.h"
#include "standin/fmod/fmod_host.h"
#include "standin/fmod/fmod_internal.h"
#include "support/test_files.h"
#include "support/xm_builder.h"

namespace {

void SleepMilliseconds(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Asks every millisecond until done says yes; false only after a minute,
// which no machine however busy needs for a song to move a second.
template <typename Done>
bool WaitUntil(Done done) {
    int64_t start = WallMilliseconds();
    while (!done()) {
        if (WallMilliseconds() - start > 60'000) return false;
        SleepMilliseconds(1);
    }
    return true;
}

// Loading

using FmodLoad = FmodTest;

TEST_F(FmodLoad, AModuleLoadsOnceTheSoundSystemIsUp) {
    std::string path = WriteModule(XmSong{}, "song.xm");
    EXPECT_EQ(FMUSIC_LoadSong(path.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);

    ASSERT_EQ(FSOUND_Init(44100, 32, 0), 1);
    EXPECT_NE(FMUSIC_LoadSong(path.c_str()), nullptr);

    FSOUND_Close();
    EXPECT_EQ(FMUSIC_LoadSong(path.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
}

TEST_F(FmodLoad, AMissingFileOrAFolderIsNotFound) {
    FSOUND_Init(44100, 32, 0);
    EXPECT_EQ(FMUSIC_LoadSong(TestFilePath("no-such.xm").c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_NOTFOUND);

    std::string folder = TestFilePath("folder.xm");
    std::filesystem::create_directories(folder);
    EXPECT_EQ(FMUSIC_LoadSong(folder.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_NOTFOUND);
}

TEST_F(FmodLoad, AFileThatIsNoModuleIsAFormatError) {
    FSOUND_Init(44100, 32, 0);
    std::string text = TestFilePath("text.xm");
    WriteWholeFile(text, "happy birthday, this is not a tracker module\n");
    EXPECT_EQ(FMUSIC_LoadSong(text.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_FORMAT);

    std::string empty = TestFilePath("empty.xm");
    WriteWholeFile(empty, "");
    EXPECT_EQ(FMUSIC_LoadSong(empty.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_FORMAT);
}

TEST_F(FmodLoad, ATruncatedModuleIsDamaged) {
    FSOUND_Init(44100, 32, 0);
    std::string path = TestFilePath("truncated.xm");
    WriteWholeFile(path, BuildXm(XmSong{}).substr(0, 340));  // the header and 4 bytes of a pattern
    EXPECT_EQ(FMUSIC_LoadSong(path.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_BAD);
}

TEST_F(FmodLoad, InitialisingAgainKeepsTheLoadedSongs) {
    ASSERT_EQ(FSOUND_Init(44100, 32, 0), 1);
    FMUSIC_MODULE* song = FMUSIC_LoadSong(WriteModule(XmSong{}, "song.xm").c_str());
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 1);

    FMUSIC_PlaySong(song);
    SleepMilliseconds(200);
    EXPECT_GT(FMUSIC_GetTime(song), 0);
}

TEST_F(FmodLoad, ARateItCannotMixAtIsRefused) {
    EXPECT_EQ(FSOUND_Init(96000, 32, 0), 0);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INIT);
}

// The clock on an audio device: SDL's disk driver, which plays in real time

class FmodDeviceClock : public FmodTest {
protected:
    // The disk driver sleeps whole milliseconds per 512-frame buffer: 16 for
    // 16 at this rate, where at 44100 Hz it sleeps 11 for 11.6 and runs fast.
    static constexpr int kRate = 32000;

    void SetUp() override {
        FmodTest::SetUp();
        ASSERT_EQ(FSOUND_Init(kRate, 32, 0), 1) << "no disk audio device";
    }

    FMUSIC_MODULE* Load(const XmSong& song) {
        FMUSIC_MODULE* loaded = FMUSIC_LoadSong(WriteModule(song, "song.xm").c_str());
        EXPECT_NE(loaded, nullptr);
        return loaded;
    }
};

// The heard position against a device whose taking of buffers the test
// decides: 512-frame buffers at 32000 Hz, 16 ms each.
struct Hearing {
    int64_t handed;
    int64_t nanosecondsSince;
    int64_t heard;
};

TEST(FmodHeardFrames, CountsTheLastBufferInRealTimeFromItsCallbackAndNeverPastIt) {
    const Hearing cases[] = {
        {512, 0, 0},                   // the first buffer is taken, not yet heard
        {512, 8'000'000, 256},         // half of it 8 ms later
        {5120, 0, 4608},               // ten taken: nine heard as the tenth begins
        {5120, 15'999'999, 5119},      // one frame short of its end
        {5120, 40'000'000, 5120},      // a late callback: never past what was handed
        {5120, -3'000'000, 4608},      // a clock read before the callback's own
        {5120, 50'000'000'000, 5120},  // a device that stopped calling back
    };
    for (const Hearing& hearing : cases) {
        EXPECT_EQ(standin::HeardFrames(hearing.handed, 512, hearing.nanosecondsSince, 32000), hearing.heard)
            << hearing.handed << " frames handed, the last buffer " << hearing.nanosecondsSince << " ns ago";
    }
}

// The song on SDL's disk driver moves on; how fast the machine lets it is
// measured elsewhere, not asserted here.
TEST_F(FmodDeviceClock, MovesOnOnceThePlayedSongIsHeard) {
    FMUSIC_MODULE* song = Load(XmSong{});
    EXPECT_EQ(FMUSIC_GetTime(song), 0);
    FMUSIC_PlaySong(song);
    EXPECT_TRUE(WaitUntil([&] { return FMUSIC_GetTime(song) >= 200; })) << FMUSIC_GetTime(song);
    EXPECT_LE(FMUSIC_GetTime(song), FmodDecodedTime(song)) << "ahead of what was decoded";
}

// libxmp's own position jumps back to the restart order; the clock must not.
TEST_F(FmodDeviceClock, NeverGoesBackAndKeepsGrowingOverTheLoopPoint) {
    XmSong shortSong;
    shortSong.rows = 4;  // two orders of 4 rows at 60 ms: loops every 480 ms, then every 240 ms
    FMUSIC_MODULE* song = Load(shortSong);
    FMUSIC_PlaySong(song);

    int previous = 0;
    int backSteps = 0;
    EXPECT_TRUE(WaitUntil([&] {
        int now = FMUSIC_GetTime(song);
        if (now < previous) ++backSteps;
        previous = now;
        return now > 2 * XmSongLength(shortSong);
    })) << previous;
    EXPECT_EQ(backSteps, 0);
}

// The heard position trails the decoded one by what the device holds: up to
// one 512-frame buffer (16 ms), never ahead of it.
TEST_F(FmodDeviceClock, TrailsTheDecodedPositionByAtMostOneBuffer) {
    FMUSIC_MODULE* song = Load(XmSong{});
    FMUSIC_PlaySong(song);
    SleepMilliseconds(50);

    int largestLag = 0;
    int smallestLag = 1000;
    int samples = 0;
    // Read until a reading falls early in a buffer, where the two differ most.
    bool sawTheLag = WaitUntil([&] {
        // A callback may land between two readings: bound each side by the
        // decoded position read on that side.
        int decodedBefore = FmodDecodedTime(song);
        int heard = FMUSIC_GetTime(song);
        int decodedAfter = FmodDecodedTime(song);
        largestLag = std::max(largestLag, decodedBefore - heard);
        smallestLag = std::min(smallestLag, decodedAfter - heard);
        return ++samples >= 400 && largestLag >= 5;
    });
    EXPECT_GE(smallestLag, 0);
    EXPECT_LE(largestLag, 16);
    EXPECT_TRUE(sawTheLag) << "the clock reads the decoded position, not the heard one";
}

TEST_F(FmodDeviceClock, StopHoldsTheTimeAndPlayStartsAgainFromZero) {
    FMUSIC_MODULE* song = Load(XmSong{});
    FMUSIC_PlaySong(song);
    EXPECT_TRUE(WaitUntil([&] { return FMUSIC_GetTime(song) >= 150; }));
    FMUSIC_StopSong(song);
    int stoppedAt = FMUSIC_GetTime(song);
    EXPECT_GE(stoppedAt, 150);
    SleepMilliseconds(100);
    EXPECT_EQ(FMUSIC_GetTime(song), stoppedAt);

    FMUSIC_PlaySong(song);
    EXPECT_LT(FMUSIC_GetTime(song), 100);
}

// No audio device: SDL without the driver, a driver that cannot open, or
// SDL's dummy driver, which plays nothing and keeps worse time than the wall
// clock (some 4% fast at 44100 Hz)

struct NoDeviceSetting {
    const char* name;
    const char* driver;
    const char* diskFile;
};

void PrintTo(const NoDeviceSetting& setting, std::ostream* to) {
    *to << "SDL_AUDIODRIVER=" << setting.driver;
    if (setting.diskFile != nullptr) *to << " SDL_DISKAUDIOFILE=" << setting.diskFile;
}

class FmodWithoutDevice : public FmodTest, public testing::WithParamInterface<NoDeviceSetting> {
protected:
    void SetUp() override {
        FmodTest::SetUp();
        setenv("SDL_AUDIODRIVER", GetParam().driver, 1);
        if (GetParam().diskFile != nullptr) setenv("SDL_DISKAUDIOFILE", GetParam().diskFile, 1);
    }
};

TEST_P(FmodWithoutDevice, TheSongPlaysSilentlyOnTheWallClockAfterOneWarning) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 0);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INIT);
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 0);
    FMUSIC_MODULE* song = FMUSIC_LoadSong(WriteModule(XmSong{}, "song.xm").c_str());
    ASSERT_NE(song, nullptr);
    FMUSIC_PlaySong(song);
    int64_t wallStart = WallMilliseconds();
    SleepMilliseconds(1200);  // long enough for the dummy driver's drift to show
    int songElapsed = FMUSIC_GetTime(song);
    int64_t wallElapsed = WallMilliseconds() - wallStart;
    FMUSIC_StopSong(song);
    std::string warnings = testing::internal::GetCapturedStderr();

    ExpectInStepWithTheWallClock(songElapsed, wallElapsed, kOnTheWallClock);
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 1) << warnings;
    EXPECT_EQ(warnings.rfind("warning: no audio device", 0), 0u) << warnings;
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, FmodWithoutDevice,
    testing::Values(NoDeviceSetting{"NoSuchDriver", "no-such-driver", nullptr},
                    NoDeviceSetting{"DiskDriverCannotOpenItsFile", "disk", "/no-such-folder/duckdemo-audio.raw"},
                    NoDeviceSetting{"DummyDriver", "dummy", nullptr},
                    // SDL takes the first driver of a list that starts
                    NoDeviceSetting{"DummyDriverAfterOthersFail", "no-such-driver,dummy", nullptr}),
    [](const testing::TestParamInfo<NoDeviceSetting>& info) { return info.param.name; });

// The empty handle, as a failed load leaves it

using FmodEmptyHandle = FmodTest;

TEST_F(FmodEmptyHandle, CountsTheWallClockFromPlayAndHoldsAtStop) {
    FSOUND_Init(44100, 32, 0);
    FMUSIC_MODULE* song = FMUSIC_LoadSong(TestFilePath("no-such.xm").c_str());
    ASSERT_EQ(song, nullptr);
    EXPECT_EQ(FMUSIC_GetTime(song), 0);

    EXPECT_EQ(FMUSIC_PlaySong(song), 0);
    int64_t wallStart = WallMilliseconds();
    SleepMilliseconds(300);
    int songElapsed = FMUSIC_GetTime(song);
    ExpectInStepWithTheWallClock(songElapsed, WallMilliseconds() - wallStart, kOnTheWallClock);

    EXPECT_EQ(FMUSIC_StopSong(song), 0);
    int stoppedAt = FMUSIC_GetTime(song);
    SleepMilliseconds(50);
    EXPECT_EQ(FMUSIC_GetTime(song), stoppedAt);
}

}  // namespace
