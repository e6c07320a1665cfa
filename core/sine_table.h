// 256 signed 8-bit sine values, -126..126, that bend the swapping ducks' paths.
#pragma once

#include <cstdint>

extern int8_t sineTable[256];

// Fills sineTable; the driver's first step, before anything reads it.
void BuildSineTable();
