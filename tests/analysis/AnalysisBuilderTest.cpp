#include "analysis/MyAnalysisBuilder.h"
#include "stats/MyDescriptives.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>
#include <functional>
#include <limits>
#include <random>

namespace {

std::vector<double> vec(std::initializer_list<double> l) { return std::vector<double>(l); }

const MyDescriptives kEngine;

class AnalysisBuilder : public ::testing::Test {
protected:
    std::optional<MyAnalysisData> build(MySelectorItem* a, QString* error = nullptr)
    {
        return MyAnalysisBuilder(kEngine).analysisFromSelection(a, error);
    }
    MySelectorItem root{"rootItem", nullptr};
};

} // namespace

// The worked example: W = 1, missing, 3; H = 4, 5, 6; Sex = f, m, f; data columns first.
TEST_F(AnalysisBuilder, WorkedExample)
{
    MySelectorItem* a = analysis(&root, "scatter", {{"W", {1.0, std::nullopt, 3.0}}, {"H", {4.0, 5.0, 6.0}}},
                                 {{"Sex", {"f", "m", "f"}}}, true);
    const auto d = build(a);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->minMax, vec({1, 6}));
    EXPECT_EQ(d->singleTags, (QStringList{"W", "H", "Sex_f", "Sex_m"}));
    EXPECT_EQ(d->categoryNames, (QStringList{"W\tf", "W\tm", "H\tf", "H\tm"}));
    const QHash<QString, std::vector<double>> lists{
        {"", {1, 3, 4, 5, 6}}, {"H", {4, 5, 6}}, {"H\tf", {4, 6}}, {"H\tm", {5}}, {"Sex_f", {1, 3, 4, 6}},
        {"Sex_m", {5}}, {"W", {1, 3}}, {"W\tf", {1, 3}}, {"W\tm", {}}};
    EXPECT_EQ(d->values, lists);
    for (auto it = lists.cbegin(); it != lists.cend(); ++it)
        EXPECT_EQ(d->numbers.value(it.key(), -1), qint64(it->size())) << it.key().toStdString();
    ASSERT_EQ(d->categoryDicts.size(), 2);
    EXPECT_EQ(d->categoryDicts[0].toMap().value("represents"),
              QVariant(QVariantList{QVariantMap{{"origName", "W"}, {"represent", "W!"}},
                                    QVariantMap{{"origName", "H"}, {"represent", "H!"}}}));
    EXPECT_EQ(d->categoryDicts[1].toMap().value("categoryTitle"), "c_Sex");
    EXPECT_DOUBLE_EQ(*d->graphDescriptives.value("H\tf").mean, 5.0);
    EXPECT_NEAR(*d->logDescriptives.value("W").mean, std::log10(3.0) / 2, 1e-15);
    EXPECT_NEAR(*d->graphLogDescriptives.value("H\tm").median, std::log10(5.0), 1e-15);
}

