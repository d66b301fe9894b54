#pragma once
// The statistics table: a click or drag on cells selects whole rows, a click on a column
// title selects the column, as copy works on rows or on columns. Its columns stay in place:
// copy reads them by position.
#include <QTableView>

class MyStatsTableView : public QTableView {
    Q_OBJECT
public:
    explicit MyStatsTableView(QWidget* parent = nullptr);

    // Selected rows and columns, each ascending.
    QList<int> selectedRowIndexes() const;
    QList<int> selectedColumnIndexes() const;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
};
