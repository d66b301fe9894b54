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
    EXPECT_DOUBLE_EQ(*d->graphDescriptives.value("H\tf").mean, 5.0);   // by hand
    // Every value is positive: logarithmic entries for every key.
    EXPECT_EQ(d->graphLogDescriptives.size(), 4);
    EXPECT_EQ(d->logDescriptives.size(), d->descriptives.size());
    EXPECT_NEAR(*d->logDescriptives.value("W").mean, std::log10(3.0) / 2, 1e-15);
    EXPECT_NEAR(*d->graphLogDescriptives.value("H\tm").median, std::log10(5.0), 1e-15);
    // Every item read is marked as no longer being edited.
    EXPECT_EQ(dump(a).find("editing"), std::string::npos) << dump(a);
}

// Box values and outliers per category, on the values and on their logarithms, worked by
// hand with Tukey's hinges.
TEST(AnalysisBuilder, BoxesAndOutliersByHand)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = analysis(&root, "boxplot", {{"X", {1.0, 2.0, 3.0, 4.0, 100.0, 5.0, 6.0}}},
                                 {{"G", {"a", "a", "a", "a", "a", "b", "b"}}}, true);
    const auto d = MyAnalysisBuilder(kEngine).analysisFromSelection(a);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->categoryNames, (QStringList{"X\ta", "X\tb"}));
    // 1, 2, 3, 4, 100: hinges 2 and 4, fences -1 and 7.
    const BoxValuesDict box = d->graphDescriptives.value("X\ta");
    EXPECT_EQ(vec({*box.median, *box.q1, *box.q3, *box.boxMin, *box.boxMax}), vec({3, 2, 4, 1, 4}));
    EXPECT_EQ(d->outliers.value("X\ta"), vec({100}));
    // On the logarithms the hinges are log 2 and log 4; 100 lies beyond log 4 + 1.5 log 2.
    const BoxValuesDict logBox = d->graphLogDescriptives.value("X\ta");
    EXPECT_NEAR(*logBox.q1, std::log10(2.0), 1e-15);
    EXPECT_NEAR(*logBox.boxMax, std::log10(4.0), 1e-15);
    EXPECT_EQ(d->logOutliers.value("X\ta"), vec({2}));
}

TEST(AnalysisBuilder, UnusedValuesAndSeveralRepresents)
{
    MySelectorItem root("rootItem", nullptr);
    // Every value of the only categorizing column ticked off: no final categories.
    MySelectorItem* a = analysis(&root, "scatter", {{"A", {0.0, 2.0, 2.0}}}, {{"G", {"x", "y", "x"}, {"x", "y"}}}, true);
    const auto d = MyAnalysisBuilder(kEngine).analysisFromSelection(a);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->categoryNames.isEmpty());
    EXPECT_EQ(d->singleTags, QStringList{"A"});   // unused values give no single tag
    EXPECT_TRUE(d->graphLogDescriptives.isEmpty());   // a zero: no logarithmic entries

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
    MySelectorItem* noGroups = node(&root, "x");
    node(noGroups, "graphType", "scatter");
    MySelectorItem* noRepresent = analysis(&root, "scatter", {{"A", {1.0}}}, {}, true);
    node(noRepresent->childTitle("DataColumns"), "B");
    const std::pair<MySelectorItem*, QString> cases[] = {
        {noGroups, "The analysis lacks its graph type, data columns or categorizing columns"},
        {analysis(&root, "scatter", {}, {{"G", {"x"}}}, true), "At least one data column is required"},
        {analysis(&root, "scatter", {{"A", {std::nullopt, std::nullopt}}}, {}, true),
         "No valid values in the data columns"},
        {noRepresent, "A data column has no values"},
    };
    for (const auto& [item, message] : cases) {
        QString error;
        EXPECT_FALSE(MyAnalysisBuilder(kEngine).analysisFromSelection(item, &error));
        EXPECT_EQ(error, message);
    }
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
        QStringList levelTitles;
        for (const QVariant& c : d->categoryDicts)
            levelTitles << c.toMap().value("categoryTitle").toString();
        QStringList expectedTitles;
        for (const CatColumn& c : cats)
            expectedTitles << "c_" + c.title;
        dataFirst ? expectedTitles.prepend("dataColumns") : expectedTitles.append("dataColumns");
        ASSERT_EQ(levelTitles, expectedTitles);
        if (!dataFirst)
            ASSERT_EQ(d->representLists.last().size(), nData);   // the data columns are the last level
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