// Box values and outliers per category, on the values and on their logarithms, worked by
// hand with Tukey's hinges.
TEST_F(AnalysisBuilder, BoxesAndOutliersByHand)
{
    MySelectorItem* a = analysis(&root, "boxplot", {{"X", {1.0, 2.0, 3.0, 4.0, 100.0, 5.0, 6.0}}},
                                 {{"G", {"a", "a", "a", "a", "a", "b", "b"}}}, true);
    const auto d = build(a);
    ASSERT_TRUE(d);
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

// A refused analysis stays as it was: still being edited, every node of it.
TEST_F(AnalysisBuilder, RefusesBrokenAnalysesLeavingThemAsTheyWere)
{
    MySelectorItem* noGroups = node(&root, "x");
    node(noGroups, "graphType", "scatter");
    MySelectorItem* noRepresent = analysis(&root, "scatter", {{"A", {1.0}}}, {}, true);
    node(noRepresent->childTitle("DataColumns"), "B");
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<MySelectorItem*, QString> cases[] = {
        {noGroups, "The analysis lacks its graph type, data columns or categorizing columns"},
        {analysis(&root, "scatter", {}, {{"G", {"x"}}}, true), "At least one data column is required"},
        {analysis(&root, "scatter", {{"A", {std::nullopt, std::nullopt}}}, {}, true), "No valid values in this column"},
        // "1e999" begins with a number but holds none; in a later column and categorized, too.
        {analysis(&root, "scatter", {{"A", {std::nullopt}}, {"B", {inf, -inf}}}, {{"G", {"x", "y"}}}, true),
         "No valid values in this column"},
        {noRepresent, "A data column has no values"},
    };
    for (const auto& [item, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        const std::string before = dump(item);
        QString error;
        EXPECT_FALSE(build(item, &error));
        EXPECT_EQ(error, message);
        std::function<void(const MySelectorItem*)> stillEdited = [&stillEdited](const MySelectorItem* n) {
            EXPECT_TRUE(n->editting) << n->title.toStdString();
            for (const MySelectorItem* c : n->selectorChildren())
                stillEdited(c);
        };
        stillEdited(item);
        EXPECT_EQ(dump(item), before);
        // A stored analysis is built without values, never without its parts.
        const bool structural = message != "No valid values in this column";
        EXPECT_EQ(!MyAnalysisBuilder(kEngine).analysisFromSelection(item, &error, MyAnalysisBuilder::NoValues::Built),
                  structural);
    }
}

// A stored analysis whose cells hold no number: every category, single tag and the whole get
// a count of 0 and the statistics of nothing; there is no value range, and the logarithmic
// tables are there (empty) for a logarithmic axis.
TEST_F(AnalysisBuilder, AStoredAnalysisWithoutValuesIsBuiltEmpty)
{
    const double inf = std::numeric_limits<double>::infinity();
    MySelectorItem* a = analysis(&root, "boxplot", {{"A", {std::nullopt, std::nullopt}}, {"B", {inf, -inf}}},
                                 {{"G", {"x", "y"}}}, true);
    const auto d = MyAnalysisBuilder(kEngine).analysisFromSelection(a, nullptr, MyAnalysisBuilder::NoValues::Built);
    ASSERT_TRUE(d);
    EXPECT_FALSE(a->editting);
    EXPECT_TRUE(d->minMax.empty());
    EXPECT_EQ(d->categoryNames, QStringList({"A\tx", "A\ty", "B\tx", "B\ty"}));
    EXPECT_EQ(d->singleTags, QStringList({"A", "B", "G_x", "G_y"}));
    const DescriptivesDict nothing;
    for (const QString& key : d->categoryNames + d->singleTags + QStringList{QString()}) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_EQ(d->numbers.value(key, -1), 0);
        EXPECT_EQ(d->descriptives.value(key), nothing);
        EXPECT_EQ(d->logDescriptives.value(key), nothing);
        EXPECT_TRUE(d->values.contains(key) && d->values.value(key).empty());
    }
    for (const QString& key : d->categoryNames) {
        EXPECT_TRUE(d->graphDescriptives.contains(key) && d->graphLogDescriptives.contains(key));
        EXPECT_TRUE(d->outliers.contains(key) && d->outliers.value(key).empty() && d->logOutliers.contains(key));
    }
}

// Every category by its definition, one entry of each level in level order holding the cells
// whose row carries every chosen value, computed by search against the builder.
TEST_F(AnalysisBuilder, RandomTablesMatchTheDefinition)
{
    std::mt19937 rng(5);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    // Odd rounds mix signs, signed zeros, fractions and magnitudes, which the sort by value must
    // order as doubles do.
    const double kMixed[] = {-0.0, 0.0, -1e300, 1e300, -2.5, 2.5, 1e-300, -1e-300, 0.1, -7.0, 3.0, 123456.789};
    for (int round = 0; round < 60; ++round) {
        const int rows = uniform(1, 40);
        QVector<DataColumn> data(uniform(1, 3));
        QStringList dataTitles;
        bool allPositive = true;
        for (int j = 0; j < data.size(); ++j) {
            dataTitles << QString("D%1").arg(j);
            data[j].title = dataTitles[j];
            for (int r = 0; r < rows; ++r) {
                std::optional<double> v = round % 2 ? kMixed[rng() % std::size(kMixed)] : double(rng() % 50 + 1);
                if (rng() % 5 == 0 && (j || r))
                    v.reset();   // the first cell stays, so there is a valid value
                allPositive = allPositive && (!v || *v > 0);
                data[j].cells << v;
            }
        }
        const bool dataFirst = rng() % 2;
        QVector<QStringList> levels;   // the entries of each level, in level order
        if (dataFirst)
            levels << dataTitles;
        QVector<CatColumn> cats(uniform(0, 2));
        for (int k = 0; k < cats.size(); ++k) {
            cats[k].title = QString("C%1").arg(k);
            const int nv = uniform(1, 4);
            for (int r = 0; r < rows; ++r)
                cats[k].cells << QString(QChar('a' + int(rng() % nv)));
            if (rng() % 3 == 0)
                cats[k].unused << "b";
            levels << cats[k].cells;
            levels.last().removeDuplicates();
            for (const QString& u : cats[k].unused)
                levels.last().removeAll(u);
        }
        if (!dataFirst)
            levels << dataTitles;
        MySelectorItem own("rootItem", nullptr);
        const auto d = build(analysis(&own, "boxplot", data, cats, dataFirst));
        ASSERT_TRUE(d);

        int count = 1;
        for (const QStringList& level : levels)
            count *= level.size();
        ASSERT_EQ(d->categoryNames.size(), count);
        for (int i = 0; i < count; ++i) {
            QStringList chosen;   // i as a mixed-radix number over the levels
            for (int l = levels.size() - 1, rest = i; l >= 0; rest /= levels[l].size(), --l)
                chosen.prepend(levels[l][rest % levels[l].size()]);
            // The data level, when last, is named after a tab even with nothing before it.
            const QString name = (!dataFirst && cats.isEmpty() ? "\t" : "") + chosen.join('\t');
            ASSERT_EQ(d->categoryNames[i], name);
            const auto& cells = data[dataTitles.indexOf(chosen[dataFirst ? 0 : levels.size() - 1])].cells;
            std::vector<double> expected;
            for (int r = 0; r < rows; ++r) {
                bool inside = cells[r].has_value();
                for (int k = 0; k < cats.size(); ++k)
                    inside = inside && cats[k].cells[r] == chosen[int(dataFirst) + k];
                if (inside)
                    expected.push_back(*cells[r]);
            }
            std::sort(expected.begin(), expected.end());
            ASSERT_EQ(d->values.value(name), expected) << name.toStdString();
        }
        // Every kept list has the statistics of exactly its values.
        ASSERT_EQ(d->descriptives.size(), d->values.size());
        for (auto it = d->values.cbegin(); it != d->values.cend(); ++it) {
            ASSERT_EQ(d->descriptives.value(it.key()), kEngine.descriptives(*it).second) << it.key().toStdString();
            ASSERT_EQ(d->logDescriptives.contains(it.key()), allPositive);
        }
    }
}

// Rows listed under two values of one column (a hand-made selection) count for both.
TEST_F(AnalysisBuilder, RowsSharedByTwoValues)
{
    MySelectorItem* a = analysis(&root, "scatter", {{"A", {1.0, 2.0, 3.0}}}, {}, true);
    MySelectorItem* g = node(a->childTitle("Categorizing"), "G");
    node(g, "x", "x", "YES", {0, 1});
    node(g, "y", "y", "YES", {1, 2});
    const auto d = build(a);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->values.value("A\tx"), vec({1, 2}));
    EXPECT_EQ(d->values.value("A\ty"), vec({2, 3}));
    EXPECT_EQ(d->values.value("G_y"), vec({2, 3}));
}
