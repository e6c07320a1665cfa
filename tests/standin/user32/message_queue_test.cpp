// The message queue as a program's pump meets it: SDL input on the offscreen
// driver becomes window messages, one taken per pump.
#include <SDL.h>
#include <signal.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

#include "standin/process/process_state.h"

namespace {

struct Received {
    UINT message;
    LPARAM lParam;
};

std::vector<Received> received;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back({message, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

class MessageQueueTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProcedure;
        windowClass.lpszClassName = "queueTest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "queueTest", "queue test", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        for (Uint32 id = 1; id < 100 && windowId == 0; ++id) {
            SDL_Window* candidate = SDL_GetWindowFromID(id);
            if (candidate != nullptr && std::strcmp(SDL_GetWindowTitle(candidate), "queue test") == 0) windowId = id;
        }
        ASSERT_NE(windowId, 0u);
        while (Pump()) {
        }
        received.clear();
    }

    void TearDown() override {
        DestroyWindow(window);
        UnregisterClassA("queueTest", nullptr);
    }

    void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

    void PushMove(int32_t x, int32_t y) {
        SDL_Event event = {};
        event.motion = {SDL_MOUSEMOTION, 0, windowId, 0, 0, x, y, 0, 0};
        Push(event);
    }

    void PushButton(Uint32 type, int32_t x, int32_t y) {
        SDL_Event event = {};
        event.button = {type, 0, windowId, 0, SDL_BUTTON_LEFT, SDL_PRESSED, 1, 0, x, y};
        Push(event);
    }

    // Takes and dispatches one message, as the programs' pumps do.
    bool Pump() {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
        DispatchMessageA(&message);
        return true;
    }

    HWND window = nullptr;
    Uint32 windowId = 0;
};

TEST_F(MessageQueueTest, ABurstOfMovesMergesSoTheKeyAfterItIsTakenAtOnce) {
    for (int32_t i = 0; i < 1000; ++i) PushMove(i % 320, i % 240);
    PushMove(123, 45);
    SDL_Event key = {};
    key.key.type = SDL_KEYDOWN;
    key.key.windowID = windowId;
    key.key.keysym.sym = SDLK_ESCAPE;
    Push(key);

    int pumps = 0;
    while (pumps < 1000 && (received.empty() || received.back().message != WM_KEYDOWN)) {
        Pump();
        ++pumps;
    }
    EXPECT_LE(pumps, 3);
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[received.size() - 2].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(received[received.size() - 2].lParam, MAKELPARAM(123, 45));
}

TEST_F(MessageQueueTest, MovesOnEitherSideOfAPressStayInOrder) {
    PushMove(10, 20);
    PushButton(SDL_MOUSEBUTTONDOWN, 11, 21);
    PushMove(30, 40);
    PushMove(31, 41);
    while (Pump()) {
    }
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(received[0].lParam, MAKELPARAM(10, 20));
    EXPECT_EQ(received[1].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(received[2].lParam, MAKELPARAM(31, 41));
}

// Clicks still queued when the quit comes are dropped, not played first one
// a frame.
TEST_F(MessageQueueTest, AnInterruptAsksEveryWindowToCloseAheadOfQueuedInput) {
    standin::CatchInterrupts("duckdemo");
    for (int32_t i = 0; i < 100; ++i) {
        PushButton(SDL_MOUSEBUTTONDOWN, i, 10);
        PushButton(SDL_MOUSEBUTTONUP, i, 10);
    }
    Pump();
    received.clear();
    raise(SIGINT);
    Pump();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received[0].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(standin::InterruptingSignal(), SIGINT);
}

void InterruptWithNoWindow() {
    standin::CatchInterrupts("duckdemo");
    std::atexit([] { std::fputs("exit handlers ran", stderr); });
    raise(SIGTERM);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
    std::_Exit(3);
}

// With no window to ask, the quit still ends the program, through its exit
// handlers and with a normal quit's exit code.
TEST(MessageQueueDeathTest, AnInterruptWithNoWindowEndsTheProcessAsAQuit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(InterruptWithNoWindow(), testing::ExitedWithCode(1), "exit handlers ran");
}

}  // namespace
