// Measures a run of the demo on a real sound server from a recording of what
// the server played and the program's clock log (one line per reading of the
// song's clock: system clock in microseconds, song milliseconds).
//
//   sound_sync record <source> <seconds> <recording.raw>
//       records the source with parec, s16le stereo 44100 Hz, until SIGTERM
//       or for at most that many seconds; makes <recording.raw>.ready once
//       the first sound (or silence) has come; at the end writes
//       <recording.raw>.start: the system clock, in microseconds, at which
//       its first frame was captured (the earliest arrival less what came).
//   sound_sync measure <module> <recording.raw> <clock log> <latency us> <label>
//       prints gaps, pace and sync, and a line of figures for the bench.
//
// Exit codes: 0 measured, 1 a clock ahead of what was played, 2 a
// measurement that could not be made, 3 gaps in the music.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fmod.h>
#include <string>
#include <vector>

#include "standin/fmod/fmod_host.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBlockFrames = 88;  // 2 ms: the resolution of every alignment
constexpr int kGapFrames = kRate / 100;
constexpr int kSilence = 2;  // sample values at or below this are no sound
constexpr int kAnchorMilliseconds = 1500;
constexpr int kFirstAnchorMilliseconds = 4000;  // long enough that no other bar of the song matches
constexpr int64_t kAnchorSearchBlocks = 125;    // 250 ms either side of where the last one leads
constexpr int kAnchorStepMilliseconds = 1000;

volatile std::sig_atomic_t stopAsked = 0;

void AskToStop(int) { stopAsked = 1; }

int64_t NowMicroseconds() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

int Record(const char* source, int seconds, const std::string& path) {
    std::string command =
        std::string("exec parec --raw --format=s16le --rate=44100 --channels=2 --latency-msec=5 -d ") + source +
        " 2>/dev/null";
    std::signal(SIGTERM, AskToStop);
    FILE* pipe = popen(command.c_str(), "r");
    FILE* out = std::fopen(path.c_str(), "wb");
    if (pipe == nullptr || out == nullptr) return 2;
    std::vector<char> chunk(4096);
    int64_t frames = 0;
    int64_t firstFrameAt = INT64_MAX;
    int64_t end = 0;
    for (;;) {
        size_t got = std::fread(chunk.data(), 1, chunk.size(), pipe);
        if (got == 0) break;
        int64_t now = NowMicroseconds();
        if (end == 0) end = now + int64_t{seconds} * 1'000'000;
        std::fwrite(chunk.data(), 1, got, out);
        if (frames == 0) {
            FILE* ready = std::fopen((path + ".ready").c_str(), "w");
            if (ready != nullptr) std::fclose(ready);
        }
        frames += static_cast<int64_t>(got) / 4;
        firstFrameAt = std::min(firstFrameAt, now - frames * 1'000'000 / kRate);
        if (now >= end || stopAsked != 0) break;
    }
    // parec ends on its next write into the closed pipe.
    std::fclose(out);
    FILE* start = std::fopen((path + ".start").c_str(), "w");
    if (start == nullptr || frames == 0) return 2;
    std::fprintf(start, "%lld\n", static_cast<long long>(firstFrameAt));
    std::fclose(start);
    return 0;
}

// Loudness every 2 ms: the mean of the 10 ms around it, so that a bass note
// reads the same whatever its phase at the block's edge.
std::vector<float> Envelope(const std::vector<int16_t>& samples) {
    constexpr size_t kSmoothing = 5;
    std::vector<float> blocks(samples.size() / 2 / kBlockFrames);
    for (size_t block = 0; block < blocks.size(); ++block) {
        int64_t sum = 0;
        for (size_t i = block * kBlockFrames * 2; i < (block + 1) * kBlockFrames * 2; ++i) sum += std::abs(samples[i]);
        blocks[block] = static_cast<float>(sum) / (kBlockFrames * 2);
    }
    std::vector<float> smooth(blocks.size());
    for (size_t block = 0; block < blocks.size(); ++block) {
        size_t from = block >= kSmoothing / 2 ? block - kSmoothing / 2 : 0;
        size_t to = std::min(blocks.size(), block + kSmoothing / 2 + 1);
        float sum = 0;
        for (size_t i = from; i < to; ++i) sum += blocks[i];
        smooth[block] = sum / static_cast<float>(to - from);
    }
    return smooth;
}

