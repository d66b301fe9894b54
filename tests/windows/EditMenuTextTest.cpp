// Cut, Copy, Paste and Select All, chosen from the Edit menu with the mouse or given by their
// keys while a text is being typed in a table cell, a settings row, an analysis title or a
// graph text, act on that text with the real clipboard: the table, the outline, the settings
// and the undo list stay as they were until the text is committed, and the opened menu names
// the step that the typed text would become.
#include "AnalysisFixture.h"

namespace {
enum Place { TableCell, SettingsRow, SelectorTitle, GraphText };
enum Command { Cut, Copy, Paste, SelectAll };
enum Route { Menu, Key };
const char* const placeNames[] = {"TableCell", "SettingsRow", "SelectorTitle", "GraphText"};
const char* const commandNames[] = {"Cut", "Copy", "Paste", "SelectAll"};
const char* const commandItems[] = {"Cut", "Copy", "Paste", "Select All"};
const QKeySequence::StandardKey commandKeys[] = {QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste,
                                                 QKeySequence::SelectAll};
const char* const routeNames[] = {"Menu", "Key"};
// The step a committed text becomes; an analysis title makes none.
const char* const stepNames[] = {"Input", "Change Type", "", "Change Text"};
using Case = std::tuple<Place, Command, Route>;
}

void PrintTo(const CellSelection& s, std::ostream* os) { *os << s.row1 << ',' << s.column1 << ',' << s.row2 << ',' << s.column2; }

// Chooses the Edit menu's items with the mouse, as a user does.
// Any warning Qt gives fails the test (the fixture's check).
class EditMenuFixture : public AnalysisFixture {
protected:
    static QAction* undoItem(MyWindowController* w)
    {
        for (QAction* a : w->window()->findChildren<QAction*>())
            if (a->text().startsWith("Undo"))
                return a;
        ADD_FAILURE() << "no Undo";
        return new QAction(w);
    }
    // Clicks the menu bar's Edit title, then the item (when it is enabled, told in *enabled);
    // the Undo item's text while the menu is open.
    static QString chooseFromEditMenu(MyWindowController* w, const QString& text, bool* enabled = nullptr)
    {
        QMenuBar* bar = w->window()->menuBar();
        QAction* title = nullptr;
        for (QAction* a : bar->actions())
            if (a->text() == "&Edit")
                title = a;
        if (!title || !title->menu()) {
            ADD_FAILURE() << "no Edit menu";
            return {};
        }
        QMenu* menu = title->menu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 5000));
        // What the window system says of the opened menu arrives while it is open.
        QCoreApplication::processEvents();
        QAction* item = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == text)
                item = a;
        const QString undo = undoItem(w)->text();
        EXPECT_TRUE(item) << text.toStdString();
        if (enabled)
            *enabled = item && item->isEnabled();
        if (item && item->isEnabled())
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        else
            menu->hide();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !menu->isVisible(); }, 5000));
        QCoreApplication::processEvents();
        return undo;
    }
};

class EditMenuText : public EditMenuFixture, public ::testing::WithParamInterface<Case> {
protected:
    MyWindowController* g = nullptr;
    MyWindowController* w = nullptr;     // the window typed in
    QAbstractItemView* view = nullptr;   // the grid or outline typed in; none on the graph
    QPoint at;                           // where its cell is

    void SetUp() override
    {
        EditMenuFixture::SetUp();
        import(kSampleTable);
        makeAnalysis("Sizes", {"Height"}, {"Sex"});
        g = doc->graphWindowConts.last();
        ASSERT_TRUE(g->viewManager);
    }
    Place place() const { return std::get<Place>(GetParam()); }
    std::shared_ptr<MyStorageItem> yTitle() const { return g->viewManager->storageItemDict.value(MyGraphGenerator::kYTitle); }

    // The window in front with the place to type in.
    void prepare()
    {
        if (place() == TableCell) {   // the Note column's first value, "a"
            main()->editDataTableTapped(1);
            w = doc->tableWindowCont;
            front(w);
            view = w->mTV;
            const QModelIndex note = view->model()->index(1, 5);
            view->scrollTo(note);
            at = view->visualRect(note).center();
        } else if (place() == SelectorTitle) {   // a drawn analysis keeps its title
            w = main();
            front(w);
            newAnalysis();
            view = outline();
            at = centre(analysis(1), 0);
        } else {
            w = g;
            front(g);
            if (!g->drawer->isVisible())
                g->toggleDrawer();
            if (place() == SettingsRow) {
                view = g->configOlv;
                at = centreIn(g->configOlv, settingsRow(g, {"graphTitle"}), 1);
            } else {
                ASSERT_TRUE(g->viewManager->tryObject(true, settingsRow(g, {"graphProperties", "yAxis", "titleVisible"}),
                                                      "Change Type"));
            }
        }
    }
    // What the committed text lands in.
    QString stored() const
    {
        switch (place()) {
        case TableCell: return doc->tableData.at(4).at(1);
        case SettingsRow: return settingsRow(g, {"graphTitle"})->message;
        case SelectorTitle: return analysis(1)->title;
        case GraphText: return yTitle()->textItem->message;
        }
        return {};
    }

