#include "StatsTestData.h"
#include "stats/MyDescriptives.h"
#include "stats/MyKolmogorov.h"

namespace {
const MyDescriptives descriptives;

const MyKolmogorov& ks()
{
    static const MyKolmogorov engine(&descriptives, &norms());
    return engine;
}

// Values whose arithmetic rounds alike in every language, as in the reference generator:
// sums of Weyl sequences i * frac(sqrt(prime)) mod 1, an Irwin-Hall shape.
std::vector<double> weylSample(const QString& n, const QString& terms)
{
    const double primes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
    std::vector<double> v;
    for (int64_t i = 1; i <= n.toLongLong(); ++i) {
        double s = 0.0;
        for (int t = 0; t < terms.toInt(); ++t)
            s += std::fmod(double(i) * (std::sqrt(primes[t]) - std::floor(std::sqrt(primes[t]))), 1.0);
        v.push_back(s);
    }
    return v;
}
}

TEST(KolmogorovReference, UpperTailMatchesTheExactDistribution)
{
    eachRow("kolmogorov.tsv", 203, [](const QStringList& row) {
        const int64_t n = row[0].toLongLong();
        const double d = number(row[1]), p = number(row[2]);
        EXPECT_NEAR(ks().ksFbar(d, n), p, 1e-9);
        EXPECT_NEAR(ks().ksCdf(d, n), 1.0 - p, 1e-9);
    });
}

TEST(Kolmogorov, SmallDistributionValuesKeepTheirDigits)
{
    // Where P(Dn <= d) is small, against values computed exactly: relative, not absolute.
    // Near 0 above 171 values, n! alone would overflow.
    eachRow("ks_cdf.tsv", 53, [](const QStringList& row) {
        const double exact = number(row[2]);
        EXPECT_NEAR(ks().ksCdf(number(row[1]), row[0].toLongLong()), exact, 1e-11 * exact);
    });
}

TEST(Kolmogorov, UpperTailFallsSteadilyAcrossEveryMethodSwitch)
{
    // Sizes on either side of the switches between methods, swept in n d^2 through all of them.
    for (int64_t n : {500, 501, 4001, 9001}) {
        double previous = 1.0;
        for (double w = 0.01; w < 6.0; w += 0.06) {
            const double p = ks().ksFbar(std::sqrt(w / double(n)), n);
            EXPECT_TRUE(p <= previous && p >= 0.0) << "n = " << n << ", n d^2 = " << w << ", p = " << p;
            previous = p;
        }
    }
}

TEST(Kolmogorov, EdgesOfTheRangeAndHelpers)
{
    EXPECT_EQ(ks().ksCdf(0.05, 10), 0.0);
    EXPECT_EQ(ks().ksCdf(1.0, 10), 1.0);
    EXPECT_EQ(ks().ksCdf(0.5, 100), 1.0);   // n d^2 >= 18
    EXPECT_DOUBLE_EQ(ks().ksCdf(0.95, 10), 1.0 - 2.0 * std::pow(0.05, 10));
    EXPECT_EQ(ks().ksFbar(0.7, 1000), 0.0);   // n d^2 >= 370
    EXPECT_EQ(ks().ksFbar(0.005, 1000), 1.0);   // n d^2 <= 0.0274
    // The exact matrix stops where its side would pass 4000 (n d = 2000); it is never built.
    EXPECT_TRUE(std::isnan(ks().durbinMatrix(0.5, 4000)));
    EXPECT_TRUE(std::isnan(ks().durbinMatrix(0.25, 8001)));
    EXPECT_DOUBLE_EQ(ks().durbinMatrix(0.75, 1), 0.5);   // one value: 2d - 1
    // log1p(1e-5) and -ln 2 from mpmath at 30 digits; a few ulp for the maths library.
    EXPECT_NEAR(ks().log1p(1e-5), 9.99995000033333083335333e-06, 1e-20);
    EXPECT_NEAR(ks().log1p(-0.5), -0.693147180559945309417232, 4.5e-16);
    // One value at 0.9: the empirical step from 0 to 1 at 0.9 is 0.9 away below it.
    EXPECT_DOUBLE_EQ(ks().ksStatistic({0.9}).statistic, 0.9);
    EXPECT_DOUBLE_EQ(ks().ksStatistic({0.1, 0.2, 0.3}).statistic, 1.0 - 0.3);
}

