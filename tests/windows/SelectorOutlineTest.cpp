// The main window's selector outline driven through its cells and buttons: a new analysis,
// its columns, "Use" marks, graph type and title, the graph and statistics windows, deleting
// and modifying analyses, the stepper, and analyses saved and opened again.
#include "common/LoadTable.h"
#include "AnalysisFixture.h"
#include "platform/PropertyList.h"
#include "table/MyTableModel.h"

namespace {

const QString kDeleteOrModify = "Are you sure to delete or modify this analysis?\nYou cannot undo this action.";
const QString kDeleteOnly = "Are you sure to delete this analysis?\nYou cannot undo this action.";

} // namespace

class SelectorOutline : public AnalysisFixture {
protected:
    void SetUp() override
    {
        AnalysisFixture::SetUp();
        import(kSampleTable);
    }
    Document* reopen(const QString& name)
    {
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(controller->saveAs(doc, path, &error)) << error.toStdString();
        EXPECT_TRUE(controller->closeDocument(doc));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        doc = static_cast<Document*>(controller->openDocument(path, &error));
        EXPECT_TRUE(doc) << error.toStdString();
        return doc;
    }
    // The dressing of several rows at once.
    QStringList looks(std::initializer_list<MyOutlineItem*> items) const
    {
        QStringList out;
        for (MyOutlineItem* item : items)
            out << look(item);
        return out;
    }
};

