#include "analysis/MyAnalysisBuilder.h"
#include "outline/MySelectorItem.h"
#include "stats/MyDescriptives.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>
#include <random>

namespace {

std::vector<double> vec(std::initializer_list<double> l) { return std::vector<double>(l); }

QVariantList entries(const QStringList& names)
{
    QVariantList out;
    for (const QString& n : names)
        out << QVariantMap{{"origName", n}, {"represent", n.toUpper()}};
    return out;
}

const MyDescriptives kEngine;

// Every kept list as "key: values (count)", keys sorted, tabs shown as '|'.
std::string listed(const MyAnalysisData& d)
{
    QStringList keys = d.values.keys();
    keys.sort();
    QString out;
    for (const QString& key : keys) {
        out += QString(key).replace('\t', '|') + ":";
        for (double v : d.values.value(key))
            out += ' ' + QString::number(v);
        out += QString(" (%1)\n").arg(d.numbers.value(key, -1));
    }
    return out.toStdString();
}

} // namespace

// The worked example: W = 1, missing, 3; H = 4, 5, 6; Sex = f, m, f; data columns first.
TEST(AnalysisBuilder, WorkedExample)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = analysis(&root, "scatter", {{"W", {1.0, std::nullopt, 3.0}}, {"H", {4.0, 5.0, 6.0}}},
                                 {{"Sex", {"f", "m", "f"}}}, true);
    const auto d = MyAnalysisBuilder(kEngine).analysisFromSelection(a);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->graphType, "scatter");
    EXPECT_EQ(d->title, "Untitled");
    EXPECT_EQ(d->minMax, vec({1, 6}));
    EXPECT_EQ(d->singleTags, (QStringList{"W", "H", "Sex_f", "Sex_m"}));
    EXPECT_EQ(d->categoryNames, (QStringList{"W\tf", "W\tm", "H\tf", "H\tm"}));
    EXPECT_EQ(listed(*d), ": 1 3 4 5 6 (5)\nH: 4 5 6 (3)\nH|f: 4 6 (2)\nH|m: 5 (1)\nSex_f: 1 3 4 6 (4)\n"
                          "Sex_m: 5 (1)\nW: 1 3 (2)\nW|f: 1 3 (2)\nW|m: (0)\n");
    ASSERT_EQ(d->categoryDicts.size(), 2);
    EXPECT_EQ(d->categoryDicts[0].toMap().value("categoryTitle"), "dataColumns");
    EXPECT_EQ(d->categoryDicts[0].toMap().value("represents"),
              QVariant(QVariantList{QVariantMap{{"origName", "W"}, {"represent", "W!"}},
                                    QVariantMap{{"origName", "H"}, {"represent", "H!"}}}));
    EXPECT_EQ(d->categoryDicts[1].toMap().value("categoryTitle"), "c_Sex");
    EXPECT_EQ(d->categoryDicts[1].toMap().value("represents"), QVariant(entries({"f", "m"})));
    // Hand-computed statistics.
    EXPECT_DOUBLE_EQ(*d->descriptives.value("Sex_f").mean, 3.5);
    EXPECT_DOUBLE_EQ(*d->descriptives.value("").median, 4.0);
    EXPECT_FALSE(d->descriptives.value("W\tm").mean.has_value());
    EXPECT_DOUBLE_EQ(*d->graphDescriptives.value("H\tf").mean, 5.0);
    EXPECT_DOUBLE_EQ(*d->graphDescriptives.value("H\tf").median, 5.0);
    EXPECT_TRUE(d->outliers.value("H\tf").empty());
    // Every value is positive: logarithmic entries for every key.
    EXPECT_EQ(d->graphLogDescriptives.size(), 4);
    EXPECT_EQ(d->logDescriptives.size(), d->descriptives.size());
    EXPECT_NEAR(*d->logDescriptives.value("W").mean, std::log10(3.0) / 2, 1e-15);
    EXPECT_NEAR(*d->graphLogDescriptives.value("H\tm").median, std::log10(5.0), 1e-15);
    // Every item read is marked as no longer being edited.
    EXPECT_EQ(dump(a).find("editing"), std::string::npos) << dump(a);
}