// The block of the recording where the reference's blocks [from, from + count)
// match best, searched in [low, high).
int64_t BestMatch(const std::vector<float>& recording, const std::vector<float>& reference, size_t from, size_t count,
                  int64_t low, int64_t high, double& quality) {
    double referenceMean = 0;
    for (size_t i = 0; i < count; ++i) referenceMean += reference[from + i];
    referenceMean /= static_cast<double>(count);
    int64_t best = -1;
    quality = -2;
    low = std::max<int64_t>(low, 0);
    high = std::min<int64_t>(high, static_cast<int64_t>(recording.size()) - static_cast<int64_t>(count));
    for (int64_t at = low; at < high; ++at) {
        double mean = 0;
        for (size_t i = 0; i < count; ++i) mean += recording[static_cast<size_t>(at) + i];
        mean /= static_cast<double>(count);
        double product = 0, a2 = 0, b2 = 0;
        for (size_t i = 0; i < count; ++i) {
            double a = reference[from + i] - referenceMean;
            double b = recording[static_cast<size_t>(at) + i] - mean;
            product += a * b;
            a2 += a * a;
            b2 += b * b;
        }
        double correlation = a2 > 0 && b2 > 0 ? product / std::sqrt(a2 * b2) : -1;
        if (correlation > quality) {
            quality = correlation;
            best = at;
        }
    }
    return best;
}

class Collect final : public AudioSink {
public:
    void Start(int) override {}
    void Write(const int16_t* frames, int frameCount) override {
        samples.insert(samples.end(), frames, frames + frameCount * 2);
    }
    std::vector<int16_t> samples;
};

// The song as the stand-in renders it offline from startMs on.
std::vector<int16_t> RenderReference(const char* module, int startMs, int milliseconds) {
    Collect sink;
    FmodUseVirtualClock(&sink, 1000);
    FSOUND_Init(kRate, 32, 0);
    FMUSIC_MODULE* song = FMUSIC_LoadSong(module);
    if (song == nullptr) return {};
    FmodStartSongsAt(startMs);
    FMUSIC_PlaySong(song);
    FmodAdvanceVirtualClock(milliseconds);
    return sink.samples;
}

struct Reading {
    int64_t micros;
    int songMs;
};

std::vector<int16_t> ReadSamples(const char* path) {
    std::vector<int16_t> samples;
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return samples;
    int16_t buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, sizeof(int16_t), 4096, file)) > 0)
        samples.insert(samples.end(), buffer, buffer + got);
    std::fclose(file);
    samples.resize(samples.size() / 2 * 2);
    return samples;
}

