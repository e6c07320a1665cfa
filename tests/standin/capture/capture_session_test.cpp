// Capture mode as a person uses it: the real programs, run with no display
// and no sound card, writing frames and music that are read back here.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/font_charset.h"
#include "gfx/bitmap.h"
#include "gfx/font.h"
#include "platform/desktop/convert.h"
#include "support/test_files.h"

namespace {

const std::string kDesktop = DUCKDEMO_PROGRAM;
const std::string kHandheld = DUCKDEMO_CE_PROGRAM;

struct ProgramRun {
    int exitCode;
    std::string stderrText;
};

// The program with these arguments, no display and no audio device.
ProgramRun Capture(const std::string& program, const std::string& arguments, const std::string& environment = "") {
    std::string errors = TestFilePath("capture-stderr.txt");
    std::string command = "env -u DISPLAY -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER " + environment + " '" + program +
                          "' " + arguments + " </dev/null >/dev/null 2>'" + errors + "'";
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(errors)};
}

std::string Folder(const std::string& name) {
    std::string folder = TestFilePath(name);
    std::filesystem::remove_all(folder);
    return folder;
}

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};

Picture ReadPng(const std::string& path) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return picture;
    image.format = PNG_FORMAT_RGB;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) == 0) return {};
    picture.width = static_cast<int32_t>(image.width);
    picture.height = static_cast<int32_t>(image.height);
    return picture;
}

// The rows the game's level line takes in the 320 x 240 picture, as the
// program's own font and turn would draw "level N" on black.
std::vector<uint8_t> LevelLineRows(int32_t level) {
    Font font;
    font.Load((std::filesystem::path(kDesktop).parent_path() / "data/fonts.tga").c_str(), kFontCharset);
    Bitmap backBuffer;
    backBuffer.Create(240, 320);
    backBuffer.Clear();
    std::string text = "level " + std::to_string(level);
    int32_t length = static_cast<int32_t>(text.size());
    font.DrawString(backBuffer, 200, (320 - 8 * length) / 2 + 8 * length, text.c_str());
    std::vector<Pixel> staging(kStagingMaxPixels);
    TurnIntoStaging(backBuffer.pixels, staging.data(), false);
    std::vector<uint8_t> rows;
    for (int32_t i = 200 * 320; i < 208 * 320; ++i)
        for (int shift : {16, 8, 0}) rows.push_back(static_cast<uint8_t>(staging[i] >> shift));
    return rows;
}

std::vector<uint8_t> RowsOf(const Picture& picture, int32_t first, int32_t count) {
    auto begin = picture.rgb.begin() + first * picture.width * 3;
    return {begin, begin + count * picture.width * 3};
}

TEST(CaptureSession, TwoCapturesOfTheSameSpanAreTheSameToTheByte) {
    std::vector<std::string> folders = {Folder("same-1"), Folder("same-2")};
    for (const std::string& folder : folders) {
        ProgramRun run = Capture(kHandheld, "--capture '" + folder + "' --start 16000 --duration 1 --fps 30");
        ASSERT_EQ(run.exitCode, 1) << run.stderrText;
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folders[0])) {
        std::string name = entry.path().filename().string();
        EXPECT_EQ(ReadWholeFile(entry.path().string()), ReadWholeFile(folders[1] + "/" + name)) << name;
        ++files;
    }
    EXPECT_EQ(files, 31);  // 30 frames and the music
    Picture first = ReadPng(folders[0] + "/frame000000.png");
    EXPECT_EQ(first.width, 240);
    EXPECT_EQ(first.height, 320);
}

struct Click {
    const char* name;
    int32_t x;  // in the window's pixels, across the row of ducks
    int32_t level;
};

class CaptureClick : public testing::TestWithParam<Click> {};

