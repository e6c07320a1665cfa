// The process entry of a Win32 program on this system. A desktop program's
// WinMain takes its command line in narrow characters; a handheld one's takes
// it in wide characters and gets the handheld's 240 x 320 screen, shown as
// large as whole factors allow on the PC's. Each program defines one of the
// two, and the one it lacks stays null.
#include <cstdio>
#include <string>
#include <windows.h>

#include "standin/entry/process_start.h"
#include "standin/hardware/hardware.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd) __attribute__((weak));
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd) __attribute__((weak));

namespace {

using DesktopEntry = int(WINAPI*)(HINSTANCE, HINSTANCE, LPSTR, int);
using HandheldEntry = int(WINAPI*)(HINSTANCE, HINSTANCE, LPWSTR, int);

int RunHandheld(HandheldEntry entry, const std::string& narrow) {
    standin::Hardware& hardware = standin::TheHardware();
    hardware.screenWidth = hardware.handheldWidth;
    hardware.screenHeight = hardware.handheldHeight;
    hardware.windowScale = standin::kLargestWindowScale;
    std::wstring commandLine(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, nullptr, 0)), 0);
    MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, commandLine.data(), static_cast<int>(commandLine.size()));
    return entry(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
}

}  // namespace

int main(int argc, char** argv) {
    if (!standin::PrepareProcess(argc, argv)) return 2;
    std::string commandLine = standin::CommandLineOf(argc, argv);
    DesktopEntry desktop = WinMain;
    HandheldEntry handheld = WinMain;
    if (desktop == nullptr && handheld == nullptr) {
        std::fputs("this program has no WinMain to start\n", stderr);
        return 2;
    }
    int exitCode = desktop != nullptr ? desktop(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOW)
                                      : RunHandheld(handheld, commandLine);
    return standin::FinishProcess(exitCode, argc, argv);
}
