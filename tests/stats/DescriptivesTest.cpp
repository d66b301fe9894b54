#include "StatsTestData.h"
#include "stats/MyDescriptives.h"

namespace {
const MyDescriptives engine;
using Values = QList<std::optional<double>>;
const double NaN = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
}

TEST(DescriptivesReference, StatisticsBoxAndOutliers)
{
    // Twelve statistics, then q1, q3, boxMin, boxMax, outliers.
    eachRow("descriptives.tsv", 59, [](const QStringList& row) {
        const std::vector<double> values = numbers(row[0]);
        const auto [n, dict] = engine.descriptives(values);
        EXPECT_EQ(n, int64_t(values.size()));
        const QStringList keys = DescriptivesDict::keys();
        for (int i = 0; i < keys.size(); ++i) {
            const std::optional<double> got = dict.value(keys[i]);
            const double want = number(row[i + 1]);
            // Moments carry the rounding of a few sums; values and their means only their own.
            if (row[i + 1] == u"NA") {
                EXPECT_FALSE(got.has_value()) << qPrintable(keys[i]) << " = " << got.value_or(0);
            } else {
                EXPECT_NEAR(got.value_or(NaN), want, (i >= 4 ? 1e-11 : 2e-15) * std::max(1.0, std::abs(want))) << qPrintable(keys[i]);
            }
        }
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const MyDescriptives::BoxValues box = engine.boxValues(sorted, "boxplot");
        EXPECT_EQ(box.dict.median, dict.median);
        EXPECT_EQ(Values({box.dict.q1, box.dict.q3, box.dict.boxMin, box.dict.boxMax}),
                  Values({number(row[13]), number(row[14]), number(row[15]), number(row[16])}));
        EXPECT_EQ(box.outliers, numbers(row[17]));
        EXPECT_FALSE(box.dict.mean.has_value());
        const MyDescriptives::BoxValues dots = engine.boxValues(sorted, "scatter");
        EXPECT_EQ(dots.dict.keys(), QStringList({"mean", "median"}));
        // Sums follow the order of the array: the sorted one may round differently.
        EXPECT_NEAR(*dots.dict.mean, *dict.mean, 2e-15 * std::max(1.0, std::abs(*dict.mean)));
        EXPECT_EQ(dots.dict.median, dict.median);
        EXPECT_TRUE(dots.outliers.empty());
    });
}

TEST(Descriptives, TiedSamplesGiveMeanAndVariancesWithinAFewUlp)
{
    // Thousands of tied decimal values, where plain running sums drift by dozens of ulp.
    eachRow("ties.tsv", 14, [](const QStringList& row) {
        std::vector<double> v;
        for (const QString& run : row[0].split(u','))
            v.insert(v.end(), size_t(run.section(u'*', 1).toInt()), number(run.section(u'*', 0, 0)));
        const DescriptivesDict d = engine.descriptives(v).second;
        const std::optional<double> got[] = {d.mean, d.varianceP, d.variance, d.stdevP, d.stdev};
        for (int i = 0; i < 5; ++i) {
            const double exact = number(row[i + 1]), ulp = std::nextafter(std::abs(exact), 1e308) - std::abs(exact);
            EXPECT_LE(std::abs(got[i].value_or(NaN) - exact), 2.0 * ulp) << "mean, varianceP, variance, stdevP, stdev: " << i;
        }
    });
}

TEST(Descriptives, NoValues)
{
    const auto [n, dict] = engine.descriptives({});
    EXPECT_EQ(n, 0);
    EXPECT_EQ(dict, DescriptivesDict());
    EXPECT_FALSE(engine.boxValues({}, "boxplot").dict.median.has_value());
    EXPECT_FALSE(engine.quartiles({}).has_value());
}

TEST(Descriptives, ValuesThatAreNotFiniteAreLeftOut)
{
    const auto [n, dict] = engine.descriptives({NaN, 1.0, -inf, 3.0, inf});
    EXPECT_EQ(n, 2);
    EXPECT_EQ(Values({dict.min, dict.max, dict.variance}), Values({1.0, 3.0, 2.0}));
    const MyDescriptives::BoxValues box = engine.boxValues({-inf, 1.0, 2.0, 3.0, NaN}, "boxplot");
    EXPECT_EQ(box.dict.median, 2.0);
    EXPECT_TRUE(box.outliers.empty());
}

TEST(Descriptives, OrderChangesNeitherTheOrderStatisticsNorTheMoments)
{
    std::mt19937_64 gen(11);
    std::lognormal_distribution<double> dist(0.0, 1.0);
    for (int round = 0; round < 50; ++round) {
        std::vector<double> v(size_t(3 + round));
        std::generate(v.begin(), v.end(), [&] { return dist(gen); });
        const DescriptivesDict a = engine.descriptives(v).second;
        std::shuffle(v.begin(), v.end(), gen);
        const DescriptivesDict b = engine.descriptives(v).second;
        EXPECT_EQ(Values({a.min, a.max, a.median}), Values({b.min, b.max, b.median}));
        EXPECT_NEAR(*a.mean, *b.mean, 1e-14 * *a.mean);
        EXPECT_NEAR(*a.sk, *b.sk, 1e-12);
        // Whiskers and outliers split the values: every value is in the box range or out.
        const auto q = *engine.quartiles(v);
        const auto inside = std::count_if(v.begin(), v.end(), [&](double x) { return x >= q.lowerWhisker && x <= q.upperWhisker; });
        EXPECT_EQ(size_t(inside) + q.outliers.size(), v.size());
        EXPECT_TRUE(std::is_sorted(q.outliers.begin(), q.outliers.end()));
    }
}

TEST(Descriptives, ValueOnAFenceIsAWhiskerEnd)
{
    // q1 = 2, q3 = 4, fences -1 and 7.
    const auto q = *engine.quartiles({-1.0, 2.0, 3.0, 4.0, 7.0});
    EXPECT_EQ(std::pair(q.lowerWhisker, q.upperWhisker), std::pair(-1.0, 7.0));
    EXPECT_TRUE(q.outliers.empty());
}
