#pragma once
// A list table (the main window's column titles) whose rows and cells the window
// controller answers, as a data source does.
#include <QAbstractTableModel>
#include <QStringList>
#include <functional>

class MyWindowController;

class MyDataSourceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    MyDataSourceModel(MyWindowController* controller, QStringList columnIdentifiers, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void setHeaderTitles(const QStringList& titles) { m_titles = titles; }
    // How a cell's value is shown (the statistics table writes numbers as it copies them);
    // unset, the value is shown as it comes. Numbers are aligned to the right either way.
    std::function<QString(const QVariant& value, int column)> displayText;

    void reloadData();
    // Every cell is read again; rows, columns and the selection stay.
    void reloadCells();

private:
    MyWindowController* m_controller;
    QStringList m_identifiers;
    QStringList m_titles;
};
