// Opening a package whose graph title, y title and category label hold a million characters
// each, until its graph window is laid out and painted, against the same package with short
// texts. The first open of a process (no text or glyph caches yet) is the cold figure: run
// the Cold benchmark alone, once per process. Target: under 2 s.
#include "common/LoadTable.h"
#include "BenchApp.h"
#include "WidgetsBenchMain.h"
#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MySelectorRootItem.h"
#include "platform/Dialogs.h"
#include "platform/DocumentController.h"
#include "platform/PropertyList.h"
#include "views/MyViewManager.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QImage>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct App : BenchApp {
    // A package of a dot plot of Value by Group, its texts `length` characters long.
    QString package(const QString& name, qsizetype length)
    {
        auto* doc = static_cast<Document*>(controller->newDocument());
        TableData table{{"Value", "1", "2", "3", "4"}, {"Group", "a", "a", "b", "b"}};
        loadTable(*doc, table);
        MyWindowController* main = doc->baseWindowCont;
        main->addNewAnalysis();
        auto* root = static_cast<MySelectorRootItem*>(main->rootItem);
        MySelectorItem* analysis = root->selectorChildAt(root->childCount() - 1);
        auto press = [&](MyOutlineItem* item, int column) {
            main->outlineViewSetObjectValue(main->docOlV, QVariant(), QString::number(column), item);
        };
        for (int c = 0; c < 2; ++c) {
            main->docTV->selectionModel()->select(main->docTV->model()->index(c, 0),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            press(analysis->selectorChildAt(c + 1), 2);
        }
        press(analysis, 4);
        const QString path = dir.filePath(name);
        controller->saveAs(doc, path);
        controller->closeDocument(doc);
        settle();

        const QString text = QString("Wide title, ").repeated(int(length / 12 + 1)).left(length);
        QFile f(path + "/graph/graph0.plist");
        f.open(QIODevice::ReadOnly);
        QVariantMap settings = PropertyList::fromData(f.readAll()).toMap();
        f.close();
        settings.insert("graphTitle", text);
        QVariantMap graph = settings.value("graphProperties").toMap(), axis = graph.value("yAxis").toMap();
        axis.insert("titleText", text);
        graph.insert("yAxis", axis);
        settings.insert("graphProperties", graph);
        QVariantList levels = settings.value("categoryDicts").toList();
        QVariantMap level = levels.value(1).toMap();
        QVariantList represents = level.value("represents").toList();
        QVariantMap first = represents.value(0).toMap();
        first.insert("represent", text);
        represents[0] = first;
        level.insert("represents", represents);
        levels[1] = level;
        settings.insert("categoryDicts", levels);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(PropertyList::toXml(settings));
        f.close();
        QFile xml(path + "/graphXML/graph0.xml");
        xml.open(QIODevice::ReadOnly);
        QString analysisText = QString::fromUtf8(xml.readAll());
        xml.close();
        analysisText.replace(">a</represents>", ">" + text + "</represents>");
        xml.open(QIODevice::WriteOnly | QIODevice::Truncate);
        xml.write(analysisText.toUtf8());
        return path;
    }

    // Opens the package and paints its graph window; false when the graph is not there.
    bool openAndPaint(const QString& path)
    {
        auto* doc = static_cast<Document*>(controller->openDocument(path));
        if (!doc || doc->graphWindowConts.size() != 1)
            return false;
        // The window as showing it makes it.
        doc->graphWindowConts[0]->window();
        QGraphicsView* view = doc->graphWindowConts[0]->sceneView();
        if (!view)
            return false;
        QImage canvas(view->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        view->viewport()->render(&canvas);
        return true;
    }
    void closeAll()
    {
        std::vector<DocumentInterface*> open;
        for (const auto& doc : controller->documents())
            open.push_back(doc.get());
        for (DocumentInterface* doc : open)
            controller->closeDocument(doc);
        settle();
    }
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

App& app() { return fixtureUntilExit<App>(); }

void openPackage(benchmark::State& state, qsizetype length)
{
    App& a = app();
    const QString path = a.package(QStringLiteral("texts-%1.vlbdoc").arg(length), length);
    for (auto _ : state) {
        if (!a.openAndPaint(path))
            state.SkipWithError("the graph was not opened");
        state.PauseTiming();
        a.closeAll();
        state.ResumeTiming();
    }
}

// The first open of the process; run alone.
void BM_OpenMillionCharacterTextsCold(benchmark::State& state) { openPackage(state, 1000000); }
BENCHMARK(BM_OpenMillionCharacterTextsCold)->Unit(benchmark::kMillisecond)->Iterations(1);
void BM_OpenMillionCharacterTexts(benchmark::State& state) { openPackage(state, 1000000); }
BENCHMARK(BM_OpenMillionCharacterTexts)->Unit(benchmark::kMillisecond)->Iterations(3);
// Baseline: the same package with texts of ten characters.
void BM_OpenShortTexts(benchmark::State& state) { openPackage(state, 10); }
BENCHMARK(BM_OpenShortTexts)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
