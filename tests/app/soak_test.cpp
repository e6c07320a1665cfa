// The game for a whole virtual day on the desktop's own window, message queue
// and presentation, fed random input; and the game through the tick
// counter's wrap.
#include <malloc.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>
#include <windows.h>

#include "app/font_charset.h"
#include "core/data_path.h"
#include "core/sine_table.h"
#include "demo/duck_row.h"
#include "demo/guess_game.h"
#include "demo/intro.h"
#include "fakes/fake_system.h"
#include "gfx/bitmap.h"
#include "gfx/font.h"
#include "platform/desktop/display_ddraw.h"
#include "platform/desktop/setup_dialog.h"
#include "standin/host/host_capture.h"
#include "standin/kernel32/tick_clock.h"

namespace {

int64_t heapBytes = 0;

// A duck drawn where part of it falls off the BackBuffer, which the blit
// would quietly clip.
bool AnyOutside(const DuckPlace places[kDuckSlotCount], const Bitmap& frame) {
    for (int32_t slot = 0; slot < kDuckSlotCount; ++slot) {
        const DuckPlace& place = places[slot];
        if (place.x < 0 || place.y < 0 || place.x + frame.width > kBackBufferWidth ||
            place.y + frame.height > kBackBufferHeight)
            return true;
    }
    return false;
}

}  // namespace

// Every allocation of the test program is counted, so memory that the game,
// the message queue or the display keeps per pass or per message shows.
void* operator new(size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) std::abort();
    heapBytes += static_cast<int64_t>(malloc_usable_size(block));
    return block;
}

void operator delete(void* block) noexcept {
    if (block == nullptr) return;
    heapBytes -= static_cast<int64_t>(malloc_usable_size(block));
    std::free(block);
}

void operator delete(void* block, size_t) noexcept { operator delete(block); }

namespace {

using standin::HostEvent;
using standin::HostEventKind;

constexpr uint32_t kMillisecondsPerHour = 60 * 60 * 1000;
constexpr uint32_t kShowTime = 5000;

// Stands where the screen would: every presented frame moves the virtual tick
// counter on by the step the test chose, and input comes from the test.
class VirtualScreen : public standin::HostCapture {
public:
    void Present(standin::HostWindow*, const void*, int32_t, standin::HostPixelFormat, int32_t, int32_t) override {
        ++presented;
        standin::AdvanceVirtualTickCount(nextStep);
    }

    bool PollEvent(HostEvent& event) override {
        if (head == tail) return false;
        event = pending[head++];
        if (head == tail) head = tail = 0;
        return true;
    }

    // x, y in the window's pixels.
    void Push(HostEventKind kind, int32_t x = 0, int32_t y = 0, uint32_t virtualKey = 0) {
        if (tail < pending.size()) pending[tail++] = HostEvent{kind, nullptr, x, y, virtualKey};
    }

    void Click(int32_t x, int32_t y) {
        Push(HostEventKind::MouseMove, x, y);
        Push(HostEventKind::ButtonDown, x, y);
        Push(HostEventKind::ButtonUp, x, y);
    }

    uint32_t nextStep = 16;
    int64_t presented = 0;

private:
    std::array<HostEvent, 1100> pending{};
    size_t head = 0;
    size_t tail = 0;
};

// Heap bytes in use, as counted above, and the process's peak resident size.
struct Memory {
    int64_t heapBytes;
    int64_t peakResidentKilobytes;
};

Memory MeasureMemory() {
    int64_t peak = 0;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) peak = std::stoll(line.substr(6));
    return {heapBytes, peak};
}

uint32_t Now() { return GetTickCount(); }

// The program's objects on the desktop layer in capture, the backbuffer
// inside guard bands, and one pass of the driver at a time.
class SoakTest : public testing::Test {
protected:
    static constexpr int32_t kGuardRows = 16;
    static constexpr Pixel kGuard = 0x5A5AA5A5u;
    static constexpr int64_t kPresentEvery = 32;

