#include "analysis/MyValueSettingsCheck.h"
#include "analysis/MyAxisScale.h"
#include <gtest/gtest.h>
#include <cmath>
#include <random>

namespace {

QVariantList texts(const QStringList& l)
{
    QVariantList out;
    for (const QString& s : l)
        out << s;
    return out;
}

QVariantMap settings(const QString& min, const QString& max, const QStringList& labels, bool log = false)
{
    return {{"min", min},
            {"max", max},
            {"partition", qint64(labels.size() - 1)},
            {"scaleStrings", texts(labels)},
            {"logarithmic", log}};
}

const QVariantMap kBase = settings("0", "10", {"0", "2", "4", "6", "8", "10"});

struct Edit {
    const char* name;
    QVariantMap stored;
    QString title;
    QVariant object;
    int labelIndex;
    ValueSettingsResult::Outcome outcome;
    // For a replacement: the expected min, max and labels.
    QString min = {}, max = {};
    QStringList labels = {};
    double dataMin = 1, dataMax = 9;
};

void PrintTo(const Edit& e, std::ostream* os) { *os << e.name; }

class ValueSettingsEdits : public ::testing::TestWithParam<Edit> {};

using O = ValueSettingsResult;

} // namespace

// Texts min 0 and max 10, labels 0..10 by 2, data from 1 to 9 unless the case says otherwise.
INSTANTIATE_TEST_SUITE_P(
    Rules, ValueSettingsEdits,
    ::testing::Values(
        Edit{"logOnWithMinZero", kBase, "logarithmic", true, 0, O::Refused},
        Edit{"logOnWithMinHalf", settings("0.5", "10", {"0.5", "10"}), "logarithmic", true, 0, O::Passed},
        Edit{"logOff", settings("0.5", "10", {"0.5", "10"}, true), "logarithmic", false, 0, O::Passed},
        Edit{"logNotBool", kBase, "logarithmic", QString("YES"), 0, O::Refused},
        // A logarithmic axis never gets a minimum at or below 0.
        Edit{"logMinTypedZero", settings("0.5", "10", {"0.5", "10"}, true), "min", QString("0"), 0, O::Refused},
        Edit{"logMinTypedSmaller", settings("0.5", "10", {"0.5", "10"}, true), "min", QString("0.1"), 0, O::Passed},
        Edit{"logLabelZero", settings("0.5", "10", {"0.5", "10"}, true), "", QString("0"), 0, O::Refused},
        Edit{"maxBelowData", kBase, "max", QString("8"), 0, O::Refused},
        Edit{"maxAtData", kBase, "max", QString("9"), 0, O::Replaced, "0", "9", {"0", "2", "4", "6", "8"}},
        Edit{"maxAbove", kBase, "max", QString("12"), 0, O::Passed},
        Edit{"minAboveData", kBase, "min", QString("2"), 0, O::Refused},
        Edit{"minBelow", kBase, "min", QString("-2"), 0, O::Passed},
        Edit{"minDropsLabel", kBase, "min", QString("1"), 0, O::Replaced, "1", "10", {"2", "4", "6", "8", "10"}},
        Edit{"minWithUnit", kBase, "min", QString(" -1 cm"), 0, O::Passed},
        // An axis keeps finite ends apart.
        Edit{"maxInfinite", kBase, "max", QString("1e999"), 0, O::Refused},
        Edit{"minInfinite", kBase, "min", QString("-1e999"), 0, O::Refused},
        Edit{"minMeetsMax", settings("3", "5", {"3", "5"}), "min", QString("5"), 0, O::Refused, {}, {}, {}, 5, 5},
        Edit{"maxMeetsMin", settings("5", "7", {"5", "7"}), "max", QString("5"), 0, O::Refused, {}, {}, {}, 5, 5},
        Edit{"maxAtEqualData", settings("3", "7", {"3", "5", "7"}), "max", QString("5"), 0, O::Replaced, "3", "5",
             {"3", "5"}, 5, 5},
        Edit{"pasteInfinite", kBase, "valueSettings", settings("0", "1e999", {"0"}), 0, O::Refused},
        Edit{"pasteEndsMeet", settings("3", "7", {"3", "7"}), "valueSettings", settings("5", "5", {"5"}), 0,
             O::Refused, {}, {}, {}, 5, 5},
        Edit{"minNotNumber", kBase, "min", QString("x1"), 0, O::Refused},
        Edit{"minEmpty", kBase, "min", QString(""), 0, O::Refused},
        Edit{"maxEmpty", kBase, "max", QString(""), 0, O::Refused},
        Edit{"labelOutside", kBase, "", QString("12"), 2, O::Refused},
        Edit{"labelInside", kBase, "", QString("5"), 2, O::Passed},
        Edit{"labelNotNumber", kBase, "", QString("five"), 2, O::Refused},
        Edit{"labelDeleted", kBase, "", QString(""), 2, O::Replaced, "0", "10", {"0", "2", "6", "8", "10"}},
        // The last label stays.
        Edit{"lastLabelDeleted", settings("0", "10", {"5"}), "", QString(""), 0, O::Refused},
        Edit{"labelIndexOutside", kBase, "", QString(""), 6, O::Refused},
        // Dropping every label leaves the typed end as the one label.
        Edit{"maxDropsAll", settings("0", "10", {"10"}), "max", QString("9"), 0, O::Replaced, "0", "9", {"9"}},
        Edit{"partitionSame", kBase, "partition", qint64(5), 0, O::Refused},
        Edit{"partitionNotInt", kBase, "partition", QString("3"), 0, O::Refused},
        Edit{"partitionReal", kBase, "partition", 3.0, 0, O::Refused},
        Edit{"partitionNegative", kBase, "partition", qint64(-1), 0, O::Refused},
        Edit{"partition0", kBase, "partition", qint64(0), 0, O::Replaced, "0", "10", {"10"}},
        Edit{"partition1", kBase, "partition", qint64(1), 0, O::Replaced, "0", "10", {"0", "10"}},
        Edit{"partition2", kBase, "partition", qint64(2), 0, O::Replaced, "0", "10", {"0", "5", "10"}},
        // Half-way labels keep their digit.
        Edit{"partition2Half", settings("0", "3", {"0", "3"}), "partition", qint64(2), 0, O::Replaced, "0", "3",
             {"0", "1.5", "3"}},
        Edit{"partition4Steps5", settings("0", "30", {"0", "30"}), "partition", qint64(4), 0, O::Replaced, "0", "30",
             {"0", "5", "10", "15", "20"}},
        Edit{"partition4Steps25", settings("0", "100", {"0", "100"}), "partition", qint64(4), 0, O::Replaced, "0",
             "100", {"0", "25", "50", "75", "100"}},
        Edit{"partition4Tenths", settings("0", "0.6", {"0", "0.6"}), "partition", qint64(4), 0, O::Replaced, "0",
             "0.6", {"0.0", "0.1", "0.2", "0.3", "0.4"}},
        Edit{"partition4MinDigits", settings("0.05", "0.65", {"0.05", "0.65"}), "partition", qint64(4), 0,
             O::Replaced, "0.05", "0.65", {"0.05", "0.15", "0.25", "0.35", "0.45"}},
        // A step of 2.5 is printed with its digit, not rounded to even.
        Edit{"partition4Step2_5", kBase, "partition", qint64(4), 0, O::Replaced, "0", "10",
             {"0.0", "2.5", "5.0", "7.5", "10.0"}},
        // The typed minimum's digits survive a whole-number step.
        Edit{"partition4OddMin", settings("0.5", "100.5", {"0.5", "100.5"}), "partition", qint64(4), 0, O::Replaced,
             "0.5", "100.5", {"0.5", "25.5", "50.5", "75.5", "100.5"}},
        // A step estimate whose log10 rounds up onto its power of ten.
        Edit{"partition3Point3", settings("0", "0.3", {"0", "0.3"}), "partition", qint64(3), 0, O::Replaced, "0",
             "0.3", {"0.00", "0.05", "0.10", "0.15"}},
        Edit{"partitionEqualEnds", settings("4", "4", {"4"}), "partition", qint64(3), 0, O::Refused},
        Edit{"scaleStringsShorter", kBase, "scaleStrings", texts({"0", "5", "10"}), 0, O::Replaced, "0", "10",
             {"0", "5", "10"}},
        Edit{"scaleStringsOutside", kBase, "scaleStrings", texts({"0", "5", "11"}), 0, O::Refused},
        Edit{"scaleStringsSameCount", kBase, "scaleStrings", texts({"0", "1", "2", "3", "4", "5"}), 0, O::Passed},
        Edit{"scaleStringsEmpty", kBase, "scaleStrings", QVariantList{}, 0, O::Refused},
        Edit{"logScaleStringsZero", settings("0.5", "10", {"0.5", "10"}, true), "scaleStrings", texts({"0", "1"}), 0,
             O::Refused},
        Edit{"pasteNarrow", kBase, "valueSettings", settings("0", "8.5", {"0", "8.5"}), 0, O::Refused},
        Edit{"pasteFits", kBase, "valueSettings", settings("1", "9", {"1", "9"}), 0, O::Passed},
        Edit{"pasteWithoutMin", kBase, "valueSettings", QVariantMap{{"max", "9"}}, 0, O::Refused},
        Edit{"pasteLogFromZero", kBase, "valueSettings", settings("0", "10", {"0", "10"}, true), 0, O::Refused},
        Edit{"pasteLogPositive", settings("0.5", "10", {"0.5", "10"}), "valueSettings",
             settings("0.5", "10", {"0.5", "1", "10"}, true), 0, O::Passed}));

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
    EXPECT_EQ(m["min"].toString(), e.min);
    EXPECT_EQ(m["max"].toString(), e.max);
    QStringList labels = {};
    for (const QVariant& v : m["scaleStrings"].toList())
        labels << v.toString();
    EXPECT_EQ(labels, e.labels);
    EXPECT_EQ(m["partition"].toLongLong(), e.labels.size() - 1);
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
        const double storedMin = rules.valueOf(stored["min"].toString());
        if (round % 2 && storedMin > 0)
            stored["logarithmic"] = true;

        QString title;
        QVariant object;
        int labelIndex = 0;
        const QString typed = QString::number((unit(rng) * 4 - 2) * scale, 'g', 6);
        switch (round % 5) {
        case 0: title = "partition"; object = qint64(std::uniform_int_distribution<int>(-1, 12)(rng)); break;
        case 1: title = "min"; object = typed; break;
        case 2: title = "max"; object = typed; break;
        case 3:
            title = "";
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
        ASSERT_LE(min, dataMin);
        ASSERT_GE(max, dataMax);
        ASSERT_LT(min, max);
        ASSERT_FALSE(labels.isEmpty());
        if (r.outcome == ValueSettingsResult::Replaced) {
            ASSERT_EQ(after["partition"].toLongLong(), labels.size() - 1);
        }
        for (const QVariant& l : labels) {
            const double v = rules.valueOf(l.toString());
            ASSERT_GE(v, min - 1e-9 * std::fabs(min)) << l.toString().toStdString();
            ASSERT_LE(v, max + 1e-9 * std::fabs(max)) << l.toString().toStdString();
            if (after["logarithmic"].toBool()) {
                ASSERT_GT(v, 0);
            }
        }
        if (after["logarithmic"].toBool()) {
            ASSERT_GT(min, 0);
            ASSERT_GT(max, 0);
        }
    }
}
