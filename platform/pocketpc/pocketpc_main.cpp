// The handheld program's entry point: the command line, then the driver with
// the GAPI display.
#include <vector>

#include "app/program.h"
#include "core/command_line.h"
#include "platform/pocketpc/display_gapi.h"
#include "platform/pocketpc/wince.h"

PocketPcDisplay display;

namespace {

constexpr char kUsage[] =
    "usage: duckdemo-ce [options]\n"
    "\n"
    "A birthday demo, then a duck shell game, on a 240 x 320 handheld screen\n"
    "watched sideways: watch the marked duck, then tap the one you believe it is.\n"
    "Any key quits.\n"
    "\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "The program reads data/ beside itself and writes qvDebug.log there, or, where\n"
    "that folder cannot be written, in the user's folder for program state.\n";

constexpr GuessPrompt kGuessPrompt = {"use your stylus to guess!", 66, 260};

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int) {
    // The options are plain ASCII; anything else only has to be named when refused.
    int length = lpCmdLine != nullptr ? WideCharToMultiByte(CP_ACP, 0, lpCmdLine, -1, nullptr, 0, nullptr, nullptr) : 0;
    std::vector<char> commandLine(static_cast<size_t>(length) + 1, '\0');
    if (length > 0) WideCharToMultiByte(CP_ACP, 0, lpCmdLine, -1, commandLine.data(), length, "?", nullptr);
    const ProgramCommandLine program = {"duckdemo-ce", DUCKDEMO_VERSION, kUsage, nullptr, 0};
    int32_t flagsGiven = 0;
    int32_t exitCode = AnswerCommandLine(commandLine.data(), program, flagsGiven);
    if (exitCode >= 0) return exitCode;
    return RunProgram(display, hInstance, kGuessPrompt);
}
