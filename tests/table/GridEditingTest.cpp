// The grid's display rules, where an editor opens, what the grid ignores; real mouse clicks.
#include "table/TableFixture.h"

using GridEditing = TableFixture;

TEST_F(GridEditing, ShowsTitlesRowNumbersAndTheExtraRowAndColumnOnlyWhileEditable)
{
    load(abc());
    EXPECT_EQ(cell(0, 2), "b");
    EXPECT_EQ(cell(3, 1), "3");
    EXPECT_FALSE(grid->objectValue(0, 0).isValid());   // row-number cell of the title row
    EXPECT_EQ(cell(4, 0), "4");                        // the extra row shows R
    EXPECT_FALSE(grid->objectValue(1, 4).isValid());   // extra row
    EXPECT_FALSE(grid->objectValue(4, 1).isValid());   // extra column
    ASSERT_NO_FATAL_FAILURE(checkInLine());
    doc->baseWindowCont->editDataTableTapped(0);   // read-only: neither extra row nor column
    EXPECT_EQ(grid->tableModel()->rowCount(), 4);
    EXPECT_EQ(grid->tableModel()->columnCount(), 4);
    load({});
    EXPECT_EQ(grid->numberOfRowsInTableView(), 0);
    EXPECT_EQ(grid->tableModel()->columnCount(), 1);
}

TEST_F(GridEditing, HighlightsTheRectangleWithTheAnchorApart)
{
    load(table("a,1,2,3 | b,4,5,6 | c,7,8,9 | d,,,"));
    select(3, 4, 1, 2);
    for (qint64 r = 0; r <= 4; ++r)
        for (qint64 k = 1; k <= 5; ++k) {
            const QColor expected = (r == 3 && k == 4)                        ? grid->selectedCellColor
                                    : (r >= 1 && r <= 3 && k >= 2 && k <= 4) ? grid->selectedCellsColor
                                                                              : grid->normalCellColor;
            EXPECT_EQ(grid->cellBackground(k, r).value<QColor>(), expected) << r << "," << k;
        }
    EXPECT_EQ(grid->cellBackground(0, 2).value<QColor>(), grid->firstColumnColor);
    EXPECT_TRUE(grid->tableModel()->index(3, 4).data(MyTableModel::AnchorRole).toBool());
}

// Typing through the editor itself is among the undo steps of GridUndoTest.
TEST_F(GridEditing, OnlyFreeCellsOfAnEditableWindowOpenAnEditor)
{
    load(abc(), {0, 1, 0});
    // A double click on a used column opens no editor; it selects the cell.
    EXPECT_FALSE(type(2, 2, "no"));
    EXPECT_EQ(grid->selectingCells(), (CellSelection{2, 2, 2, 2}));
    EXPECT_FALSE(undo()->canUndo());
    // Data cells of free columns, the extra row and the extra column.
    const struct {
        qint64 row, column;
        bool allowed;
    } cells[] = {{2, 1, true}, {2, 2, false}, {0, 2, false}, {2, 0, false}, {-1, 1, false}, {2, 4, true}, {2, 5, false}};
    for (const auto& c : cells)
        EXPECT_EQ(grid->allowEditCellWithRow(c.row, c.column), c.allowed) << c.row << "," << c.column;
    doc->baseWindowCont->editDataTableTapped(-1);
    EXPECT_FALSE(grid->allowEditCellWithRow(2, 1));
}

// Each of these leaves the table, the undo steps and the edited mark alone.
TEST_F(GridEditing, IgnoredInputChangesNothing)
{
    const TableData cafe = table("a,1,2,3 | b,x,y,z | caf\u00e9,,q,");
    const struct {
        const char* name;
        qint64 row, column;
        const char* text;
    } inputs[] = {
        {"TheTextItHolds", 2, 2, "y"},
        {"EmptyIntoTheExtraRow", 4, 1, ""},
        {"EmptyTitle", 0, 2, ""},
        {"AnotherColumnsTitle", 0, 1, "caf\u00e9"},
        {"ACanonicallyEqualTitle", 0, 1, "cafe\u0301"},
        {"BeyondTheExtraRow", 9, 1, "5"},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.name);
        load(cafe);
        undo()->clear();
        grid->tableViewSetObjectValue(QString::fromUtf8(input.text), QString::number(input.column), input.row);
        EXPECT_EQ(doc->tableData, cafe);
        EXPECT_FALSE(undo()->canUndo());
        EXPECT_FALSE(doc->tableWindowCont->window()->isWindowModified());
    }
}

