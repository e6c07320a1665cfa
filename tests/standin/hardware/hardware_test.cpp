#include "standin/hardware/hardware.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Every setting in one line, so a table can say what a setting changed.
std::string Describe(const standin::Hardware& hardware) {
    char text[256];
    std::snprintf(text, sizeof text, "depths %d%d%d red %x window %d fail '%s' screen %dx%d handheld %dx%d pitch %d,%d",
                  hardware.accepts32, hardware.accepts24, hardware.accepts16, hardware.redMask16,
                  hardware.windowBitsPerPixel, hardware.failingStep.c_str(), hardware.screenWidth,
                  hardware.screenHeight, hardware.handheldWidth, hardware.handheldHeight, hardware.handheldXPitch,
                  hardware.handheldYPitch);
    return text;
}

struct Setting {
    const char* name;
    const char* settings;
    const char* described;  // empty: refused
};

void PrintTo(const Setting& setting, std::ostream* out) { *out << "DUCKDEMO_HARDWARE=\"" << setting.settings << '"'; }

class HardwareSettingsTest : public testing::TestWithParam<Setting> {};

TEST_P(HardwareSettingsTest, SetWhatTheyNameOrNameThemselvesInTheError) {
    standin::Hardware hardware;
    std::string error;
    bool applied = standin::ApplyHardwareSettings(hardware, GetParam().settings, error);
    std::string expected = GetParam().described;
    if (expected.empty()) {
        EXPECT_FALSE(applied);
        std::string settings = GetParam().settings;
        std::string refused = settings.substr(settings.rfind(';') + 1);
        EXPECT_NE(error.find("\"" + refused + "\""), std::string::npos) << error;
    } else {
        EXPECT_TRUE(applied) << error;
        EXPECT_EQ(Describe(hardware), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HardwareSettingsTest,
    testing::Values(
        Setting{"None", "", "depths 111 red f800 window 32 fail '' screen 0x0 handheld 240x320 pitch 2,480"},
        Setting{"FiveFiveFiveCard", "depths=16;redmask=0x7c00",
                "depths 001 red 7c00 window 32 fail '' screen 0x0 handheld 240x320 pitch 2,480"},
        Setting{"DepthList", "depths=32,24;",
                "depths 110 red f800 window 32 fail '' screen 0x0 handheld 240x320 pitch 2,480"},
        Setting{"Desktop", "windowbpp=16;fail=CreateSurface;screenwidth=800;screenheight=600",
                "depths 111 red f800 window 16 fail 'CreateSurface' screen 800x600 handheld 240x320 pitch 2,480"},
        Setting{"LargerHandheld", "handheld=480x640;ypitch=960",
                "depths 111 red f800 window 32 fail '' screen 0x0 handheld 480x640 pitch 2,960"},
        Setting{"LandscapeHandheld", "handheld=320x240;xpitch=-480;ypitch=2",
                "depths 111 red f800 window 32 fail '' screen 0x0 handheld 320x240 pitch -480,2"},
        Setting{"UnknownKey", "depths=16;colours=256", ""}, Setting{"NoValue", "handheld", ""},
        Setting{"DepthNotOffered", "depths=16,8", ""}, Setting{"HandheldWithoutHeight", "handheld=480", ""},
        Setting{"HandheldTooLarge", "handheld=480x99999", ""}, Setting{"PitchNotANumber", "ypitch=wide", ""},
        Setting{"PitchZero", "xpitch=0", ""}, Setting{"WindowDepthOdd", "windowbpp=12", ""},
        Setting{"RedMaskTooWide", "redmask=0x10000", ""}, Setting{"ScreenNegative", "screenwidth=-1", ""},
        Setting{"FailNothing", "fail=", ""}),
    [](const testing::TestParamInfo<Setting>& info) { return std::string(info.param.name); });

}  // namespace
