#include "windows/MyStatsTableView.h"
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <optional>
#include <utility>

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
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (!m_resizing)
            m_userWidths.insert(column, width);
    });
}

void MyStatsTableView::fitColumns()
{
    if (!model() || model()->columnCount() == 0)
        return;
    ensurePolished();
    const bool resizing = std::exchange(m_resizing, true);
    for (int c = 0; c < model()->columnCount(); ++c) {
        if (const auto user = m_userWidths.constFind(c); user != m_userWidths.constEnd()) {
            setColumnWidth(c, *user);
            continue;
        }
        resizeColumnToContents(c);
        if (c == 0)
            setColumnWidth(0, std::clamp(columnWidth(0), kTagWidths[0], kTagWidths[1]));
    }
    m_resizing = resizing;
}

void MyStatsTableView::reloadKeeping(const QStringList& keysBefore, const QStringList& keysAfter,
                                     const std::function<void()>& reload)
{
    QItemSelectionModel* selection = selectionModel();
    if (!model() || !selection) {
        reload();
        return;
    }
    // What is selected, by row key: the spans of columns selected in that row.
    using Span = std::pair<int, int>;
    QHash<QString, QList<Span>> selected;
    for (const QItemSelectionRange& range : selection->selection())
        for (int r = range.top(); r <= range.bottom() && r < keysBefore.size(); ++r)
            selected[keysBefore.at(r)] << Span(range.left(), range.right());
    for (QList<Span>& spans : selected)
        std::sort(spans.begin(), spans.end());
    // A column chosen whole, judged on the rows shown before: the model may already count
    // the rows to come.
    QList<int> wholeColumns;
    for (int c = 0; !keysBefore.isEmpty() && c < model()->columnCount(); ++c)
        if (std::all_of(keysBefore.cbegin(), keysBefore.cend(), [&](const QString& key) {
                const QList<Span> spans = selected.value(key);
                return std::any_of(spans.cbegin(), spans.cend(), [c](const Span& s) { return s.first <= c && c <= s.second; });
            }))
            wholeColumns << c;
    std::optional<std::pair<QString, int>> current;
    if (const QModelIndex at = selection->currentIndex(); at.isValid() && at.row() < keysBefore.size())
        current = {keysBefore.at(at.row()), at.column()};

    const bool resizing = std::exchange(m_resizing, true);
    reload();
    m_resizing = resizing;

    // Neighbouring rows with the same spans make one range, so a long selection stays cheap.
    QItemSelection kept;
    const int rows = std::min(model()->rowCount(), int(keysAfter.size()));
    int first = -1;
    QList<Span> firstSpans;
    auto close = [&](int last) {
        for (const Span& s : firstSpans)
            kept.select(model()->index(first, s.first), model()->index(last, s.second));
        first = -1;
        firstSpans.clear();
    };
    for (int r = 0; r < rows; ++r) {
        const QList<Span> spans = selected.value(keysAfter.at(r));
        if (first >= 0 && spans == firstSpans)
            continue;
        if (first >= 0)
            close(r - 1);
        if (!spans.isEmpty()) {
            first = r;
            firstSpans = spans;
        }
    }
    if (first >= 0)
        close(rows - 1);
    for (int c : wholeColumns)
        if (model()->rowCount() > 0)
            kept.select(model()->index(0, c), model()->index(model()->rowCount() - 1, c));
    selection->select(kept, QItemSelectionModel::ClearAndSelect);
    if (current)
        if (const qsizetype r = keysAfter.indexOf(current->first); r >= 0 && r < model()->rowCount())
            selection->setCurrentIndex(model()->index(int(r), current->second), QItemSelectionModel::NoUpdate);
    fitColumns();
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
