#include "assets/song/synth.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <stdexcept>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kMiddleC = 261.6255653;
constexpr double kXmC4Rate = 8363.0;

// The same noise on every run, so the generated files never change by chance.
class Noise {
public:
    double Next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / static_cast<double>(1ull << 53) * 2.0 - 1.0;
    }

private:
    uint64_t state = 0x9E3779B97F4A7C15ull;
};

double HarmonicPhase(size_t harmonic) { return std::fmod(static_cast<double>(harmonic * harmonic) * 0.7548, 1.0); }

double Harmonics(double phase, const std::vector<double>& amplitudes) {
    double value = 0.0;
    for (size_t k = 0; k < amplitudes.size(); ++k) {
        value += amplitudes[k] * std::sin(kTwoPi * (static_cast<double>(k + 1) * phase + HarmonicPhase(k)));
    }
    return value;
}

size_t Frames(double seconds) { return static_cast<size_t>(seconds * kSynthRate); }

}  // namespace

void TuneSample(XmSample& sample, double fundamentalHz, double sampleRate) {
    double semitones = 12.0 * std::log2(kMiddleC * sampleRate / (kXmC4Rate * fundamentalHz));
    int32_t whole = static_cast<int32_t>(std::floor(semitones));
    int32_t fine = static_cast<int32_t>(std::lround((semitones - whole) * 128.0));
    if (fine == 128) {
        ++whole;
        fine = 0;
    }
    if (whole < -96 || whole > 95) throw std::runtime_error("a sample's pitch is out of the XM range");
    sample.relativeNote = static_cast<int8_t>(whole);
    sample.finetune = static_cast<int8_t>(fine);
}

Sound HarmonicCycle(int32_t period, const std::vector<double>& amplitudes) {
    Sound cycle(static_cast<size_t>(period));
    for (int32_t n = 0; n < period; ++n) cycle[n] = Harmonics(static_cast<double>(n) / period, amplitudes);
    return cycle;
}

Sound DetunedLoop(int32_t length, const std::vector<int32_t>& cycles, const std::vector<double>& amplitudes) {
    Sound loop(static_cast<size_t>(length), 0.0);
    for (size_t i = 0; i < cycles.size(); ++i) {
        double offset = static_cast<double>(i) * 0.37;
        for (int32_t n = 0; n < length; ++n) {
            double phase = static_cast<double>(cycles[i]) * n / length + offset;
            loop[n] += Harmonics(phase, amplitudes);
        }
    }
    return loop;
}

Sound GlidingAttack(int32_t period, double startRatio, int32_t glideSamples, const std::vector<double>& bright,
                    const std::vector<double>& plain) {
    Sound attack;
    double phase = 0.0;
    for (int32_t n = 0;; ++n) {
        double progress = std::min(1.0, static_cast<double>(n) / glideSamples);
        if (progress >= 1.0 && phase - std::floor(phase) < 1.0 / period) {
            phase = std::floor(phase);
            break;
        }
        std::vector<double> mixed(plain.size());
        for (size_t k = 0; k < plain.size(); ++k) {
            double from = k < bright.size() ? bright[k] : 0.0;
            mixed[k] = from + (plain[k] - from) * progress;
        }
        attack.push_back(Harmonics(phase, mixed));
        double ratio = 1.0 + (startRatio - 1.0) * (1.0 - progress) * (1.0 - progress);
        phase += ratio / period;
    }
    return attack;
}

Sound DecayingPartials(double fundamentalHz, double seconds, const std::vector<Partial>& partials) {
    Sound sound(Frames(seconds), 0.0);
    for (size_t n = 0; n < sound.size(); ++n) {
        double t = static_cast<double>(n) / kSynthRate;
        double attack = std::min(1.0, t / 0.002);
        for (const Partial& partial : partials) {
            double frequency = fundamentalHz * partial.ratio;
            if (frequency >= kSynthRate / 2.0) continue;
            sound[n] += attack * partial.amplitude * std::exp(-partial.decay * t) * std::sin(kTwoPi * frequency * t);
        }
    }
    return sound;
}

std::vector<double> SawHarmonics(int32_t count, double tilt, double corner) {
    std::vector<double> amplitudes(static_cast<size_t>(count));
    for (int32_t k = 1; k <= count; ++k) {
        double rolloff = 1.0 / (1.0 + std::pow(k / corner, 2.0));
        amplitudes[k - 1] = rolloff / std::pow(k, tilt);
    }
    return amplitudes;
}

