#include "platform/desktop/display_ddraw.h"

#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/desktop/desktop_fixture.h"
#include "platform/desktop/window.h"

namespace {

const std::string kWindowLines = "[gfx] RegisterClass()...\n[gfx] CreateWindow()...\n";
const std::string kCreateLines = "[gfx] DirectDrawCreateEx()...\n[gfx] SetCooperativeLevel()...\n";

class DesktopDisplayTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        setupFromCommandLine = TRUE;
        frame.assign(240 * 320, 0);
    }

    void TearDown() override {
        display.Close();
        DesktopTest::TearDown();
    }

    bool Open() { return display.Open(GetModuleHandleA(nullptr)); }

    // Locks a surface and reads the pixel at (x, y) as its bytes allow.
    uint32_t SurfacePixel(LPDIRECTDRAWSURFACE7 surface, int x, int y) {
        DDSURFACEDESC2 description = {};
        description.dwSize = sizeof description;
        if (surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr) != DD_OK) return 0xDEADBEEF;
        int bytes = static_cast<int>(description.ddpfPixelFormat.dwRGBBitCount) / 8;
        uint32_t value = 0;
        std::memcpy(&value, static_cast<uint8_t*>(description.lpSurface) + y * description.lPitch + x * bytes, bytes);
        surface->Unlock(nullptr);
        return value;
    }

    DesktopDisplay display;
    std::vector<uint32_t> frame;
};

TEST_F(DesktopDisplayTest, FullScreenTakesThe32BitModeFirst) {
    setupOptions.fullscreen = 1;
    ASSERT_TRUE(Open());
    EXPECT_EQ(display.bpp, 32);
    EXPECT_EQ(Logged(), kWindowLines + kCreateLines +
                            "[gfx] SetDisplayMode(32)...\n[gfx] bpp == 32...\n[gfx] CreateSurface()...\n"
                            "[gfx] GetAttachedSurface()...\n");
}

TEST_F(DesktopDisplayTest, FullScreenFallsBackTo16BitsAndReadsItsLayout) {
    setupOptions.fullscreen = 1;
    standin::TheHardware().accepts32 = false;
    standin::TheHardware().accepts24 = false;
    standin::TheHardware().redMask16 = 0x7C00;
    ASSERT_TRUE(Open());
    EXPECT_EQ(display.bpp, 15);
    EXPECT_EQ(Logged(), kWindowLines + kCreateLines +
                            "[gfx] SetDisplayMode(32)...\n[gfx] SetDisplayMode(24)...\n[gfx] SetDisplayMode(16)...\n"
                            "[gfx] GetDisplayMode(16)...\n[gfx] bpp == 15...\n[gfx] CreateSurface()...\n"
                            "[gfx] GetAttachedSurface()...\n");
}

TEST_F(DesktopDisplayTest, A565CardKeeps16Bits) {
    setupOptions.fullscreen = 1;
    standin::TheHardware().accepts32 = false;
    standin::TheHardware().accepts24 = false;
    ASSERT_TRUE(Open());
    EXPECT_EQ(display.bpp, 16);
    EXPECT_NE(Logged().find("[gfx] GetDisplayMode(16)...\n[gfx] bpp == 16...\n"), std::string::npos);
}

// The person sees the show in a window, as a windowed run shows it, instead
// of a black screen.
TEST_F(DesktopDisplayTest, NoFullScreenModeSaysSoAndOpensTheWindowedRunInstead) {
    setupOptions.fullscreen = 1;
    standin::TheHardware().accepts32 = false;
    standin::TheHardware().accepts24 = false;
    standin::TheHardware().accepts16 = false;
    ASSERT_TRUE(Open());
    EXPECT_EQ(Logged(), kWindowLines + kCreateLines +
                            "[gfx] SetDisplayMode(32)...\n[gfx] SetDisplayMode(24)...\n[gfx] SetDisplayMode(16)...\n"
                            "[ERROR] FAILED!\n[gfx] No full-screen mode: opening a window instead\n"
                            "[gfx] CreateSurface(g_pDDSPrimary)...\n[gfx] CreateClipper()...\n[gfx] SetClipper()...\n"
                            "[gfx] CreateSurface(g_pDDSBack)...\n");
    RECT outer = {0, 0, 320, 240};
    AdjustWindowRectEx(&outer, WS_POPUP | WS_CAPTION, FALSE, WS_EX_APPWINDOW);
    EXPECT_EQ(screenClientRect.left, 352 - outer.left);
    EXPECT_EQ(screenClientRect.top, 264 - outer.top);
    frame[319 * 240 + 0] = 0xFF112233;
    display.Present(frame.data());
    EXPECT_EQ(SurfacePixel(display.g_pDDSBack, 0, 0), 0xFF112233u);
}

TEST_F(DesktopDisplayTest, AnUnknown16BitLayoutEndsTheProgramWithExitCodeZero) {
    setupOptions.fullscreen = 1;
    standin::TheHardware().accepts32 = false;
    standin::TheHardware().accepts24 = false;
    standin::TheHardware().redMask16 = 0x001F;
    EXPECT_EXIT(Open(), testing::ExitedWithCode(0), "");
    std::string logged = Logged();
    EXPECT_NE(logged.find("[gfx] GetDisplayMode(16)...\n\n--------------------------\ndoZorava - Logging ended\n"),
              std::string::npos)
        << logged;
}

