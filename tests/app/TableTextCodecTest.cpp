#include "app/TableTextCodec.h"

#include <gtest/gtest.h>
#include <QRandomGenerator>

namespace {

struct ReadCase {
    const char* name;
    QString text;
    QString delimiter;
    TableData expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class TableTextReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(TableTextReadTest, GivesColumns)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(TableTextCodec::read(c.text, c.delimiter), c.expected) << c.name;
}

const TableData kNone;

INSTANTIATE_TEST_SUITE_P(Cases, TableTextReadTest, ::testing::Values(
    // The documented behaviour.
    ReadCase{"crlf_auto", u("a\tb\r\nc\td\r\n"), "Auto", {{"a", "c"}, {"b", "d"}}},
    ReadCase{"short_row_filled", u("x\ty\tz\n1\n"), "Tab", {{"x", "1"}, {"y", ""}, {"z", ""}}},
    ReadCase{"trailing_empty_fields", u("a\t\tc\t\t"), "Tab", {{"a"}, {""}, {"c"}}},
    ReadCase{"blank_line_dropped", u("a,b\n\n1,2\n"), "CSV", {{"a", "1"}, {"b", "2"}}},
    ReadCase{"separator_line_dropped", u("a\tb\n\t\t\n1\t2"), "Tab", {{"a", "1"}, {"b", "2"}}},
    ReadCase{"auto_first_line_decides", u("title\n1\t2"), "Auto", {{"title", "1\t2"}}},
    ReadCase{"auto_blank_first_line_is_comma", u("\nx\ty,z\n"), "Auto", {{"x\ty"}, {"z"}}},
    ReadCase{"auto_one_tab_piece_pair", u("a\t\nb,c"), "Auto", {{"a", "b,c"}}},
    ReadCase{"cr_only", u("a,b\r1,2\r"), "CSV", {{"a", "1"}, {"b", "2"}}},
    ReadCase{"empty_text_auto", u(""), "Auto", kNone},
    ReadCase{"empty_text_tab", u(""), "Tab", kNone},
    ReadCase{"only_line_ends", u("\r\n\n\r"), "Auto", kNone},
    ReadCase{"lower_case_word", u("a\tb\n"), "tab", kNone},
    ReadCase{"empty_word", u("a\tb\n"), "", kNone},
    ReadCase{"blanks_kept", u(" a , b \n"), "CSV", {{" a "}, {" b "}}},
    ReadCase{"ragged_rows", u("a\n1,2,3\n4,5"), "CSV", {{"a", "1", "4"}, {"", "2", "5"}, {"", "3", ""}}},
    ReadCase{"inner_empty_kept", u(",x\n"), "CSV", {{""}, {"x"}}},
    // Every line end counts, whatever else the text holds.
    ReadCase{"mixed_line_ends", u("a\tb\r\nc\td\re\tf\ng\th"), "Tab",
             {{"a", "c", "e", "g"}, {"b", "d", "f", "h"}}},
    ReadCase{"lf_then_cr", u("a\n\rb"), "Tab", {{"a", "b"}}},
    // Quoted fields.
    ReadCase{"quoted_comma", u("name,score\n\"Smith, John\",3\n"), "CSV", {{"name", "Smith, John"}, {"score", "3"}}},
    ReadCase{"quoted_comma_auto", u("name,score\n\"Smith, John\",3\n"), "Auto", {{"name", "Smith, John"}, {"score", "3"}}},
    ReadCase{"quoted_tab", u("a\tb\n\"x\ty\"\tz"), "Tab", {{"a", "x\ty"}, {"b", "z"}}},
    ReadCase{"quoted_line_break", u("a,b\n\"line1\r\nline2\",2\n"), "CSV", {{"a", "line1\r\nline2"}, {"b", "2"}}},
    ReadCase{"doubled_quote", u("\"say \"\"hi\"\"\",1\n"), "CSV", {{"say \"hi\""}, {"1"}}},
    ReadCase{"quoted_empty", u("\"\",x\n"), "CSV", {{""}, {"x"}}},
    ReadCase{"text_after_closing_quote", u("\"ab\"cd,e"), "CSV", {{"abcd"}, {"e"}}},
    ReadCase{"quote_inside_field_is_plain", u("5\",x\"y\n"), "CSV", {{"5\""}, {"x\"y"}}},
    ReadCase{"unclosed_quote_is_plain", u("\"abc,d\n1,2"), "CSV", {{"\"abc", "1"}, {"d", "2"}}},
    ReadCase{"auto_ignores_quoted_tab", u("\"x\ty\",1\n2,3"), "Auto", {{"x\ty", "2"}, {"1", "3"}}},
    ReadCase{"quoted_first_field_then_tab", u("\"a,b\"\tc\n1\t2"), "Auto", {{"a,b", "1"}, {"c", "2"}}},
    // A byte-order mark at the start is not part of the first title.
    ReadCase{"bom_auto", u("\xEF\xBB\xBF" "a\tb\n1\t2"), "Auto", {{"a", "1"}, {"b", "2"}}},
    ReadCase{"bom_then_quote", u("\xEF\xBB\xBF\"a,b\",c"), "CSV", {{"a,b"}, {"c"}}},
    ReadCase{"non_ascii", u("Größe,日本\n1,2"), "Auto", {{u("Größe"), "1"}, {u("日本"), "2"}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    TableData columns;
    QString expected;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class TableTextWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(TableTextWriteTest, GivesText)
{
    const WriteCase& c = GetParam();
    EXPECT_EQ(TableTextCodec::write(c.columns), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, TableTextWriteTest, ::testing::Values(
    WriteCase{"two_by_two", {{"t1", "a"}, {"t2", "b"}}, "t1\tt2\na\tb\n"},
    WriteCase{"no_columns", {}, ""},
    WriteCase{"column_without_elements", {{}}, ""},
    WriteCase{"rows_of_first_column", {{"t1"}, {"t2", "extra"}}, "t1\tt2\n"},
    WriteCase{"short_column_gives_empty_fields", {{"t1", "a", "b"}, {"t2"}}, "t1\tt2\na\t\nb\t\n"},
    WriteCase{"plain_fields_as_they_stand", {{"a,b", "5\"", " x "}, {"c", "d", ""}}, "a,b\tc\n5\"\td\n x \t\n"},
    WriteCase{"tab_and_line_breaks_quoted", {{"a\tb", "c\nd"}, {"e\rf", "g"}}, "\"a\tb\"\t\"e\rf\"\n\"c\nd\"\tg\n"},
    WriteCase{"leading_quote_quoted", {{"\"q\"", "x"}, {"y", "z"}}, "\"\"\"q\"\"\"\ty\nx\tz\n"},
    WriteCase{"single_column_comma_quoted", {{"t", "1,5", "2"}}, "t\n\"1,5\"\n2\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// What reading gives back for any table: rows whose cells are all empty vanish, and so do
// the columns at the right-hand end that are then empty.
TableData normalized(const TableData& columns)
{
    const qsizetype rows = columns.isEmpty() ? 0 : columns.front().size();
    TableData kept(columns.size());
    for (qsizetype r = 0; r < rows; ++r) {
        bool blank = true;
        for (const QStringList& column : columns)
            blank = blank && column[r].isEmpty();
        if (blank)
            continue;
        for (qsizetype c = 0; c < columns.size(); ++c)
            kept[c].append(columns[c][r]);
    }
    while (!kept.isEmpty()) {
        bool blank = true;
        for (const QString& cell : kept.back())
            blank = blank && cell.isEmpty();
        if (!blank)
            break;
        kept.removeLast();
    }
    return kept;
}

TEST(TableTextRoundTrip, RandomTablesComeBack)
{
    // Cells mix the characters that matter to the format with ordinary ones.
    const QStringList pieces{"", "a", "7", " ", ",", "\"", "\t", "\n", "\r", "\r\n", "1.5", u("é"), "x y"};
    QRandomGenerator random(20261206);
    for (int trial = 0; trial < 400; ++trial) {
        const int width = random.bounded(1, 6);
        const int rows = random.bounded(1, 12);
        TableData table(width);
        for (QStringList& column : table) {
            for (int r = 0; r < rows; ++r) {
                QString cell;
                const int parts = random.bounded(0, 4);
                for (int p = 0; p < parts; ++p)
                    cell += pieces[random.bounded(int(pieces.size()))];
                column.append(cell);
            }
        }
        const QString text = TableTextCodec::write(table);
        const TableData expected = normalized(table);
        ASSERT_EQ(TableTextCodec::read(text, "Auto"), expected) << "trial " << trial << ": " << text.toStdString();
        ASSERT_EQ(TableTextCodec::read(text, "Tab"), expected) << "trial " << trial;
    }
}

// Any text at all gives a rectangle without blank rows and without a blank last column.
TEST(TableTextRead, AnyTextGivesATable)
{
    const QStringList pieces{"a", ",", "\t", "\"", "\"\"", "\r", "\n", " "};
    QRandomGenerator random(7);
    for (int trial = 0; trial < 2000; ++trial) {
        QString text;
        for (int k = random.bounded(0, 30); k > 0; --k)
            text += pieces[random.bounded(int(pieces.size()))];
        for (const char* word : {"Tab", "CSV", "Auto"}) {
            const TableData columns = TableTextCodec::read(text, word);
            if (columns.isEmpty())
                continue;
            const qsizetype rows = columns.front().size();
            ASSERT_GT(rows, 0);
            bool lastColumnBlank = true;
            for (const QStringList& column : columns)
                ASSERT_EQ(column.size(), rows) << text.toStdString();
            for (qsizetype r = 0; r < rows; ++r) {
                bool blank = true;
                for (const QStringList& column : columns)
                    blank = blank && column[r].isEmpty();
                ASSERT_FALSE(blank) << text.toStdString();
                lastColumnBlank = lastColumnBlank && columns.back()[r].isEmpty();
            }
            ASSERT_FALSE(lastColumnBlank) << text.toStdString();
        }
    }
}

TEST(TableTextRoundTrip, OneColumnWithCommasStaysOneColumn)
{
    const TableData table{{"value", "1,5", "2,25", "3"}};
    EXPECT_EQ(TableTextCodec::read(TableTextCodec::write(table), "Auto"), table);
}

} // namespace
