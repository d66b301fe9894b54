// The mouse selection as a state machine: the cases a user meets, then random event runs.
#include "table/MyGridSelection.h"
#include <gtest/gtest.h>
#include <random>

namespace {
constexpr qint64 R = 11;   // title row + 10 data rows
constexpr qint64 C = 6;

CellSelection cells(qint64 r1, qint64 c1, qint64 r2, qint64 c2) { return {r1, c1, r2, c2}; }
bool noEdit(qint64, qint64) { return false; }
}

TEST(GridSelection, ClickBesideTheCellsClearsEverything)
{
    MyGridSelection s;
    s.mouseDown(4, 0, false, R, C);
    ASSERT_TRUE(s.selectedRows.has_value());
    EXPECT_TRUE(s.mouseDown(-1, 3, false, R, C));
    EXPECT_EQ(s.selectingCells, cells(0, 0, 0, 0));
    EXPECT_FALSE(s.selectedRows || s.selectedColumns);
}

TEST(GridSelection, CellThenShiftClickSpansARectangleInEitherOrder)
{
    MyGridSelection s;
    EXPECT_TRUE(s.mouseDown(2, 3, false, R, C));
    EXPECT_EQ(s.selectingCells, cells(2, 3, 2, 3));
    EXPECT_TRUE(s.mouseDown(5, 1, true, R, C));
    EXPECT_EQ(s.selectingCells, cells(2, 3, 5, 1));
    EXPECT_TRUE(s.selectingCells.contains(4, 2));
    EXPECT_FALSE(s.selectingCells.contains(4, 4));
    EXPECT_FALSE(s.selectedRows || s.selectedColumns);
}

TEST(GridSelection, ShiftClickWithoutAnAnchorDoesNothing)
{
    MyGridSelection s;
    EXPECT_FALSE(s.mouseDown(3, 3, true, R, C));
    EXPECT_FALSE(s.mouseDown(3, 0, true, R, C));
    EXPECT_EQ(s.selectingCells, cells(0, 0, 0, 0));
}

TEST(GridSelection, RowNumberClicksSelectAndExtendWholeRows)
{
    MyGridSelection s;
    s.mouseDown(4, 0, false, R, C);
    EXPECT_EQ(s.selectingCells, cells(4, 1, 4, C));
    EXPECT_EQ(*s.selectedRows, (IndexRange{4, 4}));

    MyGridSelection down = s;
    down.mouseDown(7, 0, true, R, C);
    EXPECT_EQ(down.selectingCells, cells(4, 1, 7, C));
    EXPECT_EQ(*down.selectedRows, (IndexRange{4, 7}));

    MyGridSelection up = s;
    up.mouseDown(2, 0, true, R, C);
    EXPECT_EQ(*up.selectedRows, (IndexRange{2, 4}));

    // A shift-click on a data cell keeps extending the rows.
    down.mouseDown(9, 3, true, R, C);
    EXPECT_EQ(down.selectingCells, cells(4, 1, 9, C));
    EXPECT_EQ(*down.selectedRows, (IndexRange{4, 9}));
}

TEST(GridSelection, HeaderClicksSelectAndExtendWholeColumns)
{
    MyGridSelection s;
    s.headerClicked(2, false, R, C);
    EXPECT_EQ(s.selectingCells, cells(0, 2, R - 1, 2));
    s.headerClicked(5, true, R, C);
    EXPECT_EQ(s.selectingCells, cells(0, 2, R - 1, 5));
    EXPECT_EQ(*s.selectedColumns, (IndexRange{2, 5}));
    // With columns selected, a shift-click on a cell extends the columns to it.
    s.mouseDown(3, 6, true, R, C);
    EXPECT_EQ(s.selectingCells, cells(0, 2, R - 1, 6));
    EXPECT_EQ(*s.selectedColumns, (IndexRange{2, 6}));
    // Drags and mouse-up do nothing while columns are selected.
    EXPECT_FALSE(s.mouseDragged(4, 4, R, C));
    EXPECT_FALSE(s.mouseUp(3, 3, 1, R, C, noEdit).reload);
    // A click in the row-number column leaves the column state for rows.
    s.mouseDown(3, 0, false, R, C);
    EXPECT_EQ(s.selectingCells, cells(3, 1, 3, C));
    EXPECT_FALSE(s.selectedColumns.has_value());
}

TEST(GridSelection, RowNumberHeaderTogglesSelectAll)
{
    MyGridSelection s;
    s.headerClicked(0, false, R, C);
    EXPECT_EQ(s.selectingCells, cells(0, 1, R - 1, C));
    EXPECT_FALSE(s.selectedColumns.has_value());
    s.headerClicked(0, false, R, C);
    EXPECT_EQ(s.selectingCells, cells(0, 0, 0, 0));
}