// The statistics a user reads for a small boxplot table. The expected numbers were worked
// out in Python: sums of powers as exact fractions, then the population and sample formulas
// (sample skewness and kurtosis as spreadsheets' SKEW and KURT); box values by Tukey's hinges.
TEST(AnalysisBuilder, SmallTableStatisticsByHand)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = analysis(&root, "boxplot", {{"X", {1.0, 2.0, 3.0, 4.0, 100.0, 5.0, 6.0}}},
                                 {{"G", {"a", "a", "a", "a", "a", "b", "b"}}}, true);
    const auto d = MyAnalysisBuilder(kEngine).analysisFromSelection(a);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->categoryNames, (QStringList{"X\ta", "X\tb"}));
    struct Expected {
        const char* key;
        qint64 n;
        double mean, median, varianceP, variance, skP, kuP;
        std::optional<double> sk, ku;
    };
    const Expected rows[] = {
        {"X\ta", 5, 22, 3, 1522, 1902.5, 1.49753670333352, 0.24671648930016365, 2.2323959116364582,
         4.986865957200656},
        {"X\tb", 2, 5.5, 5.5, 0.25, 0.5, 0, -2, std::nullopt, std::nullopt},
        {"", 7, 17.285714285714285, 4, 1142.7755102040817, 1333.2380952380952, 2.031870426620943,
         2.1462781499587793, 2.6336050735387375, 6.951067559901073},
    };
    for (const Expected& e : rows) {
        SCOPED_TRACE(e.key);
        const DescriptivesDict s = d->descriptives.value(e.key);
        EXPECT_EQ(d->numbers.value(e.key), e.n);
        EXPECT_NEAR(*s.mean, e.mean, 1e-12);
        EXPECT_EQ(*s.median, e.median);
        EXPECT_NEAR(*s.varianceP, e.varianceP, 1e-9);
        EXPECT_NEAR(*s.variance, e.variance, 1e-9);
        EXPECT_NEAR(*s.stdevP, std::sqrt(e.varianceP), 1e-12);
        EXPECT_NEAR(*s.stdev, std::sqrt(e.variance), 1e-12);
        EXPECT_NEAR(*s.skP, e.skP, 1e-12);
        EXPECT_NEAR(*s.kuP, e.kuP, 1e-12);
        EXPECT_EQ(s.sk.has_value(), e.sk.has_value());
        EXPECT_NEAR(s.sk.value_or(0), e.sk.value_or(0), 1e-12);
        EXPECT_EQ(s.ku.has_value(), e.ku.has_value());
        EXPECT_NEAR(s.ku.value_or(0), e.ku.value_or(0), 1e-12);
    }
    EXPECT_EQ(*d->descriptives.value("X\ta").min, 1);
    EXPECT_EQ(*d->descriptives.value("X\ta").max, 100);

    // 1, 2, 3, 4, 100: hinges 2 and 4, fences -1 and 7.
    const BoxValuesDict box = d->graphDescriptives.value("X\ta");
    EXPECT_EQ(vec({*box.median, *box.q1, *box.q3, *box.boxMin, *box.boxMax}), vec({3, 2, 4, 1, 4}));
    EXPECT_EQ(d->outliers.value("X\ta"), vec({100}));
    const BoxValuesDict pair = d->graphDescriptives.value("X\tb");
    EXPECT_EQ(*pair.q1, 5);
    EXPECT_EQ(*pair.q3, 6);
    EXPECT_TRUE(d->outliers.value("X\tb").empty());
    // On the logarithms the hinges are log 2 and log 4; 100 lies beyond log 4 + 1.5 log 2.
    const BoxValuesDict logBox = d->graphLogDescriptives.value("X\ta");
    EXPECT_NEAR(*logBox.q1, std::log10(2.0), 1e-15);
    EXPECT_NEAR(*logBox.boxMax, std::log10(4.0), 1e-15);
    EXPECT_EQ(d->logOutliers.value("X\ta"), vec({2}));
    EXPECT_NEAR(*d->logDescriptives.value("X\tb").mean, (std::log10(5.0) + std::log10(6.0)) / 2, 1e-15);
}

