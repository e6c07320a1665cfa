// The virtual clock of a capture: where it stands and where it goes next.
// Frame n of the frame rate's grid is presented at round(n x 1000 / fps) ms
// after the start; the clock stops on its way at each chosen time, so the
// frame named for a time shows exactly that time.
#pragma once

#include <cstdint>
#include <vector>

#include "standin/capture/capture_options.h"

namespace standin {

class FrameClock {
public:
    explicit FrameClock(const CaptureSettings& settings);

    int32_t Now() const { return now; }
    int32_t Start() const { return start; }
    int32_t End() const { return end; }

    // The frame at Now() has been presented; true when Now() is a chosen time.
    bool Presented();
    // Moves on to the next frame's time; returns the step in ms.
    int32_t Advance();
    // True once every frame the capture wants has been presented.
    bool Finished() const;
    bool WritesEveryFrame() const { return chosen.empty(); }

private:
    int32_t GridTime(int64_t frame) const;

    int32_t start;
    int32_t end;
    int32_t framesPerSecond;
    std::vector<int32_t> chosen;
    bool onlyChosen;
    int64_t frameCount;
    int64_t nextGridFrame = 0;
    size_t nextChosen = 0;
    int32_t now;
};

}  // namespace standin
