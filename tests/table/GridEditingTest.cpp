// Where an editor opens, real mouse clicks and keys.
#include "table/TableFixture.h"

using GridEditing = TableFixture;

// Typing through the editor itself is among the undo steps of GridUndoTest.
TEST_F(GridEditing, OnlyFreeCellsOfAnEditableWindowOpenAnEditor)
{
    load(abc(), {0, 1, 0});
    // A double click on a used column opens no editor; it selects the cell.
    EXPECT_FALSE(type(2, 2, "no"));
    EXPECT_EQ(grid->selectingCells(), (CellSelection{2, 2, 2, 2}));
    EXPECT_FALSE(undo()->canUndo());
    // Data cells of free columns and the extra column; not row numbers.
    EXPECT_TRUE(grid->allowEditCellWithRow(2, 4));
    EXPECT_FALSE(grid->allowEditCellWithRow(2, 0));
    doc->baseWindowCont->editDataTableTapped(-1);
    EXPECT_FALSE(grid->allowEditCellWithRow(2, 1));
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
    // A drag from a cell into the row numbers widens to whole rows.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(1, 2));
    QMouseEvent move(QEvent::MouseMove, centre(3, 0), grid->viewport()->mapToGlobal(centre(3, 0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(3, 0));
    EXPECT_EQ(grid->selectingCells(), (CellSelection{1, 1, 3, 3}));
    EXPECT_EQ(resets, 0);   // selection changes only repaint
}

// Typing on a selected cell starts its editor; Return commits and moves down, Tab across.
TEST_F(GridEditing, KeysTypeValuesCellAfterCell)
{
    load(abc());
    click(3, 1);
    auto editor = [this] { return grid->findChild<QLineEdit*>(); };
    auto key = [&](Qt::Key k) {
        QTest::keyClick(editor(), k);
        QCoreApplication::processEvents();   // the delegate commits from a queued call
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    QTest::keyClicks(grid, "7");
    ASSERT_TRUE(editor() && editor()->isVisible());
    QTest::keyClicks(editor(), "5");
    key(Qt::Key_Return);
    EXPECT_EQ(cell(3, 1), "75");
    EXPECT_EQ(grid->selectingCells(), (CellSelection{4, 1, 4, 1}));   // the extra row
    QTest::keyClicks(grid, "9");
    key(Qt::Key_Tab);
    EXPECT_EQ(doc->tableMatrix.row, 5);
    EXPECT_EQ(cell(4, 1), "9");
    EXPECT_EQ(grid->selectingCells(), (CellSelection{4, 2, 4, 2}));
    EXPECT_EQ(std::pair(undo()->stack()->count(), undo()->undoText()), std::pair(2, QString("Undo Input")));
    ASSERT_NO_FATAL_FAILURE(checkInLine());
}

// Page Up and Down, Home and End move from the clicked cell, never from Qt's current cell.
TEST_F(GridEditing, PageAndEndKeysMoveFromTheClickedCell)
{
    TableData big{{"a"}, QStringList{"b"} + QStringList(400, "x")};
    for (int r = 1; r <= 400; ++r)
        big[0] << QString::number(r);
    load(big);
    grid->scrollTo(grid->tableModel()->index(300, 1), QAbstractItemView::PositionAtCenter);
    click(300, 1);
    ASSERT_EQ(grid->selectingCells(), (CellSelection{300, 1, 300, 1}));
    auto shown = [this](qint64 r) { return grid->rowAt(0) <= r && r <= grid->rowAt(grid->viewport()->height() - 1); };
    const int page = grid->rowAt(grid->viewport()->height() - 1) - grid->rowAt(0);
    ASSERT_GT(page, 2);
    const struct { Qt::Key key; Qt::KeyboardModifiers modifiers; CellSelection anchor; } keys[] = {
        {Qt::Key_PageDown, {}, {300 + page, 1, 300 + page, 1}}, {Qt::Key_PageUp, {}, {300, 1, 300, 1}},
        {Qt::Key_End, {}, {300, 2, 300, 2}}, {Qt::Key_Home, {}, {300, 1, 300, 1}},
        {Qt::Key_End, Qt::ControlModifier, {400, 2, 400, 2}},   // the last cell, not the extra row
        {Qt::Key_Home, Qt::ControlModifier, {0, 1, 0, 1}},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(QKeySequence(k.key | k.modifiers).toString().toStdString());
        QTest::keyClick(grid, k.key, k.modifiers);
        EXPECT_EQ(grid->selectingCells(), k.anchor);
        EXPECT_TRUE(shown(k.anchor.row1));
    }
}
