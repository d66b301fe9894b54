#include "StatsResourceGenerator.h"
#include "StatsTestData.h"
#include "stats/MyNorm2.h"
#include "stats/StatsResource.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QVariantList>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

using ::testing::StartsWith;
using ::testing::ThrowsMessage;

namespace {
const MyNorm2& engine()
{
    static const MyNorm2 norm;  // from the compiled-in resource
    return norm;
}

QVariantMap smallTable()
{
    // Grid 0.5 with 50000 fine steps, only up to 2: enough to exercise every road.
    QVariantList norms;
    for (int i = 0; i <= 4; ++i)
        norms << std::erfc(i * 0.5 / std::sqrt(2.0));
    return {{"norms", norms}, {"step", 1e-5}, {"resStep", 0.5}, {"resLimit", 2.0}};
}
}

TEST(NormalDistribution, MatchesExactValuesAndQuantiles)
{
    int cdf = 0, inv = 0;
    for (const char* file : {"normal.tsv", "normal_far.tsv"}) {
        for (const QStringList& row : StatsTestData::rows(file)) {
            const double arg = StatsTestData::number(row[1]);
            const double exact = StatsTestData::number(row[2]);
            if (row[0] == "cdf") {
                // Within a few ulp wherever doubles keep all their digits; past 38 standard
                // deviations the results are denormal and keep only some.
                const double got = engine().normsDist(arg);
                EXPECT_LE(std::abs(got - exact), std::max(1e-15 * exact, 1e-322)) << "x = " << arg;
                ++cdf;
            } else {
                EXPECT_NEAR(engine().normInv(arg), exact, 1e-9 * std::max(1.0, std::abs(exact))) << "p = " << arg;
                ++inv;
            }
        }
    }
    EXPECT_GT(cdf, 510);
    EXPECT_GT(inv, 300);
}

namespace {
// The quantile by walking fine trapezoid steps from a table point, step by step as the
// method is written: the reference for the closed form in normInv.
double walkedQuantile(const MyNorm2& n, double p)
{
    const std::vector<double>& norms = n.norms();
    const double sign = p > 0.5 ? 1.0 : -1.0;
    const double q = p > 0.5 ? 2.0 - 2.0 * p : 2.0 * p;
    int64_t i = 0;
    while (norms[size_t(i)] > q)
        ++i;
    if (norms[size_t(i)] == q)
        return sign * n.resStep() * double(i);
    const int64_t j = i - 1;
    const bool upward = (q - norms[size_t(j)]) <= (norms[size_t(i)] - q);
    const double m = upward ? norms[size_t(j)] - q : q - norms[size_t(i)];
    const int64_t origin = n.numRes() * (upward ? j : i);
    const auto f = [&](int64_t k) {
        const double x = n.step() * double(origin + (upward ? k : -k));
        return n.step() * MyNorm2::topVal * std::exp(-0.5 * x * x);
    };
    double sum = 0.0, before = 0.0;
    int64_t k = 0;
    while (sum < m && k < n.numRes()) {
        ++k;
        before = sum;
        sum += f(k - 1) + f(k);
    }
    EXPECT_GE(sum, m) << "p = " << p;
    if (upward)
        return sign * n.step() * (double(origin + k) + (m - sum) / (sum - before));
    return sign * n.step() * (double(origin - k) + (sum - m) / (sum - before));
}
}

TEST(NormalDistribution, QuantilesAreThoseOfTheTrapezoidWalk)
{
    const MyNorm2& n = engine();
    std::mt19937_64 gen(17);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::uniform_real_distribution<double> exponent(-300.0, -1.0);
    for (int i = 0; i < 3000; ++i) {
        const double p = i % 3 ? uniform(gen) : std::pow(10.0, exponent(gen));
        if (p == 0.0 || p == 0.5)
            continue;
        const double walked = walkedQuantile(n, p);
        EXPECT_NEAR(n.normInv(p), walked, 1e-15 * std::max(1.0, std::abs(walked))) << "p = " << p;
    }
}

