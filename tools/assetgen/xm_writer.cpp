#include "tools/assetgen/xm_writer.h"

#include <stdexcept>

namespace {

constexpr uint32_t kHeaderSize = 276;
constexpr uint32_t kInstrumentHeaderSize = 263;
constexpr uint32_t kSampleHeaderSize = 40;
constexpr uint8_t kSixteenBit = 0x10;
constexpr uint8_t kForwardLoop = 0x01;
constexpr uint8_t kEnvelopeOn = 0x01;
constexpr uint8_t kEnvelopeSustain = 0x02;
constexpr size_t kMaxEnvelopePoints = 12;

class ByteWriter {
public:
    void Byte(uint32_t value) { bytes.push_back(static_cast<uint8_t>(value)); }
    void Word(uint32_t value) {
        Byte(value & 0xFF);
        Byte(value >> 8);
    }
    void Dword(uint32_t value) {
        Word(value & 0xFFFF);
        Word(value >> 16);
    }
    void Text(const std::string& text, size_t size, char pad) {
        for (size_t i = 0; i < size; ++i) Byte(static_cast<uint8_t>(i < text.size() ? text[i] : pad));
    }
    void Zeros(size_t count) { bytes.insert(bytes.end(), count, 0); }

    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> PackedCells(const XmPattern& pattern) {
    std::vector<uint8_t> packed;
    for (const XmCell& cell : pattern.cells) {
        const uint8_t values[] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter};
        uint8_t present = 0;
        for (int i = 0; i < 5; ++i) present |= static_cast<uint8_t>(values[i] != 0 ? 1 << i : 0);
        // With all five values present the plain form is a byte shorter.
        if (present == 0x1F) {
            packed.insert(packed.end(), values, values + 5);
            continue;
        }
        packed.push_back(static_cast<uint8_t>(0x80 | present));
        for (int i = 0; i < 5; ++i) {
            if (values[i] != 0) packed.push_back(values[i]);
        }
    }
    return packed;
}

void WritePattern(ByteWriter& out, const XmPattern& pattern, int32_t channels) {
    if (pattern.rows < 1 || pattern.rows > 256 ||
        pattern.cells.size() != static_cast<size_t>(pattern.rows) * channels) {
        throw std::runtime_error("a pattern needs 1..256 rows of one cell per channel");
    }
    bool empty = true;
    for (const XmCell& cell : pattern.cells) empty = empty && cell.IsEmpty();
    std::vector<uint8_t> packed = empty ? std::vector<uint8_t>{} : PackedCells(pattern);
    if (packed.size() > 0xFFFF) throw std::runtime_error("a pattern packs to more than 65535 bytes");
    out.Dword(9);
    out.Byte(0);
    out.Word(static_cast<uint32_t>(pattern.rows));
    out.Word(static_cast<uint32_t>(packed.size()));
    out.bytes.insert(out.bytes.end(), packed.begin(), packed.end());
}

void WriteEnvelope(ByteWriter& out, const std::vector<XmEnvelopePoint>& points) {
    for (size_t i = 0; i < kMaxEnvelopePoints; ++i) {
        out.Word(i < points.size() ? points[i].tick : 0);
        out.Word(i < points.size() ? points[i].value : 0);
    }
}

void WriteInstrument(ByteWriter& out, const XmInstrument& instrument) {
    const XmSample& sample = instrument.sample;
    const auto& envelope = instrument.volumeEnvelope;
    if (envelope.size() > kMaxEnvelopePoints || sample.pcm.empty() ||
        sample.loopStart + sample.loopLength > sample.pcm.size()) {
        throw std::runtime_error("instrument " + instrument.name + ": bad envelope or sample loop");
    }
    out.Dword(kInstrumentHeaderSize);
    out.Text(instrument.name, 22, '\0');
    out.Byte(0);
    out.Word(1);
    out.Dword(kSampleHeaderSize);
    out.Zeros(96);  // every note plays sample 0
    WriteEnvelope(out, envelope);
    WriteEnvelope(out, {});
    out.Byte(static_cast<uint32_t>(envelope.size()));
    out.Byte(0);
    bool sustained = instrument.sustainPoint >= 0;
    out.Byte(sustained ? static_cast<uint32_t>(instrument.sustainPoint) : 0);
    out.Zeros(2);  // volume loop start and end
    out.Zeros(3);  // panning sustain, loop start and end
    uint8_t flags = envelope.empty() ? 0 : kEnvelopeOn;
    if (!envelope.empty() && sustained) flags |= kEnvelopeSustain;
    out.Byte(flags);
    out.Byte(0);
    out.Byte(0);  // sine vibrato
    out.Byte(instrument.vibratoSweep);
    out.Byte(instrument.vibratoDepth);
    out.Byte(instrument.vibratoRate);
    out.Word(instrument.fadeout);
    out.Zeros(22);

    out.Dword(static_cast<uint32_t>(sample.pcm.size() * 2));
    out.Dword(sample.loopStart * 2);
    out.Dword(sample.loopLength * 2);
    out.Byte(sample.volume);
    out.Byte(static_cast<uint8_t>(sample.finetune));
    out.Byte(kSixteenBit | (sample.loopLength > 0 ? kForwardLoop : 0));
    out.Byte(sample.panning);
    out.Byte(static_cast<uint8_t>(sample.relativeNote));
    out.Byte(0);
    out.Text(instrument.name, 22, '\0');

    int16_t previous = 0;
    for (int16_t value : sample.pcm) {
        out.Word(static_cast<uint16_t>(value - previous));
        previous = value;
    }
}

}  // namespace

std::vector<uint8_t> WriteXm(const XmModule& module) {
    if (module.orders.empty() || module.orders.size() > 256 || module.patterns.empty() ||
        module.patterns.size() > 256 || module.channels < 1 || module.channels > 32 ||
        module.instruments.size() > 128 || module.restartPosition < 0 ||
        module.restartPosition >= static_cast<int32_t>(module.orders.size()) || module.speed < 1 || module.speed > 31 ||
        module.bpm < 32 || module.bpm > 255) {
        throw std::runtime_error("the module does not fit the XM format");
    }
    for (uint8_t order : module.orders) {
        if (order >= module.patterns.size()) throw std::runtime_error("an order names a pattern that is not stored");
    }

    ByteWriter out;
    out.Text("Extended Module: ", 17, ' ');
    out.Text(module.name, 20, '\0');
    out.Byte(0x1A);
    out.Text("duckdemo assetgen", 20, ' ');
    out.Word(0x0104);
    out.Dword(kHeaderSize);
    out.Word(static_cast<uint32_t>(module.orders.size()));
    out.Word(static_cast<uint32_t>(module.restartPosition));
    out.Word(static_cast<uint32_t>(module.channels));
    out.Word(static_cast<uint32_t>(module.patterns.size()));
    out.Word(static_cast<uint32_t>(module.instruments.size()));
    out.Word(1);  // linear frequency table
    out.Word(static_cast<uint32_t>(module.speed));
    out.Word(static_cast<uint32_t>(module.bpm));
    for (size_t i = 0; i < 256; ++i) out.Byte(i < module.orders.size() ? module.orders[i] : 0);

    for (const XmPattern& pattern : module.patterns) WritePattern(out, pattern, module.channels);
    for (const XmInstrument& instrument : module.instruments) WriteInstrument(out, instrument);
    return out.bytes;
}
