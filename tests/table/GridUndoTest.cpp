// Random runs of grid commands: undoing every step walks back through exactly the states the
// commands went through, and redoing them all comes back to the last one.
#include "table/TableFixture.h"
#include <QClipboard>
#include <QPushButton>
#include <random>

namespace {
struct State {
    TableData table;
    ColumnSettings settings;
    QVector<qint64> counter;
    QVariantMap rows;
    bool operator==(const State&) const = default;
};

void PrintTo(const State& s, std::ostream* os)
{
    for (const QStringList& c : s.table)
        *os << "[" << c.join(',').toStdString() << "]";
    *os << " widths";
    for (const QVariantMap& m : s.settings)
        *os << " " << m.value("width").toString().toStdString();
    *os << " counters";
    for (qint64 n : s.counter)
        *os << " " << n;
    *os << " heights " << s.rows.value("titleRowHeight").toString().toStdString() << "/"
        << s.rows.value("dataRowHeight").toString().toStdString();
}
}

class GridUndo : public TableFixture {
public:
    State state() const { return {doc->tableData, doc->columnSettings, doc->columnCounter, doc->tableRowSettings}; }
    void checkGrid()
    {
        ASSERT_EQ(grid->tableModel()->columnCount(), doc->tableMatrix.column + 2);
        ASSERT_EQ(grid->tableModel()->rowCount(), doc->tableMatrix.row + 1);
        for (qint64 k = 1; k <= doc->tableMatrix.column; ++k)
            ASSERT_EQ(cell(0, k), doc->variables.at(k - 1));
    }
};

TEST_F(GridUndo, RandomCommandsUndoAndRedoThroughTheSameStates)
{
    std::mt19937 rng(4242);
    auto pick = [&rng](qint64 lo, qint64 hi) { return std::uniform_int_distribution<qint64>(lo, hi)(rng); };
    for (int run = 0; run < 8; ++run) {
        load({{"a", "1", "2", "3"}, {"b", "x", "y", "z"}, {"c", "", "q", ""}}, {0, 0, run % 2});
        undo()->clear();
        QVector<State> states{state()};
        for (int step = 0; step < 25; ++step) {
            const qint64 R = doc->tableMatrix.row;
            const qint64 C = doc->tableMatrix.column;
            const int before = undo()->stack()->count();
            switch (pick(0, 8)) {
            case 0:
            case 1:
                grid->tableViewSetObjectValue(QStringLiteral("v%1").arg(pick(0, 5)), QString::number(pick(1, C + 1)), pick(0, R));
                break;
            case 2:
                QApplication::clipboard()->setText(QStringLiteral("p%1\tq\n\nr,s\n").arg(step));
                select(pick(0, R), pick(1, C + 1), 0, 0);
                grid->setSelectingCells({grid->selectingCells().row1, grid->selectingCells().column1,
                                         grid->selectingCells().row1, grid->selectingCells().column1});
                grid->paste();
                break;
            case 3:
                grid->sortColumns(int(pick(0, 1)));
                break;
            case 4:
                if (C >= 2)
                    grid->horizontalHeader()->moveSection(int(pick(1, C)), int(pick(1, C)));
                break;
            case 5: {
                const qint64 k = pick(1, C);
                select(0, k, R - 1, k);
                grid->deleteColumns();
                break;
            }
            case 6:
                if (R > 2) {
                    const qint64 r = pick(1, R - 1);
                    select(r, 1, r, C);
                    grid->deleteRows();
                }
                break;
            case 7:
                if (C >= 1)
                    grid->horizontalHeader()->resizeSection(int(pick(1, C)), int(pick(30, 200)));
                break;
            case 8:
                settingCont->pushScript([&](MySettingController& d) {
                    d.tfDataHeight->setText(QString::number(pick(10, 40)));
                    d.rowOkButton->click();
                });
                grid->rowHeight();
                break;
            }
            if (undo()->stack()->count() != before)
                states.append(state());
            checkGrid();
        }
        scripted.dialogs.alerts.clear();
        for (qsizetype i = states.size() - 1; i > 0; --i) {
            ASSERT_EQ(state(), states.at(i)) << "run " << run << " step " << i;
            undo()->undo();
            checkGrid();
        }
        ASSERT_EQ(state(), states.first());
        EXPECT_FALSE(doc->isTableEdited());
        while (undo()->canRedo())
            undo()->redo();
        ASSERT_EQ(state(), states.last());
        checkGrid();
    }
}
