#pragma once
// Writing a rectangular block of cells into a table: the table grows by rows and columns
// where the block reaches beyond it, new columns get titles, and the titles that the write
// introduces are made unique against all other titles. Pure: works on values only.
#include "app/AppDelegate.h"
#include <QString>

class TableBlock {
public:
    struct Result {
        TableData table;
        qsizetype addedColumns = 0;
        // Set, with the table left empty, when the table would hold more than maxCells
        // cells; rows and columns are then its size.
        bool tooLarge = false;
        qsizetype rows = 0;
        qsizetype columns = 0;
    };
    // block: columns of strings (the first column's length is the block's height; shorter
    // columns are padded). firstColumn: table column of the block's left column (0-based),
    // row: row of its top cell (0 = title row). With newColumn false, block columns beyond
    // the table are dropped. Nothing when the block is empty or the position lies outside
    // the table plus one row below and one column right of it.
    static std::optional<Result> write(const TableData& table, const TableData& block, qsizetype firstColumn,
                                       qsizetype row, bool newColumn, qint64 maxCells = TableTextCodec::kMaxCells);

    // Canonical form used for comparing titles and categories.
    static QString canonical(const QString& text) { return text.normalized(QString::NormalizationForm_C); }
};
