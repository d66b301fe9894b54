#pragma once
// A table put into a document as if just opened: one snapshot per history, the delegate's
// default column settings, the column counters given (zeros when none).
#include "app/AppDelegate.h"
#include "document/Document.h"

inline void loadTable(Document& doc, const TableData& table, const QVector<qint64>& counters = {})
{
    doc.tableData = table;
    doc.setTableData();
    doc.historyOfTableData.reset(table);
    doc.columnSettings = ColumnSettings(table.size(), doc.ourDelegate()->defaultColumnSettings);
    doc.historyOfColumnSettings = {doc.columnSettings};
    doc.columnCounter = counters.isEmpty() ? QVector<qint64>(table.size(), 0) : counters;
    doc.historyOfColumnCounter = {doc.columnCounter};
    doc.historyOfTableRowSettings = {doc.tableRowSettings};
    doc.tableDataIndex = doc.columnSettingsIndex = doc.columnCounterIndex = doc.tableRowSettingIndex = 0;
    emit doc.tableChanged(true);
}
