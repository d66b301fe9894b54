// Both normality tests give on c x + d what they give on x, and the descriptives scale with c,
// for c from 1e-318 to 1e300: there sums of squares of the values themselves would underflow
// to 0 or overflow to infinity (W or p came out as nan, a standard deviation as 0 or none).
// Below 2^-1022 the scaled values keep only some of their bits, so there the statistics are
// also held to those of the very same values brought back to the order of 1 by a power of two.
#include "StatsTestData.h"
#include "stats/MyDescriptives.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyShapiro.h"

#include <functional>

namespace {

// The subnormal ones leave values near 1 about 44 of their bits (1e-310), 34 (2^-1040), 17
// (1e-318) or 6 (2^-1068).
const double kScales[] = {1e-300, 3.7e-250, 1e-160, 1e-80, 1e-20, 1.0, 6.1e22, 1e160, 2.9e250, 1e300, -1e300,
                          1e-310, 0x1p-1040, 1e-318, -1e-318, 0x1p-1068};
const double eps = std::numeric_limits<double>::epsilon();
const double tiny = std::numeric_limits<double>::denorm_min();
const MyDescriptives descriptives;

// Random samples of order 1 of each size: normal, exponential (skewed), Cauchy (one value may
// lie far out) and normal rounded to tenths (ties).
std::vector<std::vector<double>> samples(std::initializer_list<int> sizes, uint64_t seed)
{
    std::mt19937_64 gen(seed);
    std::normal_distribution<double> normal;
    std::exponential_distribution<double> exponential;
    std::cauchy_distribution<double> cauchy;
    const std::function<double()> kinds[] = {[&] { return normal(gen); }, [&] { return exponential(gen); },
                                             [&] { return cauchy(gen); }, [&] { return std::round(normal(gen) * 10) / 10; }};
    std::vector<std::vector<double>> out;
    for (int n : sizes)
        for (const std::function<double()>& draw : kinds)
            std::generate_n(std::back_inserter(out.emplace_back()), n, draw);
    return out;
}

std::vector<double> scaled(std::vector<double> x, double c, double offset)
{
    for (double& v : x)
        v = c * v + c * offset;
    return x;
}

// y times the power of two 2^k that brings its largest magnitude into [1, 2). Every value stays
// a normal double there, so the result holds the very values of y, bit for bit.
std::pair<std::vector<double>, int> atUnitScale(std::vector<double> y)
{
    double largest = 0.0;
    for (double v : y)
        largest = std::max(largest, std::abs(v));
    const int k = -std::ilogb(largest);
    for (double& v : y) {
        const double back = v;
        v = std::ldexp(v, k);
        EXPECT_EQ(std::ldexp(v, -k), back) << "not exact";
    }
    return {y, k};
}

} // namespace

// Shapiro-Wilk and Kolmogorov-Smirnov on c x + c d against x + d: these differ by the rounding
// of the products and sums, a few ulp of the largest value, or below 2^-1022 up to the smallest
// subnormal. On c x + c d against those same values brought to the order of 1 by a power of
// two they differ by nothing but the arithmetic: a few ulp of the result (Kolmogorov-Smirnov
// once standardised subnormal values in their own units and drifted in the 5th digit). Equal
// values have no result.
TEST(ScaleFree, NormalityTestsOnScaledAndShiftedSamples)
{
    MyShapiro shapiro(&norms());
    const MyKolmogorov ks(&descriptives, &norms());
    using Test = std::function<std::optional<NormalityResult>(const std::vector<double>&)>;
    const std::tuple<const char*, Test, std::vector<std::vector<double>>> tests[] = {
        {"S-W", [&](const std::vector<double>& v) { return shapiro.shapiroWilkTest(v); },
         samples({3, 4, 5, 9, 11, 12, 40, 600, 5000}, 7)},
        {"K-S", [&](const std::vector<double>& v) { return ks.ksTest(v, "norms"); }, samples({2, 7, 100, 1000, 5001}, 11)}};
    for (const auto& [name, test, all] : tests)
        for (const std::vector<double>& x : all)
            for (double d : {0.0, 2.5, -300.0}) {
                const std::vector<double> shifted = scaled(x, 1.0, d);
                const auto [lo, hi] = std::minmax_element(shifted.begin(), shifted.end());
                // How far rounding may move the values, in units of their range.
                const double largest = std::max(std::abs(*lo), std::abs(*hi));
                const std::optional<NormalityResult> reference = test(shifted);
                ASSERT_TRUE(reference && std::isfinite(reference->statistic) && std::isfinite(reference->p));
                for (double c : kScales) {
                    SCOPED_TRACE(testing::Message() << name << ", n = " << x.size() << ", c = " << c << ", d = " << d);
                    // c x + c d rounds each value by up to 1.5 subnormal steps besides.
                    const double moved = (8.0 * eps * largest + 2.0 * tiny / std::abs(c)) / (*hi - *lo);
                    const double nan = std::numeric_limits<double>::quiet_NaN();
                    const std::vector<double> y = scaled(x, c, d);
                    const NormalityResult r = test(y).value_or(NormalityResult{nan, nan});
                    // 1 - W near 0 (large normal samples) carries the rounding into p many times over.
                    EXPECT_NEAR(r.statistic, reference->statistic, 1e3 * moved + 4.0 * eps);
                    EXPECT_NEAR(r.p, reference->p, 1e6 * moved + 16.0 * eps);
                    const NormalityResult same = test(atUnitScale(y).first).value_or(NormalityResult{nan, nan});
                    EXPECT_NEAR(r.statistic, same.statistic, 4.0 * eps);
                    EXPECT_NEAR(r.p, same.p, 16.0 * eps);
                    EXPECT_FALSE(test(std::vector<double>(7, c)));
                }
            }
}

