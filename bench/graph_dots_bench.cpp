// Dot plots and boxplots laid out by the generator, each from a new view manager to its PDF:
// 10,000 and 100,000 normal values in one column and spread over 300 columns (100 groups of
// 3 series), 10,000 equal values in one column (the lane search's worst case); re-layouts of
// a 10,000-dot graph after a colour change and after a dot-size change; a boxplot of 300 boxes
// with 10 outliers each, and its switch between a plain and a logarithmic axis.
// Targets: 10,000 dots under 0.1 s and 100,000 under 1 s, each with the PDF; any re-layout of
// a 10,000-dot graph under 20 ms.
#include "PlotLayoutFixture.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

enum class Values { Normal, Equal };

// `count` values shared out over the columns "gG\tsS" of `groups` x `series`, ascending.
std::function<std::vector<double>(const QString&)> valuesOf(int series, int columns, int count, Values kind)
{
    return [=](const QString& tag) {
        const int column = tag.section('\t', 0, 0).mid(1).toInt() * series + tag.section('\t', 1).mid(1).toInt();
        std::mt19937_64 rng(qHash(tag));
        std::normal_distribution<double> normal(50, 12);
        std::vector<double> v(size_t(count / columns + (column < count % columns ? 1 : 0)), 50.0);
        if (kind == Values::Normal)
            for (double& x : v)
                x = std::clamp(normal(rng), 1.0, 99.0);
        std::sort(v.begin(), v.end());
        return v;
    };
}

QList<QStringList> levelsOf(int groups, int series)
{
    QList<QStringList> levels{{}, {}};
    for (int g = 0; g < groups; ++g)
        levels[0] << QString("g%1").arg(g);
    for (int s = 0; s < series; ++s)
        levels[1] << QString("s%1").arg(s);
    return levels;
}

// A new graph laid out in full, as a graph window makes it (its settings tree made before).
void firstLayout(FrameLayout& g)
{
    g.vm = std::make_unique<MyViewManager>(g.data, nullptr, nullptr);
    g.base = new MyBaseView();
    g.vm->installRootView(g.base);
    g.layoutRow({});
    g.vm->placeContainers();
}

// A settings change as the settings outline applies it: the value into the settings and its
// row, then the steps the row selects.
void change(FrameLayout& g, const QStringList& path, const QVariant& value)
{
    g.set(path, value);
    g.row(path)->setObject(value);
    g.layoutRow(path);
}

std::unique_ptr<FrameLayout> prepared(std::unique_ptr<FrameLayout> g)
{
    g->set({"valueSettings", "min"}, "1");
    g->root = std::make_unique<MyConfigRootItem>(nullptr);
    g->root->outlineItemFromSettings(g->settings);
    return g;
}

std::unique_ptr<FrameLayout> dotGraph(int groups, int count, Values kind)
{
    const int series = groups == 1 ? 1 : 3;
    return prepared(dotPlot(levelsOf(groups, series), valuesOf(series, groups * series, count, kind)));
}

// 100 boxes in each of 3 series, 100 values each, 5 outliers at either end.
std::unique_ptr<FrameLayout> boxGraph()
{
    auto stats = [](bool logarithmic) {
        return [=](const QString& tag) {
            std::vector<double> v = valuesOf(3, 1, 100, Values::Normal)(tag);
            if (logarithmic)
                for (double& x : v)
                    x = std::log10(x);
            BoxStats b{v[50], v[25], v[75], v[10], v[89], {}};
            b.outliers.insert(b.outliers.end(), v.begin(), v.begin() + 5);
            b.outliers.insert(b.outliers.end(), v.end() - 5, v.end());
            return b;
        };
    };
    return prepared(boxPlot(levelsOf(100, 3), stats(false), stats(true)));
}

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
    const auto g = dotGraph(groups, count, kind);
    for (auto _ : state) {
        firstLayout(*g);
        const QByteArray pdf = g->vm->graphPDF();
        state.PauseTiming();
        if (dotViews(*g->vm) != count || pdf.isEmpty())
            state.SkipWithError("not every value became a dot");
        g->vm.reset();
        state.ResumeTiming();
    }
}
// The first graph a process draws (100,000 values, laid out and written as PDF) against the
// same graph drawn again: fonts, glyphs and the PDF writer are set up on the first. Cold is
// measured once per process, so run this pair alone, e.g. five times over for a median:
// --benchmark_filter=FirstGraph. Target: cold at most 1.3 times warm.
void BM_FirstGraph(benchmark::State& state)
{
    ScopedScriptedDialogs quiet;
    const auto g = dotGraph(1, 100000, Values::Normal);
    for (auto _ : state) {
        firstLayout(*g);
        benchmark::DoNotOptimize(g->vm->graphPDF().size());
        state.PauseTiming();
        g->vm.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstGraph)->Name("BM_FirstGraph/cold")->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstGraph)->Name("BM_FirstGraph/warm")->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(BM_DotPlotWithPdf, normal10kOneColumn, 10000, 1, Values::Normal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotPlotWithPdf, normal10k300Columns, 10000, 100, Values::Normal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotPlotWithPdf, normal100kOneColumn, 100000, 1, Values::Normal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotPlotWithPdf, normal100k300Columns, 100000, 100, Values::Normal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DotPlotWithPdf, equal10kOneColumn, 10000, 1, Values::Equal)->Unit(benchmark::kMillisecond);

// Taking down a laid-out dot plot, as closing its document or window does. Target: 100,000
// dots under 50 ms.
void BM_CloseDotPlot(benchmark::State& state)
{
    ScopedScriptedDialogs quiet;
    const auto g = dotGraph(1, int(state.range(0)), Values::Normal);
    for (auto _ : state) {
        state.PauseTiming();
        firstLayout(*g);
        g->vm->viewDict.value(MyViewManager::kRootView)->addSubview(g->vm->viewDict.value(MyViewManager::kBackground));
        QCoreApplication::processEvents();
        state.ResumeTiming();
        g->vm.reset();
    }
}
BENCHMARK(BM_CloseDotPlot)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

// Re-layouts of a 10,000-dot graph; two values alternate so every round changes something.
void BM_DotPlotRelayout(benchmark::State& state, int groups, const QStringList& path, const QVariant& a,
                        const QVariant& b)
{
    ScopedScriptedDialogs quiet;
    const auto g = dotGraph(groups, 10000, Values::Normal);
    firstLayout(*g);
    int n = 0;
    for (auto _ : state)
        change(*g, path, n++ % 2 ? a : b);
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
    const auto g = boxGraph();
    for (auto _ : state) {
        firstLayout(*g);
        const QByteArray pdf = g->vm->graphPDF();
        state.PauseTiming();
        if (g->vm->viewsDict.value("dot\ts0").size() != 1000 || pdf.isEmpty())
            state.SkipWithError("not every outlier became a dot");
        g->vm.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BoxPlotWithPdf)->Unit(benchmark::kMillisecond);

void BM_BoxPlotLogSwitch(benchmark::State& state)
{
    ScopedScriptedDialogs quiet;
    const auto g = boxGraph();
    firstLayout(*g);
    int n = 0;
    for (auto _ : state)
        change(*g, {"valueSettings", "logarithmic"}, n++ % 2 == 0);
}
BENCHMARK(BM_BoxPlotLogSwitch)->Unit(benchmark::kMillisecond);

} // namespace
