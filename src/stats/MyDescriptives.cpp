#include "stats/MyDescriptives.h"

#include "stats/AscendingValues.h"
#include "stats/CompensatedSum.h"
#include "stats/UnitScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
std::optional<double> present(double v)
{
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

bool allFinite(const std::vector<double>& values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// The finite values: the argument itself when they all are, so that it is not copied.
const std::vector<double>& finiteOnly(const std::vector<double>& values, std::vector<double>& storage)
{
    if (allFinite(values))
        return values;
    storage = MyDescriptives::finiteValues(values);
    return storage;
}

MyDescriptives::Variances variancesOf(double ss, int64_t n)
{
    MyDescriptives::Variances r;
    r.varianceP = ss / double(n);
    r.variance = ss / double(n - 1);
    r.stdevP = std::sqrt(r.varianceP);
    r.stdev = std::sqrt(r.variance);
    return r;
}

struct PowerSums {
    double m3 = 0.0, m4 = 0.0;
};

// Sums of the third and fourth powers of the deviations x scale - centre - shift.
PowerSums powerSums(const std::vector<double>& values, double centre, double shift, double scale = 1.0)
{
    CompensatedSum m3;
    CompensatedSum m4;
    // Products, not std::pow: pow costs ~100 ns a call once Qt's hashing has dirtied the AVX
    // state, and these sums run over every value of every category.
    for (double v : values) {
        const double d = (v * scale - centre) - shift;
        const double d2 = d * d;
        m3.add(d2 * d);
        m4.add(d2 * d2);
    }
    return {m3.value(), m4.value()};
}

MyDescriptives::Moments momentsOf(PowerSums sums, int64_t n, double stdevP, double stdev)
{
    const double nd = double(n);
    const double sP2 = stdevP * stdevP;
    const double s2 = stdev * stdev;
    MyDescriptives::Moments r;
    r.skP = present(sums.m3 / (sP2 * stdevP) / nd);
    r.kuP = present(sums.m4 / (sP2 * sP2) / nd - 3.0);
    if (n >= 3)
        r.sk = present((sums.m3 / (s2 * stdev)) * nd / double((n - 1) * (n - 2)));
    if (n >= 4)
        r.ku = present(((nd + 1.0) * nd / (nd - 1.0) / (nd - 2.0) / (nd - 3.0)) * sums.m4 / (s2 * s2)
                       + (-3.0 * (nd - 1.0) * (nd - 1.0) / (nd - 2.0) / (nd - 3.0)));
    return r;
}

// A summary of values times 2^e brought back to the values' own scale; a variance beyond the
// range of doubles is absent, one below it is 0 or subnormal as it rounds.
MyDescriptives::VarianceSummary unscaled(MyDescriptives::VarianceSummary s, int e)
{
    if (e == 0)
        return s;
    auto back = [](std::optional<double>& v, int exponent) {
        if (v)
            v = present(std::ldexp(*v, exponent));
    };
    back(s.mean, -e);
    back(s.varianceP, -2 * e);
    back(s.variance, -2 * e);
    back(s.stdevP, -e);
    back(s.stdev, -e);
    return s;
}
}

std::vector<double> MyDescriptives::finiteValues(const std::vector<double>& values)
{
    std::vector<double> out;
    out.reserve(values.size());
    std::copy_if(values.begin(), values.end(), std::back_inserter(out),
                 [](double v) { return std::isfinite(v); });
    return out;
}

double MyDescriptives::mean(const std::vector<double>& values, int64_t n) const
{
    CompensatedSum sum;
    for (double v : values)
        sum.add(v);
    return sum.dividedBy(double(n));
}

MyDescriptives::Variances MyDescriptives::variances(const std::vector<double>& values, int64_t n,
                                                    double mean) const
{
    CompensatedSum ss;
    for (double v : values)
        ss.add((v - mean) * (v - mean));
    return variancesOf(ss.value(), n);
}

// The mean is rounded, so the deviations from it sum to n times its rounding error, which
// the squares and the moments take out. On data with a large common offset (1e9 + small
// values) that error is most of a small variance.
MyDescriptives::Centre MyDescriptives::centreOf(const std::vector<double>& finite, double scale)
{
    Centre c;
    if (finite.empty())
        return c;
    const double n = double(finite.size());
    CompensatedSum sum;
    for (double v : finite)
        sum.add(v * scale);
    c.mean = sum.dividedBy(n);
    CompensatedSum deviations;
    CompensatedSum squares;
    for (double v : finite) {
        const double d = v * scale - c.mean;
        deviations.add(d);
        squares.add(d * d);
    }
    c.shift = deviations.dividedBy(n);
    c.squares = std::max(squares.value() - n * c.shift * c.shift, 0.0);
    return c;
}

MyDescriptives::Centred MyDescriptives::centre(const std::vector<double>& finite, bool equal, double scale) const
{
    Centred c;
    c.allEqual = equal && !finite.empty();
    if (c.allEqual)
        c.centre.mean = finite.front() * scale;
    else
        c.centre = centreOf(finite, scale);
    return c;
}

MyDescriptives::VarianceSummary MyDescriptives::summary(const std::vector<double>& finite,
                                                        const Centred& centred) const
{
    VarianceSummary s;
    s.n = int64_t(finite.size());
    if (s.n == 0)
        return s;
    s.mean = present(centred.centre.mean);
    if (s.n == 1 || centred.allEqual) {
        s.varianceP = 0.0;
        s.stdevP = 0.0;
        if (s.n >= 2) {
            s.variance = 0.0;
            s.stdev = 0.0;
        }
        return s;
    }
    const Variances v = variancesOf(centred.centre.squares, s.n);
    s.varianceP = present(v.varianceP);
    s.variance = present(v.variance);
    s.stdevP = present(v.stdevP);
    s.stdev = present(v.stdev);
    return s;
}

MyDescriptives::VarianceSummary MyDescriptives::variancesFromValues(const std::vector<double>& values) const
{
    const ScaledSummary s = scaledVariancesFromValues(values);
    return unscaled(s.summary, s.exponent);
}

MyDescriptives::ScaledSummary MyDescriptives::scaledVariancesFromValues(const std::vector<double>& values) const
{
    std::vector<double> storage;
    const std::vector<double>& finite = finiteOnly(values, storage);
    const auto [lo, hi] = std::minmax_element(finite.begin(), finite.end());
    const int e = finite.empty() ? 0 : UnitScale::exponentOf(*lo, *hi);
    return {summary(finite, centre(finite, lo != finite.end() && *lo == *hi, std::ldexp(1.0, e))), e};
}

double MyDescriptives::median(const std::vector<double>& sorted, int64_t n) const
{
    n = std::min<int64_t>(n, int64_t(sorted.size()));
    if (n < 1)
        return std::numeric_limits<double>::quiet_NaN();
    if (n % 2 == 1)
        return sorted[size_t((n - 1) / 2)];
    const double a = sorted[size_t(n / 2 - 1)], b = sorted[size_t(n / 2)];
    const double m = (a + b) * 0.5;
    // Two values near the largest double have a sum beyond it.
    return std::isfinite(m) ? m : a * 0.5 + b * 0.5;
}

std::optional<MyDescriptives::Quartiles> MyDescriptives::quartiles(const std::vector<double>& values) const
{
    std::vector<double> storage;
    const std::vector<double>& x = AscendingValues::of(values, storage);
    if (x.empty())
        return std::nullopt;
    return quartilesOfAscending(x);
}

MyDescriptives::Quartiles MyDescriptives::quartilesOfAscending(const std::vector<double>& x) const
{
    const int64_t n = int64_t(x.size());
    const auto at = [&x](int64_t i) { return x[size_t(i)]; };
    Quartiles r;
    switch (n % 4) {
    case 0: {
        const int64_t k = n / 4;
        r.q1 = (at(k - 1) + at(k)) * 0.5;
        r.q3 = (at(3 * k - 1) + at(3 * k)) * 0.5;
        break;
    }
    case 1: {
        const int64_t k = (n - 1) / 4;
        r.q1 = at(k);
        r.q3 = at(3 * k);
        break;
    }
    case 2: {
        const int64_t k = (n - 2) / 4;
        r.q1 = at(k);
        r.q3 = at(3 * k + 1);
        break;
    }
    default: {
        const int64_t k = (n - 3) / 4;
        r.q1 = (at(k) + at(k + 1)) * 0.5;
        r.q3 = (at(3 * k + 1) + at(3 * k + 2)) * 0.5;
        break;
    }
    }
    const double step = (r.q3 - r.q1) * 1.5;
    const double lowerFence = r.q1 - step;
    const double upperFence = r.q3 + step;
    bool lowerFound = false;
    bool upperFound = false;
    r.upperWhisker = x.back();
    for (int64_t i = 0; i < n; ++i) {
        const double v = at(i);
        if (v < lowerFence) {
            r.outliers.push_back(v);
        } else if (!lowerFound) {
            r.lowerWhisker = v;
            lowerFound = true;
        }
        if (v > upperFence) {
            r.outliers.push_back(v);
            if (!upperFound) {
                r.upperWhisker = at(i - 1);
                upperFound = true;
            }
        }
    }
    r.median = median(x, n);
    return r;
}

MyDescriptives::Moments MyDescriptives::skewKurt(const std::vector<double>& values, int64_t n,
                                                 double mean, double stdevP, double stdev) const
{
    return momentsOf(powerSums(values, mean, 0.0), n, stdevP, stdev);
}

std::pair<int64_t, DescriptivesDict> MyDescriptives::descriptives(const std::vector<double>& values) const
{
    // The sums run over the values in their given order, whatever the sorting below.
    std::vector<double> finiteStorage, sortedStorage;
    const bool ready = AscendingValues::finiteAndAscending(values);
    const std::vector<double>& finite = ready ? values : finiteOnly(values, finiteStorage);
    if (finite.empty())
        return {0, DescriptivesDict{}};
    const std::vector<double>& sorted = ready ? values : AscendingValues::of(finite, sortedStorage);
    // The sums run over the values brought to the order of 1 (UnitScale): squares and fourth
    // powers of values near 1e-300 or 1e300 neither underflow nor overflow.
    const int e = UnitScale::exponentOf(sorted.front(), sorted.back());
    const double scale = std::ldexp(1.0, e);
    const Centred centred = centre(finite, sorted.front() == sorted.back(), scale);
    // Skewness and kurtosis are free of scale: from the scaled sums as they are.
    const VarianceSummary scaled = summary(finite, centred);
    const VarianceSummary s = unscaled(scaled, e);
    DescriptivesDict d;
    d.min = sorted.front();
    d.max = sorted.back();
    d.median = median(sorted, s.n);
    d.mean = s.mean;
    d.varianceP = s.varianceP;
    d.variance = s.variance;
    d.stdevP = s.stdevP;
    d.stdev = s.stdev;
    // Equal values have no shape: skewness and kurtosis stay absent.
    if (s.n >= 2 && !centred.allEqual && scaled.stdevP && scaled.stdev) {
        const Moments m = momentsOf(powerSums(finite, centred.centre.mean, centred.centre.shift, scale), s.n,
                                    *scaled.stdevP, *scaled.stdev);
        d.skP = m.skP;
        d.sk = m.sk;
        d.kuP = m.kuP;
        d.ku = m.ku;
    }
    return {s.n, d};
}

MyDescriptives::BoxValues MyDescriptives::boxValues(const std::vector<double>& sortedValues,
                                                    const QString& graphType) const
{
    std::vector<double> storage;
    const std::vector<double>& x = AscendingValues::of(sortedValues, storage);
    BoxValues r;
    r.dict.scatter = graphType == QLatin1String("scatter");
    if (x.empty())
        return r;
    if (r.dict.scatter) {
        r.dict.mean = present(x.front() == x.back() ? x.front() : mean(x, int64_t(x.size())));
        r.dict.median = median(x, int64_t(x.size()));
        return r;
    }
    Quartiles q = quartilesOfAscending(x);
    r.dict.median = q.median;
    r.dict.q1 = q.q1;
    r.dict.q3 = q.q3;
    r.dict.boxMin = q.lowerWhisker;
    r.dict.boxMax = q.upperWhisker;
    r.outliers = std::move(q.outliers);
    return r;
}
