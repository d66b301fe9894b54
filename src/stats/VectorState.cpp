#include "stats/VectorState.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

namespace {
bool hasAvx()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}
// Known before main, so that a clear costs one test of a constant and no guard.
const bool kAvx = hasAvx();
}

__attribute__((target("avx"))) void VectorState::clearUpper()
{
    if (kAvx)
        _mm256_zeroupper();
}
#else
void VectorState::clearUpper() {}
#endif
