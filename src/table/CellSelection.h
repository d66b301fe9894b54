#pragma once
// The selected cell rectangle of the grid: the anchor corner (row1, column1) and the opposite
// corner (row2, column2), both included, in either order. column1 0 means nothing is anchored.
#include <QtGlobal>
#include <algorithm>

struct CellSelection {
    qint64 row1 = 0;
    qint64 column1 = 0;
    qint64 row2 = 0;
    qint64 column2 = 0;

    bool isEmpty() const { return column1 == 0; }
    bool isSingleCell() const { return row1 == row2 && column1 == column2; }
    qint64 rowLo() const { return std::min(row1, row2); }
    qint64 rowHi() const { return std::max(row1, row2); }
    qint64 columnLo() const { return std::min(column1, column2); }
    qint64 columnHi() const { return std::max(column1, column2); }
    bool contains(qint64 r, qint64 c) const
    {
        return (c - column1) * (c - column2) <= 0 && (r - row1) * (r - row2) <= 0;
    }
    bool operator==(const CellSelection& o) const
    {
        return row1 == o.row1 && column1 == o.column1 && row2 == o.row2 && column2 == o.column2;
    }
    bool operator!=(const CellSelection& o) const { return !(*this == o); }
};
