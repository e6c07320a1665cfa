// Plays a module through libxmp into memory, the way the program's sound
// library decodes it, and writes what it played as a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 16-bit stereo, interleaved.
struct RenderedAudio {
    int32_t rate = 44100;
    std::vector<int16_t> samples;

    size_t Frames() const { return samples.size() / 2; }
};

struct RenderOptions {
    int32_t rate = 44100;
    std::vector<int32_t> soloChannels;  // empty: every channel
    int32_t maxMs = 0;                  // 0: the whole song, once
};

// Throws std::runtime_error when libxmp refuses the module.
RenderedAudio RenderModule(const std::vector<uint8_t>& module, const RenderOptions& options);

void WriteWav(const std::string& path, const RenderedAudio& audio);
