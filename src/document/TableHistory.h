#pragma once
// Snapshot history of a document's table. Every snapshot reads back as a full table, but only
// the newest snapshot holds its columns whole: an older column is stored as the cells in which
// it differs from the same column one snapshot later. One typed cell in a long table thus
// costs a few bytes per undo step, and the columns it replaced are freed.
#include "app/AppDelegate.h"
#include <QPair>
#include <QVector>

class TableHistory {
public:
    TableHistory();                              // one snapshot: the empty table
    explicit TableHistory(const TableData& first);

    qsizetype size() const { return m_snapshots.size(); }
    // Snapshot i as a full table. The last snapshot read or pushed is kept, so reading it
    // again, or loading a snapshot just pushed, costs nothing.
    TableData at(qsizetype i) const;
    // The push rule of every history (see SnapshotHistory::push); returns the position.
    qsizetype push(const TableData& table, qint64 index, bool isNew);
    // Keeps only snapshot index; index becomes 0.
    void cut(qint64& index);
    // One snapshot, the given table.
    void reset(const TableData& table);

    // Cells held as differences over all snapshots (for tests and benchmarks).
    qsizetype storedCells() const;

private:
    struct Column {
        bool isWhole = true;
        QStringList whole;
        // Otherwise: this column's length and the cells in which it differs from the same
        // column of the next snapshot (cells past that column's end only when not empty).
        qsizetype length = 0;
        QVector<QPair<qsizetype, QString>> cells;
    };
    using Snapshot = QVector<Column>;

    static Snapshot whole(const TableData& table);
    static Snapshot against(const TableData& table, const TableData& next);
    QStringList column(qsizetype i, qsizetype c) const;

    QVector<Snapshot> m_snapshots;
    mutable qsizetype m_cachedIndex = -1;
    mutable TableData m_cached;
};