    void SetUp() override {
        ResetFakeSystem();
        TheFakeSystem().executablePath = DUCKDEMO_PROGRAM;  // beside data/
        TheFakeSystem().tickCount = [] { return GetTickCount(); };
        inputState = InputState{};
        setupOptions = SetupOptions{};
        setupFromCommandLine = TRUE;
        standin::HostCaptureTo(&screen);

        BuildSineTable();
        backBuffer.Create(kBackBufferWidth, kBackBufferHeight);
        ownPixels = backBuffer.pixels;
        guard.assign(static_cast<size_t>(kBackBufferWidth) * kGuardRows, kGuard);
        guarded.assign(static_cast<size_t>(kBackBufferWidth) * (kBackBufferHeight + 2 * kGuardRows), kGuard);
        backBuffer.pixels = guarded.data() + guard.size();
        font.Load(ResolveDataPath("data\\fonts.tga"), kFontCharset);
        for (int32_t index = 0; index < kDuckFrameCount; ++index) row.LoadFrame(index, kDuckFrameFiles[index]);
        game.TakeFrames(row);
        game.prompt = {"use your mouse to guess!", 66, 256};
        ASSERT_TRUE(display.Open(GetModuleHandleA(nullptr)));
    }

    void TearDown() override {
        display.Close();
        UnregisterClassA("qvWnd", nullptr);
        standin::HostCaptureTo(nullptr);
        backBuffer.pixels = ownPixels;
        ResetFakeSystem();
        inputState = InputState{};
    }

    bool GuardsIntact() const {
        size_t bytes = guard.size() * sizeof(Pixel);
        return std::memcmp(guarded.data(), guard.data(), bytes) == 0 &&
               std::memcmp(backBuffer.pixels + kBackBufferWidth * kBackBufferHeight, guard.data(), bytes) == 0;
    }

    void Present(uint32_t step) {
        screen.nextStep = step;
        display.Present(backBuffer.pixels);
    }

    // The intro as the driver runs it, at 60 frames a second, until the pass
    // whose clock first passes its end.
    void PlayIntro() {
        IntroEnvelopes envelopes;
        SetIntroEnvelopes(envelopes);
        AddIntroCues(row);
        for (int64_t frame = 0;; ++frame) {
            int32_t t = static_cast<int32_t>((frame * 2000 / 60 + 1) / 2);
            backBuffer.Clear();
            display.PumpMessages();
            DrawIntroFrame(t, row, envelopes, font);
            Present(static_cast<uint32_t>(((frame + 1) * 2000 / 60 + 1) / 2 - t));
            if (t > envelopes.finaleFadeIn.endTime) break;
        }
    }

    // One pass of the game: clear, one message, the step, the checks. A wait
    // or a swap ends on the first step past its time, however far the
    // counter is from where it began.
    testing::AssertionResult Pass(uint32_t step) {
        backBuffer.Clear();
        display.PumpMessages();
        int32_t before = game.state;
        uint32_t now = Now();
        // Only a swap moves the ducks from their slots: where it draws them
        // at this step.
        DuckPlace places[kDuckSlotCount];
        game.SwapPlaces(now - game.timerStart, places);
        bool placedOutside = before == kSwap && AnyOutside(places, *game.stanceFrame);
        game.Step();

        uint32_t elapsed = now - game.timerStart;
        uint32_t limit = before == kSwap ? static_cast<uint32_t>(512 - 20 * std::min(game.level, 15)) : kShowTime;
        bool timed = before == kShowMarked || before == kSwap || before == kResult;
        if (timed && (game.state != before) != (elapsed > limit)) {
            return testing::AssertionFailure() << "state " << before << " at " << elapsed << " ms of " << limit
                                               << (game.state != before ? " ended" : " went on");
        }
        if (timed && game.state != before && now < game.timerStart) ++crossedTheWrap[before];
        if (game.markedSlot > 5) return testing::AssertionFailure() << "marked slot " << int{game.markedSlot};
        if (placedOutside) return testing::AssertionFailure() << "a duck placed outside the backbuffer";
        if (!GuardsIntact()) return testing::AssertionFailure() << "drawn outside the backbuffer's memory";
        if (inputState.quit != 0) return testing::AssertionFailure() << "quit";

        if (before == kNewTurn) ++turns;
        if (before == kJudge && game.guessedRight != 0) ++rightGuesses;
        // Turning every frame for the screen would take most of the run: one
        // pass in kPresentEvery presents, the others move the clock as a
        // present does.
        if (++passes % kPresentEvery != 0) {
            standin::AdvanceVirtualTickCount(step);
            return testing::AssertionSuccess();
        }
        int64_t presentedBefore = screen.presented;
        Present(step);
        if (screen.presented != presentedBefore + 1) return testing::AssertionFailure() << "nothing reached the screen";
        return testing::AssertionSuccess();
    }

