// Typing into the grid, the grid's display rules, and undo of typed cells.
#include "table/TableFixture.h"

using GridEditing = TableFixture;

TEST_F(GridEditing, ShowsTitlesRowNumbersAndTheExtraRowAndColumn)
{
    load(abc());
    EXPECT_EQ(grid->numberOfRowsInTableView(), 5);           // title + 3 rows + extra row
    EXPECT_EQ(grid->tableModel()->columnCount(), 5);         // numbers + 3 + extra column
    EXPECT_EQ(cell(0, 2), "b");
    EXPECT_EQ(cell(3, 1), "3");
    EXPECT_FALSE(grid->objectValue(0, 0).isValid());         // row-number cell of the title row
    EXPECT_EQ(cell(4, 0), "4");                              // the extra row shows R
    EXPECT_FALSE(grid->objectValue(1, 4).isValid());         // extra row
    EXPECT_FALSE(grid->objectValue(4, 1).isValid());         // extra column
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(grid->columnIdentifierTextAt(i), QString::number(i));

    doc->tableWindowCont->editDataTableTapped(0);
    EXPECT_FALSE(doc->tableWindowCont->editable);
    EXPECT_EQ(grid->numberOfRowsInTableView(), 4);
    EXPECT_EQ(grid->tableModel()->columnCount(), 4);
}

TEST_F(GridEditing, EmptyTableHasOnlyTheRowNumbersUnlessEditable)
{
    load({});
    EXPECT_EQ(grid->tableModel()->columnCount(), 2);
    EXPECT_EQ(grid->numberOfRowsInTableView(), 1);
    doc->baseWindowCont->editDataTableTapped(0);
    EXPECT_EQ(grid->tableModel()->columnCount(), 1);
    EXPECT_EQ(grid->numberOfRowsInTableView(), 0);
}

