// Main and table windows: titles, placement, the table buttons, the menus, and documents
// closed and reverted through the document controller.
#include "AnalysisFixture.h"
#include "table/TableFixture.h"
#include "platform/PropertyList.h"

TEST(WindowTitle, CutsTheExtensionAtItsFirstOccurrence)
{
    MyWindowController w("Document");
    w.subTitle = "Main";
    for (const auto& [displayName, title] : {std::pair{"x.vlbdoc copy", "x.vlbdoc copy - Main"}, std::pair{"a.vlbdoc.vlbdoc", "a - Main"}})
        EXPECT_EQ(w.windowTitleForDocumentDisplayName(QString::fromUtf8(displayName)), QString::fromUtf8(title)) << displayName;
}

using Windows = TableFixture;

TEST_F(Windows, SetUpGivesTitlesAndPlacement)
{
    MyWindowController *base = doc->baseWindowCont, *table = doc->tableWindowCont;
    EXPECT_EQ(base->window()->windowTitle(), "Untitled - Main[*]");
    EXPECT_EQ(table->window()->windowTitle(), "Untitled - Table[*]");
    // Top-left 20 points from the left and 25 below the top of the screen; the table
    // window hangs under the main window.
    const Rect main = MyWindowController::frameOf(base->window()), under = MyWindowController::frameOf(table->window());
    EXPECT_EQ(main.origin.x, 20);
    EXPECT_EQ(main.maxY(), 1024 - 25);
    EXPECT_EQ(under.origin.x, 20);
    EXPECT_EQ(under.maxY(), main.origin.y);
    // Both end inside the screen's free area, so no row or scroll bar is out of reach.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (MyWindowController* w : {base, table})
        EXPECT_TRUE(area.contains(w->window()->frameGeometry())) << qPrintable(w->windowType());
}

// A window that may move leaves its corner where it fits, moves left and up as far as it
// needs to show whole, and shrinks only to the screen's free area; the others keep their corner.
TEST_F(Windows, WindowsEndInsideTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const int w = area.width() / 2, h = area.height() / 2;
    // Corners (top-left, screen pixels from the area's corner) and sizes; the frame expected.
    const struct { QPoint corner; QSize wanted; bool keepCorner; QRect frame; } cases[] = {
        {{10, 10}, {w, h}, false, {10, 10, w, h}},
        {{w + 40, 20}, {w, h}, false, {area.width() - w, 20, w, h}},
        {{30, h + 40}, {w, h}, false, {30, area.height() - h, w, h}},
        {{area.width() + 10, 0}, {w, h}, false, {area.width() - w, 0, w, h}},
        {{40, 40}, {2 * area.width(), 2 * area.height()}, false, {0, 0, area.width(), area.height()}},
        {{w + 40, 20}, {w, h}, true, {w + 40, 20, area.width() - w - 40, h}},
    };
    for (const auto& c : cases) {
        QMainWindow window;
        window.show();
        const QSize decorations = window.frameGeometry().size() - window.size();
        const QPoint at = area.topLeft() + c.corner;
        MyWindowController::placeWindow(&window, {double(at.x()), MyWindowController::mainScreenHeight() - at.y()},
                                        c.wanted - decorations, c.keepCorner);
        EXPECT_EQ(window.frameGeometry(), c.frame.translated(area.topLeft())) << c.corner.x() << "," << c.corner.y();
    }
}

// The main window counts the data rows (not the title row) and the columns, and lists the titles.
TEST_F(Windows, MainWindowCountsDataRowsAndColumns)
{
    TableData twelve = table("x");
    for (int r = 1; r <= 12; ++r)
        twelve[0] << QString::number(r);
    const struct { TableData table; const char *rows, *columns; } cases[] = {{{}, "0", "0"}, {table("a | b | c"), "0", "3"}, {twelve, "12", "1"}};
    MyWindowController* base = doc->baseWindowCont;
    for (const auto& c : cases) {
        load(c.table);
        EXPECT_EQ(base->tkNumOfRows->text(), c.rows);
        EXPECT_EQ(base->tkNumOfColumns->text(), c.columns);
        ASSERT_EQ(base->docTV->model()->rowCount(), c.table.size());
        for (int i = 0; i < c.table.size(); ++i)
            EXPECT_EQ(base->docTV->model()->index(i, 0).data().toString(), c.table[i].first());
    }
}

