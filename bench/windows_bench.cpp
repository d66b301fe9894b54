// Analyses of a 10,000-row table with three data columns and a categorizing column of 100
// values: pressing "Graph" until the graph window is drawn, and opening a document that
// holds 20 such analyses (each rebuilt with its windows and its graph laid out). Targets:
// under 300 ms and under 2 s.
#include "common/LoadTable.h"
#include "BenchApp.h"
#include "WidgetsBenchMain.h"
#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MySelectorRootItem.h"
#include "platform/Dialogs.h"
#include "platform/DocumentController.h"
#include "views/MyViewManager.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QGraphicsView>
#include <QImage>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRows = 10000;
constexpr int kAnalyses = 20;

struct App : BenchApp {
    // A new document holding the table, as if imported.
    Document* newDocument()
    {
        auto* doc = static_cast<Document*>(controller->newDocument());
        QRandomGenerator rng(11);
        TableData table{{"d1"}, {"d2"}, {"d3"}, {"group"}};
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < 3; ++c)
                table[c] << QString::number(50 + 10 * c + rng.bounded(4000) / 100.0);
            table[3] << QStringLiteral("g%1").arg(rng.bounded(100));
        }
        loadTable(*doc, table);
        return doc;
    }

    // Presses a button of the selector outline as a click does.
    static void press(Document* doc, MyOutlineItem* item, int column)
    {
        MyWindowController* main = doc->baseWindowCont;
        main->outlineViewSetObjectValue(main->docOlV, QVariant(), QString::number(column), item);
    }
    // A new analysis of the three data columns by the group column, ready for "Graph".
    static MySelectorItem* setUpAnalysis(Document* doc)
    {
        MyWindowController* main = doc->baseWindowCont;
        main->addNewAnalysis();
        auto* root = static_cast<MySelectorRootItem*>(main->rootItem);
        MySelectorItem* analysis = root->selectorChildAt(root->childCount() - 1);
        auto add = [&](int group, int column) {
            main->docTV->selectionModel()->select(main->docTV->model()->index(column, 0),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            press(doc, analysis->selectorChildAt(group), 2);
        };
        for (int c = 0; c < 3; ++c)
            add(1, c);
        add(2, 3);
        return analysis;
    }
    // Paints what the graph window shows.
    static void paint(Document* doc, qint64 graphID)
    {
        QGraphicsView* view = doc->graphWindowConts.at(graphID)->sceneView();
        QImage canvas(view->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        view->viewport()->render(&canvas);
    }
    void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

App& app() { return fixtureUntilExit<App>(); }

void BM_GraphToDrawnWindow(benchmark::State& state)
{
    App& a = app();
    Document* doc = a.newDocument();
    MySelectorItem* analysis = a.setUpAnalysis(doc);
    for (auto _ : state) {
        App::press(doc, analysis, 4);
        App::paint(doc, 0);
        state.PauseTiming();
        const bool made = doc->graphWindowConts.size() == 1;
        // "Modify" takes the graph back and leaves the analysis ready for the next press.
        a.scripted.dialogs.answers = {1};
        App::press(doc, analysis, 2);
        a.settle();
        state.ResumeTiming();
        // Reported with the timer running: the library aborts on a pause after an error.
        if (!made) {
            state.SkipWithError("no graph was made");
            break;
        }
    }
    a.controller->closeDocument(doc);
    a.settle();
}
BENCHMARK(BM_GraphToDrawnWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

QString packageOfTwentyAnalyses()
{
    static const QString path = [] {
        App& a = app();
        Document* doc = a.newDocument();
        for (int i = 0; i < kAnalyses; ++i)
            App::press(doc, a.setUpAnalysis(doc), 4);
        const QString p = a.dir.filePath(QStringLiteral("Twenty.vlbdoc"));
        a.controller->saveAs(doc, p);
        a.controller->closeDocument(doc);
        a.settle();
        return p;
    }();
    return path;
}

void BM_ReopenTwentyAnalyses(benchmark::State& state)
{
    App& a = app();
    const QString path = packageOfTwentyAnalyses();
    for (auto _ : state) {
        auto* doc = static_cast<Document*>(a.controller->openDocument(path));
        state.PauseTiming();
        const bool rebuilt = doc && doc->graphWindowConts.size() == kAnalyses;
        if (doc)
            a.controller->closeDocument(doc);
        a.settle();
        state.ResumeTiming();
        if (!rebuilt) {
            state.SkipWithError("the analyses were not rebuilt");
            break;
        }
    }
}
BENCHMARK(BM_ReopenTwentyAnalyses)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