TEST_F(GridEditing, HighlightsTheRectangleWithTheAnchorApart)
{
    load({{"a", "1", "2", "3"}, {"b", "4", "5", "6"}, {"c", "7", "8", "9"}, {"d", "", "", ""}});
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

TEST_F(GridEditing, TypedCellsChangeTheTableAndUndo)
{
    load(abc());
    ASSERT_TRUE(type(2, 2, "new"));
    EXPECT_EQ(doc->tableData[1][2], "new");
    EXPECT_EQ(undo()->undoText(), "Undo Input");
    EXPECT_TRUE(doc->tableWindowCont->window()->isWindowModified());
    undo()->undo();
    EXPECT_EQ(doc->tableData[1][2], "y");
    EXPECT_FALSE(doc->tableWindowCont->window()->isWindowModified());
    undo()->redo();
    EXPECT_EQ(doc->tableData[1][2], "new");
}

TEST_F(GridEditing, TypingIntoTheExtraRowAndColumnGrowsTheTable)
{
    load(abc());
    ASSERT_TRUE(type(4, 1, "4"));       // extra row
    EXPECT_EQ(doc->tableMatrix.row, 5);
    EXPECT_EQ(doc->tableData[0][4], "4");
    EXPECT_EQ(doc->tableData[2][4], "");
    EXPECT_EQ(grid->numberOfRowsInTableView(), 6);
    EXPECT_EQ(doc->baseWindowCont->tkNumOfRows->text(), "4");

    ASSERT_TRUE(type(2, 4, "w"));       // extra column, below the title row
    EXPECT_EQ(doc->tableMatrix.column, 4);
    EXPECT_EQ(doc->tableData[3][0], "Column4");
    EXPECT_EQ(doc->tableData[3][2], "w");
    EXPECT_EQ(doc->columnSettings.size(), 4);
    EXPECT_EQ(doc->columnCounter.size(), 4);
    EXPECT_EQ(grid->tableModel()->columnCount(), 6);    // a new extra column
    EXPECT_EQ(doc->baseWindowCont->tkNumOfColumns->text(), "4");
    EXPECT_EQ(doc->baseWindowCont->docTV->model()->rowCount(), 4);

    ASSERT_TRUE(type(5, 5, "corner"));  // extra row and extra column at once
    EXPECT_EQ(doc->tableMatrix.row, 6);
    EXPECT_EQ(doc->tableMatrix.column, 5);

    undo()->undo();
    undo()->undo();
    EXPECT_EQ(doc->tableMatrix.column, 3);
    EXPECT_EQ(doc->columnSettings.size(), 3);
    EXPECT_EQ(doc->columnCounter.size(), 3);
    EXPECT_EQ(grid->tableModel()->columnCount(), 5);
    undo()->undo();
    EXPECT_EQ(doc->tableData, abc());
    EXPECT_EQ(doc->tableDataIndex, 0);
    EXPECT_EQ(doc->columnSettingsIndex, 0);
    EXPECT_FALSE(doc->tableWindowCont->window()->isWindowModified());
}

struct IgnoredInput {
    int row;
    int column;
    const char* text;
};

void PrintTo(const IgnoredInput& c, std::ostream* os) { *os << "(" << c.row << "," << c.column << ") \"" << c.text << "\""; }

class GridIgnoredInput : public TableFixture, public ::testing::WithParamInterface<IgnoredInput> {};

// Each of these leaves the table, the undo steps and the edited mark alone.
TEST_P(GridIgnoredInput, ChangesNothing)
{
    load(abc());
    const IgnoredInput input = GetParam();
    grid->tableViewSetObjectValue(QString::fromUtf8(input.text), QString::number(input.column), input.row);
    EXPECT_EQ(doc->tableData, abc());
    EXPECT_FALSE(undo()->canUndo());
    EXPECT_FALSE(doc->tableWindowCont->window()->isWindowModified());
}

INSTANTIATE_TEST_SUITE_P(Cases, GridIgnoredInput,
                         ::testing::Values(IgnoredInput{2, 2, "y"},            // the text it holds
                                           IgnoredInput{4, 1, ""},             // empty into the extra row
                                           IgnoredInput{2, 4, ""},             // empty into the extra column
                                           IgnoredInput{0, 2, ""},             // empty title
                                           IgnoredInput{0, 1, "c"},            // another column's title
                                           IgnoredInput{0, 1, "a"},            // its own title
                                           IgnoredInput{2, 0, "5"},            // the row-number column
                                           IgnoredInput{2, 7, "5"},            // beyond the extra column
                                           IgnoredInput{9, 1, "5"}));          // beyond the extra row

TEST_F(GridEditing, CanonicallyEqualTitleIsIgnored)
{
    load({{QString::fromUtf8("caf\u00e9"), "1"}, {"b", "2"}});
    grid->tableViewSetObjectValue(QString::fromUtf8("cafe\u0301"), "2", 0);
    EXPECT_EQ(doc->tableData[1][0], "b");
}

TEST_F(GridEditing, EmptyTextEmptiesADataCell)
{
    load(abc());
    grid->tableViewSetObjectValue(QString(), "1", 2);
    EXPECT_EQ(doc->tableData[0][2], "");
    EXPECT_EQ(undo()->undoText(), "Undo Input");
}

TEST_F(GridEditing, TabsAndLineBreaksInTypedTextBecomeSpaces)
{
    load(abc());
    ASSERT_TRUE(type(1, 2, "a\tb\nc\r\nd"));
    EXPECT_EQ(doc->tableData[1][1], "a b c d");
}

TEST_F(GridEditing, UsedColumnsAndReadOnlyWindowsCannotBeEdited)
{
    load(abc(), {0, 1, 0});
    EXPECT_TRUE(grid->allowEditCellWithRow(2, 1));
    EXPECT_FALSE(grid->allowEditCellWithRow(2, 2));
    EXPECT_FALSE(grid->allowEditCellWithRow(0, 2));
    EXPECT_FALSE(grid->allowEditCellWithRow(2, 0));
    EXPECT_FALSE(grid->allowEditCellWithRow(-1, 1));
    EXPECT_TRUE(grid->allowEditCellWithRow(2, 4));
    EXPECT_FALSE(grid->allowEditCellWithRow(2, 5));
    // A double click on a used column does not open an editor.
    EXPECT_FALSE(type(2, 2, "no"));
    EXPECT_EQ(grid->selectingCells(), (CellSelection{2, 2, 2, 2}));
    doc->baseWindowCont->editDataTableTapped(-1);
    EXPECT_FALSE(grid->allowEditCellWithRow(2, 1));
}

TEST_F(GridEditing, RealClicksSelectCellsRowsAndColumns)
{
    load(abc());
    click(2, 3);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{2, 3, 2, 3}));
    click(3, 1, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{2, 3, 3, 1}));
    click(1, 0);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{1, 1, 1, 3}));
    click(3, 0, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{1, 1, 3, 3}));
    clickHeader(2);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{0, 2, 3, 2}));
    clickHeader(3, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{0, 2, 3, 3}));
    clickHeader(0);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{0, 1, 3, 3}));
    clickHeader(0);
    EXPECT_EQ(grid->selectingCells(), (CellSelection{}));
    // A drag from a cell into the row numbers widens to whole rows.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(1, 2));
    QMouseEvent move(QEvent::MouseMove, centre(3, 0), grid->viewport()->mapToGlobal(centre(3, 0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(3, 0));
    EXPECT_EQ(grid->selectingCells(), (CellSelection{1, 1, 3, 3}));
}

TEST_F(GridEditing, SelectionChangesDoNotResetTheModel)
{
    load(abc());
    int resets = 0;
    QObject::connect(grid->tableModel(), &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    click(2, 2);
    click(3, 3, Qt::ShiftModifier);
    clickHeader(1);
    click(1, 0);
    EXPECT_EQ(resets, 0);
}
