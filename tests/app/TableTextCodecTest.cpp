// Table text to columns and back: line ends, quoted fields, random round trips.
#include "app/TableTextCodec.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

struct ReadCase {
    const char* name;
    QString text;
    QString delimiter;
    TableData expected;
    TableTextCodec::BlankLines blank = TableTextCodec::BlankLines::Drop;
};

TEST(TableTextRead, GivesColumns)
{
    const auto keep = TableTextCodec::BlankLines::KeepBetweenRows;
    const ReadCase cases[] = {
        {"trailing_empty_fields", "a\t\tc\t\t", "Tab", {{"a"}, {""}, {"c"}}},
        {"separator_line_dropped", "a\tb\n\t\t\n1\t2", "Tab", {{"a", "1"}, {"b", "2"}}},
        {"ragged_rows", "a\n1,2,3\n4,5", "CSV", {{"a", "1", "4"}, {"", "2", "5"}, {"", "3", ""}}},
        // Every line end counts, whatever else the text holds.
        {"mixed_line_ends", "a\tb\r\nc\td\re\tf\ng\th", "Tab", {{"a", "c", "e", "g"}, {"b", "d", "f", "h"}}},
        // Quoted fields; a quote that never closes is plain text.
        {"quoted_comma", "name,score\n\"Smith, John\",3\n", "CSV", {{"name", "Smith, John"}, {"score", "3"}}},
        {"quoted_line_break", "a,b\n\"line1\r\nline2\",2\n", "CSV", {{"a", "line1\r\nline2"}, {"b", "2"}}},
        {"doubled_quote", "\"say \"\"hi\"\"\",1\n", "CSV", {{"say \"hi\""}, {"1"}}},
        {"unclosed_quote_is_plain", "\"abc,d\n1,2", "CSV", {{"\"abc", "1"}, {"d", "2"}}},
        // A byte-order mark at the start is not part of the first title.
        {"bom_auto", QString::fromUtf8("\xEF\xBB\xBF" "a\tb\n1\t2"), "Auto", {{"a", "1"}, {"b", "2"}}},
        // No cell holds a null character, which no settings could store.
        {"null_replaced", QString("a") + QChar(0) + "\t" + QChar(0), "Tab", {{QStringLiteral("a\uFFFD")}, {QStringLiteral("\uFFFD")}}},
        // A pasted block keeps blank lines between its rows (and before them) as empty rows.
        {"blank_lines_dropped", "a,b\n\n,\r\n1\n\n", "Auto", {{"a", "1"}, {"b", ""}}},
        {"blank_lines_kept", "a,b\n\n,\r\n1\n\n", "Auto", {{"a", "", "", "1"}, {"b", "", "", ""}}, keep},
        {"leading_blank_lines_kept", "\n\n\t\n1\t2", "Tab", {{"", "", "", "1"}, {"", "", "", "2"}}, keep},
        {"only_blank_lines_kept", "\n\n", "Auto", {}, keep},
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(TableTextCodec::read(c.text, c.delimiter, c.blank), c.expected) << c.name;
}

// A few bytes that would make hundreds of millions of cells are refused before anything is
// built; separators inside quotes only look like columns.
TEST(TableTextRead, RefusesTextsOfTooManyCells)
{
    QString error;
    const QString wide = "a" + QString(20000, u'\t') + "b\n" + QString("x\n").repeated(20000);
    EXPECT_EQ(TableTextCodec::read(wide, "Auto", TableTextCodec::BlankLines::Drop, &error), TableData{});
    EXPECT_EQ(error.toStdString(), "The text is too large: 20,001 rows and 20,001 columns (400,040,001 cells); a table "
                                   "holds at most 25,000,000 cells.");
    error.clear();
    const QString quoted = "\"" + QString(30000, u',') + "\"\n" + QString("x\n").repeated(1000);
    const TableData table = TableTextCodec::read(quoted, "CSV", TableTextCodec::BlankLines::Drop, &error);
    EXPECT_TRUE(error.isEmpty());
    ASSERT_EQ(table.size(), 1);
    EXPECT_EQ(table[0].size(), 1001);
}

// The cell limit at its edge, one below and one above, where rows × columns is exact and
// where the division behind it rounds.
TEST(TableTextRead, CellLimitHoldsAtItsEdge)
{
    const struct { qint64 rows, columns; bool fits; } cases[] = {
        {1'000'000, 25, true}, {999'999, 25, true}, {1'000'001, 25, false},
        {25'000'000, 1, true}, {24'999'999, 1, true}, {25'000'001, 1, false},
        {1, 25'000'000, true}, {1, 25'000'001, false}, {2, 12'500'001, false},
        {3, 8'333'333, true}, {3, 8'333'334, false},   // 24,999,999 and 25,000,002 cells
        {qint64(1) << 40, 0, true}, {0, qint64(1) << 40, true}, {qint64(1) << 40, 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TableTextCodec::fits(c.rows, c.columns), c.fits) << c.rows << " x " << c.columns;
}

// Only fields that would not read back as themselves are quoted.
TEST(TableTextWrite, QuotesOnlyWhereNeeded)
{
    const TableData breaks{{"a\tb", "c\nd"}, {"e\rf", "g"}};
    EXPECT_EQ(TableTextCodec::write(breaks).toStdString(), "\"a\tb\"\t\"e\rf\"\n\"c\nd\"\tg\n");
    // A comma matters only in one column, which could be read as comma-separated text.
    const TableData oneColumn{{"t", "1,5", "2"}};
    EXPECT_EQ(TableTextCodec::write(oneColumn).toStdString(), "t\n\"1,5\"\n2\n");
    // A byte-order mark opening the text is dropped on reading; one that opens the first
    // cell is quoted so the cell keeps it.
    const TableData mark{{QStringLiteral("\uFEFFa"), QStringLiteral("\uFEFFb")}, {"c", "d"}};
    EXPECT_EQ(TableTextCodec::write(mark), QStringLiteral("\"\uFEFFa\"\tc\n\uFEFFb\td\n"));
    EXPECT_EQ(TableTextCodec::read(TableTextCodec::write(mark), "Auto"), mark);
}

TEST(TableTextRoundTrip, RandomTablesComeBack)
{
    // Cells mix the characters that matter to the format with ordinary ones. The first and
    // last columns never hold an empty cell, as reading drops blank rows and a blank last column.
    const QStringList fragments{"a", "7", " ", ",", "\"", "\t", "\n", "\r", "\r\n", "1.5", QString::fromUtf8("é")};
    QRandomGenerator random(20261206);
    for (int trial = 0; trial < 400; ++trial) {
        TableData table(random.bounded(1, 6));
        const int rows = random.bounded(1, 12);
        for (qsizetype c = 0; c < table.size(); ++c) {
            const int fewest = c == 0 || c == table.size() - 1 ? 1 : 0;
            for (int r = 0; r < rows; ++r) {
                QString cell;
                for (int k = random.bounded(fewest, 4); k > 0; --k)
                    cell += fragments[random.bounded(int(fragments.size()))];
                table[c].append(cell);
            }
        }
        ASSERT_EQ(TableTextCodec::read(TableTextCodec::write(table), "Auto"), table) << "trial " << trial;
    }
}

} // namespace