// With the tick counter virtual the game's seed is fixed: this turn marks the
// third duck from the left, and one swap leaves it there.
TEST_P(CaptureClick, AGuessDecidesTheLevelTheNextTurnShows) {
    std::string folder = Folder(std::string("click-") + GetParam().name);
    std::string script = TestFilePath("click.txt");
    WriteWholeFile(script, "# the guess, once the ducks are still\n85000 move " + std::to_string(GetParam().x) +
                               " 118\n85100 down\n85200 up\n");
    ProgramRun run = Capture(kDesktop, "--capture '" + folder + "' --start 74000 --at 92000 --input '" + script + "'");
    ASSERT_EQ(run.exitCode, 1) << run.stderrText;
    Picture last = ReadPng(folder + "/t092000.png");
    ASSERT_EQ(last.width, 320);
    EXPECT_EQ(RowsOf(last, 200, 8), LevelLineRows(GetParam().level));
}

INSTANTIATE_TEST_SUITE_P(Guesses, CaptureClick,
                         testing::Values(Click{"MarkedDuck", 143, 2}, Click{"AnotherDuck", 73, 1}),
                         [](const testing::TestParamInfo<Click>& info) { return std::string(info.param.name); });

TEST(CaptureSession, TheMusicIsAsLongAsTheFramesAndHeardInTheIntro) {
    std::string folder = Folder("music");
    ProgramRun run = Capture(kDesktop, "--capture '" + folder + "' --start 16000 --duration 2 --at 16000");
    ASSERT_EQ(run.exitCode, 1) << run.stderrText;
    std::string wav = ReadWholeFile(folder + "/audio.wav");
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav.size() - 44, 2 * 44100 * 4u);  // two seconds of 16-bit stereo
    double energy = 0;
    for (size_t i = 44; i + 1 < wav.size(); i += 2) {
        auto sample = static_cast<int16_t>(static_cast<uint8_t>(wav[i]) | static_cast<uint8_t>(wav[i + 1]) << 8);
        energy += static_cast<double>(sample) * sample;
    }
    EXPECT_GT(energy / ((wav.size() - 44) / 2), 100.0 * 100.0) << "the intro's music is there";
}

TEST(CaptureSession, EachChosenTimeIsWrittenOnceShowingExactlyThatTime) {
    // The first duck opens its beak just after 12465 ms, between two frames
    // at 60 fps; 55855 is past the last frame before it.
    std::string folder = Folder("chosen");
    ProgramRun run = Capture(kDesktop, "--capture '" + folder + "' --at 55855,12465,12466,12465");
    ASSERT_EQ(run.exitCode, 1) << run.stderrText;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"audio.wav", "t012465.png", "t012466.png", "t055855.png"}));

    std::string started = Folder("started-at-12465");
    run = Capture(kDesktop, "--capture '" + started + "' --start 12465 --duration 0.001");
    ASSERT_EQ(run.exitCode, 1) << run.stderrText;
    Picture before = ReadPng(folder + "/t012465.png");
    ASSERT_EQ(before.width, 320);
    EXPECT_TRUE(before.rgb == ReadPng(started + "/frame000000.png").rgb) << "t012465.png is not the show at 12465 ms";
    EXPECT_FALSE(before.rgb == ReadPng(folder + "/t012466.png").rgb) << "the beak is open at 12466 ms";
}

struct Refusal {
    const char* name;
    const char* arguments;  // OUT stands for the capture's output
    const char* said;
};

class CaptureRefusal : public testing::TestWithParam<Refusal> {};

// Exit code 2, the reason, and nothing made: no folder, no file.
TEST_P(CaptureRefusal, IsSaidBeforeAnythingIsMade) {
    std::string output = Folder(std::string("refused-") + GetParam().name);
    std::string arguments = GetParam().arguments;
    arguments.replace(arguments.find("OUT"), 3, "'" + output + "'");
    std::filesystem::remove(output + ".avi");
    ProgramRun run = Capture(kDesktop, arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.stderrText.find(GetParam().said), std::string::npos) << run.stderrText;
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(std::filesystem::exists(output + ".avi"));
    EXPECT_FALSE(std::filesystem::exists(output + ".mp4"));
}