    QLineEdit* lineEditor() const
    {
        // A closed editor may wait, hidden, for its deletion beside the open one.
        for (QLineEdit* line : view ? view->viewport()->findChildren<QLineEdit*>() : QList<QLineEdit*>())
            if (line->isVisible())
                return line;
        return nullptr;
    }
    QGraphicsTextItem* textEditor() const
    {
        auto* item = dynamic_cast<QGraphicsTextItem*>(g->viewManager->scene()->focusItem());
        return !view && item && (item->textInteractionFlags() & Qt::TextEditable) ? item : nullptr;
    }
    bool editing() const { return lineEditor() || textEditor(); }
    QString editorText() const { return lineEditor() ? lineEditor()->text() : textEditor() ? textEditor()->toPlainText() : "-"; }
    QString editorSelection() const
    {
        return lineEditor() ? lineEditor()->selectedText() : textEditor() ? textEditor()->textCursor().selectedText() : "-";
    }
    // Where the keys are typed.
    QWidget* keys() const { return view ? static_cast<QWidget*>(lineEditor()) : g->sceneView(); }

    // Opens the editor as a user does and types over its text.
    void openAndType(const QString& typed)
    {
        if (view) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at, apart());
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at, apart());
        } else {
            auto* title = dynamic_cast<MyTextView*>(yTitle()->textStorage->textViews().value(0));
            ASSERT_TRUE(title);
            // A point of the title where it is the topmost item.
            QGraphicsView* sv = g->sceneView();
            const Rect b = title->bounds();
            for (int i = 1; i < 10 && at.isNull(); ++i)
                for (int j = 1; j < 10 && at.isNull(); ++j) {
                    const QPoint p = sv->mapFromScene(
                        title->mapToScene(QPointF(b.origin.x + b.width() * i / 10, b.origin.y + b.height() * j / 10)));
                    if (!sv->items(p).isEmpty() && sv->items(p).first() == title)
                        at = p;
                }
            ASSERT_FALSE(at.isNull());
            QTest::mouseClick(sv->viewport(), Qt::LeftButton, {}, at, apart());
        }
        QCoreApplication::processEvents();
        ASSERT_TRUE(editing());
        QTest::keyClick(keys(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(keys(), typed);
        ASSERT_EQ(editorText(), typed);
    }
};