    VirtualScreen screen;
    DesktopDisplay display;
    Pixel* ownPixels = nullptr;
    std::vector<Pixel> guard;
    std::vector<Pixel> guarded;
    DuckRow row{backBuffer};
    GuessGame game{backBuffer, font};
    int64_t passes = 0;
    int64_t turns = 0;
    int64_t rightGuesses = 0;
    std::array<int32_t, 8> crossedTheWrap{};
};

// Moves, clicks and now and then a burst of a thousand messages, at random
// times; mostly over the row of ducks, so guesses are taken.
class RandomPlayer {
public:
    explicit RandomPlayer(uint32_t now) : nextAction(now), nextBurst(now + Between(0, kMillisecondsPerHour)) {}

    void Play(uint32_t now, VirtualScreen& screen) {
        if (static_cast<int32_t>(now - nextBurst) >= 0) {
            Burst(screen);
            nextBurst = now + Between(kMillisecondsPerHour / 2, kMillisecondsPerHour * 3 / 2);
            ++bursts;
        }
        if (static_cast<int32_t>(now - nextAction) < 0) return;
        nextAction = now + Between(20, 3000);
        int32_t x = 0;
        int32_t y = 0;
        Place(x, y);
        if (Between(0, 2) == 0) {
            screen.Click(x, y);
        } else {
            screen.Push(HostEventKind::MouseMove, x, y);
        }
    }

    int32_t bursts = 0;

private:
    uint32_t Between(uint32_t low, uint32_t high) { return std::uniform_int_distribution<uint32_t>(low, high)(random); }

    // Over the row's band in the window most of the time, anywhere else now
    // and then, past the window's edges included.
    void Place(int32_t& x, int32_t& y) {
        if (Between(0, 3) != 0) {
            x = static_cast<int32_t>(Between(55, 275));
            y = static_cast<int32_t>(Between(85, 155));
        } else {
            x = static_cast<int32_t>(Between(0, 400));
            y = static_cast<int32_t>(Between(0, 300));
        }
    }

    // A thousand messages at once: presses, releases and keys, any key but
    // Escape, which quits. No two moves are next to each other, where the
    // queue would merge them; the button is up at the end.
    void Burst(VirtualScreen& screen) {
        constexpr uint32_t kKeys[] = {VK_SPACE, VK_RETURN, VK_TAB, VK_LEFT, VK_RIGHT, 'A', 'Z', '5'};
        for (int32_t pair = 0; pair < 500; ++pair) {
            int32_t x = 0;
            int32_t y = 0;
            Place(x, y);
            uint32_t kind = pair == 499 ? 1 : Between(0, 2);
            if (kind == 2) {
                uint32_t key = kKeys[Between(0, static_cast<uint32_t>(std::size(kKeys)) - 1)];
                screen.Push(HostEventKind::KeyDown, 0, 0, key);
                screen.Push(HostEventKind::KeyUp, 0, 0, key);
            } else {
                screen.Push(HostEventKind::MouseMove, x, y);
                screen.Push(kind == 0 ? HostEventKind::ButtonDown : HostEventKind::ButtonUp, x, y);
            }
        }
    }

    std::mt19937 random{20261208};
    uint32_t nextAction;
    uint32_t nextBurst;
};

