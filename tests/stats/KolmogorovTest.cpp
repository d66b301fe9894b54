#include "StatsTestData.h"
#include "stats/MyDescriptives.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyNorm2.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {
const MyNorm2& norms()
{
    static const MyNorm2 norm;
    return norm;
}
const MyDescriptives descriptives;

const MyKolmogorov& engine()
{
    static const MyKolmogorov ks(&descriptives, &norms());
    return ks;
}

struct Case {
    int64_t n;
    double d;
    double p;
};

std::vector<Case> cases()
{
    std::vector<Case> out;
    for (const QStringList& row : StatsTestData::rows("kolmogorov.tsv"))
        out.push_back({row[0].toLongLong(), StatsTestData::number(row[1]), StatsTestData::number(row[2])});
    return out;
}

class KolmogorovReference : public ::testing::TestWithParam<Case> {};

// Values whose arithmetic rounds alike in every language, as in the reference generator:
// sums of Weyl sequences i * frac(sqrt(prime)) mod 1, an Irwin-Hall shape.
std::vector<double> weylSample(int64_t n, int terms)
{
    const double primes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
    std::vector<double> steps;
    for (int t = 0; t < terms; ++t)
        steps.push_back(std::sqrt(primes[t]) - std::floor(std::sqrt(primes[t])));
    std::vector<double> v;
    for (int64_t i = 1; i <= n; ++i) {
        double s = 0.0;
        for (double a : steps)
            s += std::fmod(double(i) * a, 1.0);
        v.push_back(s);
    }
    return v;
}
}

TEST_P(KolmogorovReference, UpperTailMatchesTheExactDistribution)
{
    const Case& c = GetParam();
    EXPECT_NEAR(engine().ksFbar(c.d, c.n), c.p, 1e-9) << "n = " << c.n << ", d = " << c.d;
    EXPECT_NEAR(engine().ksCdf(c.d, c.n), 1.0 - c.p, 1e-9) << "n = " << c.n << ", d = " << c.d;
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, KolmogorovReference, ::testing::ValuesIn(cases()));

TEST(Kolmogorov, SmallDistributionValuesKeepTheirDigits)
{
    // Where P(Dn <= d) is small, against values computed exactly: relative, not absolute.
    // Near 0 above 171 values, n! alone would overflow.
    int checked = 0;
    for (const QStringList& row : StatsTestData::rows("ks_cdf.tsv")) {
        const int64_t n = row[0].toLongLong();
        const double d = StatsTestData::number(row[1]);
        const double exact = StatsTestData::number(row[2]);
        EXPECT_NEAR(engine().ksCdf(d, n), exact, 1e-11 * exact) << "n = " << n << ", d = " << d;
        ++checked;
    }
    EXPECT_GT(checked, 40);
}

TEST(Kolmogorov, UpperTailFallsSteadilyAcrossEveryMethodSwitch)
{
    // Sizes on either side of the switches between methods, swept in n d^2 through all of them.
    for (int64_t n : {500, 501, 4001, 9001}) {
        double previous = 1.0;
        for (double w = 0.01; w < 6.0; w += 0.06) {
            const double p = engine().ksFbar(std::sqrt(w / double(n)), n);
            EXPECT_LE(p, previous) << "n = " << n << ", n d^2 = " << w;
            EXPECT_GE(p, 0.0);
            previous = p;
        }
    }
}

TEST(Kolmogorov, EdgesOfTheRangeAndHelpers)
{
    const MyKolmogorov& ks = engine();
    EXPECT_EQ(ks.ksCdf(0.05, 10), 0.0);
    EXPECT_EQ(ks.ksCdf(1.0, 10), 1.0);
    EXPECT_EQ(ks.ksCdf(0.5, 100), 1.0);  // n d^2 >= 18
    EXPECT_DOUBLE_EQ(ks.ksCdf(0.95, 10), 1.0 - 2.0 * std::pow(0.05, 10));
    EXPECT_EQ(ks.ksFbar(0.7, 1000), 0.0);   // n d^2 >= 370
    EXPECT_EQ(ks.ksFbar(0.005, 1000), 1.0); // n d^2 <= 0.0274
    EXPECT_NEAR(ks.log1p(1e-5), std::log1p(1e-5), 1e-20);
    EXPECT_NEAR(ks.log1p(-0.5), std::log1p(-0.5), 1e-16);
    EXPECT_EQ(MyKolmogorov::halvingChain(10), (std::vector<int64_t>{2, 5, 10}));
}

