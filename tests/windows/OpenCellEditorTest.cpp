// A text still being typed in a cell of the table, of a settings outline or of the selector
// outline when the document is saved or closed from the keyboard: the command takes the text
// first, as Return would, so that it is in the package written.
#include "AnalysisFixture.h"
#include "document/DocumentPackage.h"

namespace {
enum Cell { TableCell, SettingsRow, SelectorTitle };
enum Command { Close, Quit, Save, SaveAs };
const char* const cellNames[] = {"TableCell", "SettingsRow", "SelectorTitle"};
const char* const commandNames[] = {"Close", "Quit", "Save", "SaveAs"};
const char* const commandKeys[] = {"Ctrl+W", "Ctrl+Q", "Ctrl+S", "Ctrl+Shift+S"};
using CellAndCommand = std::tuple<Cell, Command>;
}
class OpenCellEditor : public AnalysisFixture, public ::testing::WithParamInterface<CellAndCommand> {};

TEST_P(OpenCellEditor, CommandTakesTheTypedTextFirst)
{
    const auto [cell, command] = GetParam();
    const QString typed = "typed 42", saved = dir.filePath("Typed.vlbdoc"), copy = dir.filePath("Copy.vlbdoc");
    import(kSampleTable);
    makeAnalysis("Sizes", {"Height"}, {"Sex"});
    MyWindowController* g = doc->graphWindowConts.last();
    // An analysis not yet drawn is not in the package: its title is looked for in the
    // document, which stays open as the question on closing it is cancelled.
    if (cell != SelectorTitle) {
        ASSERT_TRUE(controller->saveAs(doc, saved));
    }

    QAbstractItemView* view = outline();
    QPoint at;
    if (cell == TableCell) {   // the Note column's first cell, which no analysis uses
        main()->editDataTableTapped(1);
        front(doc->tableWindowCont);
        view = doc->tableWindowCont->mTV;
        const QModelIndex note = view->model()->index(1, 5);
        view->scrollTo(note);
        at = view->visualRect(note).center();
    } else if (cell == SettingsRow) {
        front(g);
        if (!g->drawer->isVisible())
            g->toggleDrawer();
        view = g->configOlv;
        at = centreIn(g->configOlv, settingsRow(g, {"graphTitle"}), 1);
    } else {
        front(main());
        newAnalysis();
        at = centre(analysis(1), 0);
    }
    // Opened as a user does and typed over, without Return.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at, apart());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at, apart());
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    ASSERT_TRUE(editor && editor->isVisible());
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, typed);

    scripted.dialogs.files = {copy};
    scripted.dialogs.answers = {2};   // "Cancel"
    QTest::keySequence(editor, QKeySequence(commandKeys[command]));
    QCoreApplication::processEvents();
    if (cell == SelectorTitle) {
        ASSERT_EQ(controller->documents().size(), 1u);
        EXPECT_EQ(analysis(1)->title, typed);
        return;
    }
    // Close in a table or graph window closes that window only; the document goes after.
    if (command == Close) {
        front(main());
        QTest::keyClick(main()->window(), Qt::Key_W, Qt::ControlModifier);
    }
    if (command == Close || command == Quit) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return controller->documents().empty(); }, 5000));
    }
    const QString package = command == SaveAs ? copy : saved;
    if (cell == TableCell) {
        const auto table = DocumentPackage::readTable(package, delegate, nullptr);
        ASSERT_TRUE(table);
        EXPECT_EQ(table->table.at(4).mid(1, 2), QStringList({typed, "b"}));
    } else {
        const auto analyses = DocumentPackage::readAnalyses(package);
        ASSERT_TRUE(analyses.size() == 1 && analyses.first().settings);
        EXPECT_EQ(analyses.first().settings->value("graphTitle"), typed);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, OpenCellEditor,
                         ::testing::Combine(::testing::Values(TableCell, SettingsRow, SelectorTitle),
                                            ::testing::Values(Close, Quit, Save, SaveAs)),
                         [](const ::testing::TestParamInfo<CellAndCommand>& info) {
                             return std::string(cellNames[std::get<0>(info.param)]) + "_" + commandNames[std::get<1>(info.param)];
                         });
