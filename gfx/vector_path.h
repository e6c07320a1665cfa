// Which of the processor's vector instructions the per-frame pixel loops use.
// Each path gives the same bytes; the plain one is for processors without
// them (the handheld's among them).
#pragma once

#include <cstdint>

enum class VectorPath : int32_t { kPlain, kSse2, kSsse3, kAvx2 };

// The widest path this processor runs, found once.
VectorPath BestVectorPath();

// The path in use: the best one unless UseVectorPath chose another.
VectorPath CurrentVectorPath();

// Chooses path, or the best one if this processor cannot run it; so tests
// can hold every path against the plain one.
void UseVectorPath(VectorPath path);