INSTANTIATE_TEST_SUITE_P(
    Options, CaptureRefusal,
    testing::Values(Refusal{"AtBeforeStart", "--capture OUT --start 74000 --at 1000", "--at 1000 is before --start"},
                    Refusal{"AtPastDuration", "--capture OUT --start 1000 --duration 2 --at 3000",
                            "--at 3000 is past the end of the capture at 3000 ms"},
                    Refusal{"StartInTheGame", "--capture OUT --start 74001", "from 0 to 74000"},
                    Refusal{"FpsOutOfRange", "--capture OUT --fps 0", "from 1 to 1000"},
                    Refusal{"NoEnd", "--capture OUT --start 74000", "--capture needs --duration S or --at times"},
                    Refusal{"NoOutputBeforeAnOption", "--capture --fps 30 OUT", "--capture cannot take \"--fps\""},
                    Refusal{"UnknownVideo", "--capture OUT.avi --duration 1", "a video ends in .mp4, .mkv or .webm"},
                    Refusal{"EndlessScript", "--capture OUT --duration 1 --input /dev/zero", "not a regular file"},
                    Refusal{"ProgramsOwnWord", "--capture OUT --duration 1 --bogus", "unknown option '--bogus'"}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(CaptureSession, WhatCannotRunIsRefusedBeforeAnythingIsWritten) {
    std::string folder = Folder("refused");
    std::string script = TestFilePath("bad.txt");
    WriteWholeFile(script, "# fine so far\n85000 move 10 10\n85100 jump\n");
    ProgramRun badScript = Capture(kDesktop, "--capture '" + folder + "' --duration 1 --input '" + script + "'");
    EXPECT_EQ(badScript.exitCode, 2);
    EXPECT_NE(badScript.stderrText.find(script + ":3:"), std::string::npos) << badScript.stderrText;

    ProgramRun noFfmpeg = Capture(kDesktop, "--capture '" + folder + ".mp4' --duration 1", "PATH=/nonexistent");
    EXPECT_EQ(noFfmpeg.exitCode, 2);
    EXPECT_NE(noFfmpeg.stderrText.find("ffmpeg"), std::string::npos) << noFfmpeg.stderrText;
    EXPECT_NE(noFfmpeg.stderrText.find("--capture " + folder), std::string::npos) << noFfmpeg.stderrText;
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_FALSE(std::filesystem::exists(folder + ".mp4"));

    // New frames are never mixed with an earlier capture's.
    std::filesystem::create_directories(folder);
    WriteWholeFile(folder + "/frame000000.png", "an earlier frame");
    ProgramRun intoEarlier = Capture(kDesktop, "--capture '" + folder + "' --at 1000");
    EXPECT_EQ(intoEarlier.exitCode, 2);
    EXPECT_NE(intoEarlier.stderrText.find("holds an earlier capture"), std::string::npos) << intoEarlier.stderrText;
    EXPECT_FALSE(std::filesystem::exists(folder + "/t001000.png"));
}

// A signal ends the capture with what came before it, a line that says so,
// and an exit code of its own.
TEST(CaptureSession, ASignalCutsItShortWithAnExitCodeOfItsOwn) {
    std::string folder = Folder("cut-short");
    std::string script = TestFilePath("cut-short.sh");
    WriteWholeFile(script, "'" + kDesktop + "' --capture '" + folder + "' --fps 10 --duration 600 & pid=$!\n" +
                               "for i in $(seq 1 1200); do [ -f '" + folder +
                               "/frame000005.png' ] && break; sleep 0.05; done\nkill -INT $pid\nwait $pid\n");
    ProgramRun run = Capture("/bin/sh", "'" + script + "'");
    EXPECT_EQ(run.exitCode, 3) << run.stderrText;
    EXPECT_NE(run.stderrText.find("capture: cut short by SIGINT at "), std::string::npos) << run.stderrText;
    EXPECT_EQ(ReadPng(folder + "/frame000005.png").width, 320);
}

}  // namespace
