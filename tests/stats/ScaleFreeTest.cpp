// Both normality tests are free of location and scale: on c x + d they give what they give on
// x, for c from 1e-300 to 1e300, where the sums of squares of the values themselves would
// underflow to 0 or overflow to infinity (and W or p came out as nan). The descriptive
// statistics scale with c as they should.
#include "StatsTestData.h"
#include "stats/MyDescriptives.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyShapiro.h"

#include <functional>

namespace {

using NormalityTest = std::function<std::optional<NormalityResult>(const std::vector<double>&)>;

// Random samples of order 1 of each size: normal, skewed (exponential), heavy-tailed (Cauchy,
// so one value may lie far out) and rounded to tenths (ties).
std::vector<std::vector<double>> samples(std::initializer_list<int> sizes, uint64_t seed)
{
    std::mt19937_64 gen(seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::exponential_distribution<double> exponential(1.0);
    std::cauchy_distribution<double> cauchy(0.0, 1.0);
    std::vector<std::vector<double>> out;
    for (int n : sizes)
        for (int kind = 0; kind < 4; ++kind) {
            std::vector<double> x(static_cast<size_t>(n));
            for (double& v : x)
                v = kind == 0 ? normal(gen)
                  : kind == 1 ? exponential(gen)
                  : kind == 2 ? cauchy(gen)
                              : std::round(normal(gen) * 10.0) / 10.0;
            out.push_back(std::move(x));
        }
    return out;
}

// Scale c and location d = c * offset: the sample c x + c offset against x + offset, which
// differ only by the rounding of the products and sums, a few ulp of the largest value.
void expectFreeOfScale(const NormalityTest& test, const std::vector<std::vector<double>>& all)
{
    const double scales[] = {1e-300, 3.7e-250, 1e-160, 1e-20, 1.0, 6.1e22, 1e160, 2.9e250, 1e300, -1e300};
    const double offsets[] = {0.0, 2.5, -300.0};
    const double eps = std::numeric_limits<double>::epsilon();
    for (const std::vector<double>& x : all)
        for (double offset : offsets) {
            std::vector<double> shifted(x.size());
            std::transform(x.begin(), x.end(), shifted.begin(), [offset](double v) { return v + offset; });
            const auto [lo, hi] = std::minmax_element(shifted.begin(), shifted.end());
            const double largest = std::max(std::abs(*lo), std::abs(*hi));
            // How far rounding may move the values, in units of their range.
            const double moved = 8.0 * eps * largest / (*hi - *lo);
            const std::optional<NormalityResult> reference = test(shifted);
            ASSERT_TRUE(reference && std::isfinite(reference->statistic) && std::isfinite(reference->p));
            for (double c : scales) {
                SCOPED_TRACE(testing::Message() << "n = " << x.size() << ", c = " << c << ", offset = " << offset);
                std::vector<double> y(x.size());
                std::transform(x.begin(), x.end(), y.begin(), [c, offset](double v) { return c * v + c * offset; });
                const std::optional<NormalityResult> r = test(y);
                ASSERT_TRUE(r.has_value());
                // p moves more than W where W is near 1 (large normal samples): 1 - W is then
                // small and carries the rounding, some 4e4 times moved at worst here.
                EXPECT_NEAR(r->statistic, reference->statistic, 1e3 * moved + 4.0 * eps);
                EXPECT_NEAR(r->p, reference->p, 1e6 * moved + 16.0 * eps);
            }
        }
}

const MyDescriptives descriptives;

} // namespace

TEST(ScaleFree, ShapiroWilkOnScaledAndShiftedSamples)
{
    MyShapiro engine(&norms());
    expectFreeOfScale([&](const std::vector<double>& v) { return engine.shapiroWilkTest(v); },
                      samples({3, 4, 5, 9, 11, 12, 40, 600, 5000}, 7));
}

TEST(ScaleFree, KolmogorovSmirnovOnScaledAndShiftedSamples)
{
    const MyKolmogorov engine(&descriptives, &norms());
    expectFreeOfScale([&](const std::vector<double>& v) { return engine.ksTest(v, "norms"); },
                      samples({2, 7, 100, 1000, 5001}, 11));
}

// Where a test has no result it has none on any scale: equal values, however small or large.
TEST(ScaleFree, EqualValuesHaveNoResultOnAnyScale)
{
    MyShapiro shapiro(&norms());
    const MyKolmogorov ks(&descriptives, &norms());
    for (double v : {1e-300, 4.9e-324, 1.0, 1e300, -1.7e308}) {
        EXPECT_FALSE(shapiro.shapiroWilkTest(std::vector<double>(7, v))) << v;
        EXPECT_FALSE(ks.ksTest(std::vector<double>(7, v), "norms")) << v;
    }
}

// Descriptives of c x: mean, median and standard deviations c times those of x, variances c^2
// times theirs where that is a double (absent beyond the largest, rounded into the subnormal
// range below the smallest), skewness and kurtosis the same. Squares and fourth powers of the
// values themselves would be 0 near 1e-300 (a standard deviation of 0), subnormal near 1e-80
// (no kurtosis) and infinite near 1e300 (no standard deviation at all).
TEST(ScaleFree, DescriptivesOnScaledSamples)
{
    const double scales[] = {1e-300, 2.2e-250, 1e-160, 1e-80, 1e-20, 1.0, 3e40, 1e80, 1e160, 5.5e250, 1e300, -1e300};
    const double eps = std::numeric_limits<double>::epsilon(), tiny = std::numeric_limits<double>::denorm_min();
    for (const std::vector<double>& x : samples({2, 3, 4, 9, 50, 1001}, 5)) {
        const auto [n, d0] = descriptives.descriptives(x);
        const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
        const double largest = std::max(std::abs(*lo), std::abs(*hi));
        for (double c : scales) {
            SCOPED_TRACE(testing::Message() << "n = " << x.size() << ", c = " << c);
            std::vector<double> y(x.size());
            std::transform(x.begin(), x.end(), y.begin(), [c](double v) { return c * v; });
            const DescriptivesDict d = descriptives.descriptives(y).second;
            const double a = std::abs(c);
            ASSERT_TRUE(d.mean && d.median && d.stdevP && d.stdev && d0.mean && d0.stdev);
            // Location: within rounding of the largest value.
            EXPECT_NEAR(*d.mean, c * *d0.mean, 8 * eps * a * largest);
            EXPECT_NEAR(*d.median, c * *d0.median, 8 * eps * a * largest);
            for (const auto& [scaled, own] : {std::pair{d.stdevP, d0.stdevP}, std::pair{d.stdev, d0.stdev}})
                EXPECT_NEAR(*scaled, a * *own, 1e-12 * a * *own);
            for (const auto& [scaled, own] : {std::pair{d.varianceP, d0.varianceP}, std::pair{d.variance, d0.variance}}) {
                const double expected = (a * std::sqrt(*own)) * (a * std::sqrt(*own));
                if (std::isinf(expected)) {
                    EXPECT_FALSE(scaled) << "a variance beyond the doubles";
                } else {
                    ASSERT_TRUE(scaled);
                    EXPECT_NEAR(*scaled, expected, 1e-12 * expected + 8 * tiny);
                }
            }
            // Shape: the same, mirrored by a negative scale.
            const double sign = c < 0 ? -1.0 : 1.0;
            for (const auto& [scaled, own, mirrored] : {std::tuple{d.skP, d0.skP, true}, std::tuple{d.sk, d0.sk, true},
                                                        std::tuple{d.kuP, d0.kuP, false}, std::tuple{d.ku, d0.ku, false}}) {
                ASSERT_EQ(scaled.has_value(), own.has_value());
                if (own) {
                    EXPECT_NEAR(*scaled, (mirrored ? sign : 1.0) * *own, 1e-11 * (1.0 + std::abs(*own)));
                }
            }
        }
    }
}

// Two values near the largest double: their mean and median lie between them, though their
// sum is beyond the doubles.
TEST(ScaleFree, MiddleOfValuesNearTheLargestDouble)
{
    const DescriptivesDict d = descriptives.descriptives({1.5e308, 1.7e308}).second;
    ASSERT_TRUE(d.mean && d.median && d.stdev);
    EXPECT_NEAR(*d.mean, 1.6e308, 1.6e308 * 1e-15);
    EXPECT_NEAR(*d.median, 1.6e308, 1.6e308 * 1e-15);
    // Sample standard deviation of two values: their distance over the root of 2.
    EXPECT_NEAR(*d.stdev, 0.2e308 / std::sqrt(2.0), 0.2e308 * 1e-14);
    EXPECT_FALSE(d.variance) << "4e614 / 2 is beyond the doubles";
}
