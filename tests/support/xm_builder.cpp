#include "support/xm_builder.h"

#include "tools/assetgen/xm_writer.h"

namespace {

constexpr int kChannels = 2;
constexpr int kSampleLength = 32;  // one cycle: 8363 / 32 = 261 Hz on C-4

// Every row: a note on channel 0 that differs from row to row and pattern to
// pattern, channel 1 empty.
XmPattern Pattern(const XmSong& song, int pattern) {
    XmPattern result;
    result.rows = song.rows;
    result.cells.resize(static_cast<size_t>(song.rows) * kChannels);
    for (int row = 0; row < song.rows; ++row) {
        XmCell& cell = result.cells[static_cast<size_t>(row) * kChannels];
        cell.note = static_cast<uint8_t>(49 + (pattern * 5 + row * 2) % 24);  // from C-4 up
        cell.instrument = 1;
    }
    return result;
}

XmInstrument Square() {
    XmInstrument square;
    square.name = "square";
    square.sample.pcm.resize(kSampleLength);
    for (int i = 0; i < kSampleLength; ++i) square.sample.pcm[i] = i < kSampleLength / 2 ? 15000 : -15000;
    square.sample.loopLength = kSampleLength;
    square.sample.volume = 48;
    return square;
}

}  // namespace

int XmSongLength(const XmSong& song) {
    return static_cast<int>(song.orders.size()) * song.rows * song.speed * 2500 / song.bpm;
}

std::string BuildXm(const XmSong& song) {
    XmModule module;
    module.name = "duckdemo test";
    module.channels = kChannels;
    module.speed = song.speed;
    module.bpm = song.bpm;
    module.restartPosition = song.restart;
    for (int order : song.orders) module.orders.push_back(static_cast<uint8_t>(order));
    for (int pattern = 0; pattern < song.patternCount; ++pattern) module.patterns.push_back(Pattern(song, pattern));
    module.instruments.push_back(Square());
    std::vector<uint8_t> bytes = WriteXm(module);
    return std::string(bytes.begin(), bytes.end());
}