TEST(NormalDistribution, QuantileNextToATableValueIsItsGridPoint)
{
    // One ulp from a table value the quantile is the grid point, give or take 1e-15. Table
    // rounding can leave the whole interval a hair short of the mass to cover: that must not
    // land in the middle of the interval, 1.2e-4 away.
    const MyNorm2& n = engine();
    int checked = 0;
    for (size_t i = 1; i <= 8192; ++i) {
        for (double toward : {0.0, 2.0}) {
            const double p = 0.5 * std::nextafter(n.norms()[i], toward);
            EXPECT_NEAR(n.normInv(p), -double(i) * n.resStep(), 1e-12) << "i = " << i;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 16384);
}

TEST(NormalDistribution, SymmetryGridPointsAndRoundTrip)
{
    const MyNorm2& n = engine();
    EXPECT_EQ(n.normsDist(0.0), 0.5);
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> within(-30.0, 30.0);
    for (int i = 0; i < 2000; ++i) {
        const double x = within(gen);
        EXPECT_NEAR(n.normsDist(-x), 1.0 - n.normsDist(x), 2e-16);
        // Back within a fine step from the lower tail, which keeps all its digits.
        const double low = -std::abs(x);
        EXPECT_NEAR(n.normInv(n.normsDist(low)), low, n.step()) << low;
    }
    // On a grid point the table value alone.
    const double z = 1234 * n.resStep();
    EXPECT_EQ(n.normsDist(-z), n.norms()[1234] * 0.5);
    EXPECT_EQ(n.normInv(n.norms()[1234] * 0.5), -z);
    EXPECT_EQ(n.cumlativeMedial(0.7, 0.7), 0.0);
}

TEST(NormalDistribution, LimitsStayProbabilitiesAndQuantiles)
{
    const MyNorm2& n = engine();
    EXPECT_EQ(n.normInv(0.5), 0.0);
    EXPECT_EQ(n.normInv(1.0), 9.223372036854776e18);
    EXPECT_EQ(n.normInv(-3.0), -9.223372036854776e18);
    EXPECT_TRUE(std::isnan(n.normInv(std::nan(""))));
    EXPECT_TRUE(std::isnan(n.normsDist(std::nan(""))));
    // Below the last table entry: still a finite quantile past the grid.
    const double farthest = n.normInv(4.9e-324);
    EXPECT_LE(farthest, -n.resLimit());
    EXPECT_GE(farthest, -n.resLimit() - 5.0);
    for (double x : {38.3, 1e300, std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(n.normsDist(x), 1.0) << x;
        EXPECT_GE(n.normsDist(-x), 0.0) << x;
        EXPECT_LT(n.normsDist(-x), 1e-315) << x;
    }
}

TEST(NormalDistribution, SingleTrapezoidBelowHalfAFineStep)
{
    const MyNorm2 n(smallTable());
    const double x1 = 0.3;
    const double x2 = x1 + 0.4 * n.step();
    const auto f = [](double v) { return MyNorm2::topVal * std::exp(-0.5 * v * v); };
    EXPECT_DOUBLE_EQ(n.cumlativeMedial(x1, x2), (x2 - x1) * (f(x1) + f(x2)));
    // Between grid points, both walking directions of the inverse land on the quantile.
    for (double p : {0.6, 0.95, 0.3, 0.001})
        EXPECT_NEAR(n.normsDist(n.normInv(p)), p, 1e-9) << p;
}

TEST(NormalResource, CommittedTableMatchesTheGenerator)
{
    const QVariantMap made = StatsResourceGenerator::normRes();
    const MyNorm2& n = engine();
    EXPECT_EQ(n.step(), made.value("step").toDouble());
    EXPECT_EQ(n.resStep(), made.value("resStep").toDouble());
    EXPECT_EQ(n.resLimit(), made.value("resLimit").toDouble());
    EXPECT_EQ(n.numRes(), 256);
    const QVariantList norms = made.value("norms").toList();
    ASSERT_EQ(qsizetype(n.norms().size()), norms.size());
    qsizetype differing = 0;
    for (qsizetype i = 0; i < norms.size(); ++i)
        differing += n.norms()[size_t(i)] != norms[i].toDouble();
    EXPECT_EQ(differing, 0);
}

TEST(NormalResource, BrokenTablesAreRefusedWithAReason)
{
    const QVariantMap good = smallTable();
    auto broken = [&](const char* key, const QVariant& value) {
        QVariantMap m = good;
        m.insert(key, value);
        return m;
    };
    const QVariantList norms = good.value("norms").toList();
    QVariantList rising = norms;
    rising[2] = 0.9;
    QVariantList words = norms;
    words[1] = QString("x");
    QVariantList shorter = norms;
    shorter.removeLast();
    // One per reason; the resource name leads every message.
    const QVariantMap cases[] = {
        broken("norms", QString("1")), broken("norms", rising), broken("norms", words),
        broken("norms", shorter),      broken("step", 0.3),     broken("resLimit", true),
    };
    for (const QVariantMap& m : cases)
        EXPECT_THAT([&] { MyNorm2 n(m); }, ThrowsMessage<std::runtime_error>(StartsWith("NormRes2.plist: ")));
    EXPECT_NO_THROW(MyNorm2 n(good));
}

TEST(NormalResource, MissingResourceIsAnError)
{
    EXPECT_THAT([] { StatsResource::dictionary("NoSuchTable.plist"); },
                ThrowsMessage<std::runtime_error>(testing::StrEq("NoSuchTable.plist: the resource is missing")));
}
