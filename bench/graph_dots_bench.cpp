// Dot plots and boxplots laid out by the generator, each from a new view manager to its PDF:
// 10,000 and 100,000 normal values in one column and spread over 300 columns (100 groups of
// 3 series), 10,000 equal values in one column (the lane search's worst case); re-layouts of
// a 10,000-dot graph after a colour change and after a dot-size change; a boxplot of 300 boxes
// with 10 outliers each, and its switch between a plain and a logarithmic axis.
// Targets: 10,000 dots under 0.1 s and 100,000 under 1 s, each with the PDF; any re-layout of
// a 10,000-dot graph under 20 ms.
#include "analysis/MyGraphSettingsBuilder.h"
#include "app/AppDelegate.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MyConfigRootItem.h"
#include "platform/Dialogs.h"
#include "platform/Resources.h"
#include "views/MyBaseView.h"
#include "views/MyViewManager.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numeric>
#include <random>

namespace {

enum class Values { Normal, Equal };

struct Graph {
    AppDelegate app;
    MyGraphGenerator generator;
    MyAnalysisData data;
    QVariantMap settings;
    std::unique_ptr<MyConfigRootItem> root;
    std::unique_ptr<MyViewManager> vm;

    // `groups` x `series` columns sharing `count` values.
    Graph(const QString& graphType, int groups, int series, int count, Values kind)
    {
        app.loadConfigRes(Resources::plist(QStringLiteral("configRes.plist")));
        app.makeAppDefaults();
        app.loadUserDefaults(DefaultsStore());
        generator.setConfigIndexDict(app.configIndexDict);
        app.ourGraphGenerator = &generator;
        data.graphType = graphType;
        data.title = "Bench";
        data.minMax = {0.0, 100.0};
        QStringList tags;
        for (int g = 0; g < groups; ++g)
            for (int i = 0; i < series; ++i)
                tags << QString("g%1\ts%2").arg(g).arg(i);
        for (const auto& [n, prefix] : {std::pair{groups, QString("g")}, std::pair{series, QString("s")}}) {
            QVariantList represents;
            for (int i = 0; i < n; ++i)
                represents << QVariantMap{{"origName", prefix + QString::number(i)}, {"represent", prefix + QString::number(i)}};
            data.categoryDicts << QVariantMap{{"categoryTitle", prefix}, {"represents", represents}};
            data.representLists << represents;
        }
        std::mt19937_64 rng(7);
        std::normal_distribution<double> normal(50, 12);
        for (qsizetype c = 0; c < tags.size(); ++c) {
            const int n = count / int(tags.size()) + (c < count % tags.size() ? 1 : 0);
            std::vector<double> v(size_t(n), 50.0);
            if (kind == Values::Normal)
                for (double& x : v)
                    x = std::clamp(normal(rng), 1.0, 99.0);
            std::sort(v.begin(), v.end());
            BoxValuesDict d, logs;
            d.scatter = logs.scatter = graphType == "scatter";
            std::vector<double> outliers, logOutliers;
            if (!v.empty()) {
                d.mean = std::accumulate(v.begin(), v.end(), 0.0) / double(n);
                d.median = v[v.size() / 2];
                logs.mean = std::log10(*d.mean);
                logs.median = std::log10(*d.median);
                if (!d.scatter) {
                    d.q1 = v[v.size() / 4];
                    d.q3 = v[v.size() * 3 / 4];
                    d.boxMin = v[v.size() / 20];
                    d.boxMax = v[v.size() * 19 / 20];
                    logs.q1 = std::log10(*d.q1);
                    logs.q3 = std::log10(*d.q3);
                    logs.boxMin = std::log10(*d.boxMin);
                    logs.boxMax = std::log10(*d.boxMax);
                    for (int i = 0; i < 10; ++i) {
                        outliers.push_back(i < 5 ? v[size_t(i)] : v[v.size() - 10 + size_t(i)]);
                        logOutliers.push_back(std::log10(outliers.back()));
                    }
                }
            }
            data.values.insert(tags[c], v);
            data.graphDescriptives.insert(tags[c], d);
            data.graphLogDescriptives.insert(tags[c], logs);
            data.outliers.insert(tags[c], outliers);
            data.logOutliers.insert(tags[c], logOutliers);
        }
        settings = MyGraphSettingsBuilder::graphSettingsFromAnalysis(app, 800, 600, data);
        settings["valueSettings"] = QVariantMap{{"min", "1"}, {"max", "100"}, {"partition", qint64(2)},
                                                {"logarithmic", false},
                                                {"scaleStrings", QVariantList{"1", "50", "100"}}};
        root = std::make_unique<MyConfigRootItem>(nullptr);
        root->outlineItemFromSettings(settings);
    }