TEST(AnalysisBuilder, CategorizingFirstPutsDataColumnsLast)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = analysis(&root, "boxplot", {{"A", {1.0, 2.0, 3.0, 4.0}}, {"B", {5.0, 6.0, 7.0, 8.0}}},
                                 {{"G", {"x", "y", "x", "y"}}}, false);
    const auto d = MyAnalysisBuilder(kEngine).analysisFromSelection(a);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->categoryNames, (QStringList{"x\tA", "x\tB", "y\tA", "y\tB"}));
    EXPECT_EQ(d->values.value("x\tB"), vec({5, 7}));
    EXPECT_EQ(d->values.value("y\tA"), vec({2, 4}));
    ASSERT_EQ(d->categoryDicts.size(), 2);
    EXPECT_EQ(d->categoryDicts[0].toMap().value("categoryTitle"), "c_G");
    EXPECT_EQ(d->categoryDicts[1].toMap().value("categoryTitle"), "dataColumns");
    EXPECT_EQ(d->representLists.last().size(), 2);   // the data columns are the last level
    EXPECT_TRUE(d->graphDescriptives.value("x\tA").q1.has_value());   // boxplot keys
    EXPECT_FALSE(d->graphDescriptives.value("x\tA").mean.has_value());

    // Without categorizing columns the data level still comes last, named with a tab.
    MySelectorItem* b = analysis(&root, "scatter", {{"A", {1.0}}, {"B", {2.0}}}, {}, false);
    const auto e = MyAnalysisBuilder(kEngine).analysisFromSelection(b);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->categoryNames, (QStringList{"\tA", "\tB"}));
}

TEST(AnalysisBuilder, UnusedValuesZerosAndSeveralRepresents)
{
    MySelectorItem root("rootItem", nullptr);
    // Every value of the only categorizing column ticked off: no final categories.
    MySelectorItem* a = analysis(&root, "scatter", {{"A", {0.0, 2.0, 2.0}}}, {{"G", {"x", "y", "x"}, {"x", "y"}}}, true);
    const auto d = MyAnalysisBuilder(kEngine).analysisFromSelection(a);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->categoryNames.isEmpty());
    EXPECT_TRUE(d->graphDescriptives.isEmpty());
    EXPECT_TRUE(d->outliers.isEmpty());
    EXPECT_EQ(d->singleTags, QStringList{"A"});   // unused values give no single tag
    EXPECT_EQ(d->values.value("A"), vec({0, 2, 2}));   // duplicates kept
    EXPECT_EQ(d->numbers.value(""), 3);
    // A zero anywhere: no logarithmic entries at all.
    EXPECT_TRUE(d->graphLogDescriptives.isEmpty());
    EXPECT_TRUE(d->logOutliers.isEmpty());
    EXPECT_TRUE(d->logDescriptives.isEmpty());

    // Only the first child of a data column counts.
    MySelectorItem* b = analysis(&root, "scatter", {{"A", {1.0, 2.0}}}, {}, true);
    node(b->childTitle("DataColumns")->selectorChildAt(0), "extra", "", "YES", {}, {100.0, 200.0});
    const auto e = MyAnalysisBuilder(kEngine).analysisFromSelection(b);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->minMax, vec({1, 2}));
    EXPECT_EQ(e->categoryNames, QStringList{"A"});
}

