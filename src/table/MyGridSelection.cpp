#include "table/MyGridSelection.h"
#include <algorithm>

IndexRange MyGridSelection::extendedIndexes(const IndexRange& indexes, qint64 n)
{
    return {std::min({n, indexes.lo, indexes.hi}), std::max({n, indexes.lo, indexes.hi})};
}

bool MyGridSelection::mouseDown(qint64 r, qint64 c, bool shift, qint64 R, qint64 C)
{
    CellSelection& s = selectingCells;
    if (r < 0 || c < 0) {
        s = {};
        deselectAll();
        return true;
    }
    if (c == 0) {
        if (selectedColumn() > 0) {
            deselectAll();
            s = {r, 1, r, C};
        }
        if (!shift) {
            s = {r, 1, r, C};
            selectRowsOnly({r, r});
            return true;
        }
        if (s.column1 == 0)
            return false;
        if (selectedRow() >= 0) {
            s.column2 = C;
            s.row2 = r;
            selectRowsOnly(extendedIndexes(*selectedRows, r));
            return true;
        }
        s = {r, 1, r, C};
        selectRowsOnly({r, r});
        return true;
    }
    if (!shift) {
        s = {r, c, r, c};
        deselectAll();
        return true;
    }
    if (s.column1 == 0)
        return false;
    if (selectedColumn() < 1) {
        if (selectedRow() < 0) {
            s.row2 = r;
            s.column2 = c;
        } else {
            s.column2 = C;
            s.row2 = r;
            selectRowsOnly(extendedIndexes(*selectedRows, r));
        }
        return true;
    }
    s.column2 = c;
    s.row2 = R - 1;
    selectedRows.reset();
    selectedColumns = extendedIndexes(*selectedColumns, c);
    return true;
}

bool MyGridSelection::mouseDragged(qint64 r, qint64 c, qint64 R, qint64 C)
{
    CellSelection& s = selectingCells;
    if (selectedColumn() >= 1 || s.column1 == 0)
        return false;
    if (r < 0 || c < 0)
        return false;
    if (c == C + 1 || r == R)
        return false;
    s.row2 = r;
    if (c < 1) {
        s.column1 = 1;
        s.column2 = C;
    } else {
        s.column2 = c;
    }
    return true;
}

MyGridSelection::UpResult MyGridSelection::mouseUp(qint64 r, qint64 c, int clickCount, qint64 R, qint64 C,
                                                   const std::function<bool(qint64, qint64)>& allowEdit)
{
    UpResult result;
    CellSelection& s = selectingCells;
    if (selectedColumn() > 0)
        return result;
    // Beside the cells there is nothing to edit.
    if (clickCount >= 2 && r >= 0 && c >= 0 && allowEdit && allowEdit(r, c)) {
        result.edit = true;
        return result;
    }
    if (s.column1 == C + 1 || s.row1 == R) {
        s.column2 = s.column1;
        s.row2 = s.row1;
        result.reload = true;
    }
    return result;
}

bool MyGridSelection::headerClicked(qint64 k, bool shift, qint64 R, qint64 C)
{
    // What the header click itself does to the column selection.
    if (shift && selectedColumns)
        selectedColumns = extendedIndexes(*selectedColumns, k);
    else
        selectedColumns = IndexRange{k, k};
    selectedRows.reset();

    CellSelection& s = selectingCells;
    if (k == C + 1) {
        s = {};
        deselectAll();
        return true;   // repaint so the old highlight goes
    }
    if (k == 0) {
        if (s == CellSelection{0, 1, R - 1, C}) {
            s = {};
            deselectAll();
        } else {
            selectAll(R, C);
        }
        return true;
    }
    if (k < 0 || k > C + 1)
        return false;
    if (numberOfSelectedColumns() >= 2) {
        s.row1 = 0;
        s.row2 = R - 1;
        s.column2 = k;
    } else {
        s = {0, k, R - 1, k};
    }
    return true;
}
