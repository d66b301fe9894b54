#pragma once
// Snapshot history of a document's table. Every snapshot reads back as a full table, but a
// column that differs from the same column of the snapshot before it in only a few cells is
// stored as those cells over a shared base column, so one typed cell in a long table keeps
// a few bytes per undo step instead of a copy of the column.
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
    // The push rule of every history, see SnapshotHistory::push.
    qsizetype push(const TableData& table, qint64 index, bool isNew);
    // Keeps only snapshot index, stored whole; index becomes 0.
    void cut(qint64& index);
    // One snapshot, the given table.
    void reset(const TableData& table);

    // Cells held as patches over all snapshots (what a test or benchmark can look at).
    qsizetype patchedCells() const;

private:
    struct Column {
        QStringList base;     // the column itself, or the base the cells are laid over
        qsizetype length = -1;   // -1: base is the column; otherwise the patched length
        QVector<QPair<qsizetype, QString>> cells;
    };
    using Snapshot = QVector<Column>;

    static Snapshot whole(const TableData& table);
    static QStringList materialise(const Column& column);
    Column encode(const QStringList& column, const Column& previous, const QStringList* previousWhole) const;

    QVector<Snapshot> m_snapshots;
    mutable qsizetype m_cachedIndex = -1;
    mutable TableData m_cached;
};
