#include "windows/MyStatsTableView.h"
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

const QString MyStatsTableView::kLevelGap = QStringLiteral("\u2003\u2003");

QString MyStatsCellDelegate::displayText(const QVariant& value, const QLocale& locale) const
{
    // Drawn on one line, a tab would take no room at all.
    return QStyledItemDelegate::displayText(value, locale).replace(u'\t', MyStatsTableView::kLevelGap);
}

MyStatsTableView::MyStatsTableView(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionsClickable(true);
    // Every row counts when a column is fitted, not only those in sight.
    horizontalHeader()->setResizeContentsPrecision(-1);
    verticalHeader()->hide();
    setItemDelegate(new MyStatsCellDelegate(this));
    // A category's tag stays on one line: wrapped, its levels would leave the row.
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
}

void MyStatsTableView::fitColumns()
{
    if (!model() || model()->columnCount() == 0)
        return;
    ensurePolished();
    resizeColumnsToContents();
    horizontalHeader()->resizeSection(0, std::clamp(columnWidth(0), kTagWidths[0], kTagWidths[1]));
}

int MyStatsTableView::fullWidth() const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; model() && c < model()->columnCount(); ++c)
        width += columnWidth(c);
    return width;
}

int MyStatsTableView::fullHeight(int rowsAtMost) const
{
    const int rows = model() ? std::min(model()->rowCount(), rowsAtMost) : 0;
    int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() + horizontalScrollBar()->sizeHint().height();
    for (int r = 0; r < rows; ++r)
        height += std::max(rowHeight(r), verticalHeader()->defaultSectionSize());
    return height;
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
