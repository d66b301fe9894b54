#include "document/SnapshotHistory.h"
#include "document/TableHistory.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

TableData edited(QRandomGenerator& rng, TableData table)
{
    const int kind = rng.bounded(4);
    if (kind == 0) {   // one cell (tables here always have a column and a row)
        table[rng.bounded(int(table.size()))][rng.bounded(int(table[0].size()))] = QString::number(rng.bounded(1000));
    } else if (kind == 1) {   // a row more or one less, its cells empty or not
        const qsizetype rows = qMax<qsizetype>(1, table[0].size() + (rng.bounded(2) ? 1 : -1));
        for (auto& column : table)
            column.resize(rows, rng.bounded(2) ? QString() : QStringLiteral("n"));
    } else if (kind == 2) {
        table.append(QStringList(table[0].size(), QStringLiteral("c")));
    } else {
        std::reverse(table.begin(), table.end());
    }
    return table;
}

} // namespace

// Pushes, moves and cuts at random on a TableHistory and on a plain list of full tables
// with the same rules: every snapshot must read back identical.
TEST(TableHistory, BehavesLikeAListOfFullSnapshots)
{
    QRandomGenerator rng(99);
    for (int round = 0; round < 40; ++round) {
        TableData current(3);
        for (auto& column : current)
            for (int r = 0; r < 40; ++r)
                column.append(QString::number(rng.bounded(1000)));
        TableHistory history(current);
        QVector<TableData> model{current};
        qint64 index = 0;
        for (int step = 0; step < 60; ++step) {
            const int action = rng.bounded(10);
            if (action < 6) {
                const TableData next = edited(rng, history.at(index));
                const bool isNew = rng.bounded(8) == 0;
                history.push(next, index, isNew);
                SnapshotHistory::push(model, index, next, isNew);
                if (!isNew || index < model.size() - 1)
                    ++index;
            } else if (action < 9) {
                index = qBound<qint64>(0, index + (rng.bounded(2) ? 1 : -1), model.size() - 1);
            } else {
                qint64 modelIndex = index;
                history.cut(index);
                SnapshotHistory::cut(model, modelIndex);
            }
            ASSERT_EQ(history.size(), model.size());
            index = qMin<qint64>(index, model.size() - 1);
            for (qsizetype i = 0; i < model.size(); ++i)
                ASSERT_EQ(history.at(i), model[i]) << round << " " << step << " " << i;
        }
    }
}

TEST(SnapshotHistory, PushAndCutRules)
{
    // Before, index, isNew, and the history after pushing 7.
    const std::tuple<QVector<int>, qint64, bool, QVector<int>> pushes[] = {
        {{0, 1, 2, 3, 4}, 1, false, {0, 1, 7}},   // redo snapshots go
        {{0}, 0, true, {7}},                      // a new table replaces the only snapshot
    };
    for (auto [h, index, isNew, after] : pushes) {
        SnapshotHistory::push(h, index, 7, isNew);
        EXPECT_EQ(h, after) << index;
    }
    // A cut keeps the current snapshot, or the last one for an index past the end.
    QVector<int> h{0, 1, 2, 3, 4};
    qint64 index = 9;
    SnapshotHistory::cut(h, index);
    EXPECT_EQ(h, QVector<int>{4});
    EXPECT_EQ(index, 0);
}
