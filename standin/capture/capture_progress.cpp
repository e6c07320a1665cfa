#include "standin/capture/capture_progress.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace standin {
namespace {

const char* SignalName(int signalNumber) {
    switch (signalNumber) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "a signal";
    }
}

}  // namespace

CaptureProgress::CaptureProgress(const CaptureSettings& settings, int32_t end)
    : settings(settings), end(end), terminal(isatty(STDERR_FILENO) != 0), began(Clock::now()) {}

void CaptureProgress::Show(int32_t now, int64_t framesPresented) {
    auto wallNow = Clock::now();
    if (!terminal || wallNow - lastShown < std::chrono::milliseconds(250)) return;
    lastShown = wallNow;
    double seconds = std::chrono::duration<double>(wallNow - began).count();
    double rate = seconds > 0 ? framesPresented / seconds : 0;
    double shown = (now - settings.startMilliseconds) / 1000.0;
    constexpr int kBarWidth = 30;
    double span = std::max(end - settings.startMilliseconds, 1);
    int filled = std::clamp(static_cast<int>(kBarWidth * (shown * 1000 / span)), 0, kBarWidth);
    double left = shown > 0 ? seconds * (span / 1000 - shown) / shown : 0;
    std::fprintf(stderr, "\r\033[Kcapture [%.*s%*s] %lld frames, %.1f s, %.0f fps, %.0f s left", filled,
                 "##############################", kBarWidth - filled, "", static_cast<long long>(framesPresented),
                 now / 1000.0, rate, left);
}

void CaptureProgress::Summary(int32_t now, int64_t framesPresented, int64_t framesWritten, bool complete,
                              int cutShortBy) {
    double seconds = std::chrono::duration<double>(Clock::now() - began).count();
    double rate = seconds > 0 ? framesPresented / seconds : 0;
    double shown = (now - settings.startMilliseconds) / 1000.0;
    const char* ending = complete || cutShortBy != 0 ? "" : ", INCOMPLETE";
    std::fprintf(stderr,
                 "%scapture: %lld frames (%lld written, %.1f s of the show at %d fps) to %s in %.1f s, %.0f frames a "
                 "second%s\n",
                 terminal ? "\r\033[K" : "", static_cast<long long>(framesPresented),
                 static_cast<long long>(framesWritten), shown, settings.framesPerSecond, settings.output.c_str(),
                 seconds, rate, ending);
    if (cutShortBy != 0)
        std::fprintf(stderr, "capture: cut short by %s at %.3f s of the show, %.1f s before its end; %s\n",
                     SignalName(cutShortBy), now / 1000.0, (end - now) / 1000.0,
                     complete ? "what came before it is written" : "nothing is written");
}

}  // namespace standin
