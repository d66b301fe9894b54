#pragma once
// The table text of a package ("tableString.txt"): one line per row ended by "\n", cells
// joined by "\t". The package reads it back strictly, so a table comes back exactly as it
// was written: commas stay inside cells, and empty rows and columns are kept.
#include "app/AppDelegate.h"
#include <QString>
#include <optional>

class TableText {
public:
    // Texts beyond this are refused before they are read: more than a table of
    // TableTextCodec::kMaxCells cells takes to write.
    static constexpr qint64 kMaxBytes = qint64(512) << 20;

    // Rows up to the length of the first column; every line ends with "\n"; no columns, or
    // a first column without strings, give the empty text.
    static QString write(const TableData& columns);
    // Lines at "\n" (one final "\n" ends the last line), fields at "\t"; every row is kept
    // and short rows are padded with empty cells. The empty text is a table without columns.
    // nullopt and *error for a table of more than TableTextCodec::kMaxCells cells.
    static std::optional<TableData> read(QStringView text, QString* error = nullptr);
    // The same from a file of UTF-8 text, read piece by piece so that the text is never held
    // whole next to the table. nullopt and *error when the file cannot be read, is larger
    // than kMaxBytes, is not UTF-8 (or holds a null character), or holds too many cells.
    static std::optional<TableData> readFile(const QString& path, QString* error = nullptr);
};
