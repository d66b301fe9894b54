#include "document/TableBlock.h"
#include <QRandomGenerator>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Columns written as space-separated cells, "|" between columns, "_" for an empty cell.
TableData T(const QString& text)
{
    TableData table;
    if (text.isEmpty())
        return table;
    for (const QString& column : text.split('|')) {
        QStringList cells;
        for (const QString& cell : column.split(' ', Qt::SkipEmptyParts))
            cells.append(cell == "_" ? QString() : cell);
        table.append(cells);
    }
    return table;
}

QString show(const TableData& table)
{
    QStringList columns;
    for (const QStringList& column : table) {
        QStringList cells;
        for (const QString& cell : column)
            cells.append(cell.isEmpty() ? QStringLiteral("_") : cell);
        columns.append(cells.join(' '));
    }
    return columns.join('|');
}

struct Case {
    const char* name;
    const char* table;
    const char* block;
    int gridColumn;   // 1 = first table column
    int row;
    bool newColumn;
    const char* expected;
    int added;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class BlockWrite : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(BlockWrite, GivesTheExpectedTable)
{
    const Case& c = GetParam();
    const auto result = TableBlock::write(T(c.table), T(c.block), c.gridColumn - 1, c.row, c.newColumn);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(show(result->table), QString(c.expected));
    EXPECT_EQ(result->addedColumns, c.added);
}

// Expected tables worked out by hand from the rules for growing rows and columns and for
// titles.
INSTANTIATE_TEST_SUITE_P(
    Cases, BlockWrite,
    ::testing::Values(
        Case{"typedBelowTable", "a 1 2 3 4|b 5 6 7 8|c 9 9 9 9", "x", 2, 5, false,
             "a 1 2 3 4 _|b 5 6 7 8 x|c 9 9 9 9 _", 0},
        Case{"typedRightOfTableBelowTitle", "a 1 2 3 4|b 5 6 7 8", "x", 3, 3, true,
             "a 1 2 3 4|b 5 6 7 8|Column3 _ _ x _", 1},
        Case{"typedRightOfTableAsTitle", "a 1 2 3 4|b 5 6 7 8", "x", 3, 0, true,
             "a 1 2 3 4|b 5 6 7 8|x _ _ _ _", 1},
        Case{"pasteGrowsRowsAndColumns", "a 1 2|b 3 4", "p 5 6 7|q 8 9 0", 2, 0, true,
             "a 1 2 _|p 5 6 7|q 8 9 0", 1},
        Case{"pasteInsideKeepsSurroundings", "a 1 2 3|b 4 5 6|c 7 8 9", "x|y", 2, 2, false,
             "a 1 2 3|b 4 x 6|c 7 y 9", 0},
        Case{"pasteInsideTwoByTwo", "a 1 2 3|b 4 5 6|c 7 8 9", "x y|z w", 2, 1, false,
             "a 1 2 3|b x y 6|c z w 9", 0},
        Case{"columnsBeyondDroppedWithoutNewColumn", "a 1|b 2", "x|y|z", 2, 1, false, "a 1|b x", 0},
        Case{"newTitlesRepeatingEachOther", "", "A 1|A 2|A 3", 1, 0, true, "A 1|A-1 2|A-2 3", 3},
        Case{"newTitlesWithSuffixAlreadyTaken", "", "A 1|A-1 2|A 3", 1, 0, true, "A 1|A-1 2|A-2 3", 3},
        Case{"secondTitleTakesTheSuffixFirst", "", "A 1|A 2|A-1 3", 1, 0, true, "A 1|A-1 2|A-1-1 3", 3},
        Case{"generatedTitleCollides", "Column2 1", "x", 2, 1, true, "Column2 1|Column2-1 x", 1},
        Case{"emptyTable", "", "t 1 2", 1, 0, true, "t 1 2", 1},
        Case{"emptyTableBelowTitle", "", "t", 1, 0, true, "t", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlockWriteTitles, ExistingColumnsKeepTheirTitles)
{
    // An analysis may use column "Weight": a pasted title equal to it is the one renamed.
    auto r = TableBlock::write(T("Weight 1|Sex m"), T("Weight 5"), 2, 0, true);
    ASSERT_TRUE(r);
    EXPECT_EQ(show(r->table), "Weight 1|Sex m|Weight-1 5");

    // Duplicates that were already there stay as they are.
    r = TableBlock::write(T("A 1|A 2|B 3"), T("9"), 2, 1, false);
    ASSERT_TRUE(r);
    EXPECT_EQ(show(r->table), "A 1|A 2|B 9");

    // Overwriting a title with itself introduces nothing.
    r = TableBlock::write(T("A 1|A 2"), T("A 7"), 1, 0, false);
    ASSERT_TRUE(r);
    EXPECT_EQ(show(r->table), "A 1|A 7");

    // A changed title inside the table is checked against every other column, also right of it.
    r = TableBlock::write(T("A 1|B 2|C 3"), T("C"), 0, 0, false);
    ASSERT_TRUE(r);
    EXPECT_EQ(show(r->table), "C-1 1|B 2|C 3");
}

TEST(BlockWriteTitles, CanonicallyEquivalentTitlesCollide)
{
    const QString composed = QString::fromUtf8("Caf\u00e9");
    const QString decomposed = QString::fromUtf8("Cafe\u0301");
    TableData table{{composed, "1"}};
    const auto r = TableBlock::write(table, TableData{{decomposed, "2"}}, 1, 0, true);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->table[1][0], decomposed + "-1");
}

TEST(BlockWriteRefusals, EmptyBlocksAndBadPositionsChangeNothing)
{
    const TableData table = T("a 1 2|b 3 4");
    EXPECT_FALSE(TableBlock::write(table, TableData{}, 0, 0, true));
    EXPECT_FALSE(TableBlock::write(table, TableData{QStringList{}}, 0, 0, true));
    EXPECT_FALSE(TableBlock::write(table, T("x"), -1, 0, true));
    EXPECT_FALSE(TableBlock::write(table, T("x"), 3, 0, true));    // beyond the extra column
    EXPECT_FALSE(TableBlock::write(table, T("x"), 0, 4, false));   // beyond the extra row
    EXPECT_FALSE(TableBlock::write(table, T("x"), 0, -1, false));
    EXPECT_FALSE(TableBlock::write(table, T("x"), 2, 1, false));   // extra column, no column allowed
}

TEST(BlockWriteRandom, InvariantsHold)
{
    QRandomGenerator rng(12345);
    auto word = [&] { return QString::number(rng.bounded(6)); };
    for (int round = 0; round < 500; ++round) {
        const int C = rng.bounded(5), R = C ? 1 + rng.bounded(5) : 0;
        TableData table(C);
        for (auto& column : table)
            for (int r = 0; r < R; ++r)
                column.append(r == 0 ? QStringLiteral("t") + word() : word());
        const int w = 1 + rng.bounded(3), h = 1 + rng.bounded(4);
        TableData block(w);
        for (auto& column : block)
            for (int r = 0; r < h; ++r)
                column.append(QStringLiteral("t") + word());
        const int c0 = rng.bounded(C + 1), r0 = rng.bounded(R + 1);
        const bool newColumn = c0 + w > C;
        const auto result = TableBlock::write(table, block, c0, r0, newColumn);
        ASSERT_TRUE(result);
        const TableData& out = result->table;
        const int rows = qMax(R, r0 + h), cols = qMax(C, c0 + w);
        ASSERT_EQ(out.size(), cols);
        QSet<QString> titles;
        for (int c = 0; c < cols; ++c) {
            ASSERT_EQ(out[c].size(), rows);
            for (int r = 1; r < rows; ++r) {
                const bool inBlock = c >= c0 && c < c0 + w && r >= r0 && r < r0 + h;
                QString expected;
                if (inBlock)
                    expected = block[c - c0][r - r0];
                else if (c < C && r < R)
                    expected = table[c][r];
                ASSERT_EQ(out[c][r], expected) << round << " " << c << " " << r;
            }
            // Titles of columns the block does not retitle never change.
            if (c < C && !(r0 == 0 && c >= c0 && c < c0 + w)) {
                EXPECT_EQ(out[c][0], table[c][0]);
            }
            titles.insert(out[c][0]);
        }
        // Titles that came with the write are unique against all others.
        for (int c = c0; c < c0 + w; ++c) {
            if (c < C && r0 != 0)
                continue;
            if (c < C && out[c][0] == table[c][0])
                continue;
            for (int d = 0; d < cols; ++d) {
                if (d != c) {
                    EXPECT_NE(out[c][0], out[d][0]) << round;
                }
            }
        }
    }
}