// Frame steps as a busy machine gives them: mostly a 60 Hz refresh, often a
// stutter, now and then a stall of seconds.
uint32_t FrameStep(std::mt19937& random) {
    uint32_t roll = std::uniform_int_distribution<uint32_t>(0, 99)(random);
    if (roll < 50) return 16 + roll % 2;
    if (roll < 92) return std::uniform_int_distribution<uint32_t>(17, 600)(random);
    return std::uniform_int_distribution<uint32_t>(600, 4000)(random);
}

TEST_F(SoakTest, ADayOfPlayKeepsTheMarkedDuckTheDrawingAndTheMemoryInBounds) {
    auto began = std::chrono::steady_clock::now();
    standin::UseVirtualTickCount(0);
    PlayIntro();

    const uint32_t gameStart = Now();
    RandomPlayer player(gameStart);
    std::mt19937 steps(7);
    Memory start{};
    bool started = false;
    while (Now() - gameStart < 24 * kMillisecondsPerHour) {
        player.Play(Now(), screen);
        ASSERT_TRUE(Pass(FrameStep(steps))) << "at " << (Now() - gameStart) << " ms of the game, pass " << passes;
        // Memory is compared from the end of the first hour, everything
        // touched once, at a moment when no message waits.
        MSG waiting;
        if (!started && Now() - gameStart >= kMillisecondsPerHour &&
            !PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
            start = MeasureMemory();
            started = true;
        }
    }
    MSG waiting;
    while (PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) ASSERT_TRUE(Pass(16));
    Memory end = MeasureMemory();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

    std::printf(
        "soak: %.2f virtual hours of the game, %lld passes, %lld turns, %lld right guesses, level %d, %d bursts; heap "
        "%lld -> %lld bytes, peak resident %lld -> %lld kB; %.1f s\n",
        (Now() - gameStart) / double{kMillisecondsPerHour}, static_cast<long long>(passes),
        static_cast<long long>(turns), static_cast<long long>(rightGuesses), static_cast<int>(game.level),
        player.bursts, static_cast<long long>(start.heapBytes), static_cast<long long>(end.heapBytes),
        static_cast<long long>(start.peakResidentKilobytes), static_cast<long long>(end.peakResidentKilobytes),
        seconds);
    ASSERT_TRUE(started);
    EXPECT_GT(player.bursts, 10);
    EXPECT_GT(rightGuesses, 100);
    // The peak resident size is reported, not held: a sanitizer's quarantine
    // keeps freed blocks for a while.
    EXPECT_LE(end.heapBytes, start.heapBytes + 16 * 1024);
}

struct WrapRun {
    const char* name;
    int32_t level;
    GuessState across;  // the timed state whose span holds the wrap
};

class SoakWrapTest : public SoakTest, public testing::WithParamInterface<WrapRun> {};

// Ten seconds before the counter wraps a turn begins; the player guesses
// the marked duck as soon as it may.
TEST_P(SoakWrapTest, WaitsAndSwapsEndOnTimeThroughTheWrap) {
    const uint32_t start = 0u - 10000u;
    standin::UseVirtualTickCount(start);
    game.level = GetParam().level;
    bool clicked = false;
    while (Now() - start < 20000) {
        if (game.state == kGuess && !clicked) {
            // Window x 74 + 35 n is over slot n, in the middle of the band.
            screen.Click(74 + kSlotStep * game.markedSlot, 120);
        }
        clicked = game.state == kGuess;
        ASSERT_TRUE(Pass(1)) << "at " << Now() - start << " ms";
    }
    EXPECT_EQ(crossedTheWrap[GetParam().across], 1);
    EXPECT_GT(game.level, GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(Turns, SoakWrapTest,
                         testing::Values(WrapRun{"ResultShownAcrossIt", 1, kResult},
                                         WrapRun{"SwapAcrossIt", 10, kSwap}),
                         [](const testing::TestParamInfo<WrapRun>& info) { return std::string(info.param.name); });

}  // namespace
