// Runs a check once on every vector path this processor runs, the plain one
// first, so a test can hold each against the plain loop; the best path is in
// use again afterwards.
#pragma once

#include "gfx/vector_path.h"

template <typename Check>
void ForEachVectorPath(Check check) {
    for (VectorPath path : {VectorPath::kPlain, VectorPath::kSse2, VectorPath::kSsse3, VectorPath::kAvx2}) {
        if (path > BestVectorPath()) continue;
        UseVectorPath(path);
        check(path);
    }
    UseVectorPath(BestVectorPath());
}
