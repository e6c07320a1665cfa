// Runs handheld-layer code on SDL's offscreen video driver with the stand-in
// hardware a 240 x 320 screen, and keeps what the code appends to the log.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

#include "core/platform.h"
#include "platform/pocketpc/display_gapi.h"
#include "standin/hardware/hardware.h"
#include "support/program_log.h"

class HandheldDisplayTest : public ProgramLogTest {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        standin::TheHardware() = standin::Hardware{};
        standin::TheHardware().screenWidth = 240;
        standin::TheHardware().screenHeight = 320;
        inputState = InputState{};
        frame.assign(240 * 320, 0);
        ProgramLogTest::SetUp();
    }

    void TearDown() override {
        display.Close();
        UnregisterClassA("DOZoravaClass", nullptr);
    }

    bool Open() { return display.Open(GetModuleHandleA(nullptr)); }

    PocketPcDisplay display;
    std::vector<uint32_t> frame;
};
