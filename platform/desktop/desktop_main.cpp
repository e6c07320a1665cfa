// The desktop program's entry point: the command line, then the driver with
// the DirectDraw display.
#include <cstring>
#include <vector>

#include "app/greeting.h"
#include "app/program.h"
#include "core/command_line.h"
#include "platform/desktop/display_ddraw.h"
#include "platform/desktop/setup_dialog.h"
#include "platform/desktop/win32.h"

DesktopDisplay display;

namespace {

constexpr char kUsage[] =
    "usage: duckdemo [options]\n"
    "\n"
    "A birthday demo, then a duck shell game: watch the marked duck, point at it\n"
    "once the ducks have swapped places, and click. Escape quits.\n"
    "\n"
    "Without options a setup box asks how to show the picture. With any of the\n"
    "display options below the box is skipped.\n"
    "\n"
    "  --fullscreen    an exclusive full-screen mode instead of a window\n"
    "  --double-size   640 x 480 instead of 320 x 240\n"
    "  --on-top        keep the window above the others\n"
    "  --no-setup      skip the setup box (a 320 x 240 window unless told otherwise)\n"
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

constexpr GuessPrompt kGuessPrompt = {"use your mouse to guess!", 66, 256};

// The command line in UTF-8: Windows hands it over in the program's code
// page, which is UTF-8 only where the system or the manifest says so.
std::vector<char> CommandLineInUtf8(const char* commandLine) {
    std::vector<char> utf8(commandLine, commandLine + std::strlen(commandLine) + 1);
    if (GetACP() == CP_UTF8) return utf8;
    int wideLength = MultiByteToWideChar(CP_ACP, 0, commandLine, -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength > 0 ? wideLength : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, commandLine, -1, wide.data(), wideLength);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    utf8.assign(static_cast<size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int) {
    int32_t fullscreen = 0;
    int32_t doubleSize = 0;
    int32_t onTop = 0;
    int32_t noSetup = 0;
    const CommandLineFlag flags[] = {
        {"--fullscreen", &fullscreen},
        {"--double-size", &doubleSize},
        {"--on-top", &onTop},
        {"--no-setup", &noSetup},
    };
    GreetingOptions greeting;
    const CommandLineText texts[] = {{"--from", &greeting.from}, {"--wish", &greeting.wish}, {"--to", &greeting.to}};
    const ProgramCommandLine program = {"duckdemo", DUCKDEMO_VERSION, kUsage, flags, 4, texts, 3};
    CommandLineWords words;
    int32_t flagsGiven = 0;
    int32_t exitCode =
        AnswerCommandLine(CommandLineInUtf8(lpCmdLine != nullptr ? lpCmdLine : "").data(), program, words, flagsGiven);
    if (exitCode >= 0) return exitCode;
    IntroText introText;
    if (!MakeIntroText(program.name, greeting, introText)) return 2;
    // Any display option skips the box; the greeting's texts are not display options.
    if (flagsGiven > 0) {
        setupOptions = {fullscreen, doubleSize, onTop};
        setupFromCommandLine = TRUE;
    }
    return RunProgram(display, hInstance, kGuessPrompt, introText.Lines());
}
