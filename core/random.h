// The desktop C library's pseudo-random generator, reproduced so every build
// shakes and shuffles alike: values 0..32767, seed 1 until first seeded.
#pragma once

#include <cstdint>

constexpr int32_t kRandomMax = 32767;

void SeedRandom(uint32_t seed);

int32_t NextRandom();
