#pragma once
// Contents of the statistics engines' resources: the normal tail table of "NormRes2.plist"
// and the Shapiro-Wilk coefficients of "Shapiro.plist".
#include <QVariantMap>
#include <cstdint>

class MyNorm2;

class StatsResourceGenerator {
public:
    // Grid and stride of the normal table, all powers of two so that grid points are exact.
    // With 256 fine steps per table interval one normsDist integrates at most 128 steps,
    // and the trapezoid error stays below 1e-12 relative up to |x| = 37.
    static constexpr double step = 1.0 / 1048576.0;   // 2^-20
    static constexpr double resStep = 1.0 / 4096.0;   // 2^-12
    // The last grid point whose tail is still distinct from its neighbours in double
    // precision; beyond about 38.6 the density itself underflows.
    static constexpr double resLimit = 38.0;
    // Sizes whose coefficients are stored; larger samples compute theirs once when met.
    static constexpr int64_t largestStoredSize = 100;

    // {"norms": 2 P(Z > i resStep) from the C library's erfc, "step", "resStep", "resLimit"}.
    static QVariantMap normRes();
    // {"3": [...], ..., "100": [...]} computed with `norms`.
    static QVariantMap shapiroRes(MyNorm2* norms);
};
