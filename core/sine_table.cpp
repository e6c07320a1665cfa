#include "core/sine_table.h"

#include <cmath>
#include <cstdint>
#include <cstring>

int8_t sineTable[256];

void BuildSineTable() {
    // 6.28 / 255 in single precision, not 2 pi / 256: entry 255 falls just
    // short of a full turn and is 0.
    // Copied rather than std::bit_cast, which not every C++ library here has.
    const uint32_t stepBits = 0x3CC9BF83u;
    float step = 0;
    std::memcpy(&step, &stepBits, sizeof step);
    for (int i = 0; i < 256; ++i) {
        float x = static_cast<float>(i) * step;
        sineTable[i] = static_cast<int8_t>(std::sin(static_cast<double>(x)) * 127.0);
    }
}
