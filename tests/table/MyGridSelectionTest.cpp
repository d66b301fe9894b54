// The mouse selection as a state machine: the event sequences a user meets, then random runs.
#include "table/MyGridSelection.h"
#include <gtest/gtest.h>
#include <functional>
#include <optional>
#include <random>
#include <vector>

namespace {
constexpr qint64 R = 11;   // title row + 10 data rows
constexpr qint64 C = 6;

bool noEdit(qint64, qint64) { return false; }

// One mouse event; returns whether the grid must be redrawn (for a mouse-up: reloaded).
using Event = std::function<bool(MyGridSelection&)>;
Event down(qint64 r, qint64 c) { return [=](MyGridSelection& s) { return s.mouseDown(r, c, false, R, C); }; }
Event shiftDown(qint64 r, qint64 c) { return [=](MyGridSelection& s) { return s.mouseDown(r, c, true, R, C); }; }
Event drag(qint64 r, qint64 c) { return [=](MyGridSelection& s) { return s.mouseDragged(r, c, R, C); }; }
Event up(qint64 r, qint64 c) { return [=](MyGridSelection& s) { return s.mouseUp(r, c, 1, R, C, noEdit).reload; }; }
Event header(qint64 k) { return [=](MyGridSelection& s) { return s.headerClicked(k, false, R, C); }; }
Event shiftHeader(qint64 k) { return [=](MyGridSelection& s) { return s.headerClicked(k, true, R, C); }; }

using Range = std::optional<IndexRange>;
const Range none;

struct Sequence {
    const char* name;
    std::vector<Event> events;
    CellSelection cells;
    Range rows;
    Range columns;
    bool redraw;
};

const Sequence sequences[] = {
    {"ShiftClickSpansARectangle", {down(2, 3), shiftDown(5, 1)}, {2, 3, 5, 1}, none, none, true},
    {"ShiftClickWithoutAnAnchor", {shiftDown(3, 3)}, {}, none, none, false},
    {"ShiftRowNumberBelow", {down(4, 0), shiftDown(7, 0)}, {4, 1, 7, C}, IndexRange{4, 7}, none, true},
    {"ShiftCellExtendsColumns", {header(2), shiftHeader(5), shiftDown(3, 6)}, {0, 2, R - 1, 6}, none, IndexRange{2, 6}, true},
    {"RowNumberLeavesColumnsForRows", {header(2), shiftHeader(5), down(3, 0)}, {3, 1, 3, C}, IndexRange{3, 3}, none, true},
    {"ExtraColumnHeaderClears", {down(2, 2), header(C + 1)}, {}, none, none, true},
    {"DragIntoTheRowNumbersWidens", {down(2, 2), drag(5, 0)}, {2, 1, 5, C}, none, none, true},
    {"AnchorInTheExtraRowShrinksToItself", {down(R, 2), shiftDown(3, 4), up(3, 4)}, {R, 2, R, 2}, none, none, true},
};
}

TEST(GridSelection, EventSequencesEndInTheirSelection)
{
    for (const Sequence& q : sequences) {
        SCOPED_TRACE(q.name);
        MyGridSelection s;
        bool redraw = false;
        for (const Event& e : q.events)
            redraw = e(s);
        EXPECT_EQ(redraw, q.redraw);   // after the last event
        EXPECT_EQ(s.selectingCells, q.cells);
        EXPECT_EQ(s.selectedRows, q.rows);
        EXPECT_EQ(s.selectedColumns, q.columns);
    }
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
