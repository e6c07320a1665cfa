#include "platform/pocketpc/window.h"

#include "platform/pocketpc/handheld_fixture.h"

namespace {

class HandheldWindowTest : public HandheldDisplayTest {
protected:
    // Takes and dispatches every pending message, as the main loop would
    // over several passes.
    void PumpAll() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) display.PumpMessages();
    }
};

TEST_F(HandheldWindowTest, ATapSetsThePointerAndADragDoesNot) {
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

TEST_F(HandheldWindowTest, AnyKeyClosesTheWindow) {
    ASSERT_TRUE(Open());
    SendMessageW(display.window, WM_KEYDOWN, 'Q', 1);
    PumpAll();
    EXPECT_EQ(inputState.quit, 1);
    EXPECT_FALSE(IsWindow(display.window));
}

}  // namespace
