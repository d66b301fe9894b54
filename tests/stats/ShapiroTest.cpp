#include "StatsResourceGenerator.h"
#include "StatsTestData.h"
#include "stats/MyNorm2.h"
#include "stats/MyShapiro.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QVariantList>
#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

using ::testing::StartsWith;
using ::testing::ThrowsMessage;

namespace {
MyNorm2& norms()
{
    static MyNorm2 norm;
    return norm;
}

struct Case {
    QString distribution;
    std::vector<double> values;
    double w;
    double p;
};

std::vector<Case> cases()
{
    std::vector<Case> out;
    for (const QStringList& row : StatsTestData::rows("shapiro.tsv"))
        out.push_back({row[0], StatsTestData::numbers(row[4]), StatsTestData::number(row[2]),
                       StatsTestData::number(row[3])});
    return out;
}

class ShapiroReference : public ::testing::TestWithParam<Case> {};
}

TEST_P(ShapiroReference, WAndPMatchTheReference)
{
    const Case& c = GetParam();
    MyShapiro engine(&norms());
    const std::optional<NormalityResult> r = engine.shapiroWilkTest(c.values);
    ASSERT_TRUE(r.has_value());
    EXPECT_NEAR(r->statistic, c.w, 1e-12) << qPrintable(c.distribution) << " n = " << c.values.size();
    EXPECT_NEAR(r->p, c.p, 1e-9) << qPrintable(c.distribution) << " n = " << c.values.size();
}

INSTANTIATE_TEST_SUITE_P(Samples, ShapiroReference, ::testing::ValuesIn(cases()));

TEST(Shapiro, FarTailPIsNotLostToRounding)
{
    // p far below 1e-16, where 1 - P(Z <= z) is 0 in doubles.
    MyShapiro engine(&norms());
    int checked = 0;
    for (const QStringList& row : StatsTestData::rows("shapiro_tail.tsv")) {
        const std::optional<NormalityResult> r = engine.shapiroWilkTest(StatsTestData::numbers(row[4]));
        ASSERT_TRUE(r.has_value());
        const double p = StatsTestData::number(row[3]);
        EXPECT_NEAR(r->statistic, StatsTestData::number(row[2]), 1e-12) << qPrintable(row[1]);
        EXPECT_NEAR(r->p, p, 1e-9 * p) << qPrintable(row[1]);
        ++checked;
    }
    EXPECT_EQ(checked, 3);
}

TEST(Shapiro, SmallSamples)
{
    MyShapiro engine(&norms());
    const auto two = engine.shapiroWilkTest({1.0, 5.0});
    ASSERT_TRUE(two.has_value());
    EXPECT_EQ(two->statistic, 1.0);
    EXPECT_EQ(two->p, 1.0);

    const auto three = engine.shapiroWilkTest({4.0, 1.0, 2.0});
    ASSERT_TRUE(three.has_value());
    EXPECT_NEAR(three->statistic, 0.9642857142857144, 1e-15);
    const double p = 6.0 / M_PI * (std::asin(std::sqrt(27.0 / 28.0)) - M_PI / 3.0);
    EXPECT_NEAR(three->p, p, 1e-13);
}

TEST(Shapiro, EqualValuesGiveNoResult)
{
    MyShapiro engine(&norms());
    EXPECT_FALSE(engine.shapiroWilkTest(std::vector<double>(500, 1e9 + 0.1)).has_value());
    // Values that are not finite never reach the sort; what is left is tested.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto r = engine.shapiroWilkTest({nan, 4.0, 1.0, nan, 2.0});
    ASSERT_TRUE(r.has_value());
    EXPECT_NEAR(r->statistic, 0.9642857142857144, 1e-15);
}

TEST(Shapiro, FarFromNormalSmallSamplesGetPZero)
{
    // Real data never gets W this low with so few values; small weights force it.
    MyShapiro engine(&norms());
    MyShapiro::CoefficientTable table = engine.coefficientsRes();
    table[4] = {-0.05, -0.01};
    engine.setCoefficientsRes(table);
    const auto r = engine.shapiroWilkTest({0.0, 1.0, 2.0, 3.0});
    ASSERT_TRUE(r.has_value());
    EXPECT_LT(r->statistic, 0.354);
    EXPECT_EQ(r->p, 0.0);
    // Sums beyond the range of doubles have no W.
    EXPECT_FALSE(engine.shapiroWilkTest({-1e308, 1e308, 1e308, 0.0}).has_value());
}

TEST(Shapiro, OrderAndCacheDoNotChangeTheResult)
{
    MyShapiro engine(&norms());
    std::mt19937_64 gen(9);
    std::gamma_distribution<double> dist(2.0, 1.0);
    std::vector<double> v(737);
    for (double& x : v)
        x = dist(gen);
    EXPECT_EQ(engine.coefficientsRes().count(737), 0u);
    const auto first = engine.shapiroWilkTest(v);
    EXPECT_EQ(engine.coefficientsRes().count(737), 1u);
    std::shuffle(v.begin(), v.end(), gen);
    const auto second = engine.shapiroWilkTest(v);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->statistic, second->statistic);
    EXPECT_EQ(first->p, second->p);
}

TEST(ShapiroResource, CommittedCoefficientsMatchTheGenerator)
{
    MyShapiro engine(&norms());
    const MyShapiro::CoefficientTable& table = engine.coefficientsRes();
    ASSERT_EQ(table.size(), size_t(StatsResourceGenerator::largestStoredSize - 2));
    EXPECT_EQ(table.at(3), std::vector<double>{-std::sqrt(0.5)});
    // Stored from the quantiles of the trapezoid walk; computed ones must not move further.
    for (const auto& [n, a] : table) {
        if (n > 3) {
            const std::vector<double> computed = engine.computeCoefficients(n);
            ASSERT_EQ(computed.size(), a.size());
            for (size_t i = 0; i < a.size(); ++i)
                EXPECT_NEAR(computed[i], a[i], 1e-15) << n << " " << i;
        }
    }
}

TEST(ShapiroResource, BrokenTablesAreRefusedWithAReason)
{
    const QVariantList four{-0.68, -0.17};
    const QVariantMap cases[] = {
        {{"04", four}},
        {{"4", QVariantList{-0.68}}},
        {{"4", QVariantList{-0.68, 0.17}}},
        {{"4", QVariantList{-0.68, QString("x")}}},
    };
    for (const QVariantMap& m : cases)
        EXPECT_THAT([&] { MyShapiro engine(&norms(), m); },
                    ThrowsMessage<std::runtime_error>(StartsWith("Shapiro.plist: ")));
    MyShapiro fine(&norms(), QVariantMap{{"4", four}});
    EXPECT_EQ(fine.coefficient(4), (std::vector<double>{-0.68, -0.17}));
    EXPECT_EQ(fine.coefficient(3), std::vector<double>{-std::sqrt(0.5)});
}