TEST(AnalysisBuilder, RefusesBrokenAnalyses)
{
    MySelectorItem root("rootItem", nullptr);
    QString error;
    MySelectorItem* noGroups = node(&root, "x");
    node(noGroups, "graphType", "scatter");
    EXPECT_FALSE(MyAnalysisBuilder(kEngine).analysisFromSelection(noGroups, &error));
    EXPECT_FALSE(error.isEmpty());
    MySelectorItem* noData = analysis(&root, "scatter", {}, {{"G", {"x"}}}, true);
    EXPECT_FALSE(MyAnalysisBuilder(kEngine).analysisFromSelection(noData));
    MySelectorItem* noValues = analysis(&root, "scatter", {{"A", {std::nullopt, std::nullopt}}}, {}, true);
    EXPECT_FALSE(MyAnalysisBuilder(kEngine).analysisFromSelection(noValues));
    MySelectorItem* noRepresent = analysis(&root, "scatter", {{"A", {1.0}}}, {}, true);
    node(noRepresent->childTitle("DataColumns"), "B");
    EXPECT_FALSE(MyAnalysisBuilder(kEngine).analysisFromSelection(noRepresent));
}

TEST(AnalysisBuilder, PickingAndSorting)
{
    const std::vector<std::optional<double>> pooled{3.0, std::nullopt, -1.0, 3.0, 0.0};
    EXPECT_EQ(MyAnalysisBuilder::valuesFromColumn(pooled, {4, 0, 1, 3, 2}), vec({-1, 0, 3, 3}));
    EXPECT_EQ(MyAnalysisBuilder::valuesFromColumn(pooled, {7, -1, 0}), vec({3}));
    EXPECT_EQ(MyAnalysisBuilder::statsFromValues({std::nullopt, 2.0, std::numeric_limits<double>::infinity(), 1.0}),
              vec({1, 2}));
}

