#include "analysis/MyValueSettingsCheck.h"
#include "analysis/MyAxisScale.h"
#include "platform/NumberText.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>
#include <cmath>
#include <random>

namespace {

// The labels as the stored dictionary holds them: a list of texts.
QVariantList texts(const QStringList& l) { return QVariant(l).toList(); }

// "min max l1,l2,... [log]"
QVariantMap settingsFrom(const QString& text)
{
    const QStringList p = text.split(' ');
    // "none": an axis whose labels were all deleted.
    const QStringList labels = p[2] == "none" ? QStringList() : p[2].split(',');
    return {{"min", p[0]}, {"max", p[1]}, {"partition", qint64(labels.size() - 1)}, {"scaleStrings", texts(labels)},
            {"logarithmic", p.value(3) == "log"}};
}

QVariant objectFrom(const QString& field)
{
    const QString v = field.mid(2);
    switch (field[0].toLatin1()) {
    case 'b': return v == "true";
    case 'i': return v.toLongLong();
    case 'l': return v.isEmpty() ? QVariantList{} : texts(v.split(','));
    case 'm': return settingsFrom(v);
    case 'h': {   // the same settings in a hash, which is no dictionary of a property list
        const QVariantMap m = settingsFrom(v);
        return QVariantHash(m.begin(), m.end());
    }
    case 'k': return QVariantMap{{v.section('=', 0, 0), v.section('=', 1)}};
    default: return v;
    }
}

class ValueSettingsEdits : public ::testing::TestWithParam<QString> {};

} // namespace

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
    const struct { double value; int decimals; const char* text; } cases[] = {
        {-0.0, 1, "0.0"}, {-0.04, 1, "0.0"}, {-1e-17, 3, "0.000"}, {-0.4, 0, "0"}, {-0.06, 1, "-0.1"}, {-0.5001, 0, "-1"}, {0.04, 1, "0.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(MyAxisScale::fixedText(c.value, c.decimals), c.text) << c.value;
}

TEST(AxisScale, NonFiniteOrShortRangeGivesUnitScale)
{
    const QVariantMap unit = MyAxisScale::defaultMinMax(0.0, 1.0);
    EXPECT_EQ(MyAxisScale::defaultMinMax(QVariantList{3.0}), unit);
    EXPECT_EQ(MyAxisScale::defaultMinMax(1.0, std::numeric_limits<double>::infinity()), unit);
}

// Ranges near the largest double: rounded while the steps still fit, else the data's own ends
// as the only labels; no end passes the largest double. Labels worked out by hand: a step of
// 1, 2, 2.5 or 5 times a power of ten near a third of the range, one step beyond the top.
TEST(AxisScale, HugeRangesRoundOrFallBackToTheirEnds)
{
    const double big = std::numeric_limits<double>::max();
    const struct { double a, b; std::vector<double> labels; } cases[] = {
        {1e300, 3e300, {1e300, 1.5e300, 2e300, 2.5e300, 3e300, 3.5e300}},
        {-3e300, -1e300, {-3.5e300, -3e300, -2.5e300, -2e300, -1.5e300, -1e300}},
        {1e300, 1e300, {6e299, 8e299, 1e300, 1.2e300, 1.4e300}},
        {-1e300, -1e300, {-1.4e300, -1.2e300, -1e300, -8e299, -6e299}},
        {1e308, 1.5e308, {1e308, 1.2e308, 1.4e308, 1.6e308}},
        // The steps' count overflows: the ends themselves.
        {-6e307, 6e307, {-6e307, 6e307}},
        {-1e308, 1e308, {-1e308, 1e308}},
        {-big, big, {-big, big}},
        {0, big, {0, big}},
        // One value too large to widen by a third on both sides: that end stays.
        {big, big, {big - big / 3, big}},
        {-big, -big, {-big, -big + big / 3}},
        {1.5e308, 1.5e308, {1e308, big}},
    };
    for (const auto& c : cases) {
        const QVariantMap m = MyAxisScale::defaultMinMax(c.a, c.b);
        const QStringList labels = m.value("scaleStrings").toStringList();
        SCOPED_TRACE(testing::Message() << c.a << " " << c.b << ": " << labels.join(' ').left(400).toStdString());
        ASSERT_EQ(labels.size(), qsizetype(c.labels.size()));
        EXPECT_EQ(m["partition"].toLongLong(), labels.size() - 1);
        EXPECT_EQ(m["min"].toString(), labels.first());
        EXPECT_EQ(m["max"].toString(), labels.last());
        for (qsizetype i = 0; i < labels.size(); ++i)
            EXPECT_NEAR(NumberText::doubleValue(labels[i]), c.labels[i], std::fabs(c.labels[i]) * 1e-15) << i;
    }
}

TEST(AxisScale, RandomRangesEncloseDataAndLabels)
{
    std::mt19937_64 rng(20261206);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> expo(-12, 12), wide(-300, 300);
    for (int i = 0; i < 20000; ++i) {
        // Every fifth range anywhere in the doubles' span, where the labels print every digit.
        auto& e = i % 5 ? expo : wide;
        const double a = mant(rng) * std::pow(10.0, e(rng));
        double b = (i % 7 == 0) ? a : a + std::fabs(mant(rng)) * std::pow(10.0, e(rng));
        if (!std::isfinite(b))
            continue;
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

INSTANTIATE_TEST_SUITE_P(Rules, ValueSettingsEdits, ::testing::ValuesIn(caseLines("value-edits.txt")),
                         [](const auto& info) { return info.param.section(" | ", 0, 0).toStdString(); });

TEST_P(ValueSettingsEdits, FollowsTheAxisRules)
{
    const QStringList f = GetParam().split(" | ");
    ASSERT_GE(f.size(), 6);
    const QVariantMap stored = settingsFrom(f[1]);
    const QVariant object = objectFrom(f[3]);
    const QStringList data = f.value(7, "1 9").split(' ');
    const ValueSettingsResult r = MyValueSettingsCheck::adjustValueSettings(object, f[2], f[4].toInt(), stored,
                                                                           data[0].toDouble(), data[1].toDouble());
    const char* outcomes[] = {"Refused", "Passed", "Replaced"};
    ASSERT_EQ(outcomes[r.outcome], f[5]);
    // Refused: nothing; passed: the value as typed; replaced: the settings of the case.
    QVariantMap replaced = settingsFrom(f.value(6, "- - -"));
    replaced["logarithmic"] = stored["logarithmic"];   // untouched keys stay
    const QVariant expected[] = {QVariant(), object, replaced};
    EXPECT_EQ(r.value, expected[r.outcome]);
}

// Whatever is typed, an accepted edit leaves an axis that covers the data with room between
// its ends, holds its labels, counts them in "partition", and on a logarithmic axis has
// nothing at or below 0.
TEST(ValueSettingsCheck, RandomEditsKeepTheAxisRules)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0, 1);
    const ScaleTextRules rules = ScaleTextRules::plain();
    const QString titles[] = {"partition", "min", "max", "", "logarithmic"};   // "" edits a label
    for (int round = 0; round < 5000; ++round) {
        const double scale = std::pow(10.0, std::uniform_int_distribution<int>(-3, 4)(rng));
        const double dataMin = (unit(rng) * 2 - (round % 3 == 0 ? 0 : 1)) * scale;
        const double dataMax = dataMin + unit(rng) * scale;
        QVariantMap stored = MyAxisScale::defaultMinMax(dataMin, dataMax);
        if (round % 2 && rules.valueOf(stored["min"].toString()) > 0)
            stored["logarithmic"] = true;

        const QString title = titles[round % 5];
        QVariant object = QString::number((unit(rng) * 4 - 2) * scale, 'g', 6);
        int labelIndex = 0;
        if (title == "partition")
            object = qint64(std::uniform_int_distribution<int>(-1, 12)(rng));
        if (title == "logarithmic")
            object = bool(rng() % 2);
        if (title.isEmpty()) {
            labelIndex = int(rng() % stored["scaleStrings"].toList().size());
            if (rng() % 4 == 0)
                object = QString();
        }
        const ValueSettingsResult r =
            MyValueSettingsCheck::adjustValueSettings(object, title, labelIndex, stored, dataMin, dataMax, rules);
        if (r.outcome == ValueSettingsResult::Refused)
            continue;
        QVariantMap after = stored;
        QVariantList labels = after["scaleStrings"].toList();
        if (r.outcome == ValueSettingsResult::Replaced) {
            after = r.value.toMap();
            labels = after["scaleStrings"].toList();
            ASSERT_EQ(after["partition"].toLongLong(), labels.size() - 1);
        } else if (title.isEmpty()) {
            labels[labelIndex] = r.value;
        } else {
            after[title] = r.value;
        }
        const double min = rules.valueOf(after["min"].toString());
        const double max = rules.valueOf(after["max"].toString());
        const bool log = after["logarithmic"].toBool();
        ASSERT_LE(min, dataMin);
        ASSERT_GE(max, dataMax);
        ASSERT_LT(min, max);
        ASSERT_TRUE(!log || min > 0);
        ASSERT_FALSE(labels.isEmpty());
        for (const QVariant& l : labels) {
            const double v = rules.valueOf(l.toString());
            ASSERT_GE(v, min - 1e-9 * std::fabs(min)) << l.toString().toStdString();
            ASSERT_LE(v, max + 1e-9 * std::fabs(max)) << l.toString().toStdString();
            ASSERT_TRUE(!log || v > 0) << l.toString().toStdString();
        }
    }
}
