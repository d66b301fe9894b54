#include "stats/VectorState.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

namespace {
__attribute__((target("avx"))) void zeroUpper()
{
    _mm256_zeroupper();
}
bool hasAvx()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}
}

void VectorState::clearUpper()
{
    static const bool avx = hasAvx();
    if (avx)
        zeroUpper();
}
#else
void VectorState::clearUpper() {}
#endif
