// Building the analysis of a 100,000-row table: 3 data columns, one categorizing column of
// 100 values, statistics included. Goal: under 100 ms. Also reading the analysis back from
// its XML text against a table whose categorizing column has up to 10,000 values, and checking
// the stored normality results of that analysis at open against its values.
#include "analysis/MyAnalysisBuilder.h"
#include "analysis/MyAnalysisXml.h"
#include "analysis/NormalityResults.h"
#include "app/AppDelegate.h"
#include "outline/MySelectorItem.h"
#include "stats/MyDescriptives.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyNorm2.h"
#include "stats/MyShapiro.h"
#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

namespace {

MySelectorItem* node(MySelectorItem* parent, const QString& title, const QString& type = {},
                     QVector<qint64> data1 = {}, QVector<std::optional<double>> data2 = {})
{
    auto n = std::make_unique<MySelectorItem>(title, title, type, std::vector<std::unique_ptr<MySelectorItem>>{},
                                              std::move(data1), std::move(data2), parent);
    return parent->append(std::move(n));
}

// The selector tree of the analysis: 3 data columns with a few missing cells, one
// categorizing column of 100 values.
MySelectorItem* makeAnalysis(MySelectorItem* root, int rows, bool dataFirst, int values = 100)
{
    std::mt19937 rng(1);
    std::normal_distribution<double> value(50, 10);
    MySelectorItem* a = node(root, "Untitled");
    node(a, "graphType", "scatter");
    MySelectorItem* data = dataFirst ? node(a, "DataColumns") : nullptr;
    MySelectorItem* cats = node(a, "Categorizing");
    if (!dataFirst)
        data = node(a, "DataColumns");
    for (int j = 0; j < 3; ++j) {
        QVector<std::optional<double>> cells(rows);
        for (auto& c : cells)
            if (rng() % 50)
                c = value(rng);
        const QString t = QString("D%1").arg(j);
        node(node(data, t), t, "YES", {}, cells);
    }
    MySelectorItem* column = node(cats, "Group");
    QVector<QVector<qint64>> rowsOf(values);
    for (int r = 0; r < rows; ++r)
        rowsOf[int(rng() % unsigned(values))] << r;
    for (int v = 0; v < values; ++v)
        node(column, QString("g%1").arg(v), "YES", rowsOf[v]);
    return a;
}

void buildAnalysis(benchmark::State& state)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = makeAnalysis(&root, int(state.range(0)), state.range(1) != 0, int(state.range(2)));
    const MyDescriptives engine;
    const MyAnalysisBuilder builder(engine);
    for (auto _ : state) {
        auto d = builder.analysisFromSelection(a);
        benchmark::DoNotOptimize(d);
    }
}

// The statistics engine's share of the above: the same descriptive statistics and box values
// on the lists that the analysis holds.
void statisticsAlone(benchmark::State& state)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = makeAnalysis(&root, int(state.range(0)), true);
    const MyDescriptives engine;
    const auto d = MyAnalysisBuilder(engine).analysisFromSelection(a);
    std::vector<std::vector<double>> logs;
    for (const auto& v : d->values) {
        std::vector<double> l;
        for (double x : v)
            l.push_back(std::log10(x));
        logs.push_back(std::move(l));
    }
    for (auto _ : state) {
        for (const QString& k : d->categoryNames) {
            benchmark::DoNotOptimize(engine.boxValues(d->values[k], d->graphType));
            benchmark::DoNotOptimize(engine.boxValues(d->values[k], d->graphType));
        }
        for (const auto& v : d->values)
            benchmark::DoNotOptimize(engine.descriptives(v));
        for (const auto& l : logs)
            benchmark::DoNotOptimize(engine.descriptives(l));
    }
}

// The table behind the selector tree of makeAnalysis: columns D0..D2 and Group.
class TreeTable : public MyAnalysisXml::Table {
public:
    explicit TreeTable(const MySelectorItem* analysis)
    {
        const MySelectorItem* data = analysis->childTitle("DataColumns");
        for (const MySelectorItem* c : data->selectorChildren()) {
            m_titles << c->title;
            m_numbers << c->selectorChildAt(0)->data2;
        }
        const MySelectorItem* group = analysis->childTitle("Categorizing")->selectorChildAt(0);
        m_titles << group->title;
        for (const MySelectorItem* v : group->selectorChildren()) {
            m_categories << v->title;
            m_rows << v->data1;
        }
    }
    int indexOfVariables(const QString& title) const override { return int(m_titles.indexOf(title)); }
    std::pair<QStringList, QVector<QVector<qint64>>> categoriesOfVariable(int) const override
    {
        return {m_categories, m_rows};
    }
    QVector<std::optional<double>> numericValuesOfVariable(int column) const override
    {
        return m_numbers.value(column);
    }
    int dataRowCount() const override { return m_numbers.isEmpty() ? 0 : int(m_numbers[0].size()); }

private:
    QStringList m_titles;
    QVector<QVector<std::optional<double>>> m_numbers;
    QStringList m_categories;
    QVector<QVector<qint64>> m_rows;
};

void readAnalysisXml(benchmark::State& state)
{
    MySelectorItem source("rootItem", nullptr);
    MySelectorItem* a = makeAnalysis(&source, 100000, true, int(state.range(0)));
    const TreeTable table(a);
    const QString xml = *MyAnalysisXml::xmlFromItem(a);
    for (auto _ : state) {
        MySelectorItem root("rootItem", nullptr);
        benchmark::DoNotOptimize(MyAnalysisXml::outlineItemFromXLMWithXmlString(xml, &root, table, nullptr));
    }
}

// The check an open makes of an analysis whose every tag (categories, single tags, all data;
// 100,000 values each way) has its normality result stored: with digests of its values it
// only compares them; results an earlier version stored (no digest) are tested again.
void checkStoredResults(benchmark::State& state)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = makeAnalysis(&root, 100000, true);
    const MyDescriptives descriptives;
    const auto d = MyAnalysisBuilder(descriptives).analysisFromSelection(a);
    MyNorm2 norm;
    MyShapiro shapiro(&norm);
    MyKolmogorov kolmogorov(&descriptives, &norm);
    AppDelegate app;
    app.shapiro = &shapiro;
    app.kolmogorov = &kolmogorov;
    QVariantMap results;
    for (auto it = d->values.cbegin(); it != d->values.cend(); ++it) {
        QVariantMap r = NormalityResults::tested(app, *it, false);
        if (state.range(0))
            r.remove(NormalityResults::kDigest);
        results.insert(it.key(), r);
    }
    const QVariantMap record{{"stats", results}, {"logStats", QVariantMap()}};
    for (auto _ : state) {
        QVariantMap checked = record;
        benchmark::DoNotOptimize(NormalityResults::refresh(app, checked, d->values));
    }
    state.counters["tags"] = double(results.size());
}

} // namespace

// rows, data columns first, values of the categorizing column
BENCHMARK(buildAnalysis)->Args({100000, 1, 100})->Args({100000, 0, 100})->Args({100000, 1, 10000})->Unit(benchmark::kMillisecond);
BENCHMARK(statisticsAlone)->Arg(100000)->Unit(benchmark::kMillisecond);
// digests stored (0) or not (1)
BENCHMARK(checkStoredResults)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(readAnalysisXml)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