TEST(Kolmogorov, LogFactorialsMatchExactValues)
{
    // The table within 4 ulp (lgamma differs between C libraries by an ulp or two), the
    // series beyond it to its truncated constants.
    eachRow("ln_fact.tsv", 38, [](const QStringList& row) {
        const int64_t k = row[0].toLongLong();
        const double exact = number(row[1]);
        if (k <= 30) {
            EXPECT_LE(std::abs(ks().lnFact()[size_t(k)] - exact), 4.0 * (std::nextafter(exact, 1e308) - exact)) << k;
        }
        EXPECT_NEAR(ks().logFact(k), exact, 4e-15 * std::max(1.0, exact)) << k;
    });
}

TEST(Kolmogorov, TestOfSamplesAgainstTheReference)
{
    eachRow("kstest.tsv", 6, [](const QStringList& row) {
        const std::optional<NormalityResult> r = ks().ksTest(weylSample(row[0], row[1]), "norms");
        ASSERT_TRUE(r.has_value());
        EXPECT_NEAR(r->statistic, number(row[2]), 1e-13);
        EXPECT_NEAR(r->p, number(row[3]), 1e-9);
    });
}

TEST(Kolmogorov, FarOutValuesCountAsTheEndsOfTheDistribution)
{
    // Values some 40 fitted standard deviations out, where the distribution function is 0
    // or 1 in doubles: Dn as computed exactly, p as for that Dn.
    eachRow("ks_far.tsv", 3, [](const QStringList& row) {
        std::vector<double> v = weylSample(row[0], row[1]);
        for (double far : numbers(row[2]))
            v.push_back(far);
        const std::optional<NormalityResult> r = ks().ksTest(v, "norms");
        ASSERT_TRUE(r.has_value());
        EXPECT_NEAR(r->statistic, number(row[3]), 1e-13);
        const double p = ks().ksFbar(number(row[3]), int64_t(v.size()));
        EXPECT_NEAR(r->p, p, 1e-9 * p);
    });
}

TEST(Kolmogorov, DegenerateAndOrderFreeSamples)
{
    EXPECT_FALSE(ks().ksTest(std::vector<double>(6000, 0.1), "norms").has_value());
    EXPECT_FALSE(ks().ksTest({1.0, 2.0, 3.0}, "exponential").has_value());
    // Values whose variance is beyond the range of doubles (where 5 is next to nothing), whose
    // standard deviation is too (about 2e308), or whose standard deviation is below the smallest
    // subnormal (about 5e-324 / 77): the result of the same values at the scale of 1.
    std::vector<double> lone(5999, 0.0), loneAtOne(5999, 0.0);
    lone.push_back(std::numeric_limits<double>::denorm_min());
    loneAtOne.push_back(1.0);
    for (const auto& [far, near] : {std::pair{std::vector{-1e308, 1e308, 1e308, 5.0}, std::vector{-1.0, 1.0, 1.0, 0.0}},
                                    std::pair{std::vector{-1.7e308, 1.7e308, 1.7e308}, std::vector{-1.0, 1.0, 1.0}},
                                    std::pair{lone, loneAtOne}}) {
        SCOPED_TRACE(testing::Message() << "n = " << far.size() << ", " << far.back());
        const NormalityResult none{-1.0, -1.0};
        const NormalityResult f = ks().ksTest(far, "norms").value_or(none);
        const NormalityResult n = ks().ksTest(near, "norms").value_or(none);
        EXPECT_NEAR(f.statistic, n.statistic, 1e-15);
        EXPECT_NEAR(f.p, n.p, 1e-15);
        EXPECT_GE(n.statistic, 0.0) << "no result at the scale of 1";
    }
    const auto one = ks().ksTest({4.0}, "norms");
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(std::pair(one->statistic, one->p), std::pair(0.0, 1.0));
    std::mt19937_64 gen(3);
    std::normal_distribution<double> dist(5.0, 2.0);
    std::vector<double> v(6000);
    std::generate(v.begin(), v.end(), [&] { return dist(gen); });
    const auto a = ks().ksTest(v, "norms");
    std::shuffle(v.begin(), v.end(), gen);
    v.push_back(std::numeric_limits<double>::quiet_NaN());
    v.insert(v.begin(), std::numeric_limits<double>::infinity());
    const auto b = ks().ksTest(v, "norms");
    ASSERT_TRUE(a && b);
    EXPECT_NEAR(a->statistic, b->statistic, 1e-14);
    EXPECT_NEAR(a->p, b->p, 1e-12);
}
