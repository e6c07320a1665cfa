// Where capture mode hands each presented frame: a folder of PNG files or a
// video, both fed 8-bit RGB.
#pragma once

#include <cstdint>

namespace standin {

class FrameSink {
public:
    virtual ~FrameSink() = default;

    // One presented frame: width x height pixels of 8-bit R, G, B, rows top
    // to bottom. index counts the frames presented from 0; demoMilliseconds
    // is the DemoClock it was presented at. False when it could not be
    // written: the capture then ends.
    virtual bool Write(const uint8_t* rgb, int32_t width, int32_t height, int64_t index, int32_t demoMilliseconds) = 0;

    // Completes the output once every frame is in; audioPath names the
    // rendered music (a WAV file). False, after saying why on stderr, when
    // the output is not complete.
    virtual bool Finish(const char* audioPath) = 0;

    // Gives up on an output that cannot be complete (its music failed):
    // nothing unfinished is left behind. Finish is not called after it.
    virtual void Abandon() {}
};

}  // namespace standin
