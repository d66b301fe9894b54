#include "document/TableHistory.h"

namespace {

bool sameArray(const QStringList& a, const QStringList& b)
{
    return a.size() == b.size() && a.constData() == b.constData();
}

bool sameString(const QString& a, const QString& b)
{
    return (a.size() == b.size() && a.constData() == b.constData()) || a == b;
}

} // namespace

TableHistory::TableHistory()
    : TableHistory(TableData{})
{
}

TableHistory::TableHistory(const TableData& first)
{
    reset(first);
}

void TableHistory::reset(const TableData& table)
{
    m_snapshots = QVector<Snapshot>{whole(table)};
    m_cachedIndex = 0;
    m_cached = table;
}

TableHistory::Snapshot TableHistory::whole(const TableData& table)
{
    Snapshot snapshot;
    snapshot.reserve(table.size());
    for (const QStringList& column : table)
        snapshot.append(Column{column, -1, {}});
    return snapshot;
}

QStringList TableHistory::materialise(const Column& column)
{
    if (column.length < 0)
        return column.base;
    QStringList out = column.base;
    out.resize(column.length);
    for (const auto& cell : column.cells)
        out[cell.first] = cell.second;
    return out;
}

TableData TableHistory::at(qsizetype i) const
{
    if (i < 0 || i >= m_snapshots.size())
        return {};
    if (i == m_cachedIndex)
        return m_cached;
    TableData table;
    table.reserve(m_snapshots[i].size());
    for (const Column& column : m_snapshots[i])
        table.append(materialise(column));
    m_cachedIndex = i;
    m_cached = table;
    return table;
}

TableHistory::Column TableHistory::encode(const QStringList& column, const Column& previous,
                                          const QStringList* previousWhole) const
{
    if (previous.length < 0 && sameArray(column, previous.base))
        return previous;
    if (previousWhole && sameArray(column, *previousWhole))
        return previous;
    // Patch over the previous column's base when few cells differ from it; a patch costs
    // more per cell than a column entry, so past an eighth of the column keep it whole.
    const QStringList& base = previous.base;
    const qsizetype limit = qMax<qsizetype>(16, column.size() / 8);
    QVector<QPair<qsizetype, QString>> cells;
    for (qsizetype r = 0; r < column.size(); ++r) {
        const QString& s = column.at(r);
        const bool same = r < base.size() ? sameString(s, base.at(r)) : s.isEmpty();
        if (same)
            continue;
        if (cells.size() >= limit)
            return Column{column, -1, {}};
        cells.append({r, s});
    }
    return Column{base, column.size(), cells};
}

qsizetype TableHistory::push(const TableData& table, qint64 index, bool isNew)
{
    const qsizetype n = m_snapshots.size();
    qsizetype at;
    if (index >= 0 && index < n - 1) {
        m_snapshots.resize(index + 1);
        at = index + 1;
    } else if (isNew && n > 0) {
        at = 0;
    } else {
        at = n;
    }
    Snapshot snapshot;
    if (at == 0) {
        snapshot = whole(table);
    } else {
        const Snapshot& previous = m_snapshots[at - 1];
        const bool haveWhole = m_cachedIndex == at - 1;
        snapshot.reserve(table.size());
        for (qsizetype c = 0; c < table.size(); ++c) {
            if (c < previous.size())
                snapshot.append(encode(table[c], previous[c], haveWhole && c < m_cached.size() ? &m_cached[c] : nullptr));
            else
                snapshot.append(Column{table[c], -1, {}});
        }
    }
    if (at == m_snapshots.size())
        m_snapshots.append(snapshot);
    else
        m_snapshots[at] = snapshot;
    m_cachedIndex = at;
    m_cached = table;
    return at;
}

void TableHistory::cut(qint64& index)
{
    const qsizetype keep = (index >= 0 && index < m_snapshots.size()) ? index : m_snapshots.size() - 1;
    reset(at(keep));
    index = 0;
}

qsizetype TableHistory::patchedCells() const
{
    qsizetype count = 0;
    for (const Snapshot& snapshot : m_snapshots)
        for (const Column& column : snapshot)
            count += column.cells.size();
    return count;
}
