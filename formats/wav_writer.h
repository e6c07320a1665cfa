// A WAV file of 16-bit stereo PCM, written as the frames come: the music a
// capture renders, the data generator's song.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class WavWriter {
public:
    explicit WavWriter(std::string path);
    // Finishes the file.
    ~WavWriter();

    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // The first Start creates the file at its rate; later songs must keep it.
    void Start(int sampleRate);
    void Write(const int16_t* frames, int frameCount);

    // Puts the final sizes into the header and closes the file; true when
    // every frame was written. Nothing is written after it.
    bool Finish();

    int64_t FramesWritten() const { return framesWritten; }
    bool Failed() const { return failed; }

    // The RIFF sizes are 32-bit: about 6.7 hours at 44100 Hz.
    static constexpr int64_t kMaxFrames = (int64_t{0xFFFFFFFF} - 36) / 4;

private:
    void Fail(const char* reason);

    std::string path;
    FILE* file = nullptr;
    int sampleRate = 0;
    int64_t framesWritten = 0;
    bool finished = false;
    bool failed = false;
};