TEST(Kolmogorov, LogFactorialsMatchExactValues)
{
    // The table to the last bit or so, the series beyond it to its truncated constants.
    int checked = 0;
    for (const QStringList& row : StatsTestData::rows("ln_fact.tsv")) {
        const int64_t k = row[0].toLongLong();
        const double exact = StatsTestData::number(row[1]);
        if (k <= 30) {
            EXPECT_NEAR(engine().lnFact()[size_t(k)], exact, 2.3e-16 * exact) << k;
        }
        EXPECT_NEAR(engine().logFact(k), exact, 4e-15 * std::max(1.0, exact)) << k;
        ++checked;
    }
    EXPECT_EQ(checked, 38);
}

TEST(Kolmogorov, StatisticTakesBothSidesOfEachStep)
{
    const MyKolmogorov& ks = engine();
    // One value at 0.9: the empirical step from 0 to 1 at 0.9 is 0.9 away below it.
    EXPECT_DOUBLE_EQ(ks.ksStatistic({0.9}).statistic, 0.9);
    EXPECT_DOUBLE_EQ(ks.ksStatistic({0.1, 0.2, 0.3}).statistic, 1.0 - 0.3);
}

TEST(Kolmogorov, TestOfSamplesAgainstTheReference)
{
    int checked = 0;
    for (const QStringList& row : StatsTestData::rows("kstest.tsv")) {
        const std::vector<double> v = weylSample(row[0].toLongLong(), row[1].toInt());
        const std::optional<NormalityResult> r = engine().ksTest(v, "norms");
        ASSERT_TRUE(r.has_value());
        EXPECT_NEAR(r->statistic, StatsTestData::number(row[2]), 1e-13);
        EXPECT_NEAR(r->p, StatsTestData::number(row[3]), 1e-9);
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

TEST(Kolmogorov, FarOutValuesCountAsTheEndsOfTheDistribution)
{
    // Values some 40 fitted standard deviations out, where the distribution function is 0
    // or 1 in doubles: Dn as computed exactly, p as for that Dn.
    int checked = 0;
    for (const QStringList& row : StatsTestData::rows("ks_far.tsv")) {
        std::vector<double> v = weylSample(row[0].toLongLong(), row[1].toInt());
        for (double far : StatsTestData::numbers(row[2]))
            v.push_back(far);
        const double dn = StatsTestData::number(row[3]);
        const std::optional<NormalityResult> r = engine().ksTest(v, "norms");
        ASSERT_TRUE(r.has_value());
        EXPECT_NEAR(r->statistic, dn, 1e-13);
        const double p = engine().ksFbar(dn, int64_t(v.size()));
        EXPECT_NEAR(r->p, p, 1e-9 * p);
        ++checked;
    }
    EXPECT_EQ(checked, 3);
}

TEST(Kolmogorov, DegenerateAndOrderFreeSamples)
{
    const MyKolmogorov& ks = engine();
    EXPECT_FALSE(ks.ksTest(std::vector<double>(6000, 0.1), "norms").has_value());
    EXPECT_FALSE(ks.ksTest({1.0, 2.0, 3.0}, "exponential").has_value());
    EXPECT_FALSE(ks.ksTest({-1e308, 1e308, 1e308, 5.0}, "norms").has_value());
    const auto one = ks.ksTest({4.0}, "norms");
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->statistic, 0.0);
    EXPECT_EQ(one->p, 1.0);

    std::mt19937_64 gen(3);
    std::normal_distribution<double> dist(5.0, 2.0);
    std::vector<double> v(6000);
    for (double& x : v)
        x = dist(gen);
    const auto a = ks.ksTest(v, "norms");
    std::shuffle(v.begin(), v.end(), gen);
    v.push_back(std::numeric_limits<double>::quiet_NaN());
    v.insert(v.begin(), std::numeric_limits<double>::infinity());
    const auto b = ks.ksTest(v, "norms");
    ASSERT_TRUE(a && b);
    EXPECT_NEAR(a->statistic, b->statistic, 1e-14);
    EXPECT_NEAR(a->p, b->p, 1e-12);
}