std::vector<double> SquareHarmonics(int32_t count, double corner) {
    std::vector<double> amplitudes = SawHarmonics(count, 1.0, corner);
    for (size_t k = 1; k < amplitudes.size(); k += 2) amplitudes[k] *= 0.15;
    return amplitudes;
}

std::vector<double> VowelHarmonics(int32_t count, double fundamentalHz, double brightness) {
    struct Formant {
        double centre;
        double width;
        double gain;
    };
    const Formant formants[] = {{750.0, 160.0, 1.0}, {1250.0, 220.0, 0.7}, {2700.0, 380.0, 0.35 * brightness}};
    std::vector<double> amplitudes(static_cast<size_t>(count));
    for (int32_t k = 1; k <= count; ++k) {
        double frequency = k * fundamentalHz;
        double weight = 0.08 * brightness;
        for (const Formant& formant : formants) {
            double distance = (frequency - formant.centre) / formant.width;
            weight += formant.gain / (1.0 + distance * distance);
        }
        amplitudes[k - 1] = weight / std::sqrt(static_cast<double>(k));
    }
    return amplitudes;
}

Sound Kick(double seconds) {
    Sound sound(Frames(seconds));
    Noise noise;
    double phase = 0.0;
    for (size_t n = 0; n < sound.size(); ++n) {
        double t = static_cast<double>(n) / kSynthRate;
        double frequency = 48.0 + 140.0 * std::exp(-t / 0.03);
        phase += frequency / kSynthRate;
        double body = std::sin(kTwoPi * phase) * std::exp(-t / 0.16);
        // A brief overtone on the attack carries the beat on speakers too
        // small for the body.
        double knock = std::sin(kTwoPi * 3.0 * phase) * std::exp(-t / 0.02) * 0.3;
        double click = noise.Next() * std::exp(-t / 0.004) * 0.5;
        sound[n] = body + knock + click;
    }
    return sound;
}

Sound Snare(double seconds) {
    Sound sound(Frames(seconds));
    Noise noise;
    double low = 0.0;
    double previous = 0.0;
    for (size_t n = 0; n < sound.size(); ++n) {
        double t = static_cast<double>(n) / kSynthRate;
        double white = noise.Next();
        low += 0.35 * (white - low);
        double bright = low - previous;
        previous = low;
        double rattle = (0.6 * low + 1.2 * bright) * std::exp(-t / 0.09);
        double tone = (std::sin(kTwoPi * 185.0 * t) + 0.5 * std::sin(kTwoPi * 330.0 * t)) * std::exp(-t / 0.045);
        sound[n] = 0.9 * rattle + 0.55 * tone;
    }
    return sound;
}

namespace {

// Hiss, high-passed and then smoothed by `smoothing` (1: not at all), over a
// few square-wave partials that give the metal its ring; it dies away with
// the time constant `decay`.
Sound MetalNoise(double seconds, double decay, std::initializer_list<double> ringing, double ringLevel,
                 double smoothing) {
    Sound sound(Frames(seconds));
    Noise noise;
    double previous = 0.0;
    double smoothed = 0.0;
    for (size_t n = 0; n < sound.size(); ++n) {
        double t = static_cast<double>(n) / kSynthRate;
        double white = noise.Next();
        double high = white - previous;
        previous = white;
        smoothed += smoothing * (high - smoothed);
        double metal = 0.0;
        for (double frequency : ringing) metal += std::sin(kTwoPi * frequency * t) > 0 ? ringLevel : -ringLevel;
        double swell = std::min(1.0, t / 0.002);
        sound[n] = swell * (0.85 * smoothed + metal) * std::exp(-t / decay);
    }
    return sound;
}

}  // namespace

Sound HiHat(double seconds) { return MetalNoise(seconds, seconds / 4.0, {5200.0, 7400.0, 9100.0}, 0.08, 1.0); }

Sound Crash(double seconds) { return MetalNoise(seconds, seconds / 5.0, {3130.0, 4470.0, 5810.0, 7320.0}, 0.03, 0.5); }

void Saturate(Sound& sound, double drive) {
    double norm = std::tanh(drive);
    for (double& value : sound) value = std::tanh(drive * value) / norm;
}

XmSample MakeSample(const Sound& sound, double peak, uint32_t loopStart, uint32_t loopLength) {
    double largest = 0.0;
    for (double value : sound) largest = std::max(largest, std::abs(value));
    double scale = largest > 0.0 ? peak * 32767.0 / largest : 0.0;
    XmSample sample;
    sample.pcm.reserve(sound.size());
    for (double value : sound) sample.pcm.push_back(static_cast<int16_t>(std::lround(value * scale)));
    sample.loopStart = loopStart;
    sample.loopLength = loopLength;
    return sample;
}
