// Small valid XM modules for tests: two channels, one instrument whose
// sample is a synthesised looped square wave, a note on every row of
// channel 0, so the length and the loop point are known.
#pragma once

#include <string>
#include <vector>

struct XmSong {
    int speed = 3;  // ticks per row
    int bpm = 125;  // 20 ms ticks: 882 frames at 44100 Hz, a whole number
    int rows = 8;   // in every pattern
    int patternCount = 2;
    std::vector<int> orders{0, 1};  // pattern indexes, each below patternCount
    int restart = 1;                // the order played after the last
};

// Milliseconds of one pass through the orders.
int XmSongLength(const XmSong& song);

std::string BuildXm(const XmSong& song);
