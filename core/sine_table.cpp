#include "core/sine_table.h"

#include <bit>
#include <cmath>

int8_t sineTable[256];

void BuildSineTable() {
    // 6.28 / 255 in single precision, not 2 pi / 256: entry 255 falls just
    // short of a full turn and is 0.
    const float step = std::bit_cast<float>(0x3CC9BF83u);
    for (int i = 0; i < 256; ++i) {
        float x = static_cast<float>(i) * step;
        sineTable[i] = static_cast<int8_t>(std::sin(static_cast<double>(x)) * 127.0);
    }
}
