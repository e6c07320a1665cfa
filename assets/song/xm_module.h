// A tracker module in memory, in the terms of the XM format: patterns of
// cells, an order list, and instruments of one synthesised sample each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr uint8_t kKeyOffNote = 97;
constexpr uint8_t kEffectExtended = 0x0E;
constexpr uint8_t kEffectGlobalVolume = 0x10;
constexpr uint8_t kEffectKeyOff = 0x14;
constexpr uint8_t kExtendedNoteDelay = 0xD0;

struct XmCell {
    uint8_t note = 0;  // 1..96, or kKeyOffNote
    uint8_t instrument = 0;
    uint8_t volume = 0;  // the volume column: 0x10 + 0..64 sets the volume
    uint8_t effect = 0;
    uint8_t parameter = 0;

    bool IsEmpty() const { return note == 0 && instrument == 0 && volume == 0 && effect == 0 && parameter == 0; }
};

struct XmPattern {
    int32_t rows = 0;
    std::vector<XmCell> cells;  // row after row, one cell per channel
};

struct XmEnvelopePoint {
    uint16_t tick = 0;
    uint16_t value = 0;  // 0..64
};

// 16-bit signed mono PCM; loop positions and lengths in sample frames.
struct XmSample {
    std::vector<int16_t> pcm;
    uint32_t loopStart = 0;
    uint32_t loopLength = 0;  // 0: plays once
    uint8_t volume = 64;
    int8_t finetune = 0;
    int8_t relativeNote = 0;
    uint8_t panning = 128;
};

struct XmInstrument {
    std::string name;
    XmSample sample;
    std::vector<XmEnvelopePoint> volumeEnvelope;  // empty: no envelope
    int32_t sustainPoint = -1;                    // -1: none
    uint16_t fadeout = 0;
    uint8_t vibratoSweep = 0;
    uint8_t vibratoDepth = 0;
    uint8_t vibratoRate = 0;
};

struct XmModule {
    std::string name;
    int32_t channels = 0;
    int32_t speed = 6;
    int32_t bpm = 125;
    int32_t restartPosition = 0;
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};
