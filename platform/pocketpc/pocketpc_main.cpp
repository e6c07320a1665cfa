// The handheld program's entry point: the command line, then the driver with
// the GAPI display.
#include <vector>

#include "app/greeting.h"
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
    "  --from TEXT     who the demo is from, in place of \"m o r v e k\"\n"
    "  --wish TEXT     the wish, in place of \"happy birthday\"\n"
    "  --to TEXT       who it is for, in place of \"tiru :)\"\n"
    "                  (1 to 40 of a-z, 0-9, space and . , ? ! - + ( ) [ ] \" : *)\n"
    "\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "The program reads data/ beside itself and writes qvDebug.log there, or, where\n"
    "that folder cannot be written, in the user's folder for program state.\n";

constexpr GuessPrompt kGuessPrompt = {"use your stylus to guess!", 66, 260};

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int) {
    // In UTF-8, so that a greeting's character the font lacks is named as given.
    int length =
        lpCmdLine != nullptr ? WideCharToMultiByte(CP_UTF8, 0, lpCmdLine, -1, nullptr, 0, nullptr, nullptr) : 0;
    std::vector<char> commandLine(static_cast<size_t>(length) + 1, '\0');
    if (length > 0) WideCharToMultiByte(CP_UTF8, 0, lpCmdLine, -1, commandLine.data(), length, nullptr, nullptr);
    GreetingOptions greeting;
    const CommandLineText texts[] = {{"--from", &greeting.from}, {"--wish", &greeting.wish}, {"--to", &greeting.to}};
    const ProgramCommandLine program = {"duckdemo-ce", DUCKDEMO_VERSION, kUsage, nullptr, 0, texts, 3};
    CommandLineWords words;
    int32_t flagsGiven = 0;
    int32_t exitCode = AnswerCommandLine(commandLine.data(), program, words, flagsGiven);
    if (exitCode >= 0) return exitCode;
    IntroText introText;
    if (!MakeIntroText(program.name, greeting, introText)) return 2;
    return RunProgram(display, hInstance, kGuessPrompt, introText.Lines());
}
