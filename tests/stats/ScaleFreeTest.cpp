// Both normality tests give on c x + d what they give on x, and the descriptives scale with c,
// for c from 1e-300 to 1e300: there sums of squares of the values themselves would underflow
// to 0 or overflow to infinity (W or p came out as nan, a standard deviation as 0 or none).
#include "StatsTestData.h"
#include "stats/MyDescriptives.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyShapiro.h"

#include <functional>

namespace {

const double kScales[] = {1e-300, 3.7e-250, 1e-160, 1e-80, 1e-20, 1.0, 6.1e22, 1e160, 2.9e250, 1e300, -1e300};
const double eps = std::numeric_limits<double>::epsilon();
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

} // namespace

// Shapiro-Wilk and Kolmogorov-Smirnov on c x + c d against x + d: these differ by the rounding
// of the products and sums, a few ulp of the largest value. Equal values have no result.
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
                const double moved = 8.0 * eps * std::max(std::abs(*lo), std::abs(*hi)) / (*hi - *lo);
                const std::optional<NormalityResult> reference = test(shifted);
                ASSERT_TRUE(reference && std::isfinite(reference->statistic) && std::isfinite(reference->p));
                for (double c : kScales) {
                    SCOPED_TRACE(testing::Message() << name << ", n = " << x.size() << ", c = " << c << ", d = " << d);
                    const double nan = std::numeric_limits<double>::quiet_NaN();
                    const NormalityResult r = test(scaled(x, c, d)).value_or(NormalityResult{nan, nan});
                    // 1 - W near 0 (large normal samples) carries the rounding into p many times over.
                    EXPECT_NEAR(r.statistic, reference->statistic, 1e3 * moved + 4.0 * eps);
                    EXPECT_NEAR(r.p, reference->p, 1e6 * moved + 16.0 * eps);
                    EXPECT_FALSE(test(std::vector<double>(7, c)));
                }
            }
}

// Of c x: the mean c times that of x, standard deviations |c| times and variances c^2 times
// theirs where that is a double (absent beyond it), skewness and kurtosis the same (skewness
// mirrored by a negative c).
TEST(ScaleFree, DescriptivesOnScaledSamples)
{
    for (const std::vector<double>& x : samples({2, 3, 4, 9, 50, 1001}, 5)) {
        const DescriptivesDict own = descriptives.descriptives(x).second;
        const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
        for (double c : kScales) {
            SCOPED_TRACE(testing::Message() << "n = " << x.size() << ", c = " << c);
            const DescriptivesDict d = descriptives.descriptives(scaled(x, c, 0.0)).second;
            const double a = std::abs(c), sign = c < 0 ? -1.0 : 1.0;
            ASSERT_TRUE(d.mean);
            EXPECT_NEAR(*d.mean, c * *own.mean, 8 * eps * a * std::max(std::abs(*lo), std::abs(*hi)));
            for (const auto& [v, v0, power] : {std::tuple{d.stdevP, own.stdevP, 1}, std::tuple{d.stdev, own.stdev, 1},
                                               std::tuple{d.varianceP, own.varianceP, 2}, std::tuple{d.variance, own.variance, 2}}) {
                const double expected = power == 1 ? a * *v0 : (a * std::sqrt(*v0)) * (a * std::sqrt(*v0));
                if (std::isinf(expected)) {
                    EXPECT_FALSE(v) << "beyond the doubles";
                } else {
                    EXPECT_NEAR(v.value_or(-1.0), expected, 1e-12 * expected + 8 * std::numeric_limits<double>::denorm_min());
                }
            }
            for (const auto& [m, m0, factor] : {std::tuple{d.skP, own.skP, sign}, std::tuple{d.sk, own.sk, sign},
                                                std::tuple{d.kuP, own.kuP, 1.0}, std::tuple{d.ku, own.ku, 1.0}}) {
                EXPECT_EQ(m.has_value(), m0.has_value());
                EXPECT_NEAR(m.value_or(0.0), factor * m0.value_or(0.0), 1e-11 * (1.0 + std::abs(m0.value_or(0.0))));
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
