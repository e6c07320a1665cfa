// Every vector path this processor runs, the plain one first, so a test can
// hold each against the plain loop.
#pragma once

#include <vector>

#include "gfx/vector_path.h"

inline std::vector<VectorPath> RunnableVectorPaths() {
    std::vector<VectorPath> paths;
    for (VectorPath path : {VectorPath::kPlain, VectorPath::kSse2, VectorPath::kSsse3, VectorPath::kAvx2}) {
        if (path <= BestVectorPath()) paths.push_back(path);
    }
    return paths;
}
