// Every command that changes the table is one undo step: its outcome, its settings and counters
// following their columns, undo back to exactly the state before and redo to the outcome;
// then random runs of commands undone and redone through the same states.
#include "table/TableFixture.h"
#include <QClipboard>
#include <random>

using GridUndo = TableFixture;

namespace {
using F = GridUndo&;

struct Step {
    const char* name;
    TableData table;
    QVector<qint64> counters;   // empty: none in use
    std::function<void(F)> act;
    TableData expected;
    const char* undoText;
};

void paste(F f, qint64 row, qint64 column, const QString& text)
{
    QApplication::clipboard()->setText(text);
    f.select(row, column, row, column);
    f.grid->paste();
}

const TableData abc = TableFixture::abc();

const Step steps[] = {
    {"SortAscending", table("b,1 | ab,2 | a,3 | B,4"), {0, 2, 0, 0}, [](F f) { f.grid->sortColumns(1); },
     table("B,4 | a,3 | ab,2 | b,1"), "Undo Sort Columns"},
    {"SortDescending", table("a,1 | B,2 | b,3"), {0, 1, 0}, [](F f) { f.grid->sortColumns(0); },
     table("b,3 | a,1 | B,2"), "Undo Sort Columns"},
    {"HeaderDragReorders", table("w,0 | x,1 | y,2 | z,3"), {0, 0, 1, 0},
     [](F f) { f.grid->horizontalHeader()->moveSection(3, 1); }, table("y,2 | w,0 | x,1 | z,3"), "Undo Reorder Columns"},
    {"DeleteHeaderClickedColumns", table("w,0 | x,1 | y,2 | z,3"), {0, 0, 0, 1},
     [](F f) { f.click(0, 0); f.clickHeader(3); f.clickHeader(2, Qt::ShiftModifier); f.doc->tableWindowCont->deleteColumns(); },
     table("w,0 | z,3"), "Undo Delete Columns"},
    {"DeleteColumnsRightToLeft", table("w,0 | x,1 | y,2 | z,3"), {},
     [](F f) { f.select(0, 3, 1, 2); f.grid->deleteColumns(); }, table("w,0 | z,3"), "Undo Delete Columns"},
    {"DeleteRowsUpwards", table("a,1,2,3,4 | b,5,6,7,8"), {},
     [](F f) { f.select(3, 1, 2, 2); f.grid->deleteRows(); }, table("a,1,4 | b,5,8"), "Undo Delete Rows"},
    {"DeleteRowsEmptyInUsedColumns", table("a,1,2,3,4,5 | b,p,,,,q"), {0, 1},
     [](F f) { f.select(2, 1, 4, 2); f.grid->deleteRows(); }, table("a,1,5 | b,p,q"), "Undo Delete Rows"},
    // The grid's own copy keeps empty cells at the ends of rows and commas inside one column.
    {"OwnCopyPastesBackExactly", {{"t", "a,b", "", "c"}, {"u", "", "", ""}, {"v", "1", "2", "3"}}, {},
     [](F f) { f.select(1, 1, 3, 2); f.grid->copy(); f.select(1, 3, 1, 3); f.grid->paste(); },
     {{"t", "a,b", "", "c"}, {"u", "", "", ""}, {"v", "a,b", "", "c"}, {"Column4", "", "", ""}}, "Undo Paste"},
    // A leading empty line is an empty first row, as in the copied block.
    {"PasteKeepsLeadingEmptyLines", abc, {}, [](F f) { paste(f, 1, 2, "\nP\n"); }, table("a,1,2,3 | b,,P,z | c,,q,"),
     "Undo Paste"},
    {"PastedTitleMadeUniqueWithoutRenamingOthers", abc, {}, [](F f) { paste(f, 0, 1, "c\n5"); },
     table("c-1,5,2,3 | b,x,y,z | c,,q,"), "Undo Paste"},
    {"ImportMergesFromTheSelectedCell", abc, {}, [](F f) { f.select(2, 2, 2, 2); f.import("P\tQ\nR\tS"); },
     table("a,1,2,3 | b,x,P,R | c,,Q,S"), "Undo Import Table"},
    // Tabs and line breaks would break the tabbed copy and the stored table text.
    {"TypedInTheEditorKeptOnOneLine", abc, {}, [](F f) { EXPECT_TRUE(f.type(1, 1, "a\tb\nc\r\nd")); },
     table("a,a b c d,2,3 | b,x,y,z | c,,q,"), "Undo Input"},
    {"TypedIntoTheExtraRowAndColumn", abc, {},
     [](F f) { f.grid->tableViewSetObjectValue(QStringLiteral("corner"), "4", 4); },
     table("a,1,2,3, | b,x,y,z, | c,,q,, | Column4,,,,corner"), "Undo Input"},
};
}

