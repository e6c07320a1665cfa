#include "app/program.h"

#include <algorithm>
#include <fmod.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/greeting.h"
#include "core/data_path.h"
#include "core/debug_log.h"
#include "fakes/fake_display.h"
#include "fakes/fake_fmod.h"
#include "fakes/fake_system.h"
#include "gfx/bitmap.h"
#include "support/program_log.h"
#include "support/test_files.h"

namespace {

// Runs the driver and keeps what it appended to the program's log.
class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        ResetFakeFmod();
        ResetFakeSystem();
        inputState = InputState{};
    }

    int Run(std::span<const IntroTextLine> introLines = IntroTextLines()) {
        size_t logSizeBefore = ProgramLogSize();
        int exitCode = RunProgram(display, &instance, {"use your mouse to guess!", 66, 256}, introLines);
        log = ReadWholeFile(debugLog.Path()).substr(logSizeBefore);
        return exitCode;
    }

    void QuitInPass(int pass) {
        display.onPump = [pass](int current) {
            if (current == pass) inputState.quit = 1;
        };
    }

    int instance = 0;
    FakeDisplay display;
    std::string log;
};

TEST_F(ProgramTest, StartUpAndShutdownLogEachStepInOrder) {
    inputState.quit = 1;
    EXPECT_EQ(Run(), 1);

    std::string duckPath = ResolveDataPath("data\\duck.xm");
    EXPECT_EQ(log,
              "[core] Program init\n"
              "[core] Creating backbuffer\n"
              "[core] Loading font\n"
              "[core] Opening graphics\n"
              "[core] Initializing syncs\n"
              "[core] Initializing music\n"
              "[sfx] FSOUND_Init()...\n"
              "[sfx] FMUSIC_LoadSong(\"" +
                  duckPath +
                  "\")...\n"
                  "[core] Entering mainloop\n"
                  "[sfx] FMUSIC_PlaySong()...\n"
                  "[sfx] FMUSIC_StopSong()...\n");
}

TEST_F(ProgramTest, QuitBeforeTheLoopRunsNoPassButStartsAndStopsTheMusic) {
    inputState.quit = 1;
    Run();

    EXPECT_EQ(display.calls, (std::vector<std::string>{"open", "close"}));
    EXPECT_EQ(display.openedWith, &instance);
    EXPECT_EQ(TheFakeFmod().getTimeCalls, 0);
    std::string duckPath = ResolveDataPath("data\\duck.xm");
    EXPECT_EQ(TheFakeFmod().calls, (std::vector<std::string>{"init 44100 32 0", "load " + duckPath, "play", "stop"}));
}

TEST_F(ProgramTest, AQuitRequestLetsItsPassFinishAndPresent) {
    QuitInPass(2);
    Run();

    std::vector<std::string> expected = {"open"};
    for (int pass = 0; pass < 3; ++pass) expected.insert(expected.end(), {"pump", "present"});
    expected.push_back("close");
    EXPECT_EQ(display.calls, expected);
    EXPECT_EQ(TheFakeFmod().getTimeCalls, 3);  // one clock reading per pass
}

TEST_F(ProgramTest, PresentsTheBackBufferClearedEveryPass) {
    QuitInPass(3);
    bool allClear = true;
    display.onPresent = [&](const uint32_t* pixels) {
        EXPECT_EQ(pixels, backBuffer.pixels);
        allClear &= std::all_of(pixels, pixels + kBackBufferWidth * kBackBufferHeight,
                                [](uint32_t pixel) { return pixel == 0; });
        std::fill(backBuffer.pixels, backBuffer.pixels + kBackBufferWidth * kBackBufferHeight, 0xDEADBEEFu);
    };
    Run();

    EXPECT_EQ(display.presented.size(), 4u);
    EXPECT_TRUE(allClear);
    EXPECT_EQ(backBuffer.width, 240);
    EXPECT_EQ(backBuffer.height, 320);
}

TEST_F(ProgramTest, StopsTheMusicBeforeClosingTheDisplay) {
    QuitInPass(0);
    bool musicStoppedFirst = false;
    display.onClose = [&] { musicStoppedFirst = !TheFakeFmod().calls.empty() && TheFakeFmod().calls.back() == "stop"; };
    Run();
    EXPECT_TRUE(musicStoppedFirst);
}

TEST_F(ProgramTest, CarriesOnWhenTheDisplayAndTheSongFailToOpen) {
    display.openSucceeds = false;
    TheFakeFmod().loadSucceeds = false;
    TheFakeFmod().errorCode = FMOD_ERR_FILE_NOTFOUND;
    QuitInPass(1);
    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(display.presented.size(), 2u);
    EXPECT_EQ(display.calls.back(), "close");
    EXPECT_NE(log.find("[ERROR] FSOUND FAILED: 9\n[core] Entering mainloop\n"), std::string::npos) << log;
}

