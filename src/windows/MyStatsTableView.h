#pragma once
// The statistics table: a click or drag on cells selects whole rows, a click on a column
// title selects the column, as copy works on rows or on columns. Its columns stay in place:
// copy reads them by position.
#include <QTableView>

class MyStatsTableView : public QTableView {
    Q_OBJECT
public:
    explicit MyStatsTableView(QWidget* parent = nullptr);

    // The first column as wide as its texts on one line, within bounds; longer ones end in
    // an ellipsis and show whole in their tooltip.
    void fitTagColumn();
    static constexpr int kTagWidths[2] = {120, 480};

    // Selected rows and columns, each ascending.
    QList<int> selectedRowIndexes() const;
    QList<int> selectedColumnIndexes() const;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
};
