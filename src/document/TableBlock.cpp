#include "document/TableBlock.h"
#include <QSet>

namespace {

QStringList padded(const QStringList& column, qsizetype rows)
{
    if (column.size() >= rows)
        return column;
    QStringList out = column;
    out.resize(rows);
    return out;
}

} // namespace

std::optional<TableBlock::Result> TableBlock::write(const TableData& table, const TableData& block,
                                                    qsizetype c0, qsizetype r0, bool newColumn, qint64 maxCells)
{
    if (block.isEmpty() || block.first().isEmpty())
        return std::nullopt;
    const qsizetype C = table.size();
    const qsizetype R = C > 0 ? table.first().size() : 0;
    if (c0 < 0 || c0 > C || r0 < 0 || r0 > R)
        return std::nullopt;
    const qsizetype w = block.size();
    const qsizetype h = block.first().size();
    const qsizetype newRows = qMax(R, r0 + h);
    const qsizetype newCols = newColumn ? qMax(C, c0 + w) : C;
    if (newCols <= c0)   // the whole block lies right of the table and no column may be added
        return std::nullopt;
    // A table that could be saved but never opened again is not made.
    if (newCols > 0 && newRows > maxCells / newCols) {
        Result refused;
        refused.tooLarge = true;
        refused.rows = newRows;
        refused.columns = newCols;
        return refused;
    }

    auto blockColumn = [&](qsizetype i) { return padded(block.at(i).mid(0, h), h); };

    Result result;
    TableData& out = result.table;
    out.reserve(newCols);
    for (qsizetype i = 0; i < C; ++i) {
        if (i < c0 || i >= c0 + w) {
            out.append(padded(table.at(i), newRows));
            continue;
        }
        const QStringList& old = table.at(i);
        QStringList column;
        if (r0 == 0 && h >= R) {
            column = blockColumn(i - c0);
        } else if (h == 1 && r0 < R) {
            column = old;
            column[r0] = block.at(i - c0).value(0);
        } else {
            column.reserve(newRows);
            column.append(old.mid(0, r0));
            column.append(blockColumn(i - c0));
            if (r0 + h < R)
                column.append(old.mid(r0 + h));
        }
        out.append(padded(column, newRows));
    }
    for (qsizetype j = C; j < newCols; ++j) {
        if (r0 == 0) {
            // The block's own column, shared rather than copied cell by cell.
            out.append(padded(blockColumn(j - c0), newRows));
            continue;
        }
        QStringList column;
        column.reserve(newRows);
        column.append(QStringLiteral("Column") + QString::number(j + 1));
        column.resize(r0);
        column.append(blockColumn(j - c0));
        out.append(padded(column, newRows));
    }
    result.addedColumns = newCols - C;

    // Only titles that this write brings in are made unique; existing columns keep theirs
    // (analyses find their columns by title).
    QVector<bool> introduced(newCols, false);
    for (qsizetype j = 0; j < newCols; ++j) {
        if (j >= C)
            introduced[j] = true;
        else if (r0 == 0 && j >= c0 && j < c0 + w)
            introduced[j] = canonical(out.at(j).first()) != canonical(table.at(j).first());
    }
    QSet<QString> taken;
    for (qsizetype j = 0; j < newCols; ++j)
        if (!introduced[j])
            taken.insert(canonical(out.at(j).first()));
    for (qsizetype j = 0; j < newCols; ++j) {
        if (!introduced[j])
            continue;
        QString title = out.at(j).first();
        const QString key = canonical(title);
        if (taken.contains(key)) {
            for (qint64 n = 1;; ++n) {
                const QString suffix = QLatin1Char('-') + QString::number(n);
                if (!taken.contains(key + suffix)) {
                    title += suffix;
                    break;
                }
            }
        }
        taken.insert(canonical(title));
        if (title != out.at(j).first())
            out[j][0] = title;   // copies a column shared with the block: only when it changes
    }
    return result;
}
