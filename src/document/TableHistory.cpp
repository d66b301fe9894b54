#include "document/TableHistory.h"

namespace {

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
        snapshot.append(Column{true, column, 0, {}});
    return snapshot;
}

TableHistory::Snapshot TableHistory::against(const TableData& table, const TableData& next)
{
    Snapshot snapshot;
    snapshot.reserve(table.size());
    for (qsizetype c = 0; c < table.size(); ++c) {
        const QStringList& column = table.at(c);
        if (c >= next.size()) {
            snapshot.append(Column{true, column, 0, {}});
            continue;
        }
        const QStringList& other = next.at(c);
        Column entry{false, {}, column.size(), {}};
        if (column.size() == other.size() && column.constData() == other.constData()) {
            snapshot.append(entry);
            continue;
        }
        // Past an eighth of the column a difference costs more than the column itself.
        const qsizetype limit = qMax<qsizetype>(16, column.size() / 8);
        for (qsizetype r = 0; r < column.size(); ++r) {
            const QString& s = column.at(r);
            if (r < other.size() ? sameString(s, other.at(r)) : s.isEmpty())
                continue;
            if (entry.cells.size() >= limit) {
                entry = Column{true, column, 0, {}};
                break;
            }
            entry.cells.append({r, s});
        }
        snapshot.append(entry);
    }
    return snapshot;
}

QStringList TableHistory::column(qsizetype i, qsizetype c) const
{
    // Walk forward to the first snapshot holding the column whole (the newest always does),
    // then step back applying the differences.
    qsizetype j = i;
    while (!m_snapshots[j][c].isWhole)
        ++j;
    // Resize and write only where needed, so an unchanged column stays shared.
    QStringList out = m_snapshots[j][c].whole;
    for (qsizetype k = j - 1; k >= i; --k) {
        const Column& entry = m_snapshots[k][c];
        if (out.size() != entry.length)
            out.resize(entry.length);
        for (const auto& cell : entry.cells)
            out[cell.first] = cell.second;
    }
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
    for (qsizetype c = 0; c < m_snapshots[i].size(); ++c)
        table.append(column(i, c));
    m_cachedIndex = i;
    m_cached = table;
    return table;
}

qsizetype TableHistory::push(const TableData& table, qint64 index, bool isNew)
{
    const qsizetype n = m_snapshots.size();
    qsizetype at;
    if (index >= 0 && index < n - 1) {
        // The snapshot at index was stored against the one after it, which goes.
        const TableData current = this->at(index);
        m_snapshots.resize(index + 1);
        m_snapshots[index] = against(current, table);
        m_snapshots.append(whole(table));
        at = index + 1;
    } else if (isNew && n > 0) {
        m_snapshots[0] = n == 1 ? whole(table) : against(table, this->at(1));
        at = 0;
    } else {
        const TableData last = this->at(n - 1);
        m_snapshots[n - 1] = against(last, table);
        m_snapshots.append(whole(table));
        at = n;
    }
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

qsizetype TableHistory::storedCells() const
{
    qsizetype count = 0;
    for (const Snapshot& snapshot : m_snapshots)
        for (const Column& column : snapshot)
            count += column.cells.size();
    return count;
}
