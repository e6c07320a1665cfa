#include "platform/desktop/frame_pace.h"

namespace {

constexpr uint64_t kFramesPerSecond = 60;

}  // namespace

uint32_t WaitBeforeFrame(FramePace& pace, uint32_t now) {
    if (pace.started) {
        ++pace.frames;
        uint32_t due = pace.start + static_cast<uint32_t>(pace.frames * uint64_t{1000} / kFramesPerSecond);
        int32_t early = static_cast<int32_t>(due - now);
        if (early > 0) return static_cast<uint32_t>(early);
        if (early >= -static_cast<int32_t>(1000 / kFramesPerSecond)) return 0;
    }
    pace = FramePace{now, 0, true};
    return 0;
}
