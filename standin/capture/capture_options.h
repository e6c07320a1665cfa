// The options of the machine the programs run on, not of the programs:
// capture mode and where the show starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct CaptureSettings {
    std::string output;  // a folder, or a video file; empty: no capture
    int32_t framesPerSecond = 60;
    int32_t durationMilliseconds = -1;  // -1: to the last --at time
    std::vector<int32_t> atMilliseconds;
    std::string inputPath;
    int32_t startMilliseconds = 0;

    bool Capturing() const { return !output.empty(); }
};

// The latest --start: where the programs' game begins. The game at a later
// time depends on every turn before it, so no show starts past this.
constexpr int32_t kLatestStart = 74000;

// Takes the options above out of argv, leaving the program's own:
// --capture OUT, --fps N, --duration SECONDS, --at T1,T2,..., --input FILE,
// --start T, each as "--name value" or "--name=value". The --at times come
// back sorted, each once. False, with error, for a value it cannot use (an
// --at time before --start or past the end of --duration among them) or an
// option that needs --capture without it.
bool TakeCaptureOptions(int& argc, char** argv, CaptureSettings& settings, std::string& error);

// The lines --help adds for these options.
extern const char kCaptureUsage[];

}  // namespace standin
