#pragma once
// The grid's mouse selection: the cell rectangle plus the whole-row or whole-column selection
// that header and row-number clicks make. Pure state, so the grid widget only maps events to
// (row, column) and repaints when a handler asks for it.
#include "table/CellSelection.h"
#include <functional>
#include <optional>

// A contiguous run of selected rows or columns (lo..hi, both included).
struct IndexRange {
    qint64 lo = 0;
    qint64 hi = 0;
    bool operator==(const IndexRange& o) const { return lo == o.lo && hi == o.hi; }
};

class MyGridSelection {
public:
    struct UpResult {
        bool edit = false;       // start editing the cell under the pointer
        bool reload = false;
    };

    CellSelection selectingCells;
    std::optional<IndexRange> selectedRows;
    std::optional<IndexRange> selectedColumns;

    // The platform-style "selected row/column": the last one, -1 when none.
    qint64 selectedRow() const { return selectedRows ? selectedRows->hi : -1; }
    qint64 selectedColumn() const { return selectedColumns ? selectedColumns->hi : -1; }
    qint64 numberOfSelectedColumns() const
    {
        return selectedColumns ? selectedColumns->hi - selectedColumns->lo + 1 : 0;
    }
    void deselectAll() { selectedRows.reset(); selectedColumns.reset(); }

    // R rows (title row included) and C data columns; r or c -1 beside the cells.
    // Each returns whether the grid must be redrawn.
    bool mouseDown(qint64 r, qint64 c, bool shift, qint64 R, qint64 C);
    bool mouseDragged(qint64 r, qint64 c, qint64 R, qint64 C);
    UpResult mouseUp(qint64 r, qint64 c, int clickCount, qint64 R, qint64 C,
                     const std::function<bool(qint64, qint64)>& allowEdit);
    // A click on the header of column k (identifier), after which the column selection
    // is updated as a header click does: plain selects k alone, shift extends.
    bool headerClicked(qint64 k, bool shift, qint64 R, qint64 C);
    // Every cell of the title and data rows, as the row-number header selects them.
    void selectAll(qint64 R, qint64 C)
    {
        selectingCells = {0, 1, R - 1, C};
        deselectAll();
    }

    static IndexRange extendedIndexes(const IndexRange& indexes, qint64 n);

private:
    void selectRowsOnly(IndexRange rows) { selectedColumns.reset(); selectedRows = rows; }
};