TEST_F(Windows, TableButtonsSwitchTheStateWithoutMovingTheWindow)
{
    load(abc());
    MyWindowController *base = doc->baseWindowCont, *table = doc->tableWindowCont;
    table->window()->move(300, 200);
    for (const auto& [button, editable, rows] : {std::tuple{"buShowTable", false, 4}, std::tuple{"buEditTable", true, 5}}) {
        base->window()->findChild<QPushButton*>(button)->click();
        EXPECT_EQ(table->editable, editable) << button;
        EXPECT_EQ(grid->numberOfRowsInTableView(), rows) << button;
        EXPECT_EQ(table->window()->pos(), QPoint(300, 200)) << button;
    }
    // Once closed, the next showing places the window anew.
    table->window()->close();
    EXPECT_FALSE(table->isInDocument());
    base->editDataTableTapped(1);
    EXPECT_EQ(MyWindowController::frameOf(table->window()).maxY(), MyWindowController::frameOf(base->window()).origin.y);
}

TEST_F(Windows, ResetUndoLeavesEditModeAndForgetsTheSteps)
{
    load(abc());
    ASSERT_TRUE(type(1, 1, "q"));
    EXPECT_TRUE(doc->tableWindowCont->window()->isWindowModified());
    doc->resetUndo();
    EXPECT_FALSE(doc->tableWindowCont->editable);
    EXPECT_EQ(grid->numberOfRowsInTableView(), 4);
    EXPECT_FALSE(undo()->canUndo());
    EXPECT_EQ(doc->tableData[0][1], "q");
}

// The Edit menu of every window names the step that undo and redo would take.
TEST_F(Windows, EditMenuNamesTheNextUndoAndRedo)
{
    load(abc());
    auto item = [](MyWindowController* w, const char* start) {
        for (QAction* a : w->window()->findChildren<QAction*>())
            if (a->text().startsWith(QLatin1String(start)))
                return a;
        return static_cast<QAction*>(nullptr);
    };
    ASSERT_TRUE(type(1, 1, "q"));
    select(1, 1, 2, 2);
    grid->copy();
    select(3, 2, 3, 2);
    doc->tableWindowCont->paste();
    for (MyWindowController* w : {doc->baseWindowCont, doc->tableWindowCont}) {
        ASSERT_TRUE(item(w, "Undo"));
        EXPECT_EQ(item(w, "Undo")->text(), "Undo Paste");
        EXPECT_FALSE(item(w, "Redo")->isEnabled());
    }
    item(doc->tableWindowCont, "Undo")->trigger();
    EXPECT_EQ(item(doc->baseWindowCont, "Undo")->text(), "Undo Input");
    EXPECT_EQ(item(doc->tableWindowCont, "Redo")->text(), "Redo Paste");
    EXPECT_EQ(cell(3, 2), "z");
    item(doc->baseWindowCont, "Redo")->trigger();
    EXPECT_EQ(cell(3, 2), "q");
    EXPECT_EQ(item(doc->tableWindowCont, "Undo")->text(), "Undo Paste");
}

// The File and Edit menus hold the standard commands with their usual keys.
TEST_F(Windows, FileAndEditMenusHaveTheStandardKeys)
{
    // A key "" for none.
    const struct { const char *menu, *item, *key; } items[] = {
        {"&File", "New", "Ctrl+N"}, {"&File", "Open…", "Ctrl+O"}, {"&File", "Save", "Ctrl+S"},
        {"&File", "Save As…", "Ctrl+Shift+S"}, {"&File", "Revert", ""}, {"&File", "Close", "Ctrl+W"},
        {"&File", "Quit", "Ctrl+Q"}, {"&Edit", "Undo", "Ctrl+Z"}, {"&Edit", "Redo", "Ctrl+Shift+Z"},
        {"&Edit", "Cut", "Ctrl+X"}, {"&Edit", "Copy", "Ctrl+C"}, {"&Edit", "Paste", "Ctrl+V"},
        {"&Edit", "Select All", "Ctrl+A"},
    };
    for (MyWindowController* w : {doc->baseWindowCont, doc->tableWindowCont}) {
        QMap<QString, QAction*> actions;   // "menu>item"
        for (QAction* menu : w->window()->menuBar()->actions())
            for (QAction* a : menu->menu()->actions())
                actions.insert(menu->text() + ">" + a->text(), a);
        for (const auto& i : items) {
            QAction* a = actions.value(QString::fromUtf8(i.menu) + ">" + QString::fromUtf8(i.item));
            ASSERT_TRUE(a) << i.item;
            EXPECT_EQ(a->shortcuts().isEmpty(), !*i.key) << i.item;
            EXPECT_TRUE(!*i.key || a->shortcuts().contains(QKeySequence(QString::fromUtf8(i.key)))) << i.item;
        }
    }
}

