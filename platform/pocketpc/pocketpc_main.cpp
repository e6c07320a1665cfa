// The handheld program's entry point: the command line, then the driver with
// the GAPI display.
#include <stdio.h>
#include <wchar.h>

#include "core/program.h"
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
    "The program reads data/ beside itself and writes qvDebug.log there.\n";

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int) {
    const wchar_t* options = lpCmdLine != nullptr ? lpCmdLine : L"";
    if (wcsstr(options, L"--help") != nullptr || wcsstr(options, L"-h") == options) {
        fputs(kUsage, stdout);
        return 0;
    }
    if (wcsstr(options, L"--version") != nullptr) {
        printf("duckdemo-ce %s\n", DUCKDEMO_VERSION);
        return 0;
    }
    if (*options != L'\0') {
        fprintf(stderr, "duckdemo-ce: unknown option '%ls' (try --help)\n", options);
        return 2;
    }
    return RunProgram(display, hInstance);
}
