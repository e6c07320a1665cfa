#include "support/song_audio.h"

#include <algorithm>
#include <cmath>
#include <numbers>
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

// Each 100 ms block's spectrum up to the cutoff, bin by bin, against the
// block's own energy.
double ShareBelow(const RenderedAudio& audio, double cutoffHz) {
    const size_t block = static_cast<size_t>(audio.rate) / 10;
    const auto bins = static_cast<size_t>(std::ceil(cutoffHz * static_cast<double>(block) / audio.rate));
    double low = 0.0;
    double total = 0.0;
    for (size_t start = 0; start + block <= audio.Frames(); start += block) {
        std::vector<double> mono(block);
        for (size_t n = 0; n < block; ++n) {
            mono[n] = (audio.samples[2 * (start + n)] + audio.samples[2 * (start + n) + 1]) / 2.0;
            total += mono[n] * mono[n];
        }
        for (size_t k = 0; k < bins; ++k) {
            double coefficient =
                2.0 * std::cos(2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(block));
            double previous = 0.0;
            double beforeThat = 0.0;
            for (double x : mono) {
                double next = x + coefficient * previous - beforeThat;
                beforeThat = previous;
                previous = next;
            }
            double power = previous * previous + beforeThat * beforeThat - coefficient * previous * beforeThat;
            // Parseval: bin 0 counts once, every other bin for itself and its mirror.
            low += (k == 0 ? 1.0 : 2.0) * power / static_cast<double>(block);
        }
    }
    return total > 0.0 ? low / total : 0.0;
}

double LoudestDb(const RenderedAudio& audio, int32_t windowMs) {
    const size_t block = static_cast<size_t>(audio.rate) / 10 * 2;
    std::vector<double> energies;
    for (size_t start = 0; start + block <= audio.samples.size(); start += block) {
        double energy = 0.0;
        for (size_t i = start; i < start + block; ++i) {
            energy += static_cast<double>(audio.samples[i]) * audio.samples[i];
        }
        energies.push_back(energy);
    }
    const auto blocks = static_cast<size_t>(windowMs / 100);
    double loudest = 0.0;
    for (size_t first = 0; first + blocks <= energies.size(); ++first) {
        double sum = 0.0;
        for (size_t i = first; i < first + blocks; ++i) sum += energies[i];
        loudest = std::max(loudest, sum);
    }
    double rms = std::sqrt(loudest / static_cast<double>(blocks * block)) / 32768.0;
    return rms > 0.0 ? 20.0 * std::log10(rms) : -200.0;
}

int32_t PeakSample(const RenderedAudio& audio) {
    int32_t peak = 0;
    for (int16_t sample : audio.samples) peak = std::max(peak, std::abs(static_cast<int32_t>(sample)));
    return peak;
}
