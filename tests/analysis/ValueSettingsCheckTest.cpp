#include "analysis/MyValueSettingsCheck.h"
#include "analysis/MyAxisScale.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>
#include <cmath>
#include <random>

namespace {

// The labels as the stored dictionary holds them: a list of texts.
QVariantList texts(const QStringList& l) { return QVariant(l).toList(); }

struct Edit {
    QString name;
    QVariantMap stored;
    QString title;
    QVariant object;
    int labelIndex = 0;
    ValueSettingsResult::Outcome outcome = ValueSettingsResult::Refused;
    QVariantMap replacement;   // expected min, max and labels of a replacement
    double dataMin = 1, dataMax = 9;
};

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

std::vector<Edit> loadEdits()
{
    std::vector<Edit> edits;
    for (const QString& line : caseLines("value-edits.txt")) {
        const QStringList f = line.split(" | ");
        if (f.size() < 6)
            continue;   // a malformed line is caught by the count below
        const QStringList data = f.value(7, "1 9").split(' ');
        const auto outcome = f[5] == "Passed"     ? ValueSettingsResult::Passed
                             : f[5] == "Replaced" ? ValueSettingsResult::Replaced
                                                  : ValueSettingsResult::Refused;
        edits.push_back({f[0], settingsFrom(f[1]), f[2], objectFrom(f[3]), f[4].toInt(), outcome,
                         f.value(6).isEmpty() ? QVariantMap{} : settingsFrom(f[6]), data[0].toDouble(),
                         data[1].toDouble()});
    }
    return edits;
}

void PrintTo(const Edit& e, std::ostream* os) { *os << e.name.toStdString(); }

class ValueSettingsEdits : public ::testing::TestWithParam<Edit> {};

using O = ValueSettingsResult;

} // namespace

TEST(ValueSettingsCheck, EveryCaseIsRead)
{
    EXPECT_EQ(loadEdits().size(), 48u);
}

INSTANTIATE_TEST_SUITE_P(Rules, ValueSettingsEdits, ::testing::ValuesIn(loadEdits()),
                         [](const auto& info) { return info.param.name.toStdString(); });

TEST_P(ValueSettingsEdits, FollowsTheAxisRules)
{
    const Edit& e = GetParam();
    const ValueSettingsResult r = MyValueSettingsCheck::adjustValueSettings(e.object, e.title, e.labelIndex, e.stored, e.dataMin,
                                                                               e.dataMax);
    ASSERT_EQ(r.outcome, e.outcome);
    if (r.outcome == O::Passed) {
        EXPECT_EQ(r.value, e.object);
    }
    if (r.outcome == O::Refused) {
        EXPECT_FALSE(r.value.isValid());
    }
    if (r.outcome != O::Replaced)
        return;
    const QVariantMap m = r.value.toMap();
    for (const char* key : {"min", "max", "scaleStrings", "partition"})
        EXPECT_EQ(m[key], e.replacement[key]) << key;
    EXPECT_EQ(m["logarithmic"], e.stored["logarithmic"]);   // untouched keys stay
}

// Whatever is typed, an accepted edit leaves an axis that covers the data with room between
// its ends, holds its labels, counts them in "partition", and on a logarithmic axis has
// nothing at or below 0.
TEST(ValueSettingsCheck, RandomEditsKeepTheAxisRules)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0, 1);
    const ScaleTextRules rules = ScaleTextRules::plain();
    for (int round = 0; round < 5000; ++round) {
        const double scale = std::pow(10.0, std::uniform_int_distribution<int>(-3, 4)(rng));
        const double dataMin = (unit(rng) * 2 - (round % 3 == 0 ? 0 : 1)) * scale;
        const double dataMax = dataMin + unit(rng) * scale;
        QVariantMap stored = MyAxisScale::defaultMinMax(dataMin, dataMax);
        if (round % 2 && rules.valueOf(stored["min"].toString()) > 0)
            stored["logarithmic"] = true;

        QString title;
        QVariant object;
        int labelIndex = 0;
        const QString typed = QString::number((unit(rng) * 4 - 2) * scale, 'g', 6);
        switch (round % 5) {
        case 0: title = "partition"; object = qint64(std::uniform_int_distribution<int>(-1, 12)(rng)); break;
        case 1: title = "min"; object = typed; break;
        case 2: title = "max"; object = typed; break;
        case 3:   // a label
            labelIndex = int(rng() % stored["scaleStrings"].toList().size());
            object = rng() % 4 ? typed : QString();
            break;
        case 4: title = "logarithmic"; object = bool(rng() % 2); break;
        }
        const ValueSettingsResult r =
            MyValueSettingsCheck::adjustValueSettings(object, title, labelIndex, stored, dataMin, dataMax, rules);
        if (r.outcome == ValueSettingsResult::Refused)
            continue;
        QVariantMap after = stored;
        if (r.outcome == ValueSettingsResult::Replaced) {
            after = r.value.toMap();
        } else if (title.isEmpty()) {
            QVariantList labels = after["scaleStrings"].toList();
            labels[labelIndex] = r.value;
            after["scaleStrings"] = labels;
        } else {
            after[title] = r.value;
        }
        const double min = rules.valueOf(after["min"].toString()), max = rules.valueOf(after["max"].toString());
        const QVariantList labels = after["scaleStrings"].toList();
        const bool log = after["logarithmic"].toBool();
        ASSERT_LE(min, dataMin);
        ASSERT_GE(max, dataMax);
        ASSERT_LT(min, max);
        ASSERT_TRUE(!log || min > 0);
        ASSERT_FALSE(labels.isEmpty());
        if (r.outcome == ValueSettingsResult::Replaced) {
            ASSERT_EQ(after["partition"].toLongLong(), labels.size() - 1);
        }
        for (const QVariant& l : labels) {
            const double v = rules.valueOf(l.toString());
            ASSERT_GE(v, min - 1e-9 * std::fabs(min)) << l.toString().toStdString();
            ASSERT_LE(v, max + 1e-9 * std::fabs(max)) << l.toString().toStdString();
            ASSERT_TRUE(!log || v > 0) << l.toString().toStdString();
        }
    }
}
