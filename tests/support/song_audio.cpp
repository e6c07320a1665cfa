#include "support/song_audio.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "assets/song/song.h"
#include "support/test_files.h"

namespace {

RenderedAudio Render(std::vector<int32_t> solo) {
    std::vector<uint8_t> bytes = ReadBytes(std::string(DUCKDEMO_DATA_DIR) + "/duck.xm");
    if (bytes.empty()) return {};
    return RenderModule(bytes, {.rate = 44100, .soloChannels = std::move(solo), .maxMs = 0});
}

}  // namespace

LoadedModule::LoadedModule(const std::vector<uint8_t>& bytes) : context(xmp_create_context()) {
    result = xmp_load_module_from_memory(context, bytes.data(), static_cast<long>(bytes.size()));
    if (result == 0) xmp_get_module_info(context, &info);
}

LoadedModule::~LoadedModule() {
    if (result == 0) xmp_release_module(context);
    xmp_free_context(context);
}

const xmp_event& LoadedModule::Event(int32_t order, int32_t channel, int32_t row) const {
    const xmp_module& mod = *info.mod;
    return mod.xxt[mod.xxp[mod.xxo[order]]->index[channel]]->event[row];
}

const RenderedAudio& WholeSong() {
    static const RenderedAudio audio = Render({});
    return audio;
}

const RenderedAudio& VoiceAlone() {
    static const RenderedAudio audio = Render({kVoiceChannel, kVoiceChannel + 1});
    return audio;
}

double LevelDb(const RenderedAudio& audio, int32_t fromMs, int32_t toMs) {
    size_t from = static_cast<size_t>(fromMs) * audio.rate / 1000 * 2;
    size_t to = std::min(audio.samples.size(), static_cast<size_t>(toMs) * audio.rate / 1000 * 2);
    if (to <= from) return -200.0;
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += static_cast<double>(audio.samples[i]) * audio.samples[i];
    double rms = std::sqrt(sum / static_cast<double>(to - from)) / 32768.0;
    return rms > 0.0 ? 20.0 * std::log10(rms) : -200.0;
}

std::vector<int32_t> Onsets(const RenderedAudio& audio, double thresholdDb) {
    auto blockStart = [&](size_t block) { return block * static_cast<size_t>(audio.rate) / 1000; };
    std::vector<int32_t> peaks;
    for (size_t block = 0; blockStart(block + 1) <= audio.Frames(); ++block) {
        int32_t peak = 0;
        for (size_t i = blockStart(block) * 2; i < blockStart(block + 1) * 2; ++i) {
            peak = std::max(peak, std::abs(static_cast<int32_t>(audio.samples[i])));
        }
        peaks.push_back(peak);
    }
    double threshold = 32768.0 * std::pow(10.0, thresholdDb / 20.0);
    std::vector<int32_t> onsets;
    for (size_t block = 10; block < peaks.size(); ++block) {
        int32_t before = *std::max_element(peaks.begin() + static_cast<std::ptrdiff_t>(block) - 10,
                                           peaks.begin() + static_cast<std::ptrdiff_t>(block) - 4);
        bool rises = peaks[block] >= threshold && peaks[block] >= 4 * before;
        bool apart = onsets.empty() || static_cast<int32_t>(block) - onsets.back() >= 50;
        if (rises && apart) onsets.push_back(static_cast<int32_t>(block));
    }
    return onsets;
}

int32_t PeakSample(const RenderedAudio& audio) {
    int32_t peak = 0;
    for (int16_t sample : audio.samples) peak = std::max(peak, std::abs(static_cast<int32_t>(sample)));
    return peak;
}
