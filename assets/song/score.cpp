#include "assets/song/score.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>

namespace {

class Grid {
public:
    Grid(int32_t gridChannels, int32_t gridRows)
        : channels(gridChannels), rows(gridRows), cells(static_cast<size_t>(gridChannels) * gridRows) {}

    bool Holds(int32_t row, int32_t channel) const {
        return row >= 0 && row < rows && channel >= 0 && channel < channels;
    }
    XmCell& At(int32_t row, int32_t channel) { return cells[static_cast<size_t>(row) * channels + channel]; }

    int32_t channels;
    int32_t rows;
    std::vector<XmCell> cells;
};

std::string Where(int32_t tick, int32_t channel) {
    return "at " + std::to_string(MsAt(tick)) + " ms on channel " + std::to_string(channel);
}

uint8_t VolumeColumn(int32_t volume) { return static_cast<uint8_t>(0x10 + std::clamp(volume, 0, 64)); }

void PlaceNote(Grid& grid, const ScoreNote& note, std::vector<PlacedNote>& placed) {
    int32_t row = note.tick / kTicksPerRow;
    int32_t delay = note.tick % kTicksPerRow;
    if (note.tick < 0 || !grid.Holds(row, note.channel))
        throw std::runtime_error("a note lies outside the song " + Where(note.tick, note.channel));
    if (note.note < 1 || note.note > 96)
        throw std::runtime_error("a note is out of range " + Where(note.tick, note.channel));
    XmCell& cell = grid.At(row, note.channel);
    if (cell.note != 0) throw std::runtime_error("two notes share a row " + Where(note.tick, note.channel));
    cell.note = static_cast<uint8_t>(note.note);
    cell.instrument = static_cast<uint8_t>(note.instrument);
    cell.volume = VolumeColumn(note.volume);
    if (delay > 0) {
        cell.effect = kEffectExtended;
        cell.parameter = static_cast<uint8_t>(kExtendedNoteDelay | delay);
    }
    placed.push_back({MsAt(note.tick), note.channel, note.note, note.instrument, note.volume});
}

void PlaceKeyOff(Grid& grid, const ScoreNote& note) {
    int32_t tick = note.tick + note.length;
    int32_t row = tick / kTicksPerRow;
    int32_t delay = tick % kTicksPerRow;
    if (!grid.Holds(row, note.channel)) return;
    XmCell& cell = grid.At(row, note.channel);
    if (cell.note != 0 || cell.effect != 0) return;
    if (delay == 0) {
        cell.note = kKeyOffNote;
    } else {
        cell.effect = kEffectKeyOff;
        cell.parameter = static_cast<uint8_t>(delay);
    }
}

}  // namespace

Arrangement Arrange(const Score& score, int32_t channels, int32_t controlChannel, int32_t loopRow, int32_t endRow) {
    if (loopRow <= 0 || loopRow >= endRow) throw std::runtime_error("the loop must start inside the song");
    Grid grid(channels, endRow);
    Arrangement arrangement;

    std::vector<ScoreNote> notes = score.notes;
    std::stable_sort(notes.begin(), notes.end(),
                     [](const ScoreNote& a, const ScoreNote& b) { return a.tick < b.tick; });
    std::vector<int32_t> nextStart(static_cast<size_t>(channels), INT32_MAX);
    for (auto note = notes.rbegin(); note != notes.rend(); ++note) {
        PlaceNote(grid, *note, arrangement.placed);
        int32_t& next = nextStart[static_cast<size_t>(note->channel)];
        if (note->length > 0 && note->tick + note->length < next) PlaceKeyOff(grid, *note);
        next = note->tick;
    }
    std::reverse(arrangement.placed.begin(), arrangement.placed.end());
    for (const ScoreLevel& level : score.levels) {
        bool global = level.channel < 0;
        int32_t channel = global ? controlChannel : level.channel;
        if (!grid.Holds(level.row, channel)) throw std::runtime_error("a level lies outside the song");
        XmCell& cell = grid.At(level.row, channel);
        if (global) {
            if (cell.effect != 0)
                throw std::runtime_error("the control channel is busy " + Where(level.row * kTicksPerRow, channel));
            cell.effect = kEffectGlobalVolume;
            cell.parameter = static_cast<uint8_t>(std::clamp(level.volume, 0, 64));
        } else if (cell.volume == 0) {
            cell.volume = VolumeColumn(level.volume);
        }
    }

    auto cut = [&](int32_t from, int32_t to) {
        for (int32_t start = from; start < to; start += kRowsPerPattern) {
            XmPattern pattern;
            pattern.rows = std::min(kRowsPerPattern, to - start);
            auto first = grid.cells.begin() + static_cast<std::ptrdiff_t>(start) * channels;
            pattern.cells.assign(first, first + static_cast<std::ptrdiff_t>(pattern.rows) * channels);
            arrangement.orders.push_back(static_cast<uint8_t>(arrangement.patterns.size()));
            arrangement.patterns.push_back(std::move(pattern));
        }
    };
    cut(0, loopRow);
    arrangement.restartPosition = static_cast<int32_t>(arrangement.orders.size());
    cut(loopRow, endRow);
    return arrangement;
}