// Runs of 10 ms or more of silence in [first, last) frames.
std::vector<std::pair<int64_t, int64_t>> Gaps(const std::vector<int16_t>& samples, int64_t first, int64_t last) {
    std::vector<std::pair<int64_t, int64_t>> gaps;
    int64_t runStart = -1;
    for (int64_t frame = first; frame <= last; ++frame) {
        bool quiet =
            frame < last && std::abs(samples[frame * 2]) <= kSilence && std::abs(samples[frame * 2 + 1]) <= kSilence;
        if (quiet && runStart < 0) runStart = frame;
        if (!quiet && runStart >= 0) {
            if (frame - runStart >= kGapFrames) gaps.push_back({runStart, frame - runStart});
            runStart = -1;
        }
    }
    return gaps;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Measure(const char* module, const char* recordingPath, const char* clockPath, int64_t latencyMicros,
            const char* label) {
    std::vector<int16_t> recording = ReadSamples(recordingPath);
    FILE* startFile = std::fopen((std::string(recordingPath) + ".start").c_str(), "r");
    long long recordingStart = 0;
    if (startFile == nullptr || std::fscanf(startFile, "%lld", &recordingStart) != 1) return 2;
    std::fclose(startFile);

    std::vector<Reading> readings;
    FILE* clockFile = std::fopen(clockPath, "r");
    if (clockFile == nullptr) return 2;
    long long micros;
    int songMs;
    while (std::fscanf(clockFile, "%lld %d", &micros, &songMs) == 2) readings.push_back({micros, songMs});
    std::fclose(clockFile);
    if (readings.size() < 60 || recording.empty()) {
        std::printf("%s: no measurement: %zu clock readings, %zu frames recorded\n", label, readings.size(),
                    recording.size() / 2);
        return 2;
    }
    int firstMs = readings.front().songMs;
    int lastMs = readings.back().songMs;
    std::vector<int16_t> reference = RenderReference(module, firstMs, lastMs - firstMs + 1000);
    std::vector<float> recordingBlocks = Envelope(recording);
    std::vector<float> referenceBlocks = Envelope(reference);

    // Anchors: where each 1.5 s stretch of the song was heard, in blocks of
    // the recording: the first found in the whole recording by a longer
    // stretch, each next one near where the one before leads.
    struct Anchor {
        int songMs;
        double heardMicros;
        double presentedMicros;
    };
    std::vector<Anchor> anchors;
    const size_t count = kAnchorMilliseconds * kRate / 1000 / kBlockFrames;
    int64_t lastBlock = -1;
    int lastAt = 0;
    for (int at = 0; at + kAnchorMilliseconds < lastMs - firstMs; at += kAnchorStepMilliseconds) {
        size_t from = static_cast<size_t>(int64_t{at} * kRate / 1000 / kBlockFrames);
        double quality = 0;
        bool first = lastBlock < 0;
        int64_t expected = lastBlock + int64_t{at - lastAt} * kRate / 1000 / kBlockFrames;
        int64_t low = first ? 0 : expected - kAnchorSearchBlocks;
        int64_t high = first ? static_cast<int64_t>(recordingBlocks.size()) : expected + kAnchorSearchBlocks;
        size_t length = first ? count * kFirstAnchorMilliseconds / kAnchorMilliseconds : count;
        int64_t block = BestMatch(recordingBlocks, referenceBlocks, from, length, low, high, quality);
        if (block < 0 || quality < (first ? 0.8 : 0.6)) continue;
        lastBlock = block;
        lastAt = at;
        int song = firstMs + at;
        double heard = static_cast<double>(recordingStart) + static_cast<double>(block * kBlockFrames) * 1e6 / kRate;
        // A frame drawn for the time read is on the screen by the next reading.
        auto shown = std::find_if(readings.begin(), readings.end(), [&](const Reading& r) { return r.songMs >= song; });
        if (shown == readings.end() || shown + 1 == readings.end()) continue;
        anchors.push_back({song, heard, static_cast<double>((shown + 1)->micros)});
    }
    if (anchors.size() < 2) {
        std::printf("%s: no measurement: the recording does not match the song\n", label);
        return 2;
    }

    // From the first stretch heard: before it the clock waits for the device.
    auto steady = std::find_if(readings.begin(), readings.end(),
                               [&](const Reading& r) { return r.songMs >= anchors.front().songMs; });
    double showPace = (lastMs - steady->songMs) * 1000.0 / static_cast<double>(readings.back().micros - steady->micros);
    double heardPace = (anchors.back().songMs - anchors.front().songMs) * 1000.0 /
                       (anchors.back().heardMicros - anchors.front().heardMicros);
    std::vector<double> syncs;
    double largestLead = -1e9;
    for (const Anchor& anchor : anchors) {
        syncs.push_back((anchor.presentedMicros - anchor.heardMicros) / 1000.0);
        largestLead = std::max(largestLead, (anchor.heardMicros - anchor.presentedMicros) / 1000.0);
    }
    int64_t firstFrame = static_cast<int64_t>((anchors.front().heardMicros - recordingStart) * kRate / 1e6);
    int64_t lastFrame =
        std::min<int64_t>(static_cast<int64_t>((anchors.back().heardMicros - recordingStart) * kRate / 1e6) +
                              kAnchorMilliseconds * kRate / 1000,
                          static_cast<int64_t>(recording.size() / 2));
    // A silence the song has where it was heard is the song's own.
    std::vector<std::pair<int64_t, int64_t>> gaps;
    int64_t gapFrames = 0;
    size_t songGaps = 0;
    for (auto& gap : Gaps(recording, firstFrame, lastFrame)) {
        double wall = static_cast<double>(recordingStart) + static_cast<double>(gap.first) * 1e6 / kRate;
        const Anchor* near = &anchors.front();
        for (const Anchor& anchor : anchors)
            if (anchor.heardMicros <= wall) near = &anchor;
        int64_t songFrame = (near->songMs - firstMs) * int64_t{kRate} / 1000 +
                            static_cast<int64_t>((wall - near->heardMicros) * kRate / 1e6);
        int64_t from = std::clamp<int64_t>(songFrame - kGapFrames, 0, static_cast<int64_t>(reference.size() / 2));
        int64_t to =
            std::clamp<int64_t>(songFrame + gap.second + kGapFrames, 0, static_cast<int64_t>(reference.size() / 2));
        if (!Gaps(reference, from, to).empty()) {
            ++songGaps;
            continue;
        }
        gaps.push_back(gap);
        gapFrames += gap.second;
    }

    double frameMs = 1000.0 / 60;
    double latencyMs = static_cast<double>(latencyMicros) / 1000.0;
    std::printf("%s: %.1f s of song heard from %d ms, %zu anchors\n", label,
                (anchors.back().songMs - anchors.front().songMs) / 1000.0 + kAnchorMilliseconds / 1000.0,
                anchors.front().songMs, anchors.size());
    std::printf("%s: gaps of 10 ms or more: %zu, %.1f ms in all (and %zu silences of the song's own)\n", label,
                gaps.size(), static_cast<double>(gapFrames) * 1000.0 / kRate, songGaps);
    for (size_t i = 0; i < gaps.size() && i < 5; ++i)
        std::printf("%s:   gap at %.3f s of the recording, %.1f ms\n", label,
                    static_cast<double>(gaps[i].first) / kRate, static_cast<double>(gaps[i].second) * 1000.0 / kRate);
    std::printf("%s: pace against the wall clock: show %+.2f%%, heard %+.2f%%\n", label, (showPace - 1) * 100,
                (heardPace - 1) * 100);
    std::printf(
        "%s: sync, picture after sound: median %+.1f ms, from %+.1f to %+.1f ms (goal: within %.1f ms: a "
        "frame plus the server's %.1f ms latency)\n",
        label, Median(syncs), *std::min_element(syncs.begin(), syncs.end()),
        *std::max_element(syncs.begin(), syncs.end()), frameMs + latencyMs, latencyMs);
    std::printf(
        "FIGURES %s gaps=%zu gap_ms=%.1f show_pace_pct=%.2f heard_pace_pct=%.2f sync_median_ms=%.1f "
        "sync_min_ms=%.1f sync_max_ms=%.1f latency_ms=%.1f\n",
        label, gaps.size(), static_cast<double>(gapFrames) * 1000.0 / kRate, (showPace - 1) * 100,
        (heardPace - 1) * 100, Median(syncs), *std::min_element(syncs.begin(), syncs.end()),
        *std::max_element(syncs.begin(), syncs.end()), latencyMs);

    // The clock may trail the sound on a busy machine; it must never show
    // music that has not been played, beyond what the server holds, two
    // frames, and what a late reading of the device adds. Judged on the
    // median: an anchor next to a gap can be placed a bar amiss.
    constexpr double kLateReadingMs = 50;
    double lead = -Median(syncs);
    if (lead > latencyMs + 2 * frameMs + kLateReadingMs) {
        std::printf("%s: FAILED: frames were shown %.1f ms before their music was heard (at most %.1f)\n", label, lead,
                    largestLead);
        return 1;
    }
    return gaps.empty() ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "record") return Record(argv[2], std::atoi(argv[3]), argv[4]);
    if (argc == 7 && std::string(argv[1]) == "measure")
        return Measure(argv[2], argv[3], argv[4], std::atoll(argv[5]), argv[6]);
    std::fprintf(stderr,
                 "usage: sound_sync record <source> <seconds> <recording.raw>\n"
                 "       sound_sync measure <module> <recording.raw> <clock log> <latency us> <label>\n");
    return 2;
}
