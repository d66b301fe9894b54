#pragma once
// The push and cut rules shared by every snapshot history of a document: a list of full
// values plus the index of the current one, kept apart so that the list itself stays a plain
// QVector other subsystems can index.
#include <QVector>
#include <QtGlobal>

class SnapshotHistory {
public:
    // Pushes value after the current index without moving it: redo snapshots are dropped;
    // with none, isNew overwrites snapshot 0 and otherwise the value is appended.
    // Returns the position the value landed at.
    template <class T>
    static qsizetype push(QVector<T>& history, qint64 index, const T& value, bool isNew)
    {
        const qsizetype n = history.size();
        if (index >= 0 && index < n - 1) {
            history.resize(index + 1);
            history.append(value);
            return index + 1;
        }
        if (isNew && n > 0) {
            history[0] = value;
            return 0;
        }
        history.append(value);
        return history.size() - 1;
    }

    // Keeps only the snapshot at index (the current one) and sets index to 0. An index
    // outside the list keeps the last snapshot, so a history is never left empty by a cut.
    template <class T>
    static void cut(QVector<T>& history, qint64& index)
    {
        if (history.isEmpty()) {
            index = 0;
            return;
        }
        const qsizetype keep = (index >= 0 && index < history.size()) ? index : history.size() - 1;
        if (history.size() > 1) {
            T current = history.at(keep);
            history = QVector<T>{current};
        }
        index = 0;
    }

    // True when moving index by delta stays inside the history.
    template <class T>
    static bool canMove(const QVector<T>& history, qint64 index, qint64 delta)
    {
        const qint64 to = index + delta;
        return to >= 0 && to < history.size();
    }
};
