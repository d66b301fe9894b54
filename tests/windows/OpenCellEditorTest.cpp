// A text still being typed in a cell of the table, of a settings outline or of the selector
// outline when the document is saved or closed from the keyboard: the command takes the text
// first, as Return would, so that it is in the package written and no editor stays open.
#include "AnalysisFixture.h"
#include "document/DocumentPackage.h"
#include "table/MyTableModel.h"

namespace {

enum class Cell { Table, Settings, Selector };
enum class Command { Close, Quit, Save, SaveAs };

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};
Key keyOf(Command c)
{
    switch (c) {
    case Command::Close: return {Qt::Key_W, Qt::ControlModifier};
    case Command::Quit: return {Qt::Key_Q, Qt::ControlModifier};
    case Command::Save: return {Qt::Key_S, Qt::ControlModifier};
    case Command::SaveAs: return {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier};
    }
    return {};
}

using Param = std::tuple<Cell, Command>;
std::string nameOf(const ::testing::TestParamInfo<Param>& info)
{
    const char* cells[] = {"TableCell", "SettingsRow", "SelectorTitle"};
    const char* commands[] = {"Close", "Quit", "Save", "SaveAs"};
    return std::string(cells[int(std::get<0>(info.param))]) + "_" + commands[int(std::get<1>(info.param))];
}

} // namespace

class OpenCellEditor : public AnalysisFixture, public ::testing::WithParamInterface<Param> {
protected:
    MyWindowController* g = nullptr;
    // The Note column's first cell: no analysis uses it.
    static constexpr int kRow = 1, kNote = 5;

    void SetUp() override
    {
        AnalysisFixture::SetUp();
        import(kSampleTable);
        makeAnalysis("Sizes", {"Height"}, {"Sex"});
        g = doc->graphWindowConts.last();
        ASSERT_TRUE(g);
    }
    // Opens the editor of a cell as a user does and types over its text, without Return.
    static QLineEdit* typeWithoutReturn(QAbstractItemView* view, const QPoint& at, const QString& typed, bool clickFirst)
    {
        if (clickFirst)
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at, apart());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at, apart());
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        if (!editor || !editor->isVisible()) {
            ADD_FAILURE() << "no editor opened";
            return nullptr;
        }
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, typed);
        EXPECT_EQ(editor->text(), typed);
        return editor;
    }
    // The line editors open in the document's windows.
    int openEditors() const
    {
        int open = 0;
        for (MyWindowController* c : {main(), doc->tableWindowCont, g})
            for (QAbstractItemView* view : c->window()->findChildren<QAbstractItemView*>())
                for (QLineEdit* e : view->viewport()->findChildren<QLineEdit*>())
                    open += e->isVisible();
        return open;
    }
};

