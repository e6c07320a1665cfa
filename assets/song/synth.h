// Sample synthesis: band-limited tones built from harmonics, decaying
// partials for plucked and struck sounds, and noise-based drums. Sounds are
// doubles in -1..1 until they become a sample.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/song/xm_module.h"

using Sound = std::vector<double>;

constexpr double kSynthRate = 44100.0;

// The relative note and finetune that make a sample whose fundamental is
// fundamentalHz at sampleRate sound at concert pitch: XM note 49 as C4.
void TuneSample(XmSample& sample, double fundamentalHz, double sampleRate);

// One period of `period` samples holding harmonics 1..n with the given
// amplitudes; harmonic phases are spread so the wave has no tall peak.
Sound HarmonicCycle(int32_t period, const std::vector<double>& amplitudes);

// A seamless loop of `length` samples in which oscillator i runs exactly
// cycles[i] whole periods: slightly different counts make a slow chorus.
Sound DetunedLoop(int32_t length, const std::vector<int32_t>& cycles, const std::vector<double>& amplitudes);

// An opening that glides from `startRatio` times the pitch of a cycle of
// `period` samples down to that pitch, its harmonics fading from `bright`
// to `plain`; it stops at a whole period, where HarmonicCycle(plain) starts.
Sound GlidingAttack(int32_t period, double startRatio, int32_t glideSamples, const std::vector<double>& bright,
                    const std::vector<double>& plain);

struct Partial {
    double ratio;      // to the fundamental
    double amplitude;  // at the start
    double decay;      // per second: amplitude falls by e^(-decay t)
};

// Struck or plucked: partials that decay on their own, with a short attack.
Sound DecayingPartials(double fundamentalHz, double seconds, const std::vector<Partial>& partials);

// Amplitudes 1/k^tilt, rolled off above `corner` as a gentle low-pass does.
std::vector<double> SawHarmonics(int32_t count, double tilt, double corner);

// As SawHarmonics with only odd harmonics: hollow, square-like.
std::vector<double> SquareHarmonics(int32_t count, double corner);

// Formant weighting: harmonics near the formants of an open vowel sung at
// fundamentalHz stand out, the rest fall away.
std::vector<double> VowelHarmonics(int32_t count, double fundamentalHz, double brightness);

Sound Kick(double seconds);
Sound Snare(double seconds);
Sound HiHat(double seconds);
Sound Crash(double seconds);

// Soft saturation that keeps peaks below 1.
void Saturate(Sound& sound, double drive);

// Scales to the given peak and rounds to 16 bits; the loop is in frames.
XmSample MakeSample(const Sound& sound, double peak, uint32_t loopStart, uint32_t loopLength);