TEST(GridSelection, ExtraColumnHeaderClears)
{
    MyGridSelection s;
    s.mouseDown(2, 2, false, R, C);
    s.headerClicked(C + 1, false, R, C);
    EXPECT_EQ(s.selectingCells, cells(0, 0, 0, 0));
    EXPECT_FALSE(s.selectedColumns.has_value());
}

TEST(GridSelection, DragsStopAtTheExtraRowAndColumnAndWidenInTheRowNumbers)
{
    MyGridSelection s;
    s.mouseDown(2, 2, false, R, C);
    EXPECT_TRUE(s.mouseDragged(4, 3, R, C));
    EXPECT_EQ(s.selectingCells, cells(2, 2, 4, 3));
    EXPECT_FALSE(s.mouseDragged(R, 3, R, C));
    EXPECT_FALSE(s.mouseDragged(4, C + 1, R, C));
    EXPECT_FALSE(s.mouseDragged(-1, 3, R, C));
    EXPECT_EQ(s.selectingCells, cells(2, 2, 4, 3));
    EXPECT_TRUE(s.mouseDragged(5, 0, R, C));
    EXPECT_EQ(s.selectingCells, cells(2, 1, 5, C));
}

TEST(GridSelection, MouseUpEditsOnlyAllowedCellsAndNamesTheFontRow)
{
    MyGridSelection s;
    s.mouseDown(3, 2, false, R, C);
    auto onlyColumn2 = [](qint64, qint64 c) { return c == 2; };
    EXPECT_TRUE(s.mouseUp(3, 2, 2, R, C, onlyColumn2).edit);
    // A double click on a cell that may not be edited acts as a single click.
    s.mouseDown(3, 4, false, R, C);
    const auto up = s.mouseUp(3, 4, 2, R, C, onlyColumn2);
    EXPECT_FALSE(up.edit);
    EXPECT_EQ(up.fontRow, MyGridSelection::FontRow::Data);
    // Beside the cells there is nothing to edit, whatever the rule says.
    EXPECT_FALSE(s.mouseUp(-1, -1, 2, R, C, [](qint64, qint64) { return true; }).edit);

    s.mouseDown(0, 2, false, R, C);
    EXPECT_EQ(s.mouseUp(0, 2, 1, R, C, noEdit).fontRow, MyGridSelection::FontRow::Title);
    s.mouseDown(3, 2, true, R, C);
    EXPECT_EQ(s.mouseUp(3, 2, 1, R, C, noEdit).fontRow, MyGridSelection::FontRow::None);
}

TEST(GridSelection, AnAnchorInTheExtraRowOrColumnShrinksToItself)
{
    MyGridSelection s;
    s.mouseDown(R, 2, false, R, C);
    s.mouseDown(3, 4, true, R, C);
    const auto up = s.mouseUp(3, 4, 1, R, C, noEdit);
    EXPECT_TRUE(up.reload);
    EXPECT_EQ(s.selectingCells, cells(R, 2, R, 2));
}

TEST(GridSelection, ExtendedIndexesSpanAllThree)
{
    EXPECT_EQ(MyGridSelection::extendedIndexes({4, 7}, 2), (IndexRange{2, 7}));
    EXPECT_EQ(MyGridSelection::extendedIndexes({4, 7}, 9), (IndexRange{4, 9}));
    EXPECT_EQ(MyGridSelection::extendedIndexes({4, 7}, 5), (IndexRange{4, 7}));
}

// Random event runs: rows and columns are never selected together, and the rectangle's
// corners always lie on the grid (title row to extra row, row numbers to extra column).
TEST(GridSelection, RandomRunsKeepTheStateConsistent)
{
    std::mt19937 rng(20261206);
    for (int run = 0; run < 200; ++run) {
        MyGridSelection s;
        for (int step = 0; step < 60; ++step) {
            const qint64 r = std::uniform_int_distribution<qint64>(-1, R)(rng);
            const qint64 c = std::uniform_int_distribution<qint64>(-1, C + 1)(rng);
            const bool shift = rng() % 2;
            switch (rng() % 4) {
            case 0: s.mouseDown(r, c, shift, R, C); break;
            case 1: s.mouseDragged(r, c, R, C); break;
            case 2: s.mouseUp(r, c, 1 + int(rng() % 2), R, C, noEdit); break;
            case 3: if (c >= 0) s.headerClicked(c, shift, R, C); break;
            }
            ASSERT_FALSE(s.selectedRows && s.selectedColumns);
            const CellSelection& x = s.selectingCells;
            for (qint64 row : {x.row1, x.row2})
                ASSERT_TRUE(row >= 0 && row <= R);
            for (qint64 column : {x.column1, x.column2})
                ASSERT_TRUE(column >= 0 && column <= C + 1);
            if (s.selectedColumns) {
                ASSERT_EQ(x.rowLo(), 0);
                ASSERT_EQ(x.rowHi(), R - 1);
            }
        }
    }
}
