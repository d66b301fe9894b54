// The mouse selection as a state machine under random event runs; GridEditingTest clicks it for real.
#include "table/MyGridSelection.h"
#include <gtest/gtest.h>
#include <random>

namespace {
constexpr qint64 R = 11;   // title row + 10 data rows
constexpr qint64 C = 6;

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
