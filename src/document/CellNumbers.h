#pragma once
// The numbers of table cells, read as NumberText::scanDouble reads them (the platform's
// leading number, C locale) but without building a string per cell: a cell's few characters
// go straight to std::from_chars. The cells this cannot settle alone (white space outside
// ASCII, a number too long for the buffer, one out of a double's range) are handed to
// scanDouble, so every result is the same as scanDouble's.
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace CellNumbers {
// True and *value when the cell begins (after white space) with a number.
bool leadingNumber(const QString& cell, double* value);
// The numbers of cells [first, end) of a column, nullopt for a cell without one; *count gets
// the number of cells that have one.
QVector<std::optional<double>> numbers(const QStringList& column, qsizetype first, qint64* count);
}
