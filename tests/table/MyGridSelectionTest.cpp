// The mouse selection as a state machine: event runs with their outcomes worked out by hand,
// and random runs; GridEditingTest clicks it for real.
#include "table/MyGridSelection.h"
#include <QStringList>
#include <gtest/gtest.h>
#include <random>

namespace {
constexpr qint64 R = 11, C = 6;   // title row + 10 data rows, 6 columns

bool noEdit(qint64, qint64) { return false; }
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
            ASSERT_TRUE(std::min(x.row1, x.row2) >= 0 && std::max(x.row1, x.row2) <= R);
            ASSERT_TRUE(std::min(x.column1, x.column2) >= 0 && std::max(x.column1, x.column2) <= C + 1);
            if (s.selectedColumns) {
                ASSERT_EQ(std::pair(x.rowLo(), x.rowHi()), std::pair(qint64(0), R - 1));
            }
        }
    }
}

namespace {
// The state as "row1,column1,row2,column2", then " rows lo-hi" or " columns lo-hi".
QString stateOf(const MyGridSelection& s)
{
    const CellSelection& c = s.selectingCells;
    QString out = QStringLiteral("%1,%2,%3,%4").arg(c.row1).arg(c.column1).arg(c.row2).arg(c.column2);
    for (const auto& [name, range] : {std::pair("rows", s.selectedRows), std::pair("columns", s.selectedColumns)})
        if (range)
            out += QStringLiteral(" %1 %2-%3").arg(name).arg(range->lo).arg(range->hi);
    return out;
}
}

// R = 11 (extra row 11), C = 6 (extra column 7). Events: "d r,c" press, "D r,c" shift-press,
// "m r,c" drag, "u r,c" button up, "e r,c" button up of a double click on an editable cell,
// "h k" header click, "H k" shift header click.
TEST(GridSelection, TransitionsWorkedByHand)
{
    const struct { const char* name; const char* events; const char* state; } cases[] = {
        {"CellClick", "d 2,3", "2,3,2,3"}, {"ShiftClickExtends", "d 2,3|D 5,1", "2,3,5,1"},
        {"ShiftClickFirstDoesNothing", "D 5,1", "0,0,0,0"}, {"RowNumberClick", "d 4,0", "4,1,4,6 rows 4-4"},
        {"ShiftRowNumbersDown", "d 4,0|D 7,0", "4,1,7,6 rows 4-7"},
        {"ShiftRowNumbersUp", "d 4,0|D 2,0", "4,1,2,6 rows 2-4"},
        {"ShiftCellExtendsRows", "d 4,0|D 7,0|D 9,3", "4,1,9,6 rows 4-9"},
        {"ShiftRowNumbersAfterCell", "d 3,2|D 6,0", "6,1,6,6 rows 6-6"}, {"HeaderClick", "h 2", "0,2,10,2 columns 2-2"},
        {"ShiftHeaderExtends", "h 2|H 5", "0,2,10,5 columns 2-5"},
        {"ShiftCellExtendsColumns", "h 2|D 3,4", "0,2,10,4 columns 2-4"},
        {"RowNumbersAfterColumns", "h 2|d 4,0", "4,1,4,6 rows 4-4"}, {"SelectAll", "h 0", "0,1,10,6"},
        {"SelectAllTwiceClears", "h 0|h 0", "0,0,0,0"}, {"SelectAllAfterCell", "d 3,3|h 0", "0,1,10,6"},
        {"ExtraColumnHeaderClears", "d 4,0|h 7", "0,0,0,0"}, {"ClickBesideClears", "h 2|d -1,3", "0,0,0,0"},
        {"Drag", "d 2,2|m 4,3", "2,2,4,3"}, {"DragIntoExtraRowKeeps", "d 2,2|m 4,3|m 11,5", "2,2,4,3"},
        {"DragIntoExtraColumnKeeps", "d 2,2|m 4,3|m 5,7", "2,2,4,3"},
        {"DragIntoRowNumbersWidens", "d 2,2|m 5,0", "2,1,5,6"},
        {"DragWithColumnsDoesNothing", "h 2|m 5,4", "0,2,10,2 columns 2-2"},
        {"UpWithAnchorInExtraRowShrinks", "d 11,2|D 3,4|u 3,4", "11,2,11,2"},
        {"UpWithAnchorInExtraColumnShrinks", "d 2,7|D 4,2|u 4,2", "2,7,2,7"},
        {"UpInsideKeeps", "d 2,2|D 4,4|u 4,4", "2,2,4,4"},
        {"UpWithColumnsDoesNothing", "d 11,2|h 3|u 11,2", "0,3,10,3 columns 3-3"},
        {"DoubleClickEditsWithoutChange", "d 2,2|D 4,4|e 4,4", "2,2,4,4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MyGridSelection s;
        bool edited = false;
        for (const QString& event : QString::fromUtf8(c.events).split('|')) {
            const QChar kind = event[0];
            const QStringList at = event.mid(2).split(',');
            const qint64 a = at.value(0).toLongLong(), b = at.value(1).toLongLong();
            if (kind == 'd' || kind == 'D')
                s.mouseDown(a, b, kind == 'D', R, C);
            else if (kind == 'm')
                s.mouseDragged(a, b, R, C);
            else if (kind == 'u' || kind == 'e')
                edited = s.mouseUp(a, b, kind == 'e' ? 2 : 1, R, C, [](qint64, qint64) { return true; }).edit;
            else
                s.headerClicked(a, kind == 'H', R, C);
        }
        EXPECT_EQ(stateOf(s), QString::fromUtf8(c.state));
        EXPECT_EQ(edited, QString::fromUtf8(c.events).contains('e'));
    }
}
