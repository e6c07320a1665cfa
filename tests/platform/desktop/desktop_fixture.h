// Runs desktop-layer code on SDL's offscreen video driver with the stand-in
// hardware at its defaults, and keeps what the code appends to the log.
#pragma once

#include <stdlib.h>

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

#include "core/data_path.h"
#include "core/platform.h"
#include "platform/desktop/setup_dialog.h"
#include "standin/hardware/hardware.h"
#include "support/program_log.h"

class DesktopTest : public ProgramLogTest {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        standin::TheHardware() = standin::Hardware{};
        standin::TheHardware().screenWidth = 1024;
        standin::TheHardware().screenHeight = 768;
        setupOptions = SetupOptions{};
        setupFromCommandLine = FALSE;
        inputState = InputState{};
        CreateDirectoryA(ResolveDataPath("data"), nullptr);  // where the program finds its data
        ProgramLogTest::SetUp();
    }

    void TearDown() override { UnregisterClassA("qvWnd", nullptr); }
};
