#include "DocumentFixture.h"
#include "document/SnapshotHistory.h"
#include "document/TableHistory.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// The push rule written out here from its description, apart from the code's: redo snapshots
// give way to the new one; without any, a new value replaces snapshot 0 and any other is
// appended.
void pushByTheRule(QVector<TableData>& history, qint64 index, const TableData& value, bool isNew)
{
    if (index + 1 < history.size())
        history.erase(history.begin() + index + 1, history.end());
    else if (isNew) {
        history[0] = value;
        return;
    }
    history.append(value);
}

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
                pushByTheRule(model, index, next, isNew);
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

// The four cases of a push, on each of the document's four table histories, against
// histories written out by hand: snapshot k holds the value k, and 7 is pushed.
TEST_F(DocumentFixture, PushesFollowTheirRule)
{
    const struct { int snapshots; qint64 index; bool isNew; QVector<int> after; } cases[] = {
        {3, 2, false, {0, 1, 2, 7}},   // no redo snapshots: appended
        {5, 1, false, {0, 1, 7}},      // after three undos: the redo snapshots go
        {1, 0, true, {7}},             // a new table replaces the only snapshot
        {1, 0, false, {0, 7}},
        {4, 1, true, {0, 1, 7}},       // with redo snapshots isNew changes nothing
        {3, 2, true, {7, 1, 2}},       // without, it replaces snapshot 0, not the current one
    };
    auto table = [](int k) { return TableData{{QString::number(k)}}; };
    auto settings = [](int k) { return ColumnSettings{{{"width", QString::number(k)}}}; };
    auto counter = [](int k) { return QVector<qint64>{k}; };
    auto rows = [](int k) { return QVariantMap{{"k", k}}; };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.snapshots << " snapshots at " << c.index << (c.isNew ? ", new" : ""));
        auto doc = newDocument();
        doc->historyOfTableData.reset(table(0));
        doc->historyOfColumnSettings = {settings(0)};
        doc->historyOfColumnCounter = {counter(0)};
        doc->historyOfTableRowSettings = {rows(0)};
        for (int k = 1; k < c.snapshots; ++k) {
            doc->historyOfTableData.push(table(k), k - 1, false);
            doc->historyOfColumnSettings.append(settings(k));
            doc->historyOfColumnCounter.append(counter(k));
            doc->historyOfTableRowSettings.append(rows(k));
        }
        doc->tableDataIndex = doc->columnSettingsIndex = doc->columnCounterIndex = doc->tableRowSettingIndex = c.index;
        doc->addTableData(table(7), c.isNew);
        doc->addColumnSettings(settings(7), c.isNew);
        doc->addColumnCounter(counter(7), c.isNew);
        doc->addRowSettings(rows(7), c.isNew);

        QVector<int> tables, widths, counters, rowValues;
        for (qsizetype i = 0; i < doc->historyOfTableData.size(); ++i)
            tables << doc->historyOfTableData.at(i)[0][0].toInt();
        for (const ColumnSettings& s : doc->historyOfColumnSettings)
            widths << s[0]["width"].toInt();
        for (const QVector<qint64>& s : doc->historyOfColumnCounter)
            counters << int(s[0]);
        for (const QVariantMap& s : doc->historyOfTableRowSettings)
            rowValues << s["k"].toInt();
        for (const QVector<int>& got : {tables, widths, counters, rowValues})
            EXPECT_EQ(got, c.after);
        // A push moves no index: the caller's undo step does.
        EXPECT_EQ(std::make_pair(doc->tableDataIndex, doc->columnSettingsIndex), std::make_pair(c.index, c.index));
    }
}

TEST(SnapshotHistory, CutKeepsTheCurrentSnapshot)
{
    // The current snapshot stays, or the last one for an index past the end.
    for (const auto& [index, kept] : {std::pair<qint64, int>{3, 3}, {9, 4}}) {
        QVector<int> h{0, 1, 2, 3, 4};
        qint64 i = index;
        SnapshotHistory::cut(h, i);
        EXPECT_EQ(h, QVector<int>{kept});
        EXPECT_EQ(i, 0);
    }
}
