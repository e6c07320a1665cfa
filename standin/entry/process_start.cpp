#include "standin/entry/process_start.h"

#include <cstdio>

#include "standin/capture/capture_options.h"
#include "standin/capture/capture_session.h"
#include "standin/hardware/hardware.h"
#include "standin/kernel32/own_path.h"
#include "standin/process/process_state.h"

namespace standin {

bool PrepareProcess(int& argc, char** argv) {
    const char* programName = argc > 0 && argv[0] != nullptr ? argv[0] : "duckdemo";
    RememberStartPath(argc > 0 ? argv[0] : nullptr);
    if (!LoadHardwareFromEnvironment()) return false;
    CatchInterrupts(programName);

    CaptureSettings settings;
    std::string error;
    if (!TakeCaptureOptions(argc, argv, settings, error)) {
        std::fprintf(stderr, "%s: %s (try --help)\n", programName, error.c_str());
        return false;
    }
    return StartCapture(settings);
}

// Quoted as Windows programs quote an argument they hand on, so that the
// program's own reading gives back every word whole, quotes and all.
std::string CommandLineOf(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        bool quoted = argument.empty() || argument.find(' ') != std::string::npos;
        if (i > 1) commandLine += ' ';
        if (quoted) commandLine += '"';
        size_t backslashes = 0;
        for (char c : argument) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            commandLine.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            commandLine += c;
            backslashes = 0;
        }
        commandLine.append(quoted ? backslashes * 2 : backslashes, '\\');
        if (quoted) commandLine += '"';
    }
    return commandLine;
}

int FinishProcess(int exitCode, int argc, char** argv) {
    for (int i = 1; i < argc && exitCode == 0; ++i) {
        std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            std::fputs(kCaptureUsage, stdout);
            break;
        }
    }
    return EndCapture(exitCode);
}

}  // namespace standin