// The categories by their definition (for every category of the previous level and every used
// value, the positions that carry that value), computed by search, against the builder.
TEST(AnalysisBuilder, RandomTablesMatchTheDefinition)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 60; ++round) {
        const int rows = std::uniform_int_distribution<int>(1, 40)(rng);
        const int nData = std::uniform_int_distribution<int>(1, 3)(rng);
        const int nCats = std::uniform_int_distribution<int>(0, 2)(rng);
        // Odd rounds mix signs, signed zeros, fractions and magnitudes, which the sort by
        // value must order as doubles do.
        static const double kMixed[] = {-0.0, 0.0, -1e300, 1e300, -2.5, 2.5, 1e-300, -1e-300,
                                        0.1, -7.0, 3.0, 123456.789};
        auto cell = [&]() -> std::optional<double> {
            if (rng() % 5 == 0)
                return std::nullopt;
            if (round % 2)
                return kMixed[rng() % std::size(kMixed)];
            return int(rng() % 50) + 1;
        };
        QVector<DataColumn> data;
        bool allPositive = true;
        for (int j = 0; j < nData; ++j) {
            DataColumn c{QString("D%1").arg(j), {}};
            for (int r = 0; r < rows; ++r) {
                c.cells << cell();
                allPositive = allPositive && (!c.cells.back() || *c.cells.back() > 0);
            }
            data << c;
        }
        if (!data[0].cells[0])
            data[0].cells[0] = 1.0;   // at least one valid value
        QVector<CatColumn> cats;
        for (int k = 0; k < nCats; ++k) {
            CatColumn c{QString("C%1").arg(k), {}};
            const int nv = std::uniform_int_distribution<int>(1, 4)(rng);
            for (int r = 0; r < rows; ++r)
                c.cells << QString(QChar('a' + int(rng() % nv)));
            if (rng() % 3 == 0)
                c.unused << "b";
            cats << c;
        }
        const bool dataFirst = rng() % 2;
        MySelectorItem root("rootItem", nullptr);
        MySelectorItem* a = analysis(&root, "boxplot", data, cats, dataFirst);
        const auto d = MyAnalysisBuilder(kEngine).analysisFromSelection(a);
        ASSERT_TRUE(d);

        // Levels as (name, cells) by brute force: every category of the previous level split by
        // every value of the next; the data level, when last, is named with a tab even after nothing.
        struct Cat {
            QString name;
            QVector<QPair<int, int>> cells;   // (data column, row)
        };
        auto split = [](const QVector<Cat>& level, const QStringList& names, bool tab, auto belongs) {
            QVector<Cat> next;
            for (const Cat& p : level)
                for (int v = 0; v < names.size(); ++v) {
                    Cat n{p.name.isEmpty() && !tab ? names[v] : p.name + '\t' + names[v], {}};
                    for (const auto& cell : p.cells)
                        if (belongs(cell, v))
                            n.cells.append(cell);
                    next.append(n);
                }
            return next;
        };
        QVector<Cat> level{{QString(), {}}};
        QStringList dataTitles;
        for (int j = 0; j < nData; ++j) {
            dataTitles << data[j].title;
            for (int r = 0; r < rows; ++r)
                level[0].cells.append({j, r});
        }
        auto inColumn = [](const QPair<int, int>& cell, int j) { return cell.first == j; };
        if (dataFirst)
            level = split(level, dataTitles, false, inColumn);
        for (const CatColumn& c : cats) {
            QStringList used;
            for (const QString& v : c.cells)
                if (!used.contains(v) && !c.unused.contains(v))
                    used << v;
            level = split(level, used, false, [&](const QPair<int, int>& cell, int v) { return c.cells[cell.second] == used[v]; });
        }
        if (!dataFirst)
            level = split(level, dataTitles, true, inColumn);
        ASSERT_EQ(d->categoryNames.size(), level.size());
        for (int i = 0; i < level.size(); ++i) {
            ASSERT_EQ(d->categoryNames[i], level[i].name);
            std::vector<double> expected;
            for (const auto& cell : level[i].cells)
                if (data[cell.first].cells[cell.second])
                    expected.push_back(*data[cell.first].cells[cell.second]);
            std::sort(expected.begin(), expected.end());
            ASSERT_EQ(d->values.value(level[i].name), expected) << level[i].name.toStdString();
            ASSERT_EQ(d->numbers.value(level[i].name), qint64(expected.size()));
        }
        ASSERT_EQ(d->logDescriptives.isEmpty(), !allPositive);
        // Every kept list, categories, single tags and the whole alike, has the statistics of
        // exactly its values.
        ASSERT_EQ(d->numbers.size(), d->values.size());
        ASSERT_EQ(d->descriptives.size(), d->values.size());
        for (auto it = d->values.cbegin(); it != d->values.cend(); ++it) {
            ASSERT_EQ(d->numbers.value(it.key(), -1), qint64(it->size())) << it.key().toStdString();
            ASSERT_EQ(d->descriptives.value(it.key()), kEngine.descriptives(*it).second) << it.key().toStdString();
            ASSERT_EQ(d->logDescriptives.contains(it.key()), allPositive);
        }
    }
}

// Rows listed under two values of one column (a hand-made selection) count for both.
TEST(AnalysisBuilder, RowsSharedByTwoValues)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = analysis(&root, "scatter", {{"A", {1.0, 2.0, 3.0}}}, {}, true);
    MySelectorItem* g = node(a->childTitle("Categorizing"), "G");
    node(g, "x", "x", "YES", {0, 1});
    node(g, "y", "y", "YES", {1, 2});
    const auto d = MyAnalysisBuilder(kEngine).analysisFromSelection(a);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->categoryNames, (QStringList{"A\tx", "A\ty"}));
    EXPECT_EQ(d->values.value("A\tx"), vec({1, 2}));
    EXPECT_EQ(d->values.value("A\ty"), vec({2, 3}));
    EXPECT_EQ(d->values.value("G_y"), vec({2, 3}));
}
