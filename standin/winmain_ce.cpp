// The process entry of a handheld program on this system: the handheld's
// 240 x 320 screen, shown as large as whole factors allow on the PC's, and
// the command line in wide characters.
#include <algorithm>
#include <string>
#include <windows.h>

#include "hardware.h"
#include "process_start.h"
#include "sdl_host.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd);

int main(int argc, char** argv) {
    standin::Hardware& hardware = standin::TheHardware();
    if (!standin::ReadyToStart(argc, argv)) return 2;
    hardware.screenWidth = hardware.handheldWidth;
    hardware.screenHeight = hardware.handheldHeight;
    standin::HostSize pc = standin::HostScreenSize();
    hardware.windowScale =
        std::max(1, std::min(pc.width / hardware.screenWidth, pc.height * 9 / 10 / hardware.screenHeight));

    std::wstring commandLine;
    for (int i = 1; i < argc; ++i) {
        if (!commandLine.empty()) commandLine += L' ';
        for (const char* c = argv[i]; *c != '\0'; ++c)
            commandLine += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    }
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
}
