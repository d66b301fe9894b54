#include "windows/MyDocumentWindows.h"
#include "analysis/MyAnalysisBuilder.h"
#include "analysis/MyDocumentAnalyses.h"
#include "analysis/NormalityResults.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySelectorRootItem.h"
#include "platform/NumberText.h"
#include "table/MyTableView.h"
#include "views/GraphSceneView.h"
#include "views/MyView.h"
#include "views/MyViewManager.h"
#include "windows/MyGraphWindowHooks.h"
#include "windows/MyWindowController.h"
#include <QAbstractItemView>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QScrollBar>
#include <QMainWindow>

const QString MyDocumentWindows::settingsUpdated =
    QStringLiteral("Graph Settings were automatically updated.\nThe graph may look slightly different from that of the previous version.");

namespace {

// The least height (screen pixels, frame included) a graph window keeps when it makes room
// for its statistics window; less only where the statistics would not fit otherwise, and
// never less than shows the whole plot with this margin around it.
constexpr int kGraphLeastHeight = 360;
constexpr int kPlotMargin = 8;

void tell(Document& doc, const QString& message)
{
    doc.ourAlert->setMessageText(message);
    doc.ourAlert->runModal();
}

// The removed analysis's windows go; the others take their new positions as graph IDs.
void analysisRemoved(Document& doc, MyWindowController* graphCont, MyWindowController* statsCont)
{
    for (MyWindowController* c : {graphCont, statsCont})
        if (c) {
            c->closeForGood();
            c->deleteLater();
        }
    for (QVector<MyWindowController*>* list : {&doc.graphWindowConts, &doc.statsWindowConts})
        for (qsizetype i = 0; i < list->size(); ++i)
            if (MyWindowController* c = list->at(i)) {
                c->graphID = i;
                c->synchronizeWindowTitleWithDocumentName();
            }
}

// The statistics window right under its graph window when it fits above the bottom of the
// screen's free area. Else the graph window gives up its lower part (its graph scrolls) so
// that the statistics fit under it without covering its plot; only where the screen is too
// small for both does the statistics window go to the bottom edge, over the graph window.
// True when the graph window was shortened.
bool placeUnderGraph(QMainWindow* graphWindow, GraphSceneView* graphView, QMainWindow* window)
{
    const QRect area = MyWindowController::screenArea(graphWindow);
    const double areaBottom = MyWindowController::mainScreenHeight() - (area.bottom() + 1);   // y up
    const Rect g = MyWindowController::frameOf(graphWindow);
    const Rect s = MyWindowController::frameOf(window);
    const QSize statsDecorations = window->frameGeometry().size() - window->size();
    if (s.size.height < g.origin.y - areaBottom) {
        MyWindowController::placeWindow(window, {g.origin.x, g.origin.y}, window->size(), false);
        return false;
    }
    const QSize graphDecorations = graphWindow->frameGeometry().size() - graphWindow->size();
    const int graphMinimum = graphWindow->minimumSizeHint().height() + graphDecorations.height();
    int graphLeast = std::max(kGraphLeastHeight, graphMinimum);
    const int statsLeast = window->minimumSizeHint().height() + statsDecorations.height();
    const int spare = int(g.maxY() - areaBottom);   // from the graph window's top down to the area's bottom
    // A graph window opened lower down (cascaded) keeps only what shows its whole plot, so
    // that the statistics need not cover it. A horizontal scroll bar is counted, as a
    // shorter window may bring one.
    if (graphView && spare - graphLeast < statsLeast && graphView->plotHeight() > 0) {
        QScrollBar* bar = graphView->horizontalScrollBar();
        const int around = graphWindow->frameGeometry().height() - graphView->viewport()->height()
                           + (bar->isVisible() ? 0 : bar->sizeHint().height());
        graphLeast = std::max(graphMinimum, std::min(graphLeast, around + graphView->plotHeight() + 2 * kPlotMargin));
    }
    const int statsHeight = std::min(int(s.size.height), spare - graphLeast);
    if (statsHeight < statsLeast) {
        MyWindowController::placeWindow(window, {g.origin.x, areaBottom + s.size.height}, window->size(), false);
        return false;
    }
    graphWindow->resize(graphWindow->width(), spare - statsHeight - graphDecorations.height());
    MyWindowController::placeWindow(window, {g.origin.x, areaBottom + statsHeight},
                                    QSize(window->width(), statsHeight - statsDecorations.height()), false);
    return true;
}

// Whether one of the analysis's data columns is in the table: one that has none is named
// with its missing columns when the package is read.
bool anyColumnInTable(const Document& doc, const MySelectorItem* analysis)
{
    if (const MySelectorItem* data = analysis->childTitle(QStringLiteral("DataColumns")))
        for (const MySelectorItem* column : data->selectorChildren())
            if (doc.indexOfVariables(column->title) >= 0)
                return true;
    return false;
}

void bringToFront(QMainWindow* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void MyDocumentWindows::install()
{
    DocumentHooks& hooks = DocumentHooks::shared();
    hooks.makeWindowControllers = &MyDocumentWindows::makeWindowControllers;
    hooks.showWindows = &MyDocumentWindows::showWindows;
    hooks.closeWindows = &MyDocumentWindows::closeWindows;
    hooks.analysisRemoved = &analysisRemoved;
    hooks.mainWindow = [](const Document& doc) -> QWidget* {
        return doc.baseWindowCont && doc.baseWindowCont->isWindowLoaded() ? doc.baseWindowCont->window() : nullptr;
    };
    hooks.commitEditing = [](Document& doc) { MyDocumentWindows::commitEditing(doc); };
    hooks.isEditingText = [](const Document& doc) {
        QVector<MyWindowController*> controllers{doc.baseWindowCont, doc.tableWindowCont};
        controllers += doc.graphWindowConts;
        controllers += doc.statsWindowConts;
        for (MyWindowController* c : controllers) {
            if (!c || !c->isWindowLoaded())
                continue;
            // A graph text edited in place keeps the scene's focus while its window is not
            // the active one.
            if (c->viewManager && c->sceneView())
                if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(c->viewManager->scene()->focusItem());
                    text && (text->textInteractionFlags() & Qt::TextEditable))
                    return true;
            // A cell's editor lives in the viewport of its outline or table while it is open.
            for (const QAbstractItemView* view : c->window()->findChildren<QAbstractItemView*>())
                for (const QWidget* editor : view->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    if (editor->isVisible() && MyWindowController::editedIndex(view, editor).isValid())
                        return true;
        }
        return false;
    };
    MySelectorRootItem::Hooks& selector = MySelectorRootItem::hooks();
    selector.setDocumentEdited = [](MyWindowController* windowCont) {
        if (windowCont && windowCont->window())
            windowCont->window()->setWindowModified(true);
    };
    selector.documentOf = [](MyWindowController* windowCont) { return windowCont ? windowCont->myDoc : nullptr; };
    MyDocumentAnalyses::makeGraphWindows() = &MyDocumentWindows::makeGraphWindows;
    MyGraphWindowHooks::install();
}

void MyDocumentWindows::commitEditing(Document& doc, const MyWindowController* kept)
{
    for (MyWindowController* graph : doc.graphWindowConts)
        if (graph && graph != kept && graph->viewManager)
            graph->viewManager->commitEditing();
    // The list is copied: a committed edit may rebuild the document's windows.
    QVector<QPointer<MyWindowController>> controllers{doc.baseWindowCont, doc.tableWindowCont};
    for (MyWindowController* c : doc.graphWindowConts)
        controllers.append(c);
    for (const QPointer<MyWindowController>& c : controllers)
        if (c && c != kept)
            c->commitCellEditors();
}

void MyDocumentWindows::makeWindowControllers(Document& doc)
{
    if (doc.baseWindowCont)
        return;
    auto* base = new MyWindowController(QStringLiteral("Document"), &doc);
    base->myDoc = &doc;
    doc.baseWindowCont = base;

    // Every stored analysis is read back into the selector tree, which counts the columns it
    // uses, and gets its windows. One whose cells hold no number now is kept, with empty
    // categories, and named: its settings are the user's and the next save writes them back.
    // One that cannot be rebuilt leaves every list, so element i of each stays analysis i.
    auto root = std::make_unique<MySelectorRootItem>(base, &doc);
    QStringList noValues, leftOut;
    bool retested = false;
    for (qint64 i = 0, position = 1; i < doc.graphXMLs.size(); ++position) {
        const QVector<qint64> counters = doc.columnCounter;
        MySelectorItem* item = MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, doc.graphXMLs.at(i), root.get());
        std::optional<MyAnalysisData> analysis;
        if (item && doc.ourDelegate())
            analysis = MyAnalysisBuilder::analysisFromSelection(*doc.ourDelegate(), item, nullptr,
                                                                MyAnalysisBuilder::NoValues::Built);
        if (item && analysis && makeGraphWindows(doc, i, *analysis)) {
            // Stored normality results follow the values as they read now.
            if (doc.ourDelegate() && i < doc.stats.size()
                && NormalityResults::refresh(*doc.ourDelegate(), doc.stats[i], analysis->values))
                retested = true;
            if (analysis->minMax.empty() && anyColumnInTable(doc, item))
                noValues << QStringLiteral("The analysis “%1” has no values: no cell of its data columns is a number as "
                                           "a whole (decimal commas and units are not read).")
                                .arg(item->title);
            ++i;
            continue;
        }
        leftOut << (item ? QStringLiteral("Analysis %1 of this document (“%2”) could not be rebuilt and was left out.")
                               .arg(position)
                               .arg(item->title)
                         : QStringLiteral("Analysis %1 of this document could not be rebuilt and was left out.").arg(position));
        if (item)
            root->removeChild(item->index());
        doc.columnCounter = counters;
        doc.removeAnalysis(i);
    }
    // A result tested again is a change to save, without an undo step of its own.
    if (retested)
        doc.undoManager()->changeDone();
    // The counters now count the analyses just set up: they are the one snapshot to undo to.
    doc.historyOfColumnCounter = {doc.columnCounter};
    base->adoptRootItem(std::move(root));

    auto* table = new MyWindowController(QStringLiteral("TableWindow"), &doc);
    table->myDoc = &doc;
    table->baseWinCont = base;
    doc.tableWindowCont = table;
    base->setInDocument(true);

    QObject::connect(&doc, &Document::undoWasReset, table, [table] {
        table->editable = false;
        if (table->isWindowLoaded() && table->mTV) {
            table->mTV->fixTableColumns();
            table->mTV->reloadData();
        }
    });
    QObject::connect(&doc, &Document::saved, base, [&doc](SaveKind kind) {
        QVector<MyWindowController*> all{doc.baseWindowCont, doc.tableWindowCont};
        all += doc.graphWindowConts;
        all += doc.statsWindowConts;
        for (MyWindowController* c : all) {
            if (!c)
                continue;
            c->synchronizeWindowTitleWithDocumentName();
            // An explicit save leaves no window of the document marked edited; an autosave
            // leaves the marks, as it leaves the undo steps.
            if (kind != SaveKind::Autosave && c->isWindowLoaded())
                c->window()->setWindowModified(false);
        }
    });
    // Said with what the package read had to tell, once the document is open.
    for (const QStringList& lines : {leftOut, noValues})
        if (!lines.isEmpty())
            doc.addReadNotice(lines.join(QLatin1Char('\n')));
}

bool MyDocumentWindows::makeGraphWindows(Document& doc, qint64 graphID, const MyAnalysisData& analysis)
{
    if (graphID < 0 || graphID >= doc.graphSettings.size() || graphID >= doc.historyOfGraphSettings.size())
        return false;
    auto graphCont = std::make_unique<MyWindowController>(QStringLiteral("GraphWindowD"), &doc);
    graphCont->myDoc = &doc;
    // The view manager is the graph controller's, shared with the statistics controller.
    auto* viewManager = new MyViewManager(analysis, graphCont.get(), &doc);
    // What a layout has to tell is shown from the event loop, over the graph's window.
    QObject::connect(viewManager, &MyViewManager::alertNoted, graphCont.get(), &MyWindowController::showPendingAlert,
                     Qt::QueuedConnection);
    graphCont->graphID = graphID;
    graphCont->viewManager = viewManager;
    graphCont->baseWinCont = doc.baseWindowCont;

    auto root = std::make_unique<MyConfigRootItem>(graphCont.get());
    if (!root->outlineItemFromSettings(doc.graphSettings.at(graphID)))
        return false;

    // Settings written by an older version are brought to the current key layout.
    AppDelegate* app = doc.ourDelegate();
    if (app && doc.isOlderVersion()) {
        QVariantMap input = NumberText::doubleValue(doc.docVersion) >= 4.11 ? doc.graphSettings.at(graphID) : root->object().toMap();
        const GraphSettingsUpdate update = app->updateGraphSettings(input, analysis.graphType);
        if (update.changed) {
            root->clearChildren();
            if (!root->outlineItemFromSettings(update.settings))
                return false;
            tell(doc, settingsUpdated);
            input = update.settings;
        }
        doc.graphSettings[graphID] = input;
        doc.historyOfGraphSettings[graphID] = {input};
    }

    // A click on a fixed element selects its settings row.
    MyConfigItem* properties = root->childTitle(QStringLiteral("graphProperties"));
    if (!properties)
        return false;
    const bool scatter = analysis.graphType == QLatin1String("scatter");
    const std::pair<QString, QString> fixed[] = {
        {MyViewManager::kBackground, QStringLiteral("background")},
        {MyViewManager::kGraphRect, QStringLiteral("graphRect")},
        {MyViewManager::kXAxis, QStringLiteral("xAxis")},
        {MyViewManager::kYAxis, QStringLiteral("yAxis")},
        {scatter ? MyViewManager::kBars : MyViewManager::kMedian, scatter ? QStringLiteral("bars") : QStringLiteral("boxes")}};
    viewManager->itemsDict.clear();
    for (const auto& [viewName, title] : fixed) {
        MyConfigItem* row = properties->childTitle(title);
        if (!row)
            return false;
        viewManager->itemsDict.insert(viewName, row);
    }

    // The whole graph laid out, then its frame views put together.
    MyConfigRootItem* settingsRoot = root.get();
    graphCont->adoptRootItem(std::move(root));
    viewManager->setGraphWithOutlineItem(settingsRoot);
    viewManager->placeContainers();

    auto* statsCont = new MyWindowController(QStringLiteral("StatsWindowD"), &doc);
    statsCont->myDoc = &doc;
    statsCont->graphID = graphID;
    statsCont->viewManager = viewManager;
    doc.graphWindowConts.append(graphCont.release());
    doc.statsWindowConts.append(statsCont);
    return true;
}

void MyDocumentWindows::showWindows(Document& doc)
{
    if (!doc.baseWindowCont)
        makeWindowControllers(doc);
    bringToFront(doc.baseWindowCont->window());
}

void MyDocumentWindows::closeWindows(Document& doc)
{
    QVector<MyWindowController*> controllers{doc.baseWindowCont, doc.tableWindowCont};
    controllers += doc.graphWindowConts;
    controllers += doc.statsWindowConts;
    for (MyWindowController* c : controllers)
        if (c) {
            c->closeForGood();
            c->deleteLater();
        }
    doc.baseWindowCont = nullptr;
    doc.tableWindowCont = nullptr;
    doc.graphWindowConts.clear();
    doc.statsWindowConts.clear();
}

void MyDocumentWindows::showTableWindowAtState(Document& doc, bool state)
{
    MyWindowController* table = doc.tableWindowCont;
    if (!table)
        return;
    // Set before the window first loads, so its grid is built in the right state.
    table->editable = state;
    QMainWindow* window = table->window();
    const bool placed = !table->isInDocument();
    if (placed) {
        table->setInDocument(true);
        if (doc.baseWindowCont && doc.baseWindowCont->window())
            MyWindowController::placeWindow(window, {20.0, MyWindowController::frameOf(doc.baseWindowCont->window()).origin.y},
                                            window->size());
    }
    bringToFront(window);
    if (placed)
        MyWindowController::cascade(window);
    if (table->mTV) {
        table->mTV->fixTableColumns();
        table->mTV->reloadData();
    }
}

void MyDocumentWindows::showGraphWindow(Document& doc, qint64 graphID)
{
    MyWindowController* graph = doc.graphWindowConts.value(graphID, nullptr);
    if (!graph || !doc.baseWindowCont)
        return;
    QMainWindow* window = graph->window();
    // The drawer first: it widens the window, which must then still fit on the screen.
    if (graph->drawer)
        graph->drawer->show();
    if (!graph->isInDocument()) {
        graph->setInDocument(true);
        // Shown first: the frame counts its decorations only then.
        window->show();
        const double mainWidth = MyWindowController::frameOf(doc.baseWindowCont->window()).size.width;
        MyWindowController::placeWindow(window, {mainWidth + 40.0, MyWindowController::mainScreenHeight() - 25.0},
                                        window->size().expandedTo(window->minimumSizeHint()), false);
        MyWindowController::cascade(window);
        // A graph larger than its window shows its plot first.
        if (auto* view = dynamic_cast<GraphSceneView*>(graph->sceneView()))
            view->showPlot();
    }
    bringToFront(window);
    // The graph takes the keyboard focus, so that the graph's commands (Copy) reach it.
    if (graph->sceneView())
        graph->sceneView()->setFocus(Qt::OtherFocusReason);
    if (MyViewManager* vm = graph->viewManager)
        vm->makeFirstResponder(vm->viewDict.value(MyViewManager::kBackground));
    // A layout may have noted an alert before the window was on screen.
    if (graph->viewManager && graph->viewManager->hasPendingAlert())
        QMetaObject::invokeMethod(graph, &MyWindowController::showPendingAlert, Qt::QueuedConnection);
}

void MyDocumentWindows::showStatsWindow(Document& doc, qint64 graphID)
{
    MyWindowController* stats = doc.statsWindowConts.value(graphID, nullptr);
    MyWindowController* graph = doc.graphWindowConts.value(graphID, nullptr);
    if (!stats || !graph)
        return;
    QMainWindow* window = stats->window();
    if (stats->drawer)
        stats->drawer->show();
    if (!stats->isInDocument()) {
        stats->setInDocument(true);
        // Shown first: the frame's height counts its decorations only then.
        window->show();
        // A graph window shortened for it shows its plot in what is left.
        auto* view = dynamic_cast<GraphSceneView*>(graph->sceneView());
        if (placeUnderGraph(graph->window(), view, window) && view)
            view->showPlot();
        MyWindowController::cascade(window, false);
    }
    bringToFront(window);
    stats->setStats();
}