    void layout(MyConfigItem* row) { vm->runLayout(row->setIndex, row->itemID.split('\t'), row->indexes, settings, root.get()); }

    // A new graph laid out in full, as a graph window makes it.
    void firstLayout()
    {
        vm = std::make_unique<MyViewManager>(data, nullptr, nullptr);
        vm->installRootView(new MyBaseView());
        layout(root.get());
        vm->placeContainers();
    }

    // A settings change, as the settings outline applies it: the value into the settings
    // and the tree, then the steps its row selects.
    void change(const QStringList& path, const QVariant& value)
    {
        QVariant node = settings;
        std::function<QVariant(const QVariant&, int)> put = [&](const QVariant& at, int depth) -> QVariant {
            if (depth == path.size())
                return value;
            if (at.typeId() == QMetaType::QVariantList) {
                QVariantList l = at.toList();
                l[path[depth].toInt()] = put(l[path[depth].toInt()], depth + 1);
                return l;
            }
            QVariantMap m = at.toMap();
            m[path[depth]] = put(m.value(path[depth]), depth + 1);
            return m;
        };
        settings = put(node, 0).toMap();
        MyConfigItem* row = root.get();
        for (const QString& key : path) {
            bool number = false;
            const int i = key.toInt(&number);
            row = number ? row->configChildAt(i) : row->childTitle(key);
        }
        row->setObject(value);
        layout(row);
    }
};

qsizetype dotViews(const MyViewManager& vm)
{
    qsizetype n = 0;
    for (const auto& [name, views] : vm.viewsDict)
        if (name.startsWith("dot\t"))
            n += views.size();
    return n;
}

void BM_DotPlotWithPdf(benchmark::State& state, int count, int groups, Values kind)
{
    ScopedScriptedDialogs quiet;
    Graph g("scatter", groups, groups == 1 ? 1 : 3, count, kind);
    for (auto _ : state) {
        g.firstLayout();
        const QByteArray pdf = g.vm->graphPDF();
        state.PauseTiming();
        if (dotViews(*g.vm) != count || pdf.isEmpty())
            state.SkipWithError("not every value became a dot");
        g.vm.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_DotPlotWithPdf, normal10kOneColumn, 10000, 1, Values::Normal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotPlotWithPdf, normal10k300Columns, 10000, 100, Values::Normal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotPlotWithPdf, normal100kOneColumn, 100000, 1, Values::Normal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotPlotWithPdf, normal100k300Columns, 100000, 100, Values::Normal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotPlotWithPdf, equal10kOneColumn, 10000, 1, Values::Equal)->Unit(benchmark::kMillisecond);

// Re-layouts of a 10,000-dot graph; two values alternate so every round changes something.
void BM_DotPlotRelayout(benchmark::State& state, int groups, const QStringList& path, const QVariant& a,
                        const QVariant& b)
{
    ScopedScriptedDialogs quiet;
    Graph g("scatter", groups, groups == 1 ? 1 : 3, 10000, Values::Normal);
    g.firstLayout();
    int n = 0;
    for (auto _ : state)
        g.change(path, n++ % 2 ? a : b);
}
void BM_ColourChange(benchmark::State& state, int groups)
{
    BM_DotPlotRelayout(state, groups, {"dotsProperties", "0", "fillColor"},
                       KeyedArchive::archiveColor(Color::rgb(1, 0, 0)), KeyedArchive::archiveColor(Color::rgb(0, 0, 1)));
}
void BM_DotSizeChange(benchmark::State& state, int groups)
{
    BM_DotPlotRelayout(state, groups, {"dotsProperties", "0", "dotSize"}, QString("6"), QString("8"));
}
BENCHMARK_CAPTURE(BM_ColourChange, oneColumn, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ColourChange, columns300, 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotSizeChange, oneColumn, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotSizeChange, columns300, 100)->Unit(benchmark::kMillisecond);

void BM_BoxPlotWithPdf(benchmark::State& state)
{
    ScopedScriptedDialogs quiet;
    Graph g("boxplot", 100, 3, 30000, Values::Normal);
    for (auto _ : state) {
        g.firstLayout();
        const QByteArray pdf = g.vm->graphPDF();
        state.PauseTiming();
        if (g.vm->viewsDict.value("dot\ts0").size() != 1000 || pdf.isEmpty())
            state.SkipWithError("not every outlier became a dot");
        g.vm.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BoxPlotWithPdf)->Unit(benchmark::kMillisecond);

void BM_BoxPlotLogSwitch(benchmark::State& state)
{
    ScopedScriptedDialogs quiet;
    Graph g("boxplot", 100, 3, 30000, Values::Normal);
    g.firstLayout();
    int n = 0;
    for (auto _ : state)
        g.change({"valueSettings", "logarithmic"}, n++ % 2 == 0);
}
BENCHMARK(BM_BoxPlotLogSwitch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
