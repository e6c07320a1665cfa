// The process entry of a handheld program on this system: the handheld's
// 240 x 320 screen, shown as large as whole factors allow on the PC's, and
// the command line in wide characters.
#include <string>
#include <windows.h>

#include "standin/capture/capture_session.h"
#include "standin/entry/process_start.h"
#include "standin/hardware/hardware.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd);

int main(int argc, char** argv) {
    if (!standin::PrepareProcess(argc, argv) || !standin::PrepareCapture(argc, argv)) return 2;
    standin::Hardware& hardware = standin::TheHardware();
    hardware.screenWidth = hardware.handheldWidth;
    hardware.screenHeight = hardware.handheldHeight;
    hardware.windowScale = standin::kLargestWindowScale;

    std::string narrow = standin::CommandLineOf(argc, argv);
    std::wstring commandLine(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, nullptr, 0)), 0);
    MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, commandLine.data(), static_cast<int>(commandLine.size()));
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
    return standin::FinishProcess(exitCode, argc, argv);
}
