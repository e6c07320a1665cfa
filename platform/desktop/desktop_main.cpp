// The desktop program's entry point: the command line, then the driver with
// the DirectDraw display.
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
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "The program reads data/ beside itself and writes qvDebug.log there, or, where\n"
    "that folder cannot be written, in the user's folder for program state.\n";

constexpr GuessPrompt kGuessPrompt = {"use your mouse to guess!", 66, 256};

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
    const ProgramCommandLine program = {"duckdemo", DUCKDEMO_VERSION, kUsage, flags, 4};
    int32_t flagsGiven = 0;
    int32_t exitCode = AnswerCommandLine(lpCmdLine, program, flagsGiven);
    if (exitCode >= 0) return exitCode;
    // Any display option skips the box.
    if (flagsGiven > 0) {
        setupOptions = {fullscreen, doubleSize, onTop};
        setupFromCommandLine = TRUE;
    }
    return RunProgram(display, hInstance, kGuessPrompt);
}
