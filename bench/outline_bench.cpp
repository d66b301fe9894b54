// Settings trees of a graph with the built-in dot-plot settings and 12 categories: building
// from the settings (through their XML text), reading the value back, writing a snapshot in.
#include "OutlineFixtures.h"
#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

QVariantMap bigSettings()
{
    QVariantMap settings = fixtures::builtInSettings(true);
    QVariantList categories = settings.value("categoryDicts").toList();
    QVariantMap category = categories.last().toMap();
    QVariantList represents;
    for (int i = 0; i < 12; ++i)
        represents.append(QVariantMap{{"origName", QString("value %1").arg(i)}, {"represent", QString("v%1").arg(i)}});
    category.insert("represents", represents);
    categories.append(category);
    settings.insert("categoryDicts", categories);
    return settings;
}

// The settings, their descriptions installed, and a tree built from them.
struct Sample {
    QVariantMap settings = bigSettings();
    fixtures::Descriptions descriptions{fixtures::describe(settings)};
    std::unique_ptr<MyConfigRootItem> root = fixtures::treeOf(settings);
};

void BM_TreeFromSettings(benchmark::State& state)
{
    Sample s;
    for (auto _ : state)
        benchmark::DoNotOptimize(fixtures::treeOf(s.settings).get());
}
BENCHMARK(BM_TreeFromSettings)->Unit(benchmark::kMicrosecond);

void BM_ObjectOfRoot(benchmark::State& state)
{
    Sample s;
    for (auto _ : state)
        benchmark::DoNotOptimize(s.root->object());
}
BENCHMARK(BM_ObjectOfRoot)->Unit(benchmark::kMicrosecond);

void BM_SetObjectOfRoot(benchmark::State& state)
{
    Sample s;
    for (auto _ : state)
        benchmark::DoNotOptimize(s.root->setObject(s.settings));
}
BENCHMARK(BM_SetObjectOfRoot)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
