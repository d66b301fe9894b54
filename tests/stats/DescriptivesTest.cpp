#include "StatsTestData.h"
#include "stats/MyDescriptives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {
struct Sample {
    std::vector<double> values;
    QStringList expected;  // twelve statistics, then q1, q3, boxMin, boxMax, outliers
};

std::vector<Sample> samples()
{
    std::vector<Sample> out;
    for (const QStringList& row : StatsTestData::rows("descriptives.tsv"))
        out.push_back({StatsTestData::numbers(row[0]), row.mid(1)});
    return out;
}

class DescriptivesReference : public ::testing::TestWithParam<Sample> {};

void expectClose(std::optional<double> got, const QString& expected, const QString& key, bool moment)
{
    if (expected == "NA") {
        EXPECT_FALSE(got.has_value()) << qPrintable(key) << " = " << got.value_or(0);
        return;
    }
    ASSERT_TRUE(got.has_value()) << qPrintable(key);
    const double want = StatsTestData::number(expected);
    // Moments carry the rounding of a few sums; values and their means only their own.
    const double tolerance = (moment ? 1e-11 : 2e-15) * std::max(1.0, std::abs(want));
    EXPECT_NEAR(*got, want, tolerance) << qPrintable(key);
}
}

TEST_P(DescriptivesReference, StatisticsBoxAndOutliers)
{
    const Sample& s = GetParam();
    const MyDescriptives engine;
    const auto [n, dict] = engine.descriptives(s.values);
    EXPECT_EQ(n, int64_t(s.values.size()));
    const QStringList keys = DescriptivesDict::keys();
    for (int i = 0; i < keys.size(); ++i)
        expectClose(dict.value(keys[i]), s.expected[i], keys[i], i >= 4);

    std::vector<double> sorted = s.values;
    std::sort(sorted.begin(), sorted.end());
    const MyDescriptives::BoxValues box = engine.boxValues(sorted, "boxplot");
    EXPECT_EQ(box.dict.median, dict.median);
    EXPECT_EQ(box.dict.q1, StatsTestData::number(s.expected[12]));
    EXPECT_EQ(box.dict.q3, StatsTestData::number(s.expected[13]));
    EXPECT_EQ(box.dict.boxMin, StatsTestData::number(s.expected[14]));
    EXPECT_EQ(box.dict.boxMax, StatsTestData::number(s.expected[15]));
    EXPECT_EQ(box.outliers, StatsTestData::numbers(s.expected[16]));
    EXPECT_FALSE(box.dict.mean.has_value());

    const MyDescriptives::BoxValues dots = engine.boxValues(sorted, "scatter");
    EXPECT_EQ(dots.dict.keys(), QStringList({"mean", "median"}));
    // Sums follow the order of the array: the sorted one may round differently.
    EXPECT_NEAR(*dots.dict.mean, *dict.mean, 2e-15 * std::max(1.0, std::abs(*dict.mean)));
    EXPECT_EQ(dots.dict.median, dict.median);
    EXPECT_TRUE(dots.outliers.empty());
}

INSTANTIATE_TEST_SUITE_P(Samples, DescriptivesReference, ::testing::ValuesIn(samples()));

TEST(Descriptives, TiedSamplesGiveMeanAndVariancesWithinAFewUlp)
{
    // Thousands of tied decimal values, where plain running sums drift by dozens of ulp.
    const MyDescriptives engine;
    int checked = 0;
    for (const QStringList& row : StatsTestData::rows("ties.tsv")) {
        std::vector<double> v;
        for (const QString& run : row[0].split(',')) {
            const QStringList parts = run.split('*');
            v.insert(v.end(), size_t(parts[1].toInt()), StatsTestData::number(parts[0]));
        }
        const DescriptivesDict d = engine.descriptives(v).second;
        const std::optional<double> got[] = {d.mean, d.varianceP, d.variance, d.stdevP, d.stdev};
        const char* names[] = {"mean", "varianceP", "variance", "stdevP", "stdev"};
        for (int i = 0; i < 5; ++i) {
            const double exact = StatsTestData::number(row[i + 1]);
            ASSERT_TRUE(got[i].has_value());
            EXPECT_LE(std::abs(*got[i] - exact), 2.0 * (std::nextafter(std::abs(exact), 1e308) - std::abs(exact))) << names[i] << " of " << qPrintable(row[0]);
        }
        ++checked;
    }
    EXPECT_GE(checked, 12);
}

