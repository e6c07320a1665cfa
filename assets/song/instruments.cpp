#include "assets/song/instruments.h"

#include <cmath>

#include "assets/song/synth.h"

namespace {

// Pitches the voice's formants are shaped for: the middle of what it sings.
constexpr double kVoiceCentreHz = 523.25;
constexpr int32_t kVoicePeriod = 256;
constexpr int32_t kVoiceHarmonics = 18;

XmInstrument Looped(const char* name, const Sound& sound, double cyclesInLoop, uint32_t loopStart, double peak) {
    XmInstrument instrument;
    instrument.name = name;
    instrument.sample = MakeSample(sound, peak, loopStart, static_cast<uint32_t>(sound.size()) - loopStart);
    TuneSample(instrument.sample, cyclesInLoop, static_cast<double>(sound.size() - loopStart));
    return instrument;
}

XmInstrument OneShot(const char* name, const Sound& sound, double fundamentalHz, double peak) {
    XmInstrument instrument;
    instrument.name = name;
    instrument.sample = MakeSample(sound, peak, 0, 0);
    TuneSample(instrument.sample, fundamentalHz, kSynthRate);
    return instrument;
}

// Attack to full level, settle to `sustain` and hold until key-off, then fade
// out in about `releaseTicks`.
void Shape(XmInstrument& instrument, uint16_t attackTicks, uint16_t settleTicks, uint16_t sustain,
           int32_t releaseTicks) {
    instrument.volumeEnvelope = {{0, static_cast<uint16_t>(attackTicks == 0 ? 64 : 0)},
                                 {attackTicks, 64},
                                 {static_cast<uint16_t>(attackTicks + settleTicks), sustain}};
    instrument.sustainPoint = 2;
    instrument.fadeout = static_cast<uint16_t>(32768 / releaseTicks);
}

XmInstrument Voice(const char* name, double brightness, double startRatio) {
    std::vector<double> plain = VowelHarmonics(kVoiceHarmonics, kVoiceCentreHz, brightness);
    std::vector<double> bright = VowelHarmonics(kVoiceHarmonics, kVoiceCentreHz * 1.3, brightness * 1.8);
    Sound sound = GlidingAttack(kVoicePeriod, startRatio, 14 * kVoicePeriod, bright, plain);
    auto attackLength = static_cast<uint32_t>(sound.size());
    Sound cycle = HarmonicCycle(kVoicePeriod, plain);
    sound.insert(sound.end(), cycle.begin(), cycle.end());
    XmInstrument voice = Looped(name, sound, 1.0, attackLength, 0.9);
    Shape(voice, 0, 12, 52, 6);
    voice.vibratoSweep = 40;
    voice.vibratoDepth = 5;
    voice.vibratoRate = 14;
    return voice;
}

// Weakens the lowest harmonics, as a high-pass at harmonic `corner` would:
// a bass line a small speaker can still play, heard through its overtones.
std::vector<double> LightenLowHarmonics(std::vector<double> amplitudes, double corner) {
    for (size_t i = 0; i < amplitudes.size(); ++i) {
        double ratio = static_cast<double>(i + 1) / corner;
        amplitudes[i] *= ratio * ratio / (1.0 + ratio * ratio);
    }
    return amplitudes;
}

}  // namespace

std::vector<XmInstrument> MakeInstruments() {
    std::vector<XmInstrument> instruments;
    instruments.push_back(Voice("voice", 1.0, 1.25));
    instruments.push_back(Voice("shout", 2.2, 1.12));

    XmInstrument pad = Looped("pad", DetunedLoop(128 * 64, {63, 64, 65}, SawHarmonics(24, 1.0, 7.0)), 64.0, 0, 0.6);
    Shape(pad, 25, 40, 50, 45);
    pad.sample.panning = 112;
    instruments.push_back(pad);

    XmInstrument bass =
        Looped("bass", HarmonicCycle(256, LightenLowHarmonics(SawHarmonics(40, 1.0, 9.0), 2.0)), 1.0, 0, 0.75);
    Shape(bass, 1, 15, 42, 6);
    instruments.push_back(bass);

    Sound growlCycle = HarmonicCycle(256, LightenLowHarmonics(SquareHarmonics(48, 14.0), 2.5));
    Saturate(growlCycle, 2.5);
    XmInstrument growl = Looped("growl", growlCycle, 1.0, 0, 0.7);
    Shape(growl, 1, 10, 46, 4);
    instruments.push_back(growl);

    std::vector<Partial> pluckPartials;
    for (int32_t k = 1; k <= 10; ++k)
        pluckPartials.push_back({static_cast<double>(k), 1.0 / (k * std::sqrt(k)), 2.5 + 1.6 * k});
    XmInstrument pluck = OneShot("pluck", DecayingPartials(523.25, 1.2, pluckPartials), 523.25, 0.9);
    pluck.sample.panning = 92;
    instruments.push_back(pluck);

    XmInstrument bell = OneShot(
        "bell",
        DecayingPartials(1046.5, 1.6,
                         {{1.0, 1.0, 2.2}, {2.0, 0.35, 4.0}, {3.0, 0.12, 7.0}, {4.07, 0.1, 9.0}, {5.43, 0.05, 12.0}}),
        1046.5, 0.9);
    bell.sample.panning = 164;
    instruments.push_back(bell);

    XmInstrument flute = Looped("flute", HarmonicCycle(128, {1.0, 0.18, 0.08, 0.03}), 1.0, 0, 0.9);
    Shape(flute, 5, 15, 54, 12);
    flute.vibratoSweep = 60;
    flute.vibratoDepth = 4;
    flute.vibratoRate = 14;
    instruments.push_back(flute);

    Sound power = DetunedLoop(512, {2, 3, 4}, SawHarmonics(60, 1.0, 20.0));
    Saturate(power, 3.0);
    XmInstrument powerChord = Looped("power", power, 2.0, 0, 0.6);
    Shape(powerChord, 1, 10, 48, 3);
    instruments.push_back(powerChord);

    instruments.push_back(OneShot("kick", Kick(0.45), 261.6256, 0.95));
    instruments.push_back(OneShot("snare", Snare(0.3), 261.6256, 0.75));
    XmInstrument hat = OneShot("hat", HiHat(0.08), 261.6256, 0.7);
    hat.sample.panning = 150;
    instruments.push_back(hat);
    XmInstrument openHat = OneShot("open hat", HiHat(0.35), 261.6256, 0.7);
    openHat.sample.panning = 150;
    instruments.push_back(openHat);
    XmInstrument crash = OneShot("crash", Crash(2.0), 261.6256, 0.8);
    crash.sample.panning = 100;
    instruments.push_back(crash);
    return instruments;
}