// Documents made and opened through the document controller, as the application does.
using DocumentWindows = AnalysisFixture;

// Save As from its key; Revert, offered once the saved document has changed, asks and reads
// the saved table back.
TEST_F(DocumentWindows, SaveAsKeyThenRevert)
{
    doc->baseWindowCont->editDataTableTapped(1);
    doc->tableWindowCont->mTV->tableViewSetObjectValue(QStringLiteral("saved"), "1", 0);
    QAction* revert = command(doc->baseWindowCont, "Revert");
    ASSERT_TRUE(revert);
    EXPECT_FALSE(revert->isEnabled());   // never saved
    scripted.dialogs.files.push_back(dir.filePath("Sales"));
    front(doc->baseWindowCont);   // shortcuts reach the active window
    QTest::keyClick(doc->baseWindowCont->window(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc->fileName(), QDir(dir.path()).filePath("Sales.vlbdoc"));
    EXPECT_FALSE(revert->isEnabled());   // nothing to go back to
    doc->tableWindowCont->mTV->tableViewSetObjectValue(QStringLiteral("changed"), "1", 0);
    EXPECT_TRUE(revert->isEnabled());

    scripted.dialogs.answers.push_back(0);   // Revert
    revert->trigger();
    EXPECT_EQ(scripted.dialogs.questions.size(), 1);
    ASSERT_EQ(controller->documents().size(), 1u);
    auto* reverted = static_cast<Document*>(controller->documents().front().get());
    EXPECT_EQ(reverted->tableData.value(0).value(0), "saved");
    EXPECT_FALSE(reverted->isDocumentEdited());
}

// A second window of a kind opens beside the first, not on top of it: main windows of new
// documents, graph windows of two analyses.
TEST_F(DocumentWindows, NewWindowsCascade)
{
    import(kSampleTable);
    makeAnalysis("A", {"Height"}, {"Sex"});
    makeAnalysis("B", {"Weight"}, {"Sex"});
    controller->newDocument();
    controller->newDocument();
    QList<QPoint> corners;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && w->isVisible()) {
            EXPECT_FALSE(corners.contains(w->frameGeometry().topLeft())) << qPrintable(w->windowTitle());
            EXPECT_TRUE(area.contains(w->frameGeometry())) << qPrintable(w->windowTitle());
            corners << w->frameGeometry().topLeft();
        }
    EXPECT_EQ(corners.size(), 6);   // three main windows, the table window, two graph windows
}

