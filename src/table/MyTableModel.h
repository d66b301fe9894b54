#pragma once
// Item model of the grid: reads the document's table through the grid on every call, so a
// table change needs no copy. Row and column counts are cached and brought in line by
// sync()/setColumnCount() with inserts and removals at the end: no model reset.
#include <QAbstractTableModel>

class MyTableView;

class MyTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Data role of the anchor cell, drawn with a bezel.
    static constexpr int AnchorRole = Qt::UserRole + 1;

    explicit MyTableModel(MyTableView* grid);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Rows: the grid's row count; the cells of all rows are announced changed.
    void syncRows();
    void setColumnCount(int count);
    void announceAllChanged();

private:
    MyTableView* m_grid;
    int m_rows = 0;
    int m_columns = 0;
};
