#include "analysis/MyAxisScale.h"
#include "platform/NumberText.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>
#include <random>

TEST(AxisScale, MatchesHandComputedScales)
{
    const QStringList lines = caseLines("axis-scales.txt");
    ASSERT_EQ(lines.size(), 11);
    for (const QString& line : lines) {
        SCOPED_TRACE(line.toStdString());
        const QStringList ends = line.section(" | ", 0, 0).split(' ');
        const QStringList labels = line.section(" | ", 1).split(' ');
        const QVariantMap m = MyAxisScale::defaultMinMax(QVariantList{ends[0].toDouble(), ends[1].toDouble()});
        EXPECT_EQ(m.value("scaleStrings").toStringList(), labels);
        EXPECT_EQ(m.value("partition"), QVariant(qint64(labels.size() - 1)));
        EXPECT_EQ(m.value("partition").typeId(), QMetaType::LongLong);
    }
}

// A label that prints as zero carries no minus sign, whatever rounding left below zero.
TEST(AxisScale, ZeroLabelsHaveNoSign)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {{-0.0, 1, "0.0"}, {-0.04, 1, "0.0"}, {-1e-17, 3, "0.000"}, {-0.4, 0, "0"},
                 {-0.06, 1, "-0.1"}, {-0.5001, 0, "-1"}, {0.04, 1, "0.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(MyAxisScale::fixedText(c.value, c.decimals), c.text) << c.value;
}

TEST(AxisScale, NonFiniteOrShortRangeGivesUnitScale)
{
    const QVariantMap unit = MyAxisScale::defaultMinMax(0.0, 1.0);
    EXPECT_EQ(MyAxisScale::defaultMinMax(QVariantList{3.0}), unit);
    EXPECT_EQ(MyAxisScale::defaultMinMax(1.0, std::numeric_limits<double>::infinity()), unit);
}

TEST(AxisScale, RandomRangesEncloseDataAndLabels)
{
    std::mt19937_64 rng(20261206);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> expo(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const double a = mant(rng) * std::pow(10.0, expo(rng));
        double b = (i % 7 == 0) ? a : a + std::fabs(mant(rng)) * std::pow(10.0, expo(rng));
        if (i % 11 == 0)
            b = std::nextafter(a, 1e300);   // neighbours
        const QVariantMap m = MyAxisScale::defaultMinMax(a, b);
        const double lo = NumberText::doubleValue(m["min"].toString());
        const double hi = NumberText::doubleValue(m["max"].toString());
        const QStringList labels = m.value("scaleStrings").toStringList();
        ASSERT_LE(lo, a) << a << " " << b;
        ASSERT_GE(hi, b) << a << " " << b;
        if (a == b) {
            ASSERT_LT(lo, a) << a;
            ASSERT_GT(hi, a) << a;
        }
        ASSERT_EQ(m["partition"].toLongLong(), labels.size() - 1);
        ASSERT_EQ(labels.first(), m["min"].toString());
        ASSERT_EQ(labels.last(), m["max"].toString()) << a << " " << b;
        // Rising labels from min to max stay within the ends.
        for (int k = 1; k < labels.size(); ++k)
            ASSERT_LT(NumberText::doubleValue(labels[k - 1]), NumberText::doubleValue(labels[k])) << labels[k].toStdString();
    }
}
