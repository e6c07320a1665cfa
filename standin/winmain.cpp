// The process entry of a Win32 program on this system: the command line as
// one string, the module handle, then the program's own WinMain.
#include <string>
#include <windows.h>

#include "process_start.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

int main(int argc, char** argv) {
    if (!standin::ReadyToStart(argc, argv)) return 2;
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (!commandLine.empty()) commandLine += ' ';
        commandLine += argument.find(' ') == std::string::npos ? argument : "\"" + argument + "\"";
    }
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOW);
}
