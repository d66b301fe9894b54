#include "StatsResourceGenerator.h"

#include "stats/MyNorm2.h"
#include "stats/MyShapiro.h"

#include <QVariantList>
#include <cmath>

QVariantMap StatsResourceGenerator::normRes()
{
    const int64_t count = std::llround(resLimit / resStep) + 1;
    QVariantList norms;
    norms.reserve(count);
    // In extended precision the argument z / sqrt(2) keeps its digits even far out.
    const long double rootHalf = std::sqrt(0.5L);
    for (int64_t i = 0; i < count; ++i)
        norms << double(std::erfc((long double)(i) * (long double)(resStep) * rootHalf));
    return {
        {QStringLiteral("norms"), norms},
        {QStringLiteral("step"), step},
        {QStringLiteral("resStep"), resStep},
        {QStringLiteral("resLimit"), resLimit},
    };
}

QVariantMap StatsResourceGenerator::shapiroRes(MyNorm2* norms)
{
    MyShapiro shapiro(norms, QVariantMap());
    MyShapiro::CoefficientTable table;
    for (int64_t n = 3; n <= largestStoredSize; ++n)
        table.emplace(n, n == 3 ? shapiro.coefficient(3) : shapiro.computeCoefficients(n));
    return MyShapiro::resourceFrom(table);
}
