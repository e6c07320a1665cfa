// What a capture says while it runs: a bar on a terminal, a few times a
// second, and a summary line at the end.
#pragma once

#include <chrono>
#include <cstdint>

#include "standin/capture/capture_options.h"

namespace standin {

class CaptureProgress {
public:
    CaptureProgress(const CaptureSettings& settings, int32_t end);

    // The bar, where stderr is a terminal and it was not shown lately.
    void Show(int32_t now, int64_t framesPresented);

    // cutShortBy: the signal that ended the capture early, or 0.
    void Summary(int32_t now, int64_t framesPresented, int64_t framesWritten, bool complete, int cutShortBy);

private:
    using Clock = std::chrono::steady_clock;

    const CaptureSettings& settings;
    int32_t end;
    bool terminal;
    Clock::time_point began;
    Clock::time_point lastShown;
};

}  // namespace standin
