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