TEST_P(EditMenuText, ActsOnTheTextBeingTyped)
{
    const auto [where, what, route] = GetParam();
    prepare();
    const QString before = stored();
    const TableData table = doc->tableData;
    const QStringList outlineRows = rows();
    const int index = doc->undoManager()->stack()->index(), count = steps();
    const QString undoText = doc->undoManager()->undoText();
    const QString step = stepNames[where];
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("xyz");

    openAndType("abc");
    if (HasFatalFailure())
        return;
    // Cut and Copy take "ab", chosen with the keys.
    if (what == Cut || what == Copy) {
        QTest::keyClick(keys(), Qt::Key_Home);
        QTest::keyClick(keys(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(keys(), Qt::Key_Right, Qt::ShiftModifier);
        ASSERT_EQ(editorSelection(), "ab");
    }
    if (route == Menu) {
        EXPECT_EQ(chooseFromEditMenu(w, commandItems[what]), step.isEmpty() ? undoText : "Undo " + step);
    } else {
        QTest::keySequence(keys(), QKeySequence::keyBindings(commandKeys[what]).value(0));
        QCoreApplication::processEvents();
    }

    // The text being typed took the command; nothing else did.
    EXPECT_TRUE(editing());
    const QString edited[] = {"c", "abc", "abcxyz", "abc"};
    const QString selected[] = {"", "ab", "", "abc"};
    EXPECT_EQ(editorText(), edited[what]);
    EXPECT_EQ(editorSelection(), selected[what]);
    EXPECT_EQ(clipboard->text(), what == Cut || what == Copy ? "ab" : "xyz");
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(doc->tableData, table);
    EXPECT_EQ(rows(), outlineRows);
    EXPECT_EQ(doc->undoManager()->stack()->index(), index);
    EXPECT_EQ(steps(), count);
    EXPECT_EQ(undoItem(w)->text(), undoText);

    // Return commits the edited text, as a step of its own where the place makes steps.
    if (!editing())
        return;
    QTest::keyClick(keys(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(editing());
    EXPECT_EQ(stored(), edited[what]);
    EXPECT_EQ(steps(), count + (step.isEmpty() ? 0 : 1));
    EXPECT_EQ(doc->undoManager()->undoText(), step.isEmpty() ? undoText : "Undo " + step);
}

INSTANTIATE_TEST_SUITE_P(PlacesCommandsRoutes, EditMenuText,
                         ::testing::Combine(::testing::Values(TableCell, SettingsRow, SelectorTitle, GraphText),
                                            ::testing::Values(Cut, Copy, Paste, SelectAll), ::testing::Values(Menu, Key)),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(placeNames[std::get<0>(info.param)]) + commandNames[std::get<1>(info.param)]
                                 + routeNames[std::get<2>(info.param)];
                         });

// With no text being typed the menu does what it did: Copy and Paste are the window's
// commands, Cut does nothing, and Select All selects what the focused table holds, as its key
// does (every cell of the grid, as its row-number header does), and is disabled where nothing
// can be selected.
using EditMenuWithoutText = EditMenuFixture;

TEST_F(EditMenuWithoutText, CommandsAreTheWindowsOrTheFocusedTables)
{
    import(kSampleTable);
    MyWindowController* t = doc->tableWindowCont;
    front(t);
    MyTableView* grid = t->mTV;
    grid->setFocus();
    QClipboard* clipboard = QGuiApplication::clipboard();
    bool enabled = false;
    chooseFromEditMenu(t, "Select All", &enabled);
    EXPECT_TRUE(enabled);
    chooseFromEditMenu(t, "Copy");
    EXPECT_EQ(clipboard->text(), QString::fromUtf8(kSampleTable).replace(',', '\t'));
    const CellSelection all = grid->selectingCells();
    grid->setSelectingCells({});
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionSize(0) / 2, header->height() / 2));
    EXPECT_EQ(grid->selectingCells(), all);
    grid->setSelectingCells({2, 2, 2, 2});
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid->selectingCells(), all);
    clipboard->setText("q");
    grid->setSelectingCells({1, 1, 2, 1});   // Height's first two values
    const int count = steps();
    chooseFromEditMenu(t, "Cut");
    EXPECT_EQ(clipboard->text(), "q");
    EXPECT_EQ(steps(), count);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{1, 1, 2, 1}));
    chooseFromEditMenu(t, "Copy");
    EXPECT_EQ(clipboard->text(), "170\n160\n");
    grid->setSelectingCells({1, 5, 1, 5});   // Note's first value
    chooseFromEditMenu(t, "Paste");
    EXPECT_EQ(doc->tableData.at(4).mid(1, 3), QStringList({"170", "160", "c"}));
    EXPECT_EQ(doc->undoManager()->undoText(), "Undo Paste");
    // A text typed in a cell becomes a step when Undo is chosen, which takes it back; the
    // editor it closed waits, hidden, for its deletion and is no open one to Redo's commit.
    // So is the marker that the click on the header above left in the header's viewport.
    const QModelIndex note = grid->model()->index(2, 5);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(note).center());
    ASSERT_TRUE(grid->viewport()->findChild<QLineEdit*>());
    QTest::keyClick(grid->viewport()->findChild<QLineEdit*>(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(grid->viewport()->findChild<QLineEdit*>(), "zz");
    chooseFromEditMenu(t, "Undo Input");
    EXPECT_EQ(doc->tableData.at(4).at(2), "160");
    chooseFromEditMenu(t, "Redo Input");
    EXPECT_EQ(doc->tableData.at(4).at(2), "zz");

    press(makeAnalysis("Sizes", {"Height"}, {"Sex"}), 5);
    // The main window's column list and the graph select one thing at a time.
    for (auto [c, focus] : {std::pair<MyWindowController*, QWidget*>{main(), main()->docTV},
                            {doc->graphWindowConts.last(), doc->graphWindowConts.last()->sceneView()}}) {
        front(c);
        focus->setFocus();
        chooseFromEditMenu(c, "Select All", &enabled);
        EXPECT_FALSE(enabled) << c->window()->objectName().toStdString();
    }
    MyWindowController* s = doc->statsWindowConts.last();
    auto* table = qobject_cast<QAbstractItemView*>(s->docTV);
    ASSERT_TRUE(table);
    front(s);
    table->setFocus();
    table->clearSelection();
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    const QModelIndexList byKey = table->selectionModel()->selectedIndexes();
    ASSERT_GT(byKey.size(), 1);
    table->selectionModel()->select(table->model()->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QModelIndexList row = table->selectionModel()->selectedIndexes();
    chooseFromEditMenu(s, "Cut");
    EXPECT_EQ(table->selectionModel()->selectedIndexes(), row);
    table->clearSelection();
    chooseFromEditMenu(s, "Select All", &enabled);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(table->selectionModel()->selectedIndexes(), byKey);
}
