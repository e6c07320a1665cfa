// Where the sound stand-in hands the music it renders on the virtual clock,
// for capture mode and the data generator's own files.
#pragma once

#include <cstdint>

// Receives the music rendered on the virtual clock: interleaved 16-bit
// stereo frames, left first, in native byte order.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Before the frames of each played song; the rate is FSOUND_Init's.
    virtual void Start(int sampleRate) = 0;
    virtual void Write(const int16_t* frames, int frameCount) = 0;
};