// The intro never reads the tick counter and the game reads it every step,
// so the counter's readings tell which of the two ran in a pass.
TEST_F(ProgramTest, TheGameStartsOnThePassAfterTheClockPasses74000AndStays) {
    std::vector<int> clock = {74000, 74000, 74001, 100, 0, -5};
    int tickReadings = 0;
    std::vector<int> tickReadingsBeforePass;
    TheFakeFmod().time = [&] { return clock[std::min<size_t>(TheFakeFmod().getTimeCalls - 1, clock.size() - 1)]; };
    TheFakeSystem().tickCount = [&] { return static_cast<uint32_t>(++tickReadings); };
    display.onPump = [&](int pass) {
        tickReadingsBeforePass.push_back(tickReadings);
        if (pass == 5) inputState.quit = 1;
    };
    Run();
    tickReadingsBeforePass.push_back(tickReadings);

    ASSERT_EQ(tickReadingsBeforePass.size(), 7u);
    for (int pass = 0; pass < 3; ++pass)
        EXPECT_EQ(tickReadingsBeforePass[pass + 1], 0) << "pass " << pass << " should draw the intro";
    for (int pass = 3; pass < 6; ++pass)
        EXPECT_GT(tickReadingsBeforePass[pass + 1], tickReadingsBeforePass[pass]) << "pass " << pass << " should play";
    EXPECT_EQ(TheFakeSystem().showCursorCalls, 1);  // the first turn began once
}

// A browser runs the passes from its own loop: each call is exactly one pass,
// the game takes over after the intro's end, and stopping is its own step.
TEST_F(ProgramTest, PassesDrivenOneAtATimeFromOutsideTheLoop) {
    int clockMs = 1000;
    TheFakeFmod().time = [&] { return clockMs; };
    std::vector<std::string> expected = {"open"};
    StartProgram(display, &instance, {"use your mouse to guess!", 66, 256});
    EXPECT_EQ(display.calls, expected);
    EXPECT_EQ(TheFakeFmod().calls.back(), "play");

    for (int ms : {1000, 74001, 74002, 0}) {
        clockMs = ms;
        RunProgramPass(display);
        expected.insert(expected.end(), {"pump", "present"});
        EXPECT_EQ(display.calls, expected) << "at " << ms;
    }
    EXPECT_EQ(TheFakeFmod().getTimeCalls, 4);
    // The pass at 74001 ended the intro; the two after it stepped the game.
    EXPECT_NE(ProgramGame().state, kNewTurn);

    EXPECT_EQ(StopProgram(display), 1);
    EXPECT_EQ(display.calls.back(), "close");
    EXPECT_EQ(TheFakeFmod().calls.back(), "stop");
}

// With --to "Anna" the frame at 65000 ms is the default one with the old
// line's cells dark and "anna" drawn in the program's own font, centred by
// its four characters; nothing else differs.
TEST_F(ProgramTest, AGreetingRedrawsOnlyItsOwnLine) {
    constexpr size_t kPixels = kBackBufferWidth * kBackBufferHeight;
    TheFakeSystem().executablePath = DUCKDEMO_BESIDE_DATA;
    std::vector<uint32_t> frame;
    TheFakeFmod().time = [] { return 65000; };
    display.onPresent = [&](const uint32_t* pixels) { frame.assign(pixels, pixels + kPixels); };
    QuitInPass(0);
    Run();
    std::vector<uint32_t> expected = frame;
    frame.clear();
    inputState = InputState{};
    display.pumpCount = 0;

    GreetingOptions options;
    options.to = "Anna";
    IntroText text;
    ASSERT_TRUE(MakeIntroText("duckdemo", options, text));
    Run(text.Lines());

    const IntroTextLine& line = IntroTextLines()[kRecipientLine];
    int32_t cell = font.CellSize();
    int32_t litBefore = 0;
    for (int32_t y = line.y - 7 * cell; y < line.y; ++y) {
        auto row = expected.begin() + y * kBackBufferWidth + line.x;
        litBefore += static_cast<int32_t>(std::count_if(row, row + cell, [](uint32_t pixel) { return pixel != 0; }));
        std::fill_n(row, cell, 0u);
    }
    IntroEnvelopes envelopes;
    SetIntroEnvelopes(envelopes);
    Bitmap drawn;
    drawn.Create(kBackBufferWidth, kBackBufferHeight);
    std::copy(expected.begin(), expected.end(), drawn.pixels);
    font.DrawStringScaled(drawn, line.x, CentredLineY(4), "anna", envelopes.birthdayFadeIn.Value(65000));
    expected.assign(drawn.pixels, drawn.pixels + kPixels);

    ASSERT_EQ(frame.size(), kPixels);
    EXPECT_GT(litBefore, 0) << "the default line was not drawn";
    EXPECT_TRUE(frame == expected) << "the frame differs outside the line or in it";
}

}  // namespace
