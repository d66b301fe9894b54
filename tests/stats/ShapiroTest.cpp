#include "StatsResourceGenerator.h"
#include "StatsTestData.h"
#include "stats/MyShapiro.h"

namespace {
// A sample's W and p against the reference's, p within a share of itself or absolutely.
void expectWAndP(MyShapiro& engine, const QStringList& row, double pTolerance, bool relative)
{
    const std::optional<NormalityResult> r = engine.shapiroWilkTest(numbers(row[4]));
    ASSERT_TRUE(r.has_value());
    const double p = number(row[3]);
    EXPECT_NEAR(r->statistic, number(row[2]), 1e-12) << qPrintable(row[0]) << " n = " << qPrintable(row[1]);
    EXPECT_NEAR(r->p, p, relative ? pTolerance * p : pTolerance) << qPrintable(row[0]) << " n = " << qPrintable(row[1]);
}
}

TEST(ShapiroReference, WAndPMatchTheReference)
{
    MyShapiro engine(&norms());
    eachRow("shapiro.tsv", 126, [&](const QStringList& row) { expectWAndP(engine, row, 1e-9, false); });
}

TEST(Shapiro, FarTailPIsNotLostToRounding)
{
    // p far below 1e-16, where 1 - P(Z <= z) is 0 in doubles.
    MyShapiro engine(&norms());
    eachRow("shapiro_tail.tsv", 3, [&](const QStringList& row) { expectWAndP(engine, row, 1e-9, true); });
}

TEST(Shapiro, SmallSamples)
{
    MyShapiro engine(&norms());
    const auto two = engine.shapiroWilkTest({1.0, 5.0});
    ASSERT_TRUE(two.has_value());
    EXPECT_EQ(std::pair(two->statistic, two->p), std::pair(1.0, 1.0));
    // Values that are not finite never reach the sort; what is left is tested.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const std::vector<double>& three : {std::vector{4.0, 1.0, 2.0}, std::vector{nan, 4.0, 1.0, nan, 2.0}}) {
        const auto r = engine.shapiroWilkTest(three);
        ASSERT_TRUE(r.has_value());
        EXPECT_NEAR(r->statistic, 0.9642857142857144, 1e-15);
        EXPECT_NEAR(r->p, 6.0 / M_PI * (std::asin(std::sqrt(27.0 / 28.0)) - M_PI / 3.0), 1e-13);
    }
}

TEST(Shapiro, EqualValuesGiveNoResult)
{
    MyShapiro engine(&norms());
    EXPECT_FALSE(engine.shapiroWilkTest(std::vector<double>(500, 1e9 + 0.1)).has_value());
    // Values whose sums of squares are beyond the range of doubles have the W of the same
    // values at the scale of 1.
    const auto far = engine.shapiroWilkTest({-1e308, 1e308, 1e308, 0.0});
    const auto near = engine.shapiroWilkTest({-1.0, 1.0, 1.0, 0.0});
    ASSERT_TRUE(far && near);
    EXPECT_NEAR(far->statistic, near->statistic, 1e-15);
    EXPECT_NEAR(far->p, near->p, 1e-15);
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
}

TEST(Shapiro, OrderAndCacheDoNotChangeTheResult)
{
    MyShapiro engine(&norms());
    std::mt19937_64 gen(9);
    std::gamma_distribution<double> dist(2.0, 1.0);
    std::vector<double> v(737);
    std::generate(v.begin(), v.end(), [&] { return dist(gen); });
    EXPECT_EQ(engine.coefficientsRes().count(737), 0u);
    const auto first = engine.shapiroWilkTest(v);
    EXPECT_EQ(engine.coefficientsRes().count(737), 1u);
    std::shuffle(v.begin(), v.end(), gen);
    const auto second = engine.shapiroWilkTest(v);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(std::pair(first->statistic, first->p), std::pair(second->statistic, second->p));
}

TEST(ShapiroResource, CommittedCoefficientsMatchTheGenerator)
{
    MyShapiro engine(&norms());
    const MyShapiro::CoefficientTable& table = engine.coefficientsRes();
    ASSERT_EQ(table.size(), size_t(StatsResourceGenerator::largestStoredSize - 2));
    EXPECT_EQ(table.at(3), std::vector<double>{-std::sqrt(0.5)});
    // Stored from the quantiles of the trapezoid walk; computed ones must not move further.
    for (const auto& [n, a] : table) {
        const std::vector<double> computed = n > 3 ? engine.computeCoefficients(n) : a;
        ASSERT_EQ(computed.size(), a.size());
        for (size_t i = 0; i < a.size(); ++i)
            EXPECT_NEAR(computed[i], a[i], 1e-15) << n << " " << i;
    }
}

TEST(ShapiroResource, BrokenTablesAreRefusedWithAReason)
{
    const QVariantList four{-0.68, -0.17};
    const QVariantMap cases[] = {{{"04", four}},
                                 {{"4", QVariantList{-0.68}}},
                                 {{"4", QVariantList{-0.68, 0.17}}},
                                 {{"4", QVariantList{-0.68, QString("x")}}}};
    for (const QVariantMap& m : cases)
        EXPECT_THAT([&] { MyShapiro engine(&norms(), m); },
                    ::testing::ThrowsMessage<std::runtime_error>(::testing::StartsWith("Shapiro.plist: ")));
    MyShapiro fine(&norms(), QVariantMap{{"4", four}});
    EXPECT_EQ(fine.coefficient(4), (std::vector<double>{-0.68, -0.17}));
    EXPECT_EQ(fine.coefficient(3), std::vector<double>{-std::sqrt(0.5)});
}