TEST_F(GridEditing, RealClicksSelectCellsRowsAndColumnsWithoutAReset)
{
    load(abc());
    int resets = 0;
    QObject::connect(grid->tableModel(), &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    click(2, 3);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{2, 3, 2, 3}));
    click(3, 1, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{2, 3, 3, 1}));
    click(1, 0);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{1, 1, 1, 3}));
    clickHeader(2);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{0, 2, 3, 2}));
    clickHeader(3, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{0, 2, 3, 3}));
    clickHeader(0);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{0, 1, 3, 3}));
    // A drag from a cell into the row numbers widens to whole rows.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(1, 2));
    QMouseEvent move(QEvent::MouseMove, centre(3, 0), grid->viewport()->mapToGlobal(centre(3, 0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(3, 0));
    EXPECT_EQ(grid->selectingCells(), (CellSelection{1, 1, 3, 3}));
    EXPECT_EQ(resets, 0);   // selection changes only repaint
}

// A column of values typed from the keyboard: typing edits the selected cell, Return commits
// and moves down (into a new row from the extra row), Tab moves across.
TEST_F(GridEditing, KeysTypeValuesCellAfterCell)
{
    load(abc());
    click(1, 1);
    auto editor = [this] { return grid->findChild<QLineEdit*>(); };
    auto key = [](QWidget* w, int k) {
        QTest::keyClick(w, Qt::Key(k));
        QCoreApplication::processEvents();   // the delegate commits from a queued call
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    QTest::keyClicks(grid, "7");
    ASSERT_TRUE(editor() && editor()->isVisible());
    QTest::keyClicks(editor(), "5");
    key(editor(), Qt::Key_Return);
    EXPECT_EQ(cell(1, 1), "75");
    EXPECT_EQ(grid->selectingCells(), (CellSelection{2, 1, 2, 1}));
    key(grid, Qt::Key_Return);
    key(grid, Qt::Key_Down);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{4, 1, 4, 1}));   // the extra row
    QTest::keyClicks(grid, "9");
    key(editor(), Qt::Key_Return);
    EXPECT_EQ(doc->tableMatrix.row, 5);
    EXPECT_EQ(cell(4, 1), "9");
    EXPECT_EQ(grid->selectingCells(), (CellSelection{5, 1, 5, 1}));
    key(grid, Qt::Key_Up);
    QTest::keyClicks(grid, "8");
    key(editor(), Qt::Key_Tab);
    EXPECT_EQ(cell(4, 1), "8");
    EXPECT_EQ(grid->selectingCells(), (CellSelection{4, 2, 4, 2}));
    key(grid, Qt::Key_Backtab);
    key(grid, Qt::Key_Left);   // never into the row numbers
    EXPECT_EQ(grid->selectingCells(), (CellSelection{4, 1, 4, 1}));
    // F2 edits the text in place; Escape keeps the cell and the selection.
    key(grid, Qt::Key_F2);
    ASSERT_TRUE(editor() && editor()->isVisible());
    EXPECT_EQ(editor()->text(), "8");
    key(editor(), Qt::Key_Escape);
    EXPECT_EQ(cell(4, 1), "8");
    EXPECT_EQ(grid->selectingCells(), (CellSelection{4, 1, 4, 1}));
    EXPECT_EQ(undo()->stack()->count(), 3);
    EXPECT_EQ(undo()->undoText(), "Undo Input");
    ASSERT_NO_FATAL_FAILURE(checkInLine());
}