TEST_F(GridUndo, EachCommandIsOneStepThatUndoesAndRedoes)
{
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        load(step.table, step.counters);
        ColumnSettings widths;   // that tell columns apart
        for (qsizetype k = 0; k < step.table.size(); ++k)
            widths.append({{"width", QString::number(60 + k)}});
        setWidths(widths);
        select(0, 0, 0, 0);
        undo()->clear();
        const TableState before = state();
        const QStringList titlesBefore = doc->variables;
        step.act(*this);
        EXPECT_EQ(alerts(), QStringList());
        EXPECT_EQ(doc->tableData, step.expected);
        EXPECT_EQ(undo()->stack()->count(), 1);
        EXPECT_EQ(undo()->undoText(), step.undoText);
        ASSERT_NO_FATAL_FAILURE(checkInLine());
        // A column's settings and counter follow its title; new columns get the defaults.
        for (qsizetype k = 0; k < doc->variables.size(); ++k) {
            SCOPED_TRACE(doc->variables[k].toStdString());
            if (const qsizetype was = titlesBefore.indexOf(doc->variables[k]); was >= 0) {
                EXPECT_EQ(doc->columnSettings[k], before.settings[was]);
                EXPECT_EQ(doc->columnCounter[k], before.counter[was]);
            } else if (k >= before.table.size()) {
                EXPECT_EQ(doc->columnSettings[k], delegate->defaultColumnSettings);
                EXPECT_EQ(doc->columnCounter[k], 0);
            }
        }
        const TableState after = state();
        undo()->undo();
        EXPECT_EQ(state(), before);
        EXPECT_FALSE(doc->tableWindowCont->window()->isWindowModified());
        undo()->redo();
        EXPECT_EQ(state(), after);
        ASSERT_NO_FATAL_FAILURE(checkInLine());
    }
}

TEST_F(GridUndo, RandomCommandsUndoAndRedoThroughTheSameStates)
{
    std::mt19937 rng(4242);
    auto pick = [&rng](qint64 lo, qint64 hi) { return std::uniform_int_distribution<qint64>(lo, hi)(rng); };
    for (int run = 0; run < 8; ++run) {
        load(abc(), {0, 0, run % 2});
        undo()->clear();
        QVector<TableState> states{state()};
        for (int step = 0; step < 25; ++step) {
            const qint64 R = doc->tableMatrix.row, C = doc->tableMatrix.column;
            const int before = undo()->stack()->count();
            const std::function<void()> commands[] = {
                [&] { grid->tableViewSetObjectValue(QStringLiteral("v%1").arg(pick(0, 5)), QString::number(pick(1, C + 1)), pick(0, R)); },
                [&] { paste(*this, pick(0, R), pick(1, C + 1), QStringLiteral("p%1\tq\n\nr,s\n").arg(step)); },
                [&] { if (C >= 2) grid->horizontalHeader()->moveSection(int(pick(1, C)), int(pick(1, C))); },
                [&] { if (C >= 1) { const qint64 k = pick(1, C); select(0, k, R - 1, k); grid->deleteColumns(); } },
                [&] { if (R > 2) { const qint64 r = pick(1, R - 1); select(r, 1, r, C); grid->deleteRows(); } },
                [&] { if (C >= 1) grid->horizontalHeader()->resizeSection(int(pick(1, C)), int(pick(30, 200))); },
            };
            commands[pick(0, 5)]();
            if (undo()->stack()->count() != before)
                states.append(state());
            ASSERT_NO_FATAL_FAILURE(checkInLine());
        }
        for (qsizetype i = states.size() - 1; i > 0; --i) {
            ASSERT_EQ(state(), states.at(i)) << "run " << run << " step " << i;
            undo()->undo();
            ASSERT_NO_FATAL_FAILURE(checkInLine());
        }
        ASSERT_EQ(state(), states.first());
        EXPECT_FALSE(doc->isTableEdited());
        while (undo()->canRedo())
            undo()->redo();
        ASSERT_EQ(state(), states.last());
        ASSERT_NO_FATAL_FAILURE(checkInLine());
    }
}
