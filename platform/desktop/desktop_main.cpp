// The desktop program's entry point: the command line, then the driver with
// the DirectDraw display.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/program.h"
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
    "The program reads data/ beside itself and writes qvDebug.log there.\n";

// Splits the command line at spaces; double quotes keep spaces in a word.
std::vector<std::string> Words(const char* commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (const char* c = commandLine != nullptr ? commandLine : ""; *c != '\0'; ++c) {
        if (*c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (*c == ' ' && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += *c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int) {
    for (const std::string& word : Words(lpCmdLine)) {
        if (word == "--help" || word == "-h") {
            fputs(kUsage, stdout);
            return 0;
        }
        if (word == "--version") {
            printf("duckdemo %s\n", DUCKDEMO_VERSION);
            return 0;
        }
        if (word == "--fullscreen") {
            setupOptions.fullscreen = 1;
        } else if (word == "--double-size") {
            setupOptions.doubleSize = 1;
        } else if (word == "--on-top") {
            setupOptions.alwaysOnTop = 1;
        } else if (word != "--no-setup") {
            fprintf(stderr, "duckdemo: unknown option '%s' (try --help)\n", word.c_str());
            return 2;
        }
        setupFromCommandLine = TRUE;
    }
    return RunProgram(display, hInstance);
}
