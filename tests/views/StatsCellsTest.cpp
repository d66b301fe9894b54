// The statistics table of an analysis: rows by the switches, cells by the row's options and
// the axis, and the table copied as text, checked against hand-worked statistics.
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "stats/MyDescriptives.h"
#include "views/MyViewManager.h"
#include "windows/MyWindowController.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>
#include <cmath>

namespace {

QVariantMap statsSettings(const QList<const char*>& on)
{
    QVariantMap s;
    for (const char* key : {"unbiased", "stats", "showSingle", "singleUnbiased", "singleStats", "showAll", "allUnbiased",
                            "allStats"})
        s.insert(key, false);
    for (const char* key : on)
        s.insert(key, true);
    return s;
}

QVariantMap result(double statistic, double p) { return {{"statistic", statistic}, {"p", p}}; }

// One analysis of the given groups: values, counts and descriptives as the builder makes
// them (logarithms only when every value is positive), the empty tag holding all values.
class StatsCells : public ::testing::Test {
protected:
    AppDelegate delegate;
    Document doc{&delegate};
    MyWindowController graphCont{QStringLiteral("GraphWindowD")};
    std::unique_ptr<MyViewManager> vm;

    void make(const QVector<std::pair<QString, std::vector<double>>>& groups, const QStringList& singleTags = {},
              bool logarithmic = false)
    {
        MyAnalysisData d;
        d.graphType = "scatter";
        std::vector<double> all;
        for (const auto& [tag, values] : groups) {
            d.values.insert(tag, values);
            all.insert(all.end(), values.begin(), values.end());
        }
        d.values.insert(QString(), all);
        const bool positive = std::all_of(all.begin(), all.end(), [](double v) { return v > 0; });
        const MyDescriptives engine;
        for (auto it = d.values.cbegin(); it != d.values.cend(); ++it) {
            d.numbers.insert(it.key(), qint64(it.value().size()));
            d.descriptives.insert(it.key(), engine.descriptives(it.value()).second);
            std::vector<double> logs(it.value().size());
            std::transform(it.value().begin(), it.value().end(), logs.begin(), [](double v) { return std::log10(v); });
            if (positive)
                d.logDescriptives.insert(it.key(), engine.descriptives(logs).second);
        }
        d.singleTags = singleTags;
        QVariantMap settings{{"graphTitle", "t"}, {"valueSettings", QVariantMap{{"logarithmic", logarithmic}}}};
        graphCont.myDoc = &doc;
        const QVariantMap stats{{"settings", statsSettings({})}, {"stats", QVariantMap()}, {"logStats", QVariantMap()}};
        graphCont.graphID = doc.appendAnalysis(settings, QString(), stats);
        vm = std::make_unique<MyViewManager>(d, &graphCont, &doc);
        for (const auto& [tag, values] : groups)
            if (!singleTags.contains(tag))
                vm->nameTags << tag;
    }
    QVariantMap& record() { return doc.stats[graphCont.graphID]; }
    void setFlags(const QList<const char*>& on) { record()["settings"] = statsSettings(on); }
    // A cell as the table shows it.
    QString cell(qint64 row, const QString& column)
    {
        const MyViewManager::StatsOptions o = vm->statsOptions(row);
        const QVariant v = vm->representedValue(o.tag, column, o.unbiased, o.showStats, vm->isLogarithmic());
        return MyViewManager::statsCellText(v, int(MyViewManager::statsColumnIdentifiers().indexOf(column)));
    }
    // The worked example: A and X with 1..4, B and X with 2, 3, 3, 4, 3; tests run.
    void workedExample()
    {
        make({{"A\tX", {1, 2, 3, 4}}, {"B\tX", {2, 3, 3, 4, 3}}});
        setFlags({"unbiased", "stats", "showAll"});
        record()["stats"] = QVariantMap{{"A\tX", result(0.992887, 0.971954)}, {"B\tX", result(0.881038, 0.314049)}};
    }
};

TEST_F(StatsCells, RowsFollowTheSwitches)
{
    make({{"a", {1, 2, 3}}, {"b", {4, 5}}, {"s1", {1}}, {"s2", {2}}, {"s3", {3}}}, {"s1", "s2", "s3"});
    // Switches on, and the rows' tags ("" is the all-data row).
    const std::pair<QList<const char*>, QStringList> cases[] = {
        {{}, {"a", "b"}},
        {{"showSingle"}, {"a", "b", "s1", "s2", "s3"}},
        {{"showAll"}, {"a", "b", ""}},
        {{"showSingle", "showAll"}, {"a", "b", "s1", "s2", "s3", ""}},
    };
    for (const auto& [on, expected] : cases) {
        setFlags(on);
        QStringList tags;
        for (qint64 r = 0; r < vm->statsRowCount(); ++r)
            tags << vm->statsOptions(r).tag;
        EXPECT_EQ(tags, expected) << on.size();
    }
    // Each row group reads its own pair of flags.
    setFlags({"showSingle", "showAll", "unbiased", "singleStats", "allUnbiased", "allStats"});
    const std::tuple<qint64, bool, bool> flags[] = {{0, true, false}, {2, false, true}, {5, true, true}};
    for (const auto& [row, unbiased, stats] : flags) {
        EXPECT_EQ(vm->statsOptions(row).unbiased, unbiased) << row;
        EXPECT_EQ(vm->statsOptions(row).showStats, stats) << row;
    }
    EXPECT_EQ(cell(5, "tag"), "All Data");
}

TEST_F(StatsCells, CellsByCountOptionsAndAxis)
{
    std::vector<double> many(5001), limit(5000);
    for (size_t i = 0; i < many.size(); ++i)
        many[i] = 1.0 + double(i % 97);
    std::copy(many.begin(), many.begin() + 5000, limit.begin());
    make({{"two", {1, 3}}, {"three", {1, 2, 4}}, {"limit", limit}, {"many", many}, {"ten", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}});
    setFlags({"stats", "unbiased"});
    record()["stats"] = QVariantMap{{"two", QVariantMap()}, {"three", result(0.9642857, 0.6368868)},
                                    {"limit", result(0.95, 2.5e-9)}, {"many", result(0.0123, 0.25)}};
    auto expectCells = [&](std::initializer_list<std::tuple<qint64, const char*, QString>> cases) {
        for (const auto& [row, column, text] : cases)
            EXPECT_EQ(cell(row, column), text) << row << " " << column;
    };
    expectCells({
        {0, "statisticName", "N/A"},   {0, "statistic", "N/A"}, {0, "p", "N/A"},
        {1, "statisticName", "S-W W:"}, {1, "statistic", "0.964286"}, {1, "p", "0.636887"},
        {2, "statisticName", "S-W W:"}, {2, "p", "2.5e-09"},
        {3, "statisticName", "KS Dn:"}, {3, "statistic", "0.012300"},
        // No result stored for the tag: the name by its count, empty values.
        {4, "statisticName", "S-W W:"}, {4, "statistic", ""}, {4, "p", ""},
        // Two values: sample skewness undefined; 1 and 3 have variance 2 (sample) and 1.
        {0, "variance", "2.000000"}, {0, "sk", "N/A"}, {0, "ku", "N/A"}, {0, "num", "2"},
        {4, "num", "10"}, {4, "median", "5.500000"}, {4, "stdev", "3.027650"},
    });

    // Population forms; min the same either way; switches off hide the test.
    setFlags({});
    expectCells({{0, "variance", "1.000000"}, {0, "sk", "0.000000"}, {4, "stdev", "2.872281"}, {4, "min", "1.000000"},
                 {0, "statisticName", ""}, {0, "statistic", ""}, {0, "p", ""}});

    // A logarithmic axis: descriptives of the logarithms, results under "logStats".
    doc.graphSettings[graphCont.graphID]["valueSettings"] = QVariantMap{{"logarithmic", true}};
    setFlags({"stats", "unbiased"});
    // The mean of the two-value row is (log 1 + log 3) / 2.
    expectCells({{4, "max", "1.000000"}, {0, "mean", "0.238561"}, {1, "statistic", ""},
                 {1, "statisticName", "S-W W:"}});
    record()["logStats"] = QVariantMap{{"three", result(0.99, 0.9)}, {"ten", QVariantMap{{"statistic", "x"}}}};
    // A result that is no number shows nothing.
    expectCells({{1, "p", "0.900000"}, {4, "p", ""}});
}

TEST_F(StatsCells, LogarithmsOfAnAnalysisWithValuesBelowOneAreNotAvailable)
{
    make({{"a", {-1, 2, 3}}, {"b", {4, 5, 6}}}, {}, true);
    setFlags({"unbiased"});
    for (const char* column : {"min", "mean", "variance", "ku"})
        EXPECT_EQ(cell(1, column), "N/A") << column;
    EXPECT_EQ(cell(1, "num"), "3");
}

// Worked example of the copy: the text as a whole, byte for byte.
TEST_F(StatsCells, CopiedTextOfTheWorkedExample)
{
    workedExample();
    const QString rowB = "B - X\t5\t2.000000\t4.000000\t3.000000\t3.000000\t0.500000\t0.707107\t0.000000\t2.000000\t"
                         "S-W W:\t0.881038\t0.314049";
    // The all-data row in its population forms ("allUnbiased" is off).
    const QString rowAll = "All Data\t9\t1.000000\t4.000000\t2.777778\t3.000000\t0.839506\t0.916246\t-0.413737\t-0.604671\t\t\t";
    const std::tuple<QList<int>, QList<int>, QString> cases[] = {
        {{}, {0, 1, 4, 10}, "Category\tNum\tAverage\tName\nA - X\t4\t2.500000\tS-W W:\nB - X\t5\t3.000000\tS-W W:\n"
                            "All Data\t9\t2.777778\t"},
        {{1}, {}, rowB},
        {{1}, {0, 3}, rowB},                 // rows win over columns
        {{2, 1, 1}, {}, rowB + "\n" + rowAll},
        {{}, {12, 1}, "Num\tp\n4\t0.971954\n5\t0.314049\n9\t"},
    };
    for (const auto& [rows, columns, expected] : cases) {
        const std::optional<QString> text = vm->statsText(rows, columns);
        ASSERT_TRUE(text);
        EXPECT_EQ(text->toStdString(), expected.toStdString());
    }
    EXPECT_FALSE(vm->statsText({}, {}));

    // The copy replaces the clipboard only when something is selected.
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("before");
    vm->copyStatsWithSelectedRowIndexes({}, {});
    EXPECT_EQ(clipboard->text(), "before");
    vm->copyStatsWithSelectedRowIndexes({}, {1});
    EXPECT_EQ(clipboard->text(), "Num\n4\n5\n9");
    EXPECT_TRUE(clipboard->mimeData()->hasText());
}

// Six decimals keep what they can show; values that would copy as 0.000000 keep their
// digits, and counts are whole whatever their size.
TEST_F(StatsCells, NumbersKeepTheirSignificantDigits)
{
    const std::tuple<QVariant, int, QString> cases[] = {
        {2.5, 4, "2.500000"},
        {0.0, 6, "0.000000"},
        {1e-6, 12, "0.000001"},
        {4.9e-7, 12, "4.9e-07"},
        {2.2e-16, 6, "2.2e-16"},
        {-1.23456789e-9, 8, "-1.23457e-09"},
        {1234567.25, 2, "1234567.250000"},
        {QVariant::fromValue<qint64>(6000000000), 1, "6000000000"},
        {QStringLiteral("N/A"), 11, "N/A"},
        {QStringLiteral("a\tb\tc"), 0, "a - b - c"},
        {QVariant(), 5, ""},
    };
    for (const auto& [value, position, text] : cases)
        EXPECT_EQ(MyViewManager::statsCellText(value, position), text) << value.toString().toStdString();
}

// A stored result that is no finite number (older versions stored nan for tests on values
// near 1e-300) is no result: N/A in the table and in the copy, never "nan".
TEST_F(StatsCells, AResultThatIsNoNumberIsNotAvailable)
{
    make({{"a", {1, 2, 4}}, {"b", {1, 3, 4, 8}}});
    setFlags({"stats"});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    record()["stats"] = QVariantMap{{"a", result(nan, -nan)}, {"b", result(0.9, std::numeric_limits<double>::infinity())}};
    for (const char* column : {"statistic", "p"})
        EXPECT_EQ(cell(0, column), "N/A") << column;
    EXPECT_EQ(cell(1, "statistic"), "0.900000");
    EXPECT_EQ(cell(1, "p"), "N/A");
    EXPECT_EQ(vm->statsText({}, {11, 12}).value_or(QString()), QStringLiteral("Statistic\tp\nN/A\tN/A\n0.900000\tN/A"));
}

} // namespace
