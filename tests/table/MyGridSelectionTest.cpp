// The mouse selection as a state machine: the event sequences a user meets, then random runs.
#include "table/MyGridSelection.h"
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <vector>

namespace {
constexpr qint64 R = 11;   // title row + 10 data rows
constexpr qint64 C = 6;

bool noEdit(qint64, qint64) { return false; }

// 'd' mouse down, 's' shift mouse down, 'g' drag, 'u' single-click mouse up at (r, c);
// 'h' header click, 'H' shift header click on column r.
struct Event {
    char kind;
    qint64 r;
    qint64 c = 0;
};

// Applies the events; the result is whether the last one asked for a redraw (a reload for 'u').
bool apply(MyGridSelection& s, const std::vector<Event>& events)
{
    bool redraw = false;
    for (const Event& e : events) {
        switch (e.kind) {
        case 'd': redraw = s.mouseDown(e.r, e.c, false, R, C); break;
        case 's': redraw = s.mouseDown(e.r, e.c, true, R, C); break;
        case 'g': redraw = s.mouseDragged(e.r, e.c, R, C); break;
        case 'u': redraw = s.mouseUp(e.r, e.c, 1, R, C, noEdit).reload; break;
        case 'h': redraw = s.headerClicked(e.r, false, R, C); break;
        case 'H': redraw = s.headerClicked(e.r, true, R, C); break;
        }
    }
    return redraw;
}

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
    {"ClickBesideTheCellsClears", {{'d', 4, 0}, {'d', -1, 3}}, {}, none, none, true},
    {"CellClick", {{'d', 2, 3}}, {2, 3, 2, 3}, none, none, true},
    {"ShiftClickSpansARectangle", {{'d', 2, 3}, {'s', 5, 1}}, {2, 3, 5, 1}, none, none, true},
    {"ShiftClickWithoutAnAnchor", {{'s', 3, 3}}, {}, none, none, false},
    {"ShiftRowNumberWithoutAnAnchor", {{'s', 3, 0}}, {}, none, none, false},
    {"RowNumberSelectsTheRow", {{'d', 4, 0}}, {4, 1, 4, C}, IndexRange{4, 4}, none, true},
    {"ShiftRowNumberBelow", {{'d', 4, 0}, {'s', 7, 0}}, {4, 1, 7, C}, IndexRange{4, 7}, none, true},
    {"ShiftRowNumberAbove", {{'d', 4, 0}, {'s', 2, 0}}, {4, 1, 2, C}, IndexRange{2, 4}, none, true},
    {"ShiftRowNumberInsideKeepsTheRows", {{'d', 4, 0}, {'s', 7, 0}, {'s', 5, 0}}, {4, 1, 5, C}, IndexRange{4, 7}, none, true},
    {"ShiftCellExtendsRows", {{'d', 4, 0}, {'s', 7, 0}, {'s', 9, 3}}, {4, 1, 9, C}, IndexRange{4, 9}, none, true},
    {"HeaderSelectsTheColumn", {{'h', 2}}, {0, 2, R - 1, 2}, none, IndexRange{2, 2}, true},
    {"ShiftHeaderExtends", {{'h', 2}, {'H', 5}}, {0, 2, R - 1, 5}, none, IndexRange{2, 5}, true},
    {"ShiftCellExtendsColumns", {{'h', 2}, {'H', 5}, {'s', 3, 6}}, {0, 2, R - 1, 6}, none, IndexRange{2, 6}, true},
    {"NoDragWithColumns", {{'h', 2}, {'H', 5}, {'g', 4, 4}}, {0, 2, R - 1, 5}, none, IndexRange{2, 5}, false},
    {"NoMouseUpWithColumns", {{'h', 2}, {'H', 5}, {'u', 3, 3}}, {0, 2, R - 1, 5}, none, IndexRange{2, 5}, false},
    {"RowNumberLeavesColumnsForRows", {{'h', 2}, {'H', 5}, {'d', 3, 0}}, {3, 1, 3, C}, IndexRange{3, 3}, none, true},
    {"RowNumberHeaderSelectsAll", {{'h', 0}}, {0, 1, R - 1, C}, none, none, true},
    {"RowNumberHeaderAgainClears", {{'h', 0}, {'h', 0}}, {}, none, none, true},
    {"ExtraColumnHeaderClears", {{'d', 2, 2}, {'h', C + 1}}, {}, none, none, true},
    {"Drag", {{'d', 2, 2}, {'g', 4, 3}}, {2, 2, 4, 3}, none, none, true},
    {"DragStopsAtTheExtraRow", {{'d', 2, 2}, {'g', 4, 3}, {'g', R, 3}}, {2, 2, 4, 3}, none, none, false},
    {"DragStopsAtTheExtraColumn", {{'d', 2, 2}, {'g', 4, 3}, {'g', 4, C + 1}}, {2, 2, 4, 3}, none, none, false},
    {"DragStopsBesideTheCells", {{'d', 2, 2}, {'g', 4, 3}, {'g', -1, 3}}, {2, 2, 4, 3}, none, none, false},
    {"DragIntoTheRowNumbersWidens", {{'d', 2, 2}, {'g', 5, 0}}, {2, 1, 5, C}, none, none, true},
    {"AnchorInTheExtraRowShrinksToItself", {{'d', R, 2}, {'s', 3, 4}, {'u', 3, 4}}, {R, 2, R, 2}, none, none, true},
};
}

TEST(GridSelection, EventSequencesEndInTheirSelection)
{
    for (const Sequence& q : sequences) {
        SCOPED_TRACE(q.name);
        MyGridSelection s;
        EXPECT_EQ(apply(s, q.events), q.redraw);
        EXPECT_EQ(s.selectingCells, q.cells);
        EXPECT_EQ(s.selectedRows, q.rows);
        EXPECT_EQ(s.selectedColumns, q.columns);
    }
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