TEST_F(DesktopDisplayTest, WindowedOpensADesktopPrimaryWithAClipper) {
    standin::TheHardware().windowBitsPerPixel = 24;
    ASSERT_TRUE(Open());
    EXPECT_EQ(display.bpp, 24);
    EXPECT_EQ(Logged(), kWindowLines + kCreateLines +
                            "[gfx] CreateSurface(g_pDDSPrimary)...\n[gfx] CreateClipper()...\n[gfx] SetClipper()...\n"
                            "[gfx] CreateSurface(g_pDDSBack)...\n");
}

TEST_F(DesktopDisplayTest, EachFailingStepIsLoggedAndLeavesCloseSafe) {
    for (const char* step : {"DirectDrawCreateEx", "SetCooperativeLevel", "CreateSurface", "CreateClipper",
                             "SetClipper", "CreateOffscreenSurface"}) {
        standin::TheHardware().failingStep = step;
        logSizeBefore = ProgramLogSize();
        EXPECT_FALSE(Open()) << step;
        std::string logged = Logged();
        EXPECT_EQ(logged.substr(logged.size() - 16), "[ERROR] FAILED!\n") << step;
        display.Present(frame.data());
        display.Close();
        UnregisterClassA("qvWnd", nullptr);
    }
}

TEST_F(DesktopDisplayTest, WindowedPresentTurnsTheFrameIntoTheBackSurface) {
    ASSERT_TRUE(Open());
    frame[319 * 240 + 0] = 0xFF112233;  // BackBuffer (0, 319): the picture's top-left
    frame[0 * 240 + 0] = 0xFF445566;    // (0, 0): top-right
    frame[0 * 240 + 239] = 0x80778899;  // (239, 0): bottom-right, alpha kept at 32 bits
    display.Present(frame.data());
    EXPECT_EQ(SurfacePixel(display.g_pDDSBack, 0, 0), 0xFF112233u);
    EXPECT_EQ(SurfacePixel(display.g_pDDSBack, 319, 0), 0xFF445566u);
    EXPECT_EQ(SurfacePixel(display.g_pDDSBack, 319, 239), 0x80778899u);
}

TEST_F(DesktopDisplayTest, FullScreenPresentFlipsA555PictureToTheFront) {
    setupOptions.fullscreen = 1;
    setupOptions.doubleSize = 1;
    standin::TheHardware().accepts32 = false;
    standin::TheHardware().accepts24 = false;
    standin::TheHardware().redMask16 = 0x7C00;
    ASSERT_TRUE(Open());
    frame[319 * 240 + 0] = 0xFF123456;
    display.Present(frame.data());
    EXPECT_EQ(SurfacePixel(display.g_pDDSPrimary, 0, 0), 0x08CAu);
    EXPECT_EQ(SurfacePixel(display.g_pDDSPrimary, 1, 1), 0x08CAu);
    EXPECT_EQ(SurfacePixel(display.g_pDDSPrimary, 2, 0), 0u);
}

TEST_F(DesktopDisplayTest, AFailedLockSkipsTheFrame) {
    ASSERT_TRUE(Open());
    standin::TheHardware().failingStep = "Lock";
    frame.assign(frame.size(), 0xFFFFFFFF);
    display.Present(frame.data());
    standin::TheHardware().failingStep.clear();
    EXPECT_EQ(SurfacePixel(display.g_pDDSBack, 0, 0), 0u);
}

// Alt+Tab as the stand-in sees it: the window hidden, then shown again.
TEST_F(DesktopDisplayTest, LostSurfacesComeBackOnceTheWindowDoesWithTheNextFrameDrawn) {
    setupOptions.fullscreen = 1;
    ASSERT_TRUE(Open());
    frame[319 * 240 + 0] = 0xFF123456;
    display.Present(frame.data());
    logSizeBefore = ProgramLogSize();

    ShowWindow(display.window, SW_HIDE);
    display.PumpMessages();
    display.Present(frame.data());
    display.Present(frame.data());
    EXPECT_EQ(display.g_pDDSPrimary->IsLost(), DDERR_SURFACELOST);

    ShowWindow(display.window, SW_SHOW);
    display.PumpMessages();
    display.Present(frame.data());
    EXPECT_EQ(display.g_pDDSPrimary->IsLost(), DD_OK);
    EXPECT_EQ(SurfacePixel(display.g_pDDSPrimary, 0, 0), 0xFF123456u);
    EXPECT_EQ(Logged(), "[gfx] Restore()...\n");  // once for the one loss
}

// A Windows user sees no stderr: the box is what tells them.
TEST_F(DesktopDisplayTest, AMissingDataFolderIsToldInABoxAndInTheLogBeforeTheWindowOpens) {
    std::string data = ResolveDataPath("data");
    ASSERT_EQ(rmdir(data.c_str()), 0);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    std::string told = testing::internal::GetCapturedStderr();
    CreateDirectoryA(data.c_str(), nullptr);
    EXPECT_NE(told.find("message box \"doZorava\": The folder \"" + data + "\" is missing"), std::string::npos) << told;
    EXPECT_EQ(Logged().rfind("[ERROR] No data folder: \"" + data + "\"\n" + kWindowLines, 0), 0u) << Logged();
}

TEST_F(DesktopDisplayTest, CloseReleasesEverythingAndDestroysTheWindow) {
    ASSERT_TRUE(Open());
    HWND window = display.window;
    display.Close();
    EXPECT_EQ(display.directDraw, nullptr);
    EXPECT_EQ(display.g_pDDSPrimary, nullptr);
    EXPECT_EQ(display.g_pDDSBack, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(Logged().find("[gfx] Close()...\n"), std::string::npos);
}

}  // namespace
