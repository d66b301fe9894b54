#pragma once
// Table text (lines of tab- or comma-separated fields) to columns and back.
//
// Reading: "\r\n", "\r" and "\n" each end a line; empty fields at the end of a line are
// dropped and a line left without fields disappears; short rows are filled up with empty
// strings. A field that begins with a double quote and has a closing quote is a quoted field
// (separators and line ends inside, "" for a quote), as spreadsheets write them; every other
// field is taken as it stands. A byte-order mark at the start is ignored, and a null
// character reads as the replacement character U+FFFD.
// Writing: one line per row, fields joined by tabs, every line ended by "\n". Only fields
// that would not read back as themselves are quoted (see stringFromArray).
#include <QStringList>
#include <QVector>

// The table as columns of strings; element 0 of each column is its title.
using TableData = QVector<QStringList>;

class TableTextCodec {
public:
    // The most cells (rows × columns) a table may hold: a million rows of 25 columns, about
    // 1.5 GB in memory at ten characters a cell. Tables are held to it wherever they are
    // made, so that every document saved opens again.
    static constexpr qint64 kMaxCells = 25'000'000;
    static bool fits(qint64 rows, qint64 columns) { return columns <= 0 || rows <= kMaxCells / columns; }
    // "<what> is too large: <rows> rows and <columns> columns (<cells> cells); a table holds
    // at most 25,000,000 cells."
    static QString tooManyCells(const QString& what, qint64 rows, qint64 columns);

    enum class BlankLines { Drop, KeepBetweenRows };
    // delimiter is "Tab", "CSV" or "Auto" (tab when the first line holds a tab outside
    // quotes, else comma); any other word gives an empty table. With KeepBetweenRows a line
    // without text before a row with text is an empty row (a pasted block keeps its rows in
    // line); blank lines at the end are dropped either way. A text of more than kMaxCells
    // cells gives an empty table and *error.
    static TableData read(const QString& text, const QString& delimiter, BlankLines blank = BlankLines::Drop,
                          QString* error = nullptr);
    // Rows are counted by the first column; a shorter column gives empty fields.
    static QString write(const TableData& columns);
};
