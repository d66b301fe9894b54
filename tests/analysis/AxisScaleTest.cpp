#include "analysis/MyAxisScale.h"
#include "platform/NumberText.h"
#include <gtest/gtest.h>
#include <random>

namespace {

struct ScaleCase {
    double a, b;
    const char* min;
    const char* max;
    QStringList labels;
};

QStringList labelsOf(const QVariantMap& m)
{
    QStringList out;
    for (const QVariant& v : m.value("scaleStrings").toList())
        out << v.toString();
    return out;
}

class AxisScaleCases : public ::testing::TestWithParam<ScaleCase> {};

} // namespace

// Worked by hand with the step table (1, 2, 2.5, 5 times a power of ten near a third of the
// range). The last four rows are the equal-ends and rounding cases that get a scale of their own.
INSTANTIATE_TEST_SUITE_P(
    Table, AxisScaleCases,
    ::testing::Values(
        ScaleCase{3.2, 17.8, "0", "20", {"0", "5", "10", "15", "20"}},
        ScaleCase{0, 10, "0.0", "12.5", {"0.0", "2.5", "5.0", "7.5", "10.0", "12.5"}},
        ScaleCase{-3, 4, "-5.0", "5.0", {"-5.0", "-2.5", "0.0", "2.5", "5.0"}},
        ScaleCase{-5, 5, "-7.5", "7.5", {"-7.5", "-5.0", "-2.5", "0.0", "2.5", "5.0", "7.5"}},
        ScaleCase{1, 6, "0", "8", {"0", "2", "4", "6", "8"}},
        ScaleCase{100, 1000, "0", "1250", {"0", "250", "500", "750", "1000", "1250"}},
        ScaleCase{0, 1, "0.00", "1.25", {"0.00", "0.25", "0.50", "0.75", "1.00", "1.25"}},
        ScaleCase{120, 145, "120", "150", {"120", "130", "140", "150"}},
        // A third of the range exactly on a bound (1.5) takes the smaller step.
        ScaleCase{0, 4.5, "0", "5", {"0", "1", "2", "3", "4", "5"}},
        ScaleCase{1, 1.3, "0.9", "1.3", {"0.9", "1.0", "1.1", "1.2", "1.3"}},
        // log10 of a third of 0.3 comes out as -1 while the third is below 0.1: the step
        // is 0.1, not 1.
        ScaleCase{0, 0.3, "0.0", "0.3", {"0.0", "0.1", "0.2", "0.3"}},
        // Equal ends: the scale is built around the value.
        ScaleCase{5, 5, "3", "7", {"3", "4", "5", "6", "7"}},
        ScaleCase{0, 0, "-0.75", "0.75", {"-0.75", "-0.50", "-0.25", "0.00", "0.25", "0.50", "0.75"}},
        ScaleCase{-6, -6, "-9", "-4", {"-9", "-8", "-7", "-6", "-5", "-4"}},
        // Ends the wrong way round are taken in order.
        ScaleCase{17.8, 3.2, "0", "20", {"0", "5", "10", "15", "20"}}));

TEST_P(AxisScaleCases, MatchesHandComputedScale)
{
    const ScaleCase& c = GetParam();
    const QVariantMap m = MyAxisScale::defaultMinMax(QVariantList{c.a, c.b});
    EXPECT_EQ(m.value("min").toString(), c.min);
    EXPECT_EQ(m.value("max").toString(), c.max);
    EXPECT_EQ(labelsOf(m), c.labels);
    EXPECT_EQ(m.value("partition").typeId(), QMetaType::LongLong);
    EXPECT_EQ(m.value("partition").toLongLong(), c.labels.size() - 1);
    EXPECT_EQ(m.value("logarithmic").typeId(), QMetaType::Bool);
    EXPECT_FALSE(m.value("logarithmic").toBool());
}

TEST(AxisScale, NonFiniteOrShortRangeGivesUnitScale)
{
    const QVariantMap unit = MyAxisScale::defaultMinMax(0.0, 1.0);
    EXPECT_EQ(MyAxisScale::defaultMinMax(QVariantList{}), unit);
    EXPECT_EQ(MyAxisScale::defaultMinMax(QVariantList{3.0}), unit);
    EXPECT_EQ(MyAxisScale::defaultMinMax(std::nan(""), 4.0), unit);
    EXPECT_EQ(MyAxisScale::defaultMinMax(1.0, std::numeric_limits<double>::infinity()), unit);
}

TEST(AxisScale, RandomRangesEncloseDataAndLabels)
{
    std::mt19937_64 rng(20261206);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> expo(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        double a = mant(rng) * std::pow(10.0, expo(rng));
        double b = (i % 7 == 0) ? a : a + std::fabs(mant(rng)) * std::pow(10.0, expo(rng));
        if (i % 11 == 0)
            b = std::nextafter(a, 1e300);   // neighbours
        const QVariantMap m = MyAxisScale::defaultMinMax(a, b);
        const double lo = NumberText::doubleValue(m["min"].toString());
        const double hi = NumberText::doubleValue(m["max"].toString());
        const QStringList labels = labelsOf(m);
        ASSERT_LE(lo, a) << a << " " << b;
        ASSERT_GE(hi, b) << a << " " << b;
        if (a == b) {
            ASSERT_LT(lo, a) << a;
            ASSERT_GT(hi, a) << a;
        }
        ASSERT_GE(labels.size(), 2);
        ASSERT_EQ(m["partition"].toLongLong(), labels.size() - 1);
        ASSERT_EQ(labels.first(), m["min"].toString());
        ASSERT_EQ(labels.last(), m["max"].toString()) << a << " " << b;
        double prev = -std::numeric_limits<double>::infinity();
        for (const QString& l : labels) {
            const double v = NumberText::doubleValue(l);
            ASSERT_GE(v, lo);
            ASSERT_LE(v, hi);
            ASSERT_GT(v, prev) << l.toStdString();
            prev = v;
        }
    }
}
