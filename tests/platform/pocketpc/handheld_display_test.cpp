#include <stdlib.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

#include "core/debug_log.h"
#include "core/platform.h"
#include "platform/pocketpc/display_gapi.h"
#include "platform/pocketpc/window.h"
#include "standin/hardware/hardware.h"
#include "support/program_log.h"
#include "support/test_files.h"

namespace standin {
const uint16_t* HandheldScreen();
}

namespace {

const std::string kPropertyLines =
    "[gfx] GXGetDisplayProperties ->\n"
    "[gfx]  * cBPP:     16\n"
    "[gfx]  * cbxPitch: 2\n"
    "[gfx]  * cbyPitch: 480\n"
    "[gfx]  * cxWidth:  240\n"
    "[gfx]  * cyHeight: 320\n"
    "[gfx]  * ffFormat: 160\n";

class HandheldDisplayTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        standin::TheHardware() = standin::Hardware{};
        standin::TheHardware().screenWidth = 240;
        standin::TheHardware().screenHeight = 320;
        inputState = InputState{};
        frame.assign(240 * 320, 0);
        logSizeBefore = ProgramLogSize();
    }

    void TearDown() override {
        display.Close();
        UnregisterClassA("DOZoravaClass", nullptr);
    }

    std::string Logged() const { return ReadWholeFile(debugLog.Path()).substr(logSizeBefore); }

    bool Open() { return display.Open(GetModuleHandleA(nullptr)); }

    // Takes and dispatches every pending message, as the main loop would
    // over several passes.
    void PumpAll() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) display.PumpMessages();
    }

    PocketPcDisplay display;
    std::vector<uint32_t> frame;
    size_t logSizeBefore = 0;
};

TEST_F(HandheldDisplayTest, OpenLogsThePropertiesAndEachStep) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Logged(), kPropertyLines +
                            "[gfx] RegisterClass()...\n[gfx] CreateWindow()...\n[gfx] SHFullScreen()...\n"
                            "[gfx] GXOpenDisplay()...\n");
    RECT client;
    GetClientRect(display.window, &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 320);
}

TEST_F(HandheldDisplayTest, PresentWritesEveryPixelWhereItStandsAs565) {
    ASSERT_TRUE(Open());
    frame[0] = 0x00123456;                // (0, 0), alpha ignored
    frame[200 * 240 + 100] = 0xFFFFFFFF;  // (100, 200)
    frame[319 * 240 + 239] = 0x80FF0000;  // (239, 319)
    display.Present(frame.data());
    const uint16_t* screen = standin::HandheldScreen();
    EXPECT_EQ(screen[0], 0x11AA);
    EXPECT_EQ(screen[200 * 240 + 100], 0xFFFF);
    EXPECT_EQ(screen[319 * 240 + 239], 0xF800);
    EXPECT_EQ(screen[1], 0x0000);
}

TEST_F(HandheldDisplayTest, ALargerScreenGetsThePictureThroughItsPitches) {
    standin::TheHardware().handheldWidth = 480;
    standin::TheHardware().handheldHeight = 640;
    standin::TheHardware().handheldYPitch = 960;
    ASSERT_TRUE(Open());
    frame[200 * 240 + 100] = 0xFF00FF00;
    display.Present(frame.data());
    const uint16_t* screen = standin::HandheldScreen();
    EXPECT_EQ(screen[200 * 480 + 100], 0x07E0);
    EXPECT_EQ(screen[639 * 480 + 479], 0x0000);
}

TEST_F(HandheldDisplayTest, AScreenThatCannotHoldThePictureIsRefused) {
    standin::TheHardware().handheldWidth = 320;
    standin::TheHardware().handheldHeight = 240;
    standin::TheHardware().handheldXPitch = -480;
    standin::TheHardware().handheldYPitch = 2;
    EXPECT_FALSE(Open());
    std::string logged = Logged();
    EXPECT_NE(logged.find("[gfx] Cannot show the 240x320 picture on a 320x240 screen of 16 bits per pixel\n"
                          "[ERROR] FAILED!\n"),
              std::string::npos)
        << logged;
    EXPECT_EQ(logged.find("GXOpenDisplay"), std::string::npos);
    display.Present(frame.data());
}

TEST_F(HandheldDisplayTest, ARefusedFullScreenRequestOpensNoDisplay) {
    standin::TheHardware().failingStep = "SHFullScreen";
    EXPECT_FALSE(Open());
    std::string logged = Logged();
    EXPECT_EQ(logged.substr(logged.size() - 40), "[gfx] SHFullScreen()...\n[ERROR] FAILED!\n");
    EXPECT_EQ(GXBeginDraw(), nullptr);
    display.Present(frame.data());  // safe after a failed open
}

TEST_F(HandheldDisplayTest, NoFrameBufferAddressSkipsTheFrame) {
    ASSERT_TRUE(Open());
    standin::TheHardware().failingStep = "GXBeginDraw";
    frame.assign(frame.size(), 0xFFFFFFFF);
    display.Present(frame.data());
    standin::TheHardware().failingStep.clear();
    EXPECT_EQ(standin::HandheldScreen()[0], 0);
}

TEST_F(HandheldDisplayTest, ATapSetsThePointerAndADragDoesNot) {
    ASSERT_TRUE(Open());
    SendMessageW(display.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 200));
    EXPECT_EQ(inputState.buttonDown, 1);
    EXPECT_EQ(inputState.pointerX, 100);
    EXPECT_EQ(inputState.pointerY, 200);
    SendMessageW(display.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 250));
    EXPECT_EQ(inputState.pointerX, 100);
    SendMessageW(display.window, WM_LBUTTONUP, 0, MAKELPARAM(150, 250));
    EXPECT_EQ(inputState.buttonDown, 0);
    EXPECT_EQ(inputState.pointerX, 100);
    EXPECT_EQ(inputState.pointerY, 200);
}

TEST_F(HandheldDisplayTest, AnyKeyClosesTheWindow) {
    ASSERT_TRUE(Open());
    SendMessageW(display.window, WM_KEYDOWN, 'Q', 1);
    PumpAll();
    EXPECT_EQ(inputState.quit, 1);
    EXPECT_FALSE(IsWindow(display.window));
}

TEST_F(HandheldDisplayTest, CloseEndsTheDisplayAndTheWindow) {
    ASSERT_TRUE(Open());
    HWND window = display.window;
    display.Close();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GXBeginDraw(), nullptr);
    EXPECT_NE(Logged().find("[gfx] Closing...\n"), std::string::npos);
}

}  // namespace
