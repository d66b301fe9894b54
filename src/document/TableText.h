#pragma once
// The table text of a package ("tableString.txt"): one line per row ended by "\n", cells
// joined by "\t". The package reads it back strictly, so a table comes back exactly as it
// was written: commas stay inside cells, and empty rows and columns are kept.
#include "app/AppDelegate.h"
#include <QString>

class TableText {
public:
    // Rows up to the length of the first column; every line ends with "\n"; no columns, or
    // a first column without strings, give the empty text.
    static QString write(const TableData& columns);
    // Lines at "\n" (one final "\n" ends the last line), fields at "\t"; every row is kept
    // and short rows are padded with empty cells. The empty text is a table without columns.
    static TableData read(const QString& text);
};
