#include "document/TableBlock.h"
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Columns written as space-separated cells, "|" between columns, "_" for an empty cell.
TableData T(const QString& text)
{
    TableData table;
    if (!text.isEmpty())
        for (const QString& column : text.split('|'))
            table.append(column.split(' ', Qt::SkipEmptyParts).replaceInStrings(QRegularExpression("^_$"), ""));
    return table;
}

QString show(const TableData& table)
{
    QStringList columns;
    for (const QStringList& column : table)
        columns.append(QStringList(column).replaceInStrings(QRegularExpression("^$"), "_").join(' '));
    return columns.join('|');
}

// column: table column of the block's left column, 0-based; row 0: the title row; expected
// nullptr: the write is refused.
struct Case {
    const char* name, *table, *block;
    int column, row;
    bool newColumn;
    const char* expected;
    int added = 0;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class BlockWrite : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(BlockWrite, GivesTheExpectedTable)
{
    const Case& c = GetParam();
    const auto result = TableBlock::write(T(c.table), T(c.block), c.column, c.row, c.newColumn);
    ASSERT_EQ(result.has_value(), c.expected != nullptr);
    if (result) {
        EXPECT_EQ(show(result->table), QString(c.expected));
        EXPECT_EQ(result->addedColumns, c.added);
    }
}

// A write that would make more cells than a table may hold makes nothing and says how large
// the table would be; one that reaches the limit exactly is made.
TEST(BlockWriteLimit, TablesStayWithinTheCellLimit)
{
    const TableData table = T("a 1 2|b 3 4");   // 3 rows, 2 columns
    const auto over = TableBlock::write(table, T("x y"), 2, 2, true, 8);
    ASSERT_TRUE(over && over->tooLarge);
    EXPECT_TRUE(over->table.isEmpty());
    EXPECT_EQ(std::make_pair(over->rows, over->columns), std::make_pair(qsizetype(4), qsizetype(3)));
    const auto at = TableBlock::write(table, T("x y"), 1, 2, true, 8);
    ASSERT_TRUE(at && !at->tooLarge);
    EXPECT_EQ(show(at->table), "a 1 2 _|b 3 x y");
}

// Expected tables worked out by hand from the rules for titles and refusals (where cells
// land is checked over random writes below): only titles the write brings in are made
// unique, existing columns keep theirs.
INSTANTIATE_TEST_SUITE_P(
    Cases, BlockWrite,
    ::testing::Values(
        Case{"columnsBeyondDroppedWithoutNewColumn", "a 1|b 2", "x|y|z", 1, 1, false, "a 1|b x"},
        Case{"newTitlesWithSuffixAlreadyTaken", "", "A 1|A-1 2|A 3", 0, 0, true, "A 1|A-1 2|A-2 3", 3},
        Case{"pastedTitleRenamedNotTheExistingColumn", "Weight 1|Sex m", "Weight 5", 2, 0, true, "Weight 1|Sex m|Weight-1 5", 1},
        Case{"canonicallyEquivalentTitlesCollide", "Caf\u00e9 1", "Cafe\u0301 2", 1, 0, true, "Caf\u00e9 1|Cafe\u0301-1 2", 1},
        Case{"refusedEmptyBlock", "a 1 2|b 3 4", "", 0, 0, true, nullptr},
        Case{"refusedBeyondTheExtraColumn", "a 1 2|b 3 4", "x", 3, 0, true, nullptr},
        Case{"refusedExtraColumnWithoutNewColumn", "a 1 2|b 3 4", "x", 2, 1, false, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlockWriteRandom, InvariantsHold)
{
    QRandomGenerator rng(12345);
    auto words = [&](TableData& table, int rows, bool titled) {
        for (auto& column : table)
            for (int r = 0; r < rows; ++r)
                column.append((titled && r > 0 ? "" : "t") + QString::number(rng.bounded(6)));
    };
    for (int round = 0; round < 500; ++round) {
        const int C = rng.bounded(5), R = C ? 1 + rng.bounded(5) : 0;
        TableData table(C), block(1 + rng.bounded(3));
        words(table, R, true);
        const int w = block.size(), h = 1 + rng.bounded(4);
        words(block, h, false);
        const int c0 = rng.bounded(C + 1), r0 = rng.bounded(R + 1);
        const auto result = TableBlock::write(table, block, c0, r0, c0 + w > C);
        ASSERT_TRUE(result);
        const TableData& out = result->table;
        const int rows = qMax(R, r0 + h), cols = qMax(C, c0 + w);
        ASSERT_EQ(out.size(), cols);
        for (int c = 0; c < cols; ++c) {
            ASSERT_EQ(out[c].size(), rows);
            for (int r = 1; r < rows; ++r) {
                const QString expected = c >= c0 && c < c0 + w && r >= r0 && r < r0 + h ? block[c - c0][r - r0]
                                         : c < C && r < R ? table[c][r]
                                         : QString();
                ASSERT_EQ(out[c][r], expected) << round << " " << c << " " << r;
            }
        }
    }
}
