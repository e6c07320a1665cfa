// The song as heard: rendered once per test process through libxmp, and the
// measurements the checks make on it.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/module_render.h"

// The module in the build tree's data folder, whole or the ducks alone.
const RenderedAudio& WholeSong();
const RenderedAudio& VoiceAlone();

// Root mean square of both channels over [fromMs, toMs), in dB of full scale.
double LevelDb(const RenderedAudio& audio, int32_t fromMs, int32_t toMs);

// Where a sound starts out of quiet or jumps over what was sounding: 1 ms
// blocks whose peak passes thresholdDb and is at least four times the peak of
// 5 to 10 ms before; at most one per 50 ms. In ms.
std::vector<int32_t> Onsets(const RenderedAudio& audio, double thresholdDb);

// The largest magnitude of any sample.
int32_t PeakSample(const RenderedAudio& audio);