TEST_P(OpenCellEditor, CommandTakesTheTypedTextFirst)
{
    const auto [cell, command] = GetParam();
    const QString typed = "typed 42";
    const QString saved = dir.filePath("Typed.vlbdoc"), copy = dir.filePath("Copy.vlbdoc");
    // An analysis not yet drawn is not in the package: its title is looked for in the outline
    // of a document that stays open. A document never saved asks before it closes; the
    // question is cancelled.
    const bool inPackage = cell != Cell::Selector;
    if (inPackage)
        ASSERT_TRUE(controller->saveAs(doc, saved));
    else
        ASSERT_TRUE(doc->isDocumentEdited());

    MyWindowController* window = nullptr;
    QLineEdit* editor = nullptr;
    switch (cell) {
    case Cell::Table: {
        main()->editDataTableTapped(1);
        window = doc->tableWindowCont;
        front(window);
        MyTableView* grid = window->mTV;
        ASSERT_EQ(doc->tableData.at(kNote - 1).at(kRow), "a");
        const QModelIndex index = grid->tableModel()->index(kRow, kNote);
        grid->scrollTo(index);
        editor = typeWithoutReturn(grid, grid->visualRect(index).center(), typed, false);
        break;
    }
    case Cell::Settings:
        window = g;
        front(window);
        if (!window->drawer->isVisible())
            window->toggleDrawer();
        editor = typeWithoutReturn(window->configOlv, centreIn(window->configOlv, settingsRow(g, {"graphTitle"}), 1), typed,
                                   true);
        break;
    case Cell::Selector:
        window = main();
        front(window);
        newAnalysis();
        editor = typeWithoutReturn(outline(), centre(analysis(1), 0), typed, true);
        break;
    }
    ASSERT_TRUE(editor);
    ASSERT_EQ(openEditors(), 1);
    ASSERT_EQ(editor->window(), window->window());

    scripted.dialogs.files = {copy};
    scripted.dialogs.answers = {2};   // "Cancel"
    const qsizetype questions = scripted.dialogs.questions.size();
    const Key key = keyOf(command);
    QTest::keyClick(editor, key.key, key.modifiers);
    QCoreApplication::processEvents();

    if (!inPackage) {
        const bool asks = command == Command::Close || command == Command::Quit;
        EXPECT_EQ(scripted.dialogs.questions.size(), questions + asks);
        ASSERT_EQ(controller->documents().size(), 1u);
        EXPECT_EQ(analysis(1)->title, typed);
        EXPECT_EQ(model()->indexOf(analysis(1), 0).data().toString(), typed);
        EXPECT_EQ(openEditors(), 0);
        if (!asks) {
            EXPECT_EQ(doc->fileName(), copy);
        }
        return;
    }

    // Close in a graph or table window closes that window only: the text is the document's
    // at once; the document is then closed from its main window.
    if (command == Command::Close) {
        EXPECT_FALSE(window->window()->isVisible());
        if (cell == Cell::Table)
            EXPECT_EQ(doc->tableData.at(kNote - 1).at(kRow), typed);
        else
            EXPECT_EQ(doc->graphSettings.at(0).value("graphTitle"), typed);
        EXPECT_EQ(openEditors(), 0);
        front(main());
        QTest::keyClick(main()->window(), Qt::Key_W, Qt::ControlModifier);
    }
    const bool closes = command == Command::Close || command == Command::Quit;
    if (closes) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return controller->documents().empty(); }, 5000));
    } else {
        ASSERT_EQ(controller->documents().size(), 1u);
        EXPECT_EQ(openEditors(), 0);
        EXPECT_FALSE(doc->isDocumentEdited());
    }
    EXPECT_EQ(scripted.dialogs.questions.size(), questions);

    // What the package on the disk holds.
    const QString package = command == Command::SaveAs ? copy : saved;
    if (cell == Cell::Table) {
        QString error;
        const auto table = DocumentPackage::readTable(package, delegate, &error);
        ASSERT_TRUE(table) << error.toStdString();
        EXPECT_EQ(table->table.at(kNote - 1).at(kRow), typed);
        EXPECT_EQ(table->table.at(kNote - 1).at(kRow + 1), "b");
    } else {
        const auto analyses = DocumentPackage::readAnalyses(package);
        ASSERT_EQ(analyses.size(), 1);
        ASSERT_TRUE(analyses.first().settings);
        EXPECT_EQ(analyses.first().settings->value("graphTitle"), typed);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, OpenCellEditor,
                         ::testing::Combine(::testing::Values(Cell::Table, Cell::Settings, Cell::Selector),
                                            ::testing::Values(Command::Close, Command::Quit, Command::Save,
                                                              Command::SaveAs)),
                         nameOf);

// Opening the Edit menu while a table cell is typed takes the typed text first, as a step of
// its own, so that Undo names it and undoes it: the cell shows its text again, and Redo
// brings the typed one back.
TEST_F(OpenCellEditor, EditMenuTakesTheTypedCellFirst)
{
    main()->editDataTableTapped(1);
    MyWindowController* table = doc->tableWindowCont;
    front(table);
    MyTableView* grid = table->mTV;
    const QModelIndex index = grid->tableModel()->index(kRow, kNote);
    grid->scrollTo(index);
    ASSERT_TRUE(typeWithoutReturn(grid, grid->visualRect(index).center(), "typed", false));
    QMenu* editMenu = nullptr;
    for (QMenu* m : table->window()->menuBar()->findChildren<QMenu*>())
        if (m->title() == "&Edit")
            editMenu = m;
    ASSERT_TRUE(editMenu);
    editMenu->popup(QPoint());
    editMenu->hide();
    EXPECT_EQ(openEditors(), 0);
    EXPECT_EQ(doc->tableData.at(kNote - 1).at(kRow), "typed");
    QAction* undo = command(table, "Undo Input");
    ASSERT_TRUE(undo && undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(doc->tableData.at(kNote - 1).at(kRow), "a");
    EXPECT_EQ(grid->tableModel()->index(kRow, kNote).data().toString(), "a");
    QAction* redo = command(table, "Redo Input");
    ASSERT_TRUE(redo && redo->isEnabled());
    redo->trigger();
    EXPECT_EQ(doc->tableData.at(kNote - 1).at(kRow), "typed");
    EXPECT_EQ(grid->tableModel()->index(kRow, kNote).data().toString(), "typed");
}