// The story of one analysis: set up, refused where it must be, drawn, saved and opened again.
TEST_F(SelectorOutline, AnalysisFromNewToReopened)
{
    newAnalysis();
    MySelectorItem* a = analysis(0);
    EXPECT_EQ(rows(), QStringList({"Untitled | (Data: 0, Categorizing: 0)", "  graphType | scatter",
                                   "  DataColumns | Select at least one column", "  Categorizing | (0 columns)"}));
    EXPECT_TRUE(outline()->isExpanded(model()->indexOf(a)));
    EXPECT_EQ(outline()->selectionModel()->selectedRows().value(0), model()->indexOf(a));
    EXPECT_EQ(looks({a, at(a, {0}), at(a, {1})}), QStringList({"Delete+ . Graph- Stats-", ". . . .", "Add a column+ . . ."}));

    // Without a data column "Graph" cannot be pressed; the check behind it says why.
    EXPECT_FALSE(root()->validateSelection(a));
    newAnalysis();
    addColumn(at(a, {1}), "Note");
    EXPECT_EQ(alerts(), QStringList({"At least one data column is required", "You have not create a graph for the last analysis",
                                     "No valid values in this column"}));
    EXPECT_EQ(root()->childCount(), 1);

    for (const char* title : {"Height", "Height", "Weight"})
        addColumn(at(a, {1}), title);
    addColumn(at(a, {2}), "Sex");
    addColumn(at(a, {2}), "Site");
    EXPECT_EQ(looks({a, at(a, {1, 0}), at(a, {2, 0, 0}), at(a, {1, 0, 0})}),
              QStringList({"Delete+ . Graph+ Stats+", "Delete+ . . .", ". Use+ . .", ". Use- . ."}));
    press(at(a, {2, 0, 1}), 3);   // F unticked
    press(at(a, {2, 0, 0}), 3);   // M is the last used: stays
    for (const char* typed : {"Boxplot", "box plot"})
        EXPECT_TRUE(type(at(a, {0}), 1, typed));
    EXPECT_TRUE(type(a, 0, "Heights"));
    EXPECT_TRUE(type(at(a, {2, 0, 0}), 1, "Male"));
    EXPECT_FALSE(type(at(a, {0}), 0, "x"));
    EXPECT_FALSE(type(at(a, {1, 0}), 1, "x"));
    EXPECT_EQ(rows(), QStringList({"Heights | (Data: 2, Categorizing: 2)", "  graphType | scatter",
                                   "  DataColumns | (1st level; 2 columns)", "    Height | (5 valid values)",
                                   "      Height | Height [x]", "    Weight | (4 valid values)", "      Weight | Weight [x]",
                                   "  Categorizing | (2 columns)", "    Sex | (2nd level; 2 categories)", "      M | Male [x]",
                                   "      F | F [ ]", "    Site | (3rd level; 3 categories)", "      north | north [x]",
                                   "      south | south [x]", "      east | east [x]"}));

    // The table changes before "Graph": the graph is made from the table as it is then.
    doc->tableData[3][4] = "west";
    doc->tableData[0][1] = "171";
    doc->setTableData();
    press(a, 4);
    EXPECT_EQ(rows().mid(11), QStringList({"    Site | (3rd level; 3 categories)", "      north | north [x]",
                                           "      south | south [x]", "      west | west [x]"}));
    EXPECT_EQ(at(a, {1, 0, 0})->data2.value(0), 171.0);
    EXPECT_TRUE(outline()->isExpanded(model()->indexOf(at(a, {2, 1}))));
    const QVariantList siteRepresents = dig(doc->graphSettings.value(0), {"categoryDicts", "#2", "represents"}).toList();
    ASSERT_EQ(siteRepresents.size(), 3);
    EXPECT_EQ(siteRepresents[2].toMap().value("origName"), "west");

    ASSERT_EQ(doc->graphWindowConts.size(), 1);
    EXPECT_TRUE(doc->graphWindowConts[0]->window()->isVisible());
    EXPECT_FALSE(doc->statsWindowConts[0]->isWindowLoaded());
    EXPECT_EQ(counters(), QVector<qint64>({1, 1, 1, 1, 0}));
    EXPECT_FALSE(a->editting);
    EXPECT_EQ(look(a), "Delete or Modify+ . Graph+ Stats+");
    EXPECT_TRUE(main()->window()->isWindowModified());
    EXPECT_FALSE(doc->undoManager()->canUndo());
    EXPECT_EQ(alerts().size(), 3);

    const QStringList drawn = rows();
    const QVariantMap settings = doc->graphSettings.value(0);
    auto picture = [this] {
        return GraphItem::image(doc->graphWindowConts[0]->viewManager->viewDict.value(MyViewManager::kBackground));
    };
    const QImage drawnGraph = picture();
    ASSERT_FALSE(drawnGraph.isNull());
    ASSERT_TRUE(reopen("Sales.vlbdoc"));
    // The package holds the graph as drawn.
    QFile pdf(QDir(dir.filePath("Sales.vlbdoc")).filePath("graphPDF/graph0.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    EXPECT_EQ(rows(), drawn);
    EXPECT_EQ(counters(), QVector<qint64>({1, 1, 1, 1, 0}));
    EXPECT_EQ(doc->graphSettings.value(0), settings);
    EXPECT_EQ(picture(), drawnGraph);
    ASSERT_EQ(doc->graphWindowConts.size(), 1);
    EXPECT_FALSE(doc->graphWindowConts[0]->isWindowLoaded());
    press(analysis(0), 5);
    MyWindowController *graph = doc->graphWindowConts[0], *stats = doc->statsWindowConts[0];
    EXPECT_TRUE(graph->window()->isVisible() && stats->window()->isVisible());
    EXPECT_EQ(stats->window()->windowTitle(), "Sales - Stats - Heights[*]");
    // The graph window beside the main window; the statistics window under it, left edges
    // aligned (the graph window giving up its lower part where both do not fit); both moved
    // in as far as it takes to show whole, drawers included.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect g = graph->window()->frameGeometry(), s = stats->window()->frameGeometry();
    auto inside = [&](int wanted, int extent, int start, int end) { return std::max(start, std::min(wanted, end + 1 - extent)); };
    EXPECT_EQ(g.x(), inside(main()->window()->frameGeometry().width() + 40, g.width(), area.left(), area.right()));
    EXPECT_TRUE(g.y() >= area.top() && g.y() <= 25) << g.y();
    EXPECT_EQ(s.x(), inside(g.x(), s.width(), area.left(), area.right()));
    EXPECT_EQ(s.y(), inside(g.bottom() + 1, s.height(), area.top(), area.bottom()));
    for (MyWindowController* w : {graph, stats}) {
        SCOPED_TRACE(w->windowType().toStdString());
        EXPECT_TRUE(w->drawer->isVisible());
        EXPECT_TRUE(area.contains(w->window()->frameGeometry()));
        EXPECT_TRUE(area.contains(QRect(w->drawer->mapToGlobal(QPoint(0, 0)), w->drawer->size())));
    }
}

// Three analyses: the second deleted, the first modified and drawn again; windows, counters,
// graph IDs and every per-analysis list stay in line with the outline.
TEST_F(SelectorOutline, DeleteAndModifyKeepEveryListAligned)
{
    makeAnalysis("A", {"Height"}, {"Sex"});
    makeAnalysis("B", {"Weight"}, {"Site"}, "boxplot");
    makeAnalysis("C", {"Height", "Weight"}, {});
    ASSERT_EQ(doc->graphWindowConts.size(), 3);
    EXPECT_EQ(counters(), QVector<qint64>({2, 2, 1, 1, 0}));
    QPointer<MyWindowController> closedGraph = doc->graphWindowConts[1], closedStats = doc->statsWindowConts[1];
    QPointer<MyWindowController> third = doc->graphWindowConts[2], thirdStats = doc->statsWindowConts[2];
    QMainWindow* closedWindow = closedGraph->window();

    // Each list, the controllers' graph IDs and the outline tell the same order of titles.
    auto aligned = [&](const QStringList& titles) {
        QStringList outlineTitles, settingsTitles, graphTitles, statsTitles;
        for (int i = 0; i < root()->childCount(); ++i)
            if (!analysis(i)->editting)
                outlineTitles << analysis(i)->title;
        for (const QVariantMap& s : doc->graphSettings)
            settingsTitles << s.value("graphTitle").toString();
        for (qsizetype i = 0; i < doc->graphWindowConts.size(); ++i) {
            EXPECT_EQ(doc->graphWindowConts[i]->graphID, i);
            EXPECT_EQ(doc->statsWindowConts[i]->graphID, i);
            graphTitles << doc->graphWindowConts[i]->windowTitleForDocumentDisplayName("x").section(" - ", -1);
            statsTitles << doc->statsWindowConts[i]->windowTitleForDocumentDisplayName("x").section(" - ", -1);
        }
        for (const QStringList& listed : {outlineTitles, settingsTitles, graphTitles, statsTitles})
            EXPECT_EQ(listed, titles);
        EXPECT_EQ(QVector<qsizetype>({doc->graphXMLs.size(), doc->stats.size(), doc->graphSettingsIndex.size(),
                                      doc->historyOfGraphSettings.size()}),
                  QVector<qsizetype>(4, titles.size()));
        for (qsizetype i = 0; i < titles.size(); ++i)
            EXPECT_TRUE(doc->graphXMLs[i].contains(titles[i]));
    };

    scripted.dialogs.answers = {2};   // Cancel
    press(analysis(1), 2);
    aligned({"A", "B", "C"});
    scripted.dialogs.answers = {0};   // Delete
    press(analysis(1), 2);
    EXPECT_EQ(scripted.dialogs.questions, QStringList({kDeleteOrModify, kDeleteOrModify}));
    EXPECT_EQ(scripted.dialogs.questionButtons.last(), QStringList({"Delete", "Modify", "Cancel"}));
    EXPECT_FALSE(closedWindow->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closedGraph.isNull() && closedStats.isNull());
    EXPECT_EQ(counters(), QVector<qint64>({2, 1, 1, 0, 0}));
    aligned({"A", "C"});
    EXPECT_EQ(third->window()->windowTitle(), "Untitled - C[*]");
    EXPECT_TRUE(doc->isDocumentEdited());

    scripted.dialogs.answers = {1};   // Modify
    press(analysis(0), 2);
    EXPECT_EQ(counters(), QVector<qint64>({1, 1, 0, 0, 0}));
    aligned({"C"});
    EXPECT_EQ(third->graphID, 0);
    EXPECT_EQ(thirdStats->graphID, 0);
    MySelectorItem* a = analysis(1);
    EXPECT_EQ(a->title, "A");
    EXPECT_TRUE(a->editting && at(a, {2, 0, 1})->editting);
    EXPECT_EQ(looks({a, analysis(0)}), QStringList({"Delete+ . Graph+ Stats+", "Delete or Modify- . Graph+ Stats+"}));
    newAnalysis();
    EXPECT_EQ(alerts(), QStringList({"You have not create a graph for the last analysis"}));
    press(a, 4);
    aligned({"C", "A"});
    EXPECT_EQ(counters(), QVector<qint64>({2, 1, 1, 0, 0}));

    // An analysis still being set up is deleted without "Modify"; its "Cancel" is the second
    // button.
    newAnalysis();
    scripted.dialogs.answers = {1, 0};
    press(analysis(2), 2);
    EXPECT_EQ(root()->childCount(), 3);
    press(analysis(2), 2);
    EXPECT_EQ(scripted.dialogs.questions.mid(3), QStringList({kDeleteOnly, kDeleteOnly}));
    EXPECT_EQ(scripted.dialogs.questionButtons.last(), QStringList({"Delete", "Cancel"}));
    EXPECT_EQ(root()->childCount(), 2);
    aligned({"C", "A"});
}

// Counters are found by title: a column retitled behind the outline's back is not found, and
// a count that is already 0 stays there.
TEST_F(SelectorOutline, DeleteNeverLowersACounterBelowZero)
{
    makeAnalysis("A", {"Height", "Weight"}, {"Sex"});
    doc->tableData[0][0] = "Tall";
    doc->setTableData();
    doc->columnCounter[2] = 0;
    scripted.dialogs.answers = {0};
    press(analysis(0), 2);
    EXPECT_EQ(counters(), QVector<qint64>({1, 0, 0, 0, 0}));
}

// Making a graph counts its columns in the snapshot that stays, so undoing a later table edit
// keeps them in use.
TEST_F(SelectorOutline, CountsSurviveUndoOfALaterTableEdit)
{
    makeAnalysis("A", {"Height"}, {"Sex"});
    ASSERT_TRUE(doc->modifyTableWithArray({{"New"}}, doc->tableMatrix.column + 1, 0, true, false));
    doc->setTableDataWithSettingsWithSettings(true, 1, "Input");
    main()->undo();
    EXPECT_EQ(counters(), QVector<qint64>({1, 0, 1, 0, 0}));
}

// "Graph" on a column of 20,000 categories after the table changed: each value finds its row
// (the same title, composed or not) at once, rows keep their "Use" marks and display texts in
// the table's new order, new values get a new row and rows of values gone are dropped.
TEST_F(SelectorOutline, GraphRenewsManyCategoriesFromTheTable)
{
    const int n = 20000;
    TableData table{{"value"}, {"group"}};
    for (int r = 0; r < n; ++r) {
        table[0] << QString::number(r);
        table[1] << (r == 1 ? QStringLiteral("\u00e9") : QStringLiteral("c%1").arg(r));
    }
    loadTable(*doc, table);

    newAnalysis();
    MySelectorItem* a = analysis(0);
    addColumn(at(a, {1}), "value");
    addColumn(at(a, {2}), "group");
    MySelectorItem* group = at(a, {2, 0});
    ASSERT_EQ(group->childCount(), n);
    group->selectorChildAt(1)->message = "e acute";
    group->selectorChildAt(2)->type = "NO";
    group->selectorChildAt(3)->message = "three";

    // The categories reversed, "e" + combining acute for the composed one, c3 gone, "new" come.
    // No value is a number any more, so the graph is refused after the renewal.
    for (int r = 0; r < n; ++r) {
        doc->tableData[0][r + 1] = "x";
        const int from = n - 1 - r;
        doc->tableData[1][r + 1] = from == 1 ? QStringLiteral("e\u0301") : from == 3 ? QStringLiteral("new") : QStringLiteral("c%1").arg(from);
    }
    doc->setTableData();
    press(a, 4);
    EXPECT_EQ(alerts().value(alerts().size() - 1), MySelectorRootItem::noValidValues);
    EXPECT_TRUE(a->editting);

    ASSERT_EQ(group->childCount(), n);
    QStringList wrong;
    for (int r = 0; r < n; ++r) {
        const int from = n - 1 - r;
        const MySelectorItem* row = group->selectorChildAt(r);
        const QString title = from == 1 ? QStringLiteral("\u00e9") : from == 3 ? QStringLiteral("new") : QStringLiteral("c%1").arg(from);
        const QString message = from == 1 ? QStringLiteral("e acute") : title;
        const QString use = from == 2 ? QStringLiteral("NO") : QStringLiteral("YES");
        if (row->title != title || row->message != message || row->type != use || row->data1 != QVector<qint64>{r})
            wrong << QStringLiteral("%1: %2 %3 %4").arg(r).arg(row->title, row->message, row->type);
    }
    EXPECT_EQ(wrong.mid(0, 5), QStringList());
}

// A value is a finite number wherever it is counted: a column of numbers beyond the doubles
// is refused when it is added, as a column of texts is, and such cells are not counted.
class ColumnValues : public AnalysisFixture {};
TEST_F(ColumnValues, NumbersBeyondTheDoublesAreNoValues)
{
    import("Huge,Mixed,Sex\n1e400,1e400,M\n-1e400,5,F\n1e999,7,M\n");
    newAnalysis();
    MySelectorItem* a = analysis(0);
    scripted.dialogs.alerts.clear();
    addColumn(at(a, {1}), "Huge");
    EXPECT_EQ(alerts(), QStringList{MySelectorRootItem::noValidValues});
    EXPECT_EQ(at(a, {1})->childCount(), 0);
    addColumn(at(a, {1}), "Mixed");
    EXPECT_EQ(alerts(), QStringList{MySelectorRootItem::noValidValues});
    EXPECT_EQ(rows().value(3), "    Mixed | (2 valid values)");
}

// The stepper moves a row of an analysis being set up among its siblings; "graphType" keeps
// the first place, and a refused move sets the stepper back.
TEST_F(SelectorOutline, StepperMovesEditableRows)
{
    newAnalysis();
    MySelectorItem* a = analysis(0);
    addColumn(at(a, {1}), "Height");
    addColumn(at(a, {1}), "Weight");
    MyStepper* stepper = main()->stepper;
    auto select = [&](MyOutlineItem* item) { QTest::mouseClick(outline()->viewport(), Qt::LeftButton, {}, centre(item, 0)); };
    auto order = [](MyOutlineItem* parent) {
        QStringList titles;
        for (MyOutlineItem* c : parent->children())
            titles << c->title;
        return titles.join(',');
    };
    const char* groups = "graphType,Categorizing,DataColumns";
    // The path holds titles from the analysis down.
    const struct { QStringList path; int key, stepperAfter; const char* order; } cases[] = {
        {{"DataColumns"}, Qt::Key_Up, 2, groups}, {{"Categorizing"}, Qt::Key_Down, 1, groups},
        {{"graphType"}, Qt::Key_Up, 0, groups}, {{"DataColumns"}, Qt::Key_Up, 2, groups},
        {{"DataColumns", "Weight"}, Qt::Key_Down, 0, "Weight,Height"}, {{"DataColumns", "Weight"}, Qt::Key_Down, 0, "Weight,Height"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.join('/').toStdString());
        MySelectorItem* item = a;
        for (const QString& title : c.path)
            item = item->childTitle(title);
        select(item);
        EXPECT_EQ(stepper->integerValue(), item->index());
        QTest::keyClick(stepper, Qt::Key(c.key));
        EXPECT_EQ(stepper->integerValue(), c.stepperAfter);
        EXPECT_EQ(order(item->parentItem()), c.order);
        EXPECT_EQ(outline()->selectionModel()->selectedRows().value(0), model()->indexOf(item));
    }
    // With "Categorizing" second and empty the graph cannot be asked for.
    EXPECT_EQ(look(a), "Delete+ . Graph- Stats-");

    // An analysis row never moves, nor does any row of a drawn analysis.
    select(a);
    QTest::keyClick(stepper, Qt::Key_Up);
    EXPECT_EQ(stepper->integerValue(), 1);
    addColumn(at(a, {1}), "Sex");
    press(a, 4);
    ASSERT_FALSE(a->editting);
    select(at(a, {1}));
    QTest::keyClick(stepper, Qt::Key_Up);
    EXPECT_EQ(stepper->integerValue(), 2);
    EXPECT_EQ(order(a), groups);
}

// A reopened document counts each column its analyses use once, and the table refuses to
// delete, paste over or retitle those columns.
TEST_F(SelectorOutline, ReopenedDocumentProtectsTheColumnsInUse)
{
    makeAnalysis("A", {"Height", "Weight"}, {"Sex"});
    ASSERT_TRUE(reopen("Counted.vlbdoc"));
    EXPECT_EQ(counters(), QVector<qint64>({1, 1, 1, 0, 0}));
    EXPECT_EQ(doc->historyOfColumnCounter, QVector<QVector<qint64>>({{1, 1, 1, 0, 0}}));
    main()->editDataTableTapped(1);
    MyTableView* grid = doc->tableWindowCont->mTV;
    grid->setSelectingCells({0, 1, doc->tableMatrix.row - 1, 1});
    grid->deleteColumns();
    grid->setSelectingCells({0, 2, 0, 2});
    QApplication::clipboard()->setText("Mass\n");
    grid->paste();
    EXPECT_EQ(alerts(), QStringList(2, "One or more columns are currently in use."));
    EXPECT_FALSE(grid->tableModel()->flags(grid->tableModel()->index(0, 3)) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid->tableModel()->flags(grid->tableModel()->index(0, 4)) & Qt::ItemIsEditable);
    EXPECT_EQ(doc->variables, QStringList({"Height", "Weight", "Sex", "Site", "Note"}));
}

// A document written by an older version has its graph settings brought up to date when its
// windows are made, telling the user once per changed analysis. A document of this version
// that lacks a value has it filled as it opens, and the repair's message names it.
TEST_F(SelectorOutline, OlderDocumentsGetTheirSettingsUpdated)
{
    makeAnalysis("A", {"Height"}, {"Sex"});
    const QString path = dir.filePath("Old.vlbdoc");
    QString error;
    ASSERT_TRUE(controller->saveAs(doc, path, &error));
    ASSERT_TRUE(controller->closeDocument(doc));
    const QString settingsFile = QDir(path).filePath("graph/graph0.plist");
    QFile read(settingsFile);
    ASSERT_TRUE(read.open(QIODevice::ReadOnly));
    const QVariantMap stored = PropertyList::fromData(read.readAll()).toMap();
    const QVariant tickWidth = delegate.defaultXAxis.value("tickWidth");
    ASSERT_TRUE(tickWidth.isValid());

    const QString filled = "Settings of this analysis of the document \u201cOld.vlbdoc\u201d were missing or could not be "
                           "used, and were set to their defaults: \u201cA\u201d (graphProperties xAxis tickWidth).";
    const struct { const char* version; bool dropKey; QStringList alerts; bool hasKey; } cases[] = {
        {"4.1", true, {MyDocumentWindows::settingsUpdated}, true}, {"4.0", false, {}, true}, {"4.11", true, {filled}, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        QVariantMap settings = stored, properties = stored.value("graphProperties").toMap();
        QVariantMap xAxis = properties.value("xAxis").toMap();
        if (c.dropKey)
            xAxis.remove("tickWidth");
        properties.insert("xAxis", xAxis);
        settings.insert("graphProperties", properties);
        write("Old.vlbdoc/graph/graph0.plist", PropertyList::toXml(settings));
        write("Old.vlbdoc/fileInfo.plist", PropertyList::toXml(QVariantMap{{"version", QString(c.version)}}));
        scripted.dialogs.alerts.clear();
        doc = static_cast<Document*>(controller->openDocument(path, &error));
        ASSERT_TRUE(doc) << error.toStdString();
        EXPECT_EQ(alerts(), c.alerts);
        EXPECT_EQ(dig(doc->graphSettings[0], {"graphProperties", "xAxis", "tickWidth"}), c.hasKey ? tickWidth : QVariant());
        EXPECT_EQ(doc->historyOfGraphSettings[0], QVector<QVariantMap>({doc->graphSettings[0]}));
        MyConfigItem* settingsRoot = static_cast<MyConfigItem*>(doc->graphWindowConts[0]->rootItem);
        EXPECT_EQ(settingsRoot ? settingsRoot->object().toMap() : QVariantMap(), doc->graphSettings[0]);
        ASSERT_TRUE(controller->closeDocument(doc));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    doc = nullptr;
}
