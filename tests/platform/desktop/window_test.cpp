#include "platform/desktop/window.h"

#include "platform/desktop/desktop_fixture.h"

namespace {

struct Pointer {
    int32_t x;
    int32_t y;
};

Pointer Mapped(int clientX, int clientY, LONG doubleSize) {
    Pointer pointer{};
    MapPointer(MAKELPARAM(clientX, clientY), doubleSize, pointer.x, pointer.y);
    return pointer;
}

TEST(PointerMapping, TurnsClientPositionsIntoBackBufferCoordinates) {
    EXPECT_EQ(Mapped(0, 0, 0).x, 0);
    EXPECT_EQ(Mapped(0, 0, 0).y, 320);  // one more than the row shown at the left edge
    EXPECT_EQ(Mapped(319, 239, 0).x, 239);
    EXPECT_EQ(Mapped(319, 239, 0).y, 1);
    EXPECT_EQ(Mapped(160, 120, 0).x, 120);
    EXPECT_EQ(Mapped(160, 120, 0).y, 160);
}

TEST(PointerMapping, HalvesPositionsAtDoubleSize) {
    EXPECT_EQ(Mapped(639, 479, 1).x, 239);
    EXPECT_EQ(Mapped(639, 479, 1).y, 1);
    EXPECT_EQ(Mapped(1, 1, 1).x, 0);
    EXPECT_EQ(Mapped(1, 1, 1).y, 320);
}

class WindowTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        setupFromCommandLine = TRUE;
    }
};

TEST_F(WindowTest, OpensACaptionedWindowCentredByItsClientSize) {
    HWND window = OpenMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Logged(), "[gfx] RegisterClass()...\n[gfx] CreateWindow()...\n");
    EXPECT_EQ(clientRect.right, 320);
    EXPECT_EQ(clientRect.bottom, 240);
    // (1024 - 320) / 2 = 352 is the outer corner; the client area lies inside the frame.
    RECT outer = {0, 0, 320, 240};
    AdjustWindowRectEx(&outer, WS_POPUP | WS_CAPTION, FALSE, WS_EX_APPWINDOW);
    EXPECT_EQ(screenClientRect.left, 352 - outer.left);
    EXPECT_EQ(screenClientRect.top, 264 - outer.top);
    EXPECT_EQ(screenClientRect.right - screenClientRect.left, 320);
    DestroyWindow(window);
}

TEST_F(WindowTest, FullScreenDoubleSizeHasNoCaption) {
    setupOptions.fullscreen = 1;
    setupOptions.doubleSize = 1;
    HWND window = OpenMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(clientRect.right, 640);
    EXPECT_EQ(clientRect.bottom, 480);
    EXPECT_EQ(screenClientRect.left, 192);
    EXPECT_EQ(screenClientRect.top, 144);
    DestroyWindow(window);
}

TEST_F(WindowTest, AFailedStepIsLoggedAndGivesNoWindow) {
    standin::TheHardware().failingStep = "RegisterClass";
    EXPECT_EQ(OpenMainWindow(GetModuleHandleA(nullptr)), nullptr);
    EXPECT_EQ(Logged(), "[gfx] RegisterClass()...\n[ERROR] FAILED!\n");

    standin::TheHardware().failingStep = "CreateWindow";
    logSizeBefore = ProgramLogSize();
    EXPECT_EQ(OpenMainWindow(GetModuleHandleA(nullptr)), nullptr);
    EXPECT_EQ(Logged(), "[gfx] RegisterClass()...\n[gfx] CreateWindow()...\n[ERROR] FAILED!\n");
}

TEST_F(WindowTest, EscapeQuitsWithoutDefaultHandlingAndOtherKeysDoNot) {
    HWND window = OpenMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageA(window, WM_KEYDOWN, 'A', 0), 0);
    EXPECT_EQ(inputState.quit, 0);
    EXPECT_EQ(SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(inputState.quit, 1);
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(window);
}

TEST_F(WindowTest, CloseQuitsAndDestroysTheWindow) {
    HWND window = OpenMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&message);
    EXPECT_EQ(inputState.quit, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(DestroyWindow(window));  // a second destruction fails without effect
}

TEST_F(WindowTest, TheButtonTakesThePointerOnPressOnly) {
    HWND window = OpenMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    EXPECT_EQ(inputState.buttonDown, 1);
    EXPECT_EQ(inputState.pointerX, 50);
    EXPECT_EQ(inputState.pointerY, 220);
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(200, 10));
    EXPECT_EQ(inputState.buttonDown, 0);
    EXPECT_EQ(inputState.pointerX, 50);
    EXPECT_EQ(inputState.pointerY, 220);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(160, 120));
    EXPECT_EQ(inputState.pointerX, 120);
    EXPECT_EQ(inputState.pointerY, 160);
    DestroyWindow(window);
}

}  // namespace
