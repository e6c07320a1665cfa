// The process entry of a Win32 program on this system: the command line as
// one string, the module handle, then the program's own WinMain.
#include <string>
#include <windows.h>

#include "standin/capture/capture_session.h"
#include "standin/entry/process_start.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

int main(int argc, char** argv) {
    if (!standin::PrepareProcess(argc, argv) || !standin::PrepareCapture(argc, argv)) return 2;
    std::string commandLine = standin::CommandLineOf(argc, argv);
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOW);
    return standin::FinishProcess(exitCode, argc, argv);
}
