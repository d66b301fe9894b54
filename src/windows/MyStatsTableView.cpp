#include "windows/MyStatsTableView.h"
#include <QHeaderView>
#include <algorithm>

MyStatsTableView::MyStatsTableView(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionsClickable(true);
    verticalHeader()->hide();
    // A category's tag keeps its tabs: wrapped at them, its levels would leave the row.
    setWordWrap(false);
}

void MyStatsTableView::fitTagColumn()
{
    if (!model() || model()->columnCount() == 0)
        return;
    int width = kTagWidths[0];
    for (int row = 0; row < model()->rowCount(); ++row)
        width = std::max(width, sizeHintForIndex(model()->index(row, 0)).width() + 2 * showGrid());
    horizontalHeader()->resizeSection(0, std::min(width, kTagWidths[1]));
}

QItemSelectionModel::SelectionFlags MyStatsTableView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, event);
    // Input on the cells selects rows; a column title selects its column (no event).
    if (event && flags != QItemSelectionModel::NoUpdate)
        flags |= QItemSelectionModel::Rows;
    return flags;
}

namespace {
QList<int> sortedSections(const QModelIndexList& indexes, bool rows)
{
    QList<int> out;
    for (const QModelIndex& i : indexes)
        out << (rows ? i.row() : i.column());
    std::sort(out.begin(), out.end());
    return out;
}
}

QList<int> MyStatsTableView::selectedRowIndexes() const
{
    return selectionModel() ? sortedSections(selectionModel()->selectedRows(), true) : QList<int>();
}

QList<int> MyStatsTableView::selectedColumnIndexes() const
{
    return selectionModel() ? sortedSections(selectionModel()->selectedColumns(), false) : QList<int>();
}
