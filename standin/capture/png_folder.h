// Capture to a folder of PNG files, one a frame, named after the frame's
// index or, for frames taken at chosen times, after its DemoClock.
#pragma once

#include <cstdint>
#include <string>

#include "standin/capture/frame_sink.h"

namespace standin {

class PngFolderSink : public FrameSink {
public:
    // namedByTime: t016800.png for the frame presented at DemoClock 16800;
    // otherwise frame000123.png for frame 123. The folder is made when the
    // first frame arrives, if it is not there.
    PngFolderSink(std::string folder, bool namedByTime);

    // After the first failure nothing more is written and every call is false.
    bool Write(const uint8_t* rgb, int32_t width, int32_t height, int64_t index, int32_t demoMilliseconds) override;

    // The pictures are complete as they are written; the music is not ours.
    bool Finish(const char* audioPath) override;

private:
    std::string folder;
    bool namedByTime;
    std::string path;  // kept, so its storage is reused frame after frame
    bool folderMade = false;
    bool failed = false;
};

}  // namespace standin
