#include "support/xm_builder.h"

#include <cstdint>

namespace {

constexpr int kChannels = 2;
constexpr int kSampleLength = 32;  // one cycle: 8363 / 32 = 261 Hz on C-4
constexpr int kHeaderSize = 276;   // counted from offset 60: itself, 16 bytes of fields, 256 orders
constexpr int kInstrumentHeaderSize = 263;
constexpr int kSampleHeaderSize = 40;

class Bytes {
public:
    void Byte(int value) { text.push_back(static_cast<char>(value & 0xFF)); }
    void Word(int value) {
        Byte(value);
        Byte(value >> 8);
    }
    void Dword(int value) {
        Word(value);
        Word(value >> 16);
    }
    void Text(const std::string& value, int width, char pad) {
        for (int i = 0; i < width; ++i) Byte(i < static_cast<int>(value.size()) ? value[i] : pad);
    }
    void Zeros(int count) { text.append(static_cast<size_t>(count), '\0'); }

    std::string text;
};

void ModuleHeader(Bytes& out, const XmSong& song) {
    out.Text("Extended Module: ", 17, ' ');
    out.Text("duckdemo test", 20, '\0');
    out.Byte(0x1A);
    out.Text("duckdemo tests", 20, ' ');
    out.Word(0x0104);
    out.Dword(kHeaderSize);
    out.Word(static_cast<int>(song.orders.size()));
    out.Word(song.restart);
    out.Word(kChannels);
    out.Word(song.patternCount);
    out.Word(1);  // instruments
    out.Word(1);  // linear frequency table
    out.Word(song.speed);
    out.Word(song.bpm);
    for (int i = 0; i < 256; ++i) out.Byte(i < static_cast<int>(song.orders.size()) ? song.orders[i] : 0);
}

// Every row: a note on channel 0 that differs from row to row and pattern to
// pattern, channel 1 empty.
void Pattern(Bytes& out, const XmSong& song, int pattern) {
    Bytes cells;
    for (int row = 0; row < song.rows; ++row) {
        cells.Byte(0x83);                               // packed: note and instrument follow
        cells.Byte(49 + (pattern * 5 + row * 2) % 24);  // from C-4 up
        cells.Byte(1);
        cells.Byte(0x80);  // an empty cell
    }
    out.Dword(9);
    out.Byte(0);  // packing type
    out.Word(song.rows);
    out.Word(static_cast<int>(cells.text.size()));
    out.text += cells.text;
}

void Instrument(Bytes& out) {
    out.Dword(kInstrumentHeaderSize);
    out.Text("square", 22, '\0');
    out.Byte(0);
    out.Word(1);  // samples
    out.Dword(kSampleHeaderSize);
    // Sample map, envelopes (off), vibrato, fadeout, reserved.
    out.Zeros(kInstrumentHeaderSize - 33);

    out.Dword(kSampleLength);
    out.Dword(0);              // loop start
    out.Dword(kSampleLength);  // loop length
    out.Byte(48);              // volume
    out.Byte(0);               // finetune
    out.Byte(1);               // 8-bit, forward loop
    out.Byte(128);             // centre
    out.Byte(0);               // relative note
    out.Byte(0);
    out.Text("square", 22, '\0');

    // Stored as differences from the previous sample.
    int previous = 0;
    for (int i = 0; i < kSampleLength; ++i) {
        int sample = i < kSampleLength / 2 ? 60 : -60;
        out.Byte(sample - previous);
        previous = sample;
    }
}

}  // namespace

int XmSongLength(const XmSong& song) {
    return static_cast<int>(song.orders.size()) * song.rows * song.speed * 2500 / song.bpm;
}

std::string BuildXm(const XmSong& song) {
    Bytes out;
    ModuleHeader(out, song);
    for (int pattern = 0; pattern < song.patternCount; ++pattern) Pattern(out, song, pattern);
    Instrument(out);
    return out.text;
}
