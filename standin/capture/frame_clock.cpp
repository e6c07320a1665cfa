#include "standin/capture/frame_clock.h"

#include <algorithm>

namespace standin {

FrameClock::FrameClock(const CaptureSettings& settings)
    : start(settings.startMilliseconds),
      framesPerSecond(settings.framesPerSecond),
      chosen(settings.atMilliseconds),
      // Chosen times alone end with the last of them.
      onlyChosen(!settings.atMilliseconds.empty() && settings.durationMilliseconds <= 0),
      now(settings.startMilliseconds) {
    end = onlyChosen ? chosen.back() + 1 : start + settings.durationMilliseconds;
    frameCount = (int64_t{end - start} * framesPerSecond + 999) / 1000;
}

int32_t FrameClock::GridTime(int64_t frame) const {
    return start + static_cast<int32_t>((frame * 2000 / framesPerSecond + 1) / 2);
}

bool FrameClock::Presented() {
    if (now == GridTime(nextGridFrame)) ++nextGridFrame;
    bool isChosen = nextChosen < chosen.size() && chosen[nextChosen] == now;
    if (isChosen) ++nextChosen;
    return isChosen;
}

int32_t FrameClock::Advance() {
    int32_t next = GridTime(nextGridFrame);
    if (nextChosen < chosen.size()) next = std::min(next, chosen[nextChosen]);
    int32_t step = next - now;
    now = next;
    return step;
}

bool FrameClock::Finished() const {
    bool chosenLeft = nextChosen < chosen.size();
    return (nextGridFrame >= frameCount || onlyChosen) && !chosenLeft;
}

}  // namespace standin