TEST(Descriptives, NoValues)
{
    const MyDescriptives engine;
    const auto [n, dict] = engine.descriptives({});
    EXPECT_EQ(n, 0);
    EXPECT_EQ(dict, DescriptivesDict());
    const QVariantMap map = dict.toVariantMap();
    EXPECT_EQ(map.keys().size(), 12);
    EXPECT_FALSE(map.value("mean").isValid());
    const MyDescriptives::BoxValues box = engine.boxValues({}, "boxplot");
    EXPECT_EQ(box.dict.toVariantMap().keys(), QStringList({"boxMax", "boxMin", "median", "q1", "q3"}));
    EXPECT_FALSE(box.dict.median.has_value());
    EXPECT_FALSE(engine.quartiles({}).has_value());
}

TEST(Descriptives, ValuesThatAreNotFiniteAreLeftOut)
{
    const MyDescriptives engine;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const auto [n, dict] = engine.descriptives({nan, 1.0, -inf, 3.0, inf});
    EXPECT_EQ(n, 2);
    EXPECT_EQ(dict.min, 1.0);
    EXPECT_EQ(dict.max, 3.0);
    EXPECT_EQ(dict.variance, 2.0);
    const MyDescriptives::BoxValues box = engine.boxValues({-inf, 1.0, 2.0, 3.0, nan}, "boxplot");
    EXPECT_EQ(box.dict.median, 2.0);
    EXPECT_TRUE(box.outliers.empty());
}

TEST(Descriptives, EqualValuesHaveNoShapeWhateverTheirRounding)
{
    const MyDescriptives engine;
    for (double v : {0.1, 1e9 + 0.1, -7.3e-5}) {
        const DescriptivesDict dict = engine.descriptives(std::vector<double>(7, v)).second;
        EXPECT_EQ(dict.mean, v);
        EXPECT_EQ(dict.variance, 0.0);
        EXPECT_FALSE(dict.skP || dict.sk || dict.kuP || dict.ku);
    }
}

TEST(Descriptives, OrderChangesNeitherTheOrderStatisticsNorTheMoments)
{
    const MyDescriptives engine;
    std::mt19937_64 gen(11);
    std::lognormal_distribution<double> dist(0.0, 1.0);
    for (int round = 0; round < 50; ++round) {
        std::vector<double> v(size_t(3 + round), 0.0);
        for (double& x : v)
            x = dist(gen);
        const DescriptivesDict a = engine.descriptives(v).second;
        std::shuffle(v.begin(), v.end(), gen);
        const DescriptivesDict b = engine.descriptives(v).second;
        EXPECT_EQ(a.min, b.min);
        EXPECT_EQ(a.max, b.max);
        EXPECT_EQ(a.median, b.median);
        EXPECT_NEAR(*a.mean, *b.mean, 1e-14 * *a.mean);
        EXPECT_NEAR(*a.sk, *b.sk, 1e-12);
        // Whiskers and outliers split the values: every value is in the box range or out.
        const auto q = *engine.quartiles(v);
        const auto inside = std::count_if(v.begin(), v.end(), [&](double x) {
            return x >= q.lowerWhisker && x <= q.upperWhisker;
        });
        EXPECT_EQ(size_t(inside) + q.outliers.size(), v.size());
        EXPECT_TRUE(std::is_sorted(q.outliers.begin(), q.outliers.end()));
    }
}

TEST(Descriptives, ValueOnAFenceIsAWhiskerEnd)
{
    // q1 = 2, q3 = 4, fences -1 and 7.
    const MyDescriptives engine;
    const auto q = *engine.quartiles({-1.0, 2.0, 3.0, 4.0, 7.0});
    EXPECT_EQ(q.lowerWhisker, -1.0);
    EXPECT_EQ(q.upperWhisker, 7.0);
    EXPECT_TRUE(q.outliers.empty());
}
