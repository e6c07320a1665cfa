#include "standin/capture/capture_options.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace standin {

const char kCaptureUsage[] =
    "\n"
    "Capture, with no display and no sound card:\n"
    "  --capture OUT      the show to OUT: a folder of PNG frames and audio.wav, or\n"
    "                     a video when OUT ends in .mp4, .mkv or .webm (needs ffmpeg)\n"
    "  --fps N            frames per second (60)\n"
    "  --duration S       seconds to capture (needed unless --at is given)\n"
    "  --at T1,T2,...     only the frames at these DemoClock times, in ms, each\n"
    "                     written once as tTTTTTT.png, in time order\n"
    "  --input FILE       scripted input: '80500 move 120 160', '80600 down',\n"
    "                     '80650 up', '90000 key escape', one a line\n"
    "  --start T          start the show at DemoClock T ms, 0 to 74000 (also without\n"
    "                     --capture)\n"
    "A capture ends with exit code 1 when complete, 2 when its output failed, and 3\n"
    "when a signal cut it short.\n";

namespace {

constexpr int32_t kLongestShow = 24 * 3600 * 1000;

bool ReadWhole(const char* text, long low, long high, int32_t& value) {
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || number < low || number > high) return false;
    value = static_cast<int32_t>(number);
    return true;
}

bool ReadSeconds(const char* text, int32_t& milliseconds) {
    char* end = nullptr;
    errno = 0;
    double seconds = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !(seconds > 0) || seconds * 1000 > kLongestShow) return false;
    milliseconds = static_cast<int32_t>(std::lround(seconds * 1000));
    return milliseconds > 0;
}

bool ReadTimes(const char* text, std::vector<int32_t>& times) {
    std::string list = text;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        int32_t time = 0;
        if (!ReadWhole(list.substr(start, end - start).c_str(), 0, kLongestShow, time)) return false;
        times.push_back(time);
        start = end + 1;
    }
    return !times.empty();
}

// What each option takes, said when it cannot take what it was given.
const char* RuleOf(const std::string& name) {
    if (name == "--fps") return "a whole number of frames a second from 1 to 1000";
    if (name == "--duration") return "seconds, more than 0 and at most 24 hours";
    if (name == "--at") return "times in whole ms parted by commas, e.g. 16800,30600";
    if (name == "--start") return "a time in whole ms from 0 to 74000, where the game begins";
    return "a name, not an option";
}

bool Apply(const std::string& name, const char* value, CaptureSettings& settings, std::string& error) {
    bool good = true;
    // "--capture --fps 30" forgot the output: the next option is not its name.
    bool looksLikeOption = value[0] == '-' && value[1] == '-';
    if (name == "--capture") {
        settings.output = value;
        good = *value != '\0' && !looksLikeOption;
    } else if (name == "--fps") {
        good = ReadWhole(value, 1, 1000, settings.framesPerSecond);
    } else if (name == "--duration") {
        good = ReadSeconds(value, settings.durationMilliseconds);
    } else if (name == "--at") {
        good = ReadTimes(value, settings.atMilliseconds);
    } else if (name == "--input") {
        settings.inputPath = value;
        good = *value != '\0' && !looksLikeOption;
    } else {
        good = ReadWhole(value, 0, kLatestStart, settings.startMilliseconds);
    }
    if (!good) error = name + " cannot take \"" + value + "\": it takes " + RuleOf(name);
    return good;
}

// Every --at time must be one the capture shows: at or after --start, and
// before the end of --duration when one is given.
bool CheckTimes(CaptureSettings& settings, std::string& error) {
    std::vector<int32_t>& times = settings.atMilliseconds;
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    int64_t end = settings.durationMilliseconds > 0
                      ? int64_t{settings.startMilliseconds} + settings.durationMilliseconds
                      : INT64_MAX;
    for (int32_t time : times) {
        if (time < settings.startMilliseconds) {
            error = "--at " + std::to_string(time) + " is before --start " + std::to_string(settings.startMilliseconds);
            return false;
        }
        if (time >= end) {
            error = "--at " + std::to_string(time) + " is past the end of the capture at " + std::to_string(end) +
                    " ms (--start plus --duration)";
            return false;
        }
    }
    return true;
}

}  // namespace

bool TakeCaptureOptions(int& argc, char** argv, CaptureSettings& settings, std::string& error) {
    static const char* const kNames[] = {"--capture", "--fps", "--duration", "--at", "--input", "--start"};
    int kept = 1;
    bool onlyWithCapture = false;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        std::string name = word.substr(0, word.find('='));
        bool known = false;
        for (const char* candidate : kNames) known = known || name == candidate;
        if (!known) {
            argv[kept++] = argv[i];
            continue;
        }
        const char* value = nullptr;
        if (name.size() < word.size()) {
            value = argv[i] + name.size() + 1;
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            error = name + " needs a value";
            return false;
        }
        if (!Apply(name, value, settings, error)) return false;
        onlyWithCapture = onlyWithCapture || (name != "--capture" && name != "--start");
    }
    argc = kept;
    argv[argc] = nullptr;
    if (onlyWithCapture && !settings.Capturing()) {
        error = "--fps, --duration, --at and --input go with --capture";
        return false;
    }
    // The game goes on until a person quits it, so a capture is told where
    // to end: after --duration, or at the last --at time.
    if (settings.Capturing() && settings.durationMilliseconds <= 0 && settings.atMilliseconds.empty()) {
        error = "--capture needs --duration S or --at times: the game goes on until it is quit";
        return false;
    }
    return CheckTimes(settings, error);
}

}  // namespace standin
