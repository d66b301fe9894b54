// Frame and axes of a graph with 300 categories in three levels (3 x 10 x 10) and 10 scale
// labels: the first full layout of a new graph (every view and text made), a full layout
// again, and the re-layout after one scale label is edited. Targets: a full layout under
// 20 ms, the re-layout under 2 ms.
#include "analysis/MyGraphSettingsBuilder.h"
#include "app/AppDelegate.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MyConfigRootItem.h"
#include "platform/Resources.h"
#include "views/MyBaseView.h"
#include "views/MyViewManager.h"
#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Setup {
    AppDelegate app;
    MyGraphGenerator generator;
    MyAnalysisData data;
    QVariantMap settings;
    std::unique_ptr<MyConfigRootItem> root;

    Setup()
    {
        app.loadConfigRes(Resources::plist(QStringLiteral("configRes.plist")));
        app.makeAppDefaults();
        app.loadUserDefaults(DefaultsStore());
        generator.setConfigIndexDict(app.configIndexDict);
        app.ourGraphGenerator = &generator;
        data.graphType = "scatter";
        data.title = "Bench";
        data.minMax = {0.0, 900.0};
        const int counts[] = {3, 10, 10};
        for (int level = 0; level < 3; ++level) {
            QVariantList represents;
            for (int j = 0; j < counts[level]; ++j) {
                const QString name = QString("L%1 item %2").arg(level).arg(j);
                represents << QVariantMap{{"origName", name}, {"represent", name}};
            }
            data.categoryDicts << QVariantMap{{"categoryTitle", QString("level%1").arg(level)}, {"represents", represents}};
            data.representLists << represents;
        }
        settings = MyGraphSettingsBuilder::graphSettingsFromAnalysis(app, 800, 600, data);
        QVariantList labels;
        for (int i = 0; i < 10; ++i)
            labels << QString::number(i * 100);
        settings["valueSettings"] = QVariantMap{{"min", "0"}, {"max", "900"}, {"partition", qint64(9)},
                                                {"logarithmic", false}, {"scaleStrings", labels}};
        QVariantMap p = settings["graphProperties"].toMap();
        QVariantMap y = p["yAxis"].toMap();
        y["titleText"] = "Weight (10^{3} kg)";
        y["titleVisible"] = true;
        p["yAxis"] = y;
        settings["graphProperties"] = p;
        root = std::make_unique<MyConfigRootItem>(nullptr);
        root->outlineItemFromSettings(settings);
    }

    void layout(MyViewManager& vm, MyConfigItem* row) const
    {
        vm.runLayout(row->setIndex, row->itemID.split('\t'), row->indexes, settings, root.get());
    }

    std::unique_ptr<MyViewManager> newGraph() const
    {
        auto vm = std::make_unique<MyViewManager>(data, nullptr, nullptr);
        vm->installRootView(new MyBaseView());
        return vm;
    }
};

Setup& setup()
{
    static Setup s;
    return s;
}

void BM_FirstFullLayout(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state) {
        state.PauseTiming();
        auto vm = s.newGraph();
        state.ResumeTiming();
        s.layout(*vm, s.root.get());
        vm->placeContainers();
        state.PauseTiming();
        // 23 texts shown 333 times under the axis and the dots' glyph text, 10 labels.
        const bool whole =
            vm->textViewsDict.size() == 24 && vm->scaleTextRects.size() == 10 && vm->baseXs.size() == 300;
        vm.reset();
        state.ResumeTiming();
        // Reported with the timer running: the library aborts on a pause after an error.
        if (!whole) {
            state.SkipWithError("the graph was not laid out in full");
            break;
        }
    }
}
BENCHMARK(BM_FirstFullLayout)->Unit(benchmark::kMillisecond);

void BM_FullLayoutAgain(benchmark::State& state)
{
    Setup& s = setup();
    auto vm = s.newGraph();
    s.layout(*vm, s.root.get());
    vm->placeContainers();
    for (auto _ : state)
        s.layout(*vm, s.root.get());
}
BENCHMARK(BM_FullLayoutAgain)->Unit(benchmark::kMillisecond);

// One label typed anew, as the settings change applies it: the value settings reloaded into
// the tree, then the steps its row selects.
void BM_RelayoutAfterLabelEdit(benchmark::State& state)
{
    Setup& s = setup();
    auto vm = s.newGraph();
    s.layout(*vm, s.root.get());
    vm->placeContainers();
    MyConfigItem* labels = s.root->outlineItemWithKeys({"valueSettings", "scaleStrings"});
    MyConfigItem* row = labels->configChildAt(3);
    int n = 0;
    for (auto _ : state) {
        QVariantMap vs = s.settings["valueSettings"].toMap();
        QVariantList l = vs["scaleStrings"].toList();
        l[3] = (n++ % 2) ? QStringLiteral("300") : QStringLiteral("3\\times10^{2}");
        vs["scaleStrings"] = l;
        s.settings["valueSettings"] = vs;
        row->setObject(l[3]);
        s.layout(*vm, row);
    }
}
BENCHMARK(BM_RelayoutAfterLabelEdit)->Unit(benchmark::kMicrosecond);

} // namespace
