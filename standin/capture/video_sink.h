// Capture to a video file: frames piped into an ffmpeg that runs as a separate
// program, the rendered music put beside them when the capture finishes.
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>

#include "standin/capture/frame_sink.h"

namespace standin {

// The first executable file named ffmpeg in a folder of PATH; an empty or
// missing PATH finds nothing, and so do its empty entries.
bool FindFfmpeg(std::string& path);

// Whether out names a video ffmpeg should write: .mp4, .mkv or .webm in any case.
bool IsVideoPath(const std::string& out);

// Where the parts of the video out are kept until it is complete: beside
// it, named after it and this process ("demo.mp4.1234.part").
std::string PartPathOf(const std::string& out);

// H.264 for .mp4 and .mkv, VP9 for .webm. The picture goes to a file beside
// outPath while frames arrive; Finish adds the sound and moves the result to
// outPath, so outPath is either complete or as it was before. The folder of
// outPath is made with the first frame if it is not there.
class VideoSink : public FrameSink {
public:
    VideoSink(std::string outPath, std::string ffmpegPath, int32_t fps);
    // Without Finish the video is abandoned: nothing is left behind.
    ~VideoSink() override;

    VideoSink(const VideoSink&) = delete;
    VideoSink& operator=(const VideoSink&) = delete;

    // Every frame must have the first one's size.
    bool Write(const uint8_t* rgb, int32_t width, int32_t height, int64_t index, int32_t demoMilliseconds) override;
    bool Finish(const char* audioPath) override;
    // Stops the encoder and removes every part; outPath stays as it was.
    void Abandon() override;

private:
    bool StartEncoder(int32_t width, int32_t height);
    // Closes the pipe and waits for the encoder; true when it ended well.
    bool StopEncoder(int* status = nullptr);
    bool Mux(const char* audioPath);
    void Fail(const std::string& reason);
    void RemoveLeftovers();

    std::string outPath;
    std::string ffmpegPath;
    int32_t fps;
    std::string videoPath;  // the picture alone, while frames arrive
    std::string muxPath;    // outPath until it is complete
    std::string logPath;    // what ffmpeg said
    int pipeFd = -1;
    pid_t encoder = -1;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    int64_t framesWritten = 0;
    bool failed = false;
    bool finished = false;
    bool abandoned = false;
};

}  // namespace standin