// Of c x: the mean c times that of x, standard deviations |c| times and variances c^2 times
// theirs where that is a double (absent beyond it), skewness and kurtosis the same (skewness
// mirrored by a negative c). Below 2^-1022, where c x keeps only some bits of x, these are
// also those of the same values at the order of 1, brought back by the power of two.
TEST(ScaleFree, DescriptivesOnScaledSamples)
{
    for (const std::vector<double>& x : samples({2, 3, 4, 9, 50, 1001}, 5)) {
        const DescriptivesDict own = descriptives.descriptives(x).second;
        const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
        for (double c : kScales) {
            SCOPED_TRACE(testing::Message() << "n = " << x.size() << ", c = " << c);
            const std::vector<double> y = scaled(x, c, 0.0);
            const DescriptivesDict d = descriptives.descriptives(y).second;
            const double a = std::abs(c), sign = c < 0 ? -1.0 : 1.0;
            ASSERT_TRUE(d.mean);
            // Subnormal c x is off by up to half a subnormal step, and so is its mean.
            EXPECT_NEAR(*d.mean, c * *own.mean, 8 * eps * a * std::max(std::abs(*lo), std::abs(*hi)) + tiny);
            for (const auto& [v, v0, power] : {std::tuple{d.stdevP, own.stdevP, 1}, std::tuple{d.stdev, own.stdev, 1},
                                               std::tuple{d.varianceP, own.varianceP, 2}, std::tuple{d.variance, own.variance, 2}}) {
                const double expected = power == 1 ? a * *v0 : (a * std::sqrt(*v0)) * (a * std::sqrt(*v0));
                if (std::isinf(expected)) {
                    EXPECT_FALSE(v) << "beyond the doubles";
                } else {
                    EXPECT_NEAR(v.value_or(-1.0), expected, 1e-12 * expected + 8 * std::numeric_limits<double>::denorm_min());
                }
            }
            // Values moved by up to delta (in units of x) move each standardised value u by up to
            // (2 + 1.5 |u|) delta / sd, so skewness by up to (6 + 4.5 E|u|^3) and kurtosis by up to
            // (8 E|u|^3 + 6 E u^4) times delta / sd, to first order. With E|u|^3 <= E u^4 = kuP + 3
            // both lie within 14 (kuP + 4) delta / sd, the sample forms within 16 times that (n = 4).
            const double shaken = 16.0 * 14.0 * (own.kuP.value_or(0.0) + 4.0) * (tiny / a) / *own.stdevP;
            for (const auto& [m, m0, factor] : {std::tuple{d.skP, own.skP, sign}, std::tuple{d.sk, own.sk, sign},
                                                std::tuple{d.kuP, own.kuP, 1.0}, std::tuple{d.ku, own.ku, 1.0}}) {
                EXPECT_EQ(m.has_value(), m0.has_value());
                EXPECT_NEAR(m.value_or(0.0), factor * m0.value_or(0.0), 1e-11 * (1.0 + std::abs(m0.value_or(0.0))) + shaken);
            }
            // The same values at the order of 1: statistics scaled by the power of two (rounding
            // once more to the subnormal steps), skewness and kurtosis within the arithmetic.
            const auto [unit, k] = atUnitScale(y);
            const DescriptivesDict u = descriptives.descriptives(unit).second;
            EXPECT_NEAR(*d.mean, std::ldexp(*u.mean, -k), 4 * eps * std::abs(*d.mean) + tiny);
            for (const auto& [v, v0, power] : {std::tuple{d.stdevP, u.stdevP, 1}, std::tuple{d.stdev, u.stdev, 1},
                                               std::tuple{d.varianceP, u.varianceP, 2}, std::tuple{d.variance, u.variance, 2}}) {
                const double expected = std::ldexp(*v0, -power * k);
                if (std::isfinite(expected)) {
                    EXPECT_NEAR(v.value_or(-1.0), expected, 4 * eps * expected + tiny);
                }
            }
            for (const auto& [m, m0] : {std::pair{d.skP, u.skP}, std::pair{d.sk, u.sk}, std::pair{d.kuP, u.kuP}, std::pair{d.ku, u.ku}}) {
                EXPECT_EQ(m.has_value(), m0.has_value());
                EXPECT_NEAR(m.value_or(0.0), m0.value_or(0.0), 64 * eps * (1.0 + std::abs(m0.value_or(0.0))));
            }
        }
    }
}

// Two values near the largest double: their mean and median lie between them, though their
// sum is beyond the doubles.
TEST(ScaleFree, MiddleOfValuesNearTheLargestDouble)
{
    const DescriptivesDict d = descriptives.descriptives({1.5e308, 1.7e308}).second;
    EXPECT_NEAR(d.mean.value_or(0.0), 1.6e308, 1.6e308 * 1e-15);
    EXPECT_NEAR(d.median.value_or(0.0), 1.6e308, 1.6e308 * 1e-15);
    EXPECT_FALSE(d.variance) << "4e614 / 2 is beyond the doubles";
}
