#pragma once
// The statistics table: a click or drag on cells selects whole rows, a click on a column
// title selects the column, as copy works on rows or on columns. Its columns stay in place:
// copy reads them by position.
#include <QHash>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

class MyStatsTableView : public QTableView {
    Q_OBJECT
public:
    explicit MyStatsTableView(QWidget* parent = nullptr);

    // Every column as wide as its title and its texts at the table's font; the first within
    // bounds (a longer tag ends in an ellipsis and shows whole in its tooltip). A column the
    // user resized keeps the width they gave it.
    void fitColumns();
    // Reloads through `reload` and fits the columns, keeping the selection on the same rows:
    // a row is known by its key, keysBefore those of the rows shown until now, keysAfter
    // those of the rows reload shows. A wholly selected column stays wholly selected.
    void reloadKeeping(const QStringList& keysBefore, const QStringList& keysAfter, const std::function<void()>& reload);
    static constexpr int kTagWidths[2] = {120, 480};
    // The width that shows every column whole, frame and vertical scroll bar included.
    int fullWidth() const;
    // The height that shows every row (within bounds), frame and horizontal scroll bar
    // included.
    int fullHeight(int rowsAtMost) const;

    // Selected rows and columns, each ascending.
    QList<int> selectedRowIndexes() const;
    QList<int> selectedColumnIndexes() const;

    // What a tag's tab between two levels shows as.
    static const QString kLevelGap;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;

private:
    // The widths the user gave columns, by column; the table's own resizing is not theirs.
    QHash<int, int> m_userWidths;
    bool m_resizing = false;
};

// The cells' delegate: a tag's levels, kept apart by tabs in the tag, show apart.
class MyStatsCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override;
};
