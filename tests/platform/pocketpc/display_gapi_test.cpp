#include "platform/pocketpc/display_gapi.h"

#include <string>

#include "platform/pocketpc/handheld_fixture.h"
#include "standin/gx/handheld_screen.h"

namespace {

const std::string kPropertyLines =
    "[gfx] GXGetDisplayProperties ->\n"
    "[gfx]  * cBPP:     16\n"
    "[gfx]  * cbxPitch: 2\n"
    "[gfx]  * cbyPitch: 480\n"
    "[gfx]  * cxWidth:  240\n"
    "[gfx]  * cyHeight: 320\n"
    "[gfx]  * ffFormat: 160\n";

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

TEST_F(HandheldDisplayTest, CloseEndsTheDisplayAndTheWindow) {
    ASSERT_TRUE(Open());
    HWND window = display.window;
    display.Close();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GXBeginDraw(), nullptr);
    EXPECT_NE(Logged().find("[gfx] Closing...\n"), std::string::npos);
}

}  // namespace
