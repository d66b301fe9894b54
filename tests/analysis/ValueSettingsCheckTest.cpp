#include "analysis/MyValueSettingsCheck.h"
#include "analysis/MyAxisScale.h"
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
    const QStringList labels = p[2].split(',');
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
    case 'k': return QVariantMap{{v.section('=', 0, 0), v.section('=', 1)}};
    default: return v;
    }
}

class ValueSettingsEdits : public ::testing::TestWithParam<QString> {};

} // namespace

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
    if (r.outcome != ValueSettingsResult::Replaced) {
        EXPECT_EQ(r.value, r.outcome == ValueSettingsResult::Passed ? object : QVariant());
    }
    if (r.outcome == ValueSettingsResult::Replaced) {
        ASSERT_GE(f.size(), 7);
        QVariantMap expected = settingsFrom(f[6]);
        expected["logarithmic"] = stored["logarithmic"];   // untouched keys stay
        EXPECT_EQ(r.value, QVariant(expected));
    }
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
