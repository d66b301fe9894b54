#pragma once
// The numbers of table cells, read as NumberText reads them (C locale) but without building
// a string per cell: a cell's few characters go straight to std::from_chars. The cells this
// cannot settle alone (white space outside ASCII, a number too long for the buffer, one out
// of a double's range) are handed to NumberText, so every result is the same as its
// scanDouble's (leading number) or isWholeNumber's (whole cell).
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace CellNumbers {
// True and *value when the cell begins (after white space) with a number.
bool leadingNumber(const QString& cell, double* value);
// True and *value when the whole cell, white space around it aside, is one number: "0,7" or
// "12abc" is not 0 or 12 but no number at all.
bool wholeNumber(const QString& cell, double* value);
// The values of cells [first, end) of a column (whole, finite numbers only), nullopt for any
// other cell; *count gets the number of values.
QVector<std::optional<double>> numbers(const QStringList& column, qsizetype first, qint64* count);
}
