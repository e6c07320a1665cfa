#include "gfx/vector_path.h"

namespace {

VectorPath Detect() {
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return VectorPath::kAvx2;
    if (__builtin_cpu_supports("ssse3")) return VectorPath::kSsse3;
    return VectorPath::kSse2;
#elif defined(__SSE2__)
    return VectorPath::kSse2;
#else
    return VectorPath::kPlain;
#endif
}

VectorPath chosen = BestVectorPath();

}  // namespace

VectorPath BestVectorPath() {
    static const VectorPath best = Detect();
    return best;
}

VectorPath CurrentVectorPath() { return chosen; }

void UseVectorPath(VectorPath path) { chosen = path <= BestVectorPath() ? path : BestVectorPath(); }
