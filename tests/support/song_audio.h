// Modules as libxmp reads them, the song as heard, rendered once per test
// process, and the measurements the checks make on it.
#pragma once

#include <xmp.h>

#include <cstdint>
#include <vector>

#include "tools/assetgen/module_render.h"

// A module loaded into libxmp; result is libxmp's, 0 when it loaded.
class LoadedModule {
public:
    explicit LoadedModule(const std::vector<uint8_t>& bytes);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    const xmp_event& Event(int32_t order, int32_t channel, int32_t row) const;

    xmp_context context;
    xmp_module_info info{};
    int result = 0;
};

// The module in the build tree's data folder, whole or the ducks alone.
const RenderedAudio& WholeSong();
const RenderedAudio& VoiceAlone();

// Root mean square of both channels over [fromMs, toMs), in dB of full scale.
double LevelDb(const RenderedAudio& audio, int32_t fromMs, int32_t toMs);

// Where a sound starts out of quiet or jumps over what was sounding: 1 ms
// blocks whose peak passes thresholdDb and is at least four times the peak of
// 5 to 10 ms before; at most one per 50 ms. In ms.
std::vector<int32_t> Onsets(const RenderedAudio& audio, double thresholdDb);

// The share of the mono mix's energy below cutoffHz, 0..1.
double ShareBelow(const RenderedAudio& audio, double cutoffHz);

// The level of the loudest windowMs, in steps of 100 ms, as LevelDb gives it.
double LoudestDb(const RenderedAudio& audio, int32_t windowMs);

// The largest magnitude of any sample.
int32_t PeakSample(const RenderedAudio& audio);
