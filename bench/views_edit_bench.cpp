// One typed settings change on a dot plot of 10,000 values in 300 categories, from the commit
// (value checked, written, pushed, applied with undo) to the window's view repainted, and its
// undo. Two rows: the y axis's tick width (the axis alone is laid out and repainted) and the
// graph's height (every dot, bar and text moves, so the whole graph is repainted); the
// height change without the painting, and one whole repaint, show where its time goes.
// Target: each under 30 ms.
#include "analysis/MyAnalysisXml.h"
#include "analysis/MyGraphSettingsBuilder.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySelectorRootItem.h"
#include "views/GraphSceneView.h"
#include "views/MyBaseView.h"
#include "views/MyViewManager.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QGraphicsView>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

namespace {

MySelectorItem* node(MySelectorItem* parent, const QString& title, const QString& message = {},
                     const QString& type = {}, QVector<qint64> data1 = {}, QVector<std::optional<double>> data2 = {})
{
    auto n = std::make_unique<MySelectorItem>(title, message, type, std::vector<std::unique_ptr<MySelectorItem>>{},
                                              std::move(data1), std::move(data2), parent);
    return parent->append(std::move(n));
}

struct Setup {
    AppDelegate app;
    MyGraphGenerator generator;
    std::unique_ptr<Document> doc;
    std::unique_ptr<MyWindowController> mainCont;
    std::unique_ptr<MySelectorRootItem> selector;
    std::unique_ptr<MyWindowController> graphCont;
    std::unique_ptr<MyConfigRootItem> root;
    MyViewManager* vm = nullptr;
    std::unique_ptr<QGraphicsView> view;

    Setup()
    {
        app.defaultsSource = DefaultsStore();
        app.ourGraphGenerator = &generator;
        app.finishLaunching();
        generator.setConfigIndexDict(app.configIndexDict);
        doc = std::make_unique<Document>(&app);
        mainCont = std::make_unique<MyWindowController>(QStringLiteral("Document"));
        selector = std::make_unique<MySelectorRootItem>(mainCont.get(), doc.get());
        mainCont->rootItem = selector.get();
        doc->baseWindowCont = mainCont.get();

        constexpr int kValues = 10000, kCategories = 300;
        std::mt19937 rng(5);
        std::normal_distribution<double> weight(70, 12);
        QVector<std::optional<double>> values;
        QVector<QVector<qint64>> rows(kCategories);
        for (int r = 0; r < kValues; ++r) {
            values << std::round(weight(rng) * 10) / 10;
            rows[r % kCategories] << r;
        }
        MySelectorItem* a = node(selector.get(), "Weights");
        node(a, "graphType", "scatter");
        node(node(node(a, "DataColumns"), "Weight"), "Weight", "Weight", "YES", {}, values);
        MySelectorItem* group = node(node(a, "Categorizing"), "Group");
        for (int c = 0; c < kCategories; ++c)
            node(group, QString("g%1").arg(c), QString("Group %1").arg(c), "YES", rows[c]);
        const Rect page = doc->imageablePageBounds();
        auto made = MyGraphSettingsBuilder::graphSettingsFromSelection(app, page.width(), page.height(), a);
        const qint64 id = doc->appendAnalysis(made->settings, *MyAnalysisXml::xmlFromItem(a), doc->newStatsRecord());

        graphCont = std::make_unique<MyWindowController>(QStringLiteral("GraphWindowD"));
        graphCont->myDoc = doc.get();
        graphCont->graphID = id;
        graphCont->baseWinCont = mainCont.get();
        root = std::make_unique<MyConfigRootItem>(graphCont.get());
        root->outlineItemFromSettings(made->settings);
        graphCont->rootItem = root.get();
        vm = new MyViewManager(made->analysis, graphCont.get(), doc.get());
        vm->installRootView(new MyBaseView());
        vm->setGraphWithOutlineItem(root.get());
        vm->placeContainers();
        vm->viewDict.value(MyViewManager::kRootView)->addSubview(vm->viewDict.value(MyViewManager::kBackground));
        // As the graph window shows it: its view, as large as the whole graph.
        auto* sceneView = new GraphSceneView();
        sceneView->setViewManager(vm);
        view.reset(sceneView);
        view->resize(vm->scene()->itemsBoundingRect().size().toSize() + QSize(4, 4));
        view->show();
        redraw();
    }

    MyConfigItem* row(const QStringList& path) const
    {
        MyConfigItem* r = root.get();
        for (const QString& key : path)
            r = r->childTitle(key);
        return r;
    }

    // The window's view paints what the change made dirty: the scene reports its changed
    // items, the view repaints their region.
    void redraw()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

Setup* g_setup = nullptr;

// The graph window goes before the application does: a widget outliving it crashes the exit.
Setup& setup()
{
    if (!g_setup) {
        g_setup = new Setup;
        qAddPostRoutine([] {
            delete g_setup;
            g_setup = nullptr;
        });
    }
    return *g_setup;
}

const QStringList kTickWidth{"graphProperties", "yAxis", "tickWidth"};
const QStringList kHeight{"graphProperties", "graphRect", "height"};

QString typed(const QStringList& path, int64_t i)
{
    return path == kTickWidth ? QString::number(1 + (i % 2)) : QString::number(300 + 20 * (i % 2));
}

// The change to the view repainted; without painting, the commit and the layout alone.
void typedChange(benchmark::State& state, const QStringList& path, bool painted)
{
    Setup& s = setup();
    int64_t i = 0;
    for (auto _ : state) {
        s.vm->tryObject(typed(path, ++i), s.row(path), "Change Type");
        if (painted)
            s.redraw();
        state.PauseTiming();
        if (!painted)
            s.redraw();
        s.doc->undoManager()->undo();
        s.redraw();
        state.ResumeTiming();
    }
}
void BM_TypedChange(benchmark::State& state, const QStringList& path) { typedChange(state, path, true); }
void BM_TypedChangeUnpainted(benchmark::State& state, const QStringList& path) { typedChange(state, path, false); }

void BM_UndoOfTypedChange(benchmark::State& state, const QStringList& path)
{
    Setup& s = setup();
    int64_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.vm->tryObject(typed(path, ++i), s.row(path), "Change Type");
        s.redraw();
        state.ResumeTiming();
        s.doc->undoManager()->undo();
        s.redraw();
    }
}

BENCHMARK_CAPTURE(BM_TypedChange, tickWidth, kTickWidth)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UndoOfTypedChange, tickWidth, kTickWidth)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TypedChange, height, kHeight)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UndoOfTypedChange, height, kHeight)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TypedChangeUnpainted, height, kHeight)->Unit(benchmark::kMillisecond);

// The whole graph painted again, as when the window is first shown or resized.
void BM_WholeRedraw(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state)
        s.view->viewport()->repaint();
}
BENCHMARK(BM_WholeRedraw)->Unit(benchmark::kMillisecond);

} // namespace
