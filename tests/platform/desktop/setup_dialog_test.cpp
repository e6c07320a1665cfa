#include "platform/desktop/setup_dialog.h"

#include <vector>

#include "platform/desktop/desktop_fixture.h"

namespace {

// Keys a person would press, queued as the box opens and then handled by
// the dialog manager; everything else goes to the real procedure.
std::vector<WPARAM> keysToPress;
std::vector<UINT> messagesToPost;

INT_PTR CALLBACK PressKeysThenSetup(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        for (WPARAM key : keysToPress) PostMessageA(dialog, WM_KEYDOWN, key, 1);
        for (UINT posted : messagesToPost) PostMessageA(dialog, posted, 0, 0);
    }
    return SetupDialogProc(dialog, message, wParam, lParam);
}

class SetupDialogTest : public DesktopTest {
protected:
    INT_PTR Run(std::vector<WPARAM> keys, std::vector<UINT> messages = {}) {
        keysToPress = std::move(keys);
        messagesToPost = std::move(messages);
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETUP), nullptr, PressKeysThenSetup, 0);
    }
};

TEST_F(SetupDialogTest, EnterIsOkWithNothingTicked) {
    EXPECT_EQ(Run({VK_RETURN}), 1);
    EXPECT_EQ(setupOptions.fullscreen, 0);
    EXPECT_EQ(setupOptions.doubleSize, 0);
    EXPECT_EQ(setupOptions.alwaysOnTop, 0);
}

TEST_F(SetupDialogTest, EscapeAndTheCloseBoxCancel) {
    EXPECT_EQ(Run({VK_ESCAPE}), 0);
    EXPECT_EQ(Run({}, {WM_CLOSE}), 0);
}

TEST_F(SetupDialogTest, TabWalksTheControlsInTemplateOrderAndSpaceTicks) {
    // OK has the focus first; then Cancel, Fullscreen, Double size, Always on top.
    EXPECT_EQ(Run({VK_TAB, VK_TAB, VK_SPACE, VK_TAB, VK_TAB, VK_SPACE, VK_RETURN}), 1);
    EXPECT_EQ(setupOptions.fullscreen, 1);
    EXPECT_EQ(setupOptions.doubleSize, 0);
    EXPECT_EQ(setupOptions.alwaysOnTop, 1);
}

TEST_F(SetupDialogTest, SpaceTwiceUnticksAndEnterOnABoxMeansOk) {
    EXPECT_EQ(Run({VK_TAB, VK_TAB, VK_TAB, VK_SPACE, VK_SPACE, VK_RETURN}), 1);
    EXPECT_EQ(setupOptions.doubleSize, 0);
}

TEST_F(SetupDialogTest, EnterOnCancelCancels) { EXPECT_EQ(Run({VK_TAB, VK_RETURN}), 0); }

TEST_F(SetupDialogTest, TabWrapsAroundToOkAndSpaceClicksIt) {
    EXPECT_EQ(Run({VK_TAB, VK_TAB, VK_TAB, VK_SPACE, VK_TAB, VK_TAB, VK_SPACE}), 1);
    EXPECT_EQ(setupOptions.doubleSize, 1);
}

TEST_F(SetupDialogTest, AMissingResourceCannotBeShown) {
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102), nullptr, SetupDialogProc, 0), -1);
}

}  // namespace