// Save As and Export PDF propose the document's and the graph's names in the document's
// folder, or in the home folder for a document never saved; never the working directory.
TEST_F(DocumentWindows, SaveAsAndExportProposeTheNameInTheDocumentsFolder)
{
    // Each test program runs in a home of its own.
    const QString home = QDir::homePath();
    import(kSampleTable);
    makeAnalysis("Heights / Sex\nby site", {"Height"}, {"Sex"});
    MyWindowController* graph = doc->graphWindowConts.last();
    const QString folder = QDir(dir.path()).filePath("Reports");
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct { const char* what; std::function<void()> act; QString proposed; } cases[] = {
        {"save as, new", [&] { doc->baseWindowCont->saveDocumentAs(); }, QDir(home).filePath("Untitled.vlbdoc")},
        {"export, new", [&] { graph->exportPDF(); }, QDir(home).filePath("Heights - Sex by site.pdf")},
        {"save, saved", [&] {
             scripted.dialogs.files.push_back(QDir(folder).filePath("Sales"));
             doc->baseWindowCont->saveDocument();
         }, QDir(home).filePath("Untitled.vlbdoc")},
        {"save as, saved", [&] { doc->baseWindowCont->saveDocumentAs(); }, QDir(folder).filePath("Sales.vlbdoc")},
        {"export, saved", [&] { graph->exportPDF(); }, QDir(folder).filePath("Heights - Sex by site.pdf")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scripted.dialogs.suggestedPaths.clear();
        c.act();
        EXPECT_EQ(scripted.dialogs.suggestedPaths, QStringList{c.proposed});
    }
    EXPECT_EQ(doc->fileName(), QDir(folder).filePath("Sales.vlbdoc"));
}

// An autosave writes the package in place a while after a change, keeps the undo steps and
// the edited mark, and waits while a text is being typed (on the graph or in an outline cell).
TEST_F(DocumentWindows, AutosaveWritesInPlaceKeepsUndoAndWaitsForTyping)
{
    import(kSampleTable);
    makeAnalysis("A", {"Height"}, {"Sex"});
    MyWindowController* graph = doc->graphWindowConts.last();
    const QString path = dir.filePath("Auto.vlbdoc");
    ASSERT_TRUE(controller->saveAs(doc, path));
    controller->setAutosaveDelays(30, 200);
    auto storedTitle = [&] {
        QFile f(QDir(path).filePath("graph/graph0.plist"));
        return f.open(QIODevice::ReadOnly) ? PropertyList::fromData(f.readAll()).toMap().value("graphTitle").toString() : QString();
    };
    const struct { const char* what; std::function<void()> startTyping, stopTyping; } typing[] = {
        {"graph text", [&] {
             MyViewManager* vm = graph->viewManager;
             ASSERT_FALSE(vm->scalesStorageItem.isEmpty());
             MyTextView* label = labelView(vm, vm->scalesStorageItem.first()->textItem);
             ASSERT_TRUE(label);
             vm->editTextView(label, Point(1, 1));
         }, [&] { graph->viewManager->commitEditing(); }},
        {"outline cell", [&] {
             QTreeView* o = graph->configOlv;
             const QModelIndex index = qobject_cast<MyOutlineModel*>(o->model())->indexOf(settingsRow(graph, {"graphTitle"}), 1);
             o->edit(index);
         }, [&] { graph->configOlv->closePersistentEditor(graph->configOlv->currentIndex()); graph->configOlv->setFocus(); QTest::keyClick(graph->configOlv, Qt::Key_Escape); }},
    };
    int n = 0;
    for (const auto& t : typing) {
        SCOPED_TRACE(t.what);
        const QString title = QStringLiteral("Title %1").arg(++n);
        ASSERT_TRUE(typeInSettings(graph, {"graphTitle"}, title));
        t.startTyping();
        ASSERT_TRUE(doc->isEditingText());
        QTest::qWait(300);
        EXPECT_NE(storedTitle(), title) << "not written while typing";
        t.stopTyping();
        QCoreApplication::processEvents();
        EXPECT_FALSE(doc->isEditingText());
        EXPECT_TRUE(QTest::qWaitFor([&] { return storedTitle() == title; }, 5000));
        EXPECT_TRUE(doc->isDocumentEdited());
        EXPECT_TRUE(doc->undoManager()->canUndo());
    }
    doc->undoManager()->undo();
    EXPECT_EQ(doc->graphSettings[0].value("graphTitle").toString(), "Title 1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return storedTitle() == "Title 1"; }, 5000));
}

// Save To, Save As and Save leave no window of the document marked edited, whichever window
// made the change (a graph title, a statistics switch, a table cell); the next change marks
// again, also after a copy saved elsewhere, which leaves the document edited. An autosave
// leaves the marks.
TEST_F(DocumentWindows, ExplicitSavesClearTheEditedMarkOfEveryWindow)
{
    import(kSampleTable);
    press(makeAnalysis("T1", {"Height"}, {"Sex"}), 5);   // "Stats" shows the statistics window too
    MyWindowController* graph = doc->graphWindowConts.value(0);
    MyWindowController* stats = doc->statsWindowConts.value(0);
    ASSERT_TRUE(graph && stats && stats->window()->isVisible() && doc->tableWindowCont->isWindowLoaded());
    const QList<MyWindowController*> windows{main(), doc->tableWindowCont, graph, stats};
    // The marks of the main, table, graph and statistics windows.
    auto marks = [&] {
        QString out;
        for (MyWindowController* c : windows)
            out += c->window()->isWindowModified() ? '1' : '0';
        return out;
    };
    int n = 0;
    auto changeEverything = [&] {
        QAbstractButton* sw = stats->window()->findChild<QAbstractButton*>("buStats");
        ASSERT_TRUE(sw && sw->isEnabled());
        QTest::mouseClick(sw, Qt::LeftButton, {}, QPoint(4, sw->height() / 2));
        EXPECT_EQ(marks(), "1000") << "the statistics switch";
        ASSERT_TRUE(typeInSettings(graph, {"graphTitle"}, QStringLiteral("Title %1").arg(++n)));
        EXPECT_EQ(marks(), "1010") << "the graph title";
        doc->tableWindowCont->mTV->tableViewSetObjectValue(QStringLiteral("note %1").arg(n), "5", 1);
        EXPECT_EQ(marks(), "1110") << "the table cell";
    };
    const QString path = dir.filePath("a.vlbdoc");
    const struct { const char* what; std::function<bool()> save; } saves[] = {
        {"save to", [&] { return controller->saveTo(doc, dir.filePath("copy.vlbdoc")); }},
        {"save as", [&] { return controller->saveAs(doc, path); }},
        {"save", [&] { return controller->save(doc); }},
    };
    doc->baseWindowCont->editDataTableTapped(1);
    ASSERT_TRUE(controller->saveAs(doc, path));
    ASSERT_EQ(marks(), "0000");
    for (const auto& s : saves) {
        SCOPED_TRACE(s.what);
        changeEverything();
        ASSERT_TRUE(s.save());
        EXPECT_EQ(marks(), "0000");
        EXPECT_EQ(graph->window()->windowTitle(), QStringLiteral("%1 - Title %2[*]").arg(doc->displayName()).arg(n));
    }
    changeEverything();
    ASSERT_TRUE(controller->autosave(doc));
    EXPECT_EQ(marks(), "1110");
}

// The same package open in two instances (two controllers of one process): an autosave does
// not write over what the other wrote and says so once, over its main window; quitting asks,
// and only "Keep This Version" overwrites.
TEST_F(DocumentWindows, TwoInstancesOfOnePackageLoseNothingUnasked)
{
    import(kSampleTable);
    makeAnalysis("Shared", {"Height"}, {"Sex"});
    const QString path = dir.filePath("Shared.vlbdoc");
    ASSERT_TRUE(controller->saveAs(doc, path));
    DocumentController other(Document::factory(&delegate));
    auto* second = static_cast<Document*>(other.openDocument(path));
    ASSERT_TRUE(second);
    auto storedTitle = [&] {
        QFile f(QDir(path).filePath("graph/graph0.plist"));
        return f.open(QIODevice::ReadOnly) ? PropertyList::fromData(f.readAll()).toMap().value("graphTitle").toString() : QString();
    };
    auto retitle = [](Document* d, const QString& title) {
        MyDocumentWindows::showGraphWindow(*d, 0);
        ASSERT_TRUE(typeInSettings(d->graphWindowConts.value(0), {"graphTitle"}, title));
    };

    retitle(doc, "first instance");
    ASSERT_TRUE(controller->autosave(doc));
    ASSERT_EQ(storedTitle(), "first instance");
    retitle(second, "second");
    EXPECT_FALSE(other.autosave(second));
    QCoreApplication::processEvents();
    const QString changed = QStringLiteral("The document \u201cShared\u201d has been changed by another application since it "
                                           "was opened or saved.");
    EXPECT_EQ(alerts(), QStringList{changed});
    EXPECT_EQ(scripted.dialogs.alertWindows.value(int(scripted.dialogs.alerts.indexOf(changed))), second->baseWindowCont->window());
    retitle(second, "second again");
    EXPECT_FALSE(other.autosave(second));
    QCoreApplication::processEvents();
    EXPECT_EQ(alerts().size(), 1);
    EXPECT_EQ(storedTitle(), "first instance");

    scripted.dialogs.answers = {1};   // Cancel
    EXPECT_FALSE(other.quit());
    EXPECT_EQ(storedTitle(), "first instance");
    scripted.dialogs.answers = {0};   // Keep This Version
    EXPECT_TRUE(other.quit());
    EXPECT_EQ(storedTitle(), "second again");
    EXPECT_EQ(scripted.dialogs.questions, QStringList(2, changed));
}
