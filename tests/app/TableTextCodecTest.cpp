// Table text to columns and back: the documented cases, quoted fields, random round trips.
#include "app/TableTextCodec.h"

#include <gtest/gtest.h>
#include <QRandomGenerator>

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

struct ReadCase {
    const char* name;
    QString text;
    QString delimiter;
    TableData expected;
};

TEST(TableTextRead, GivesColumns)
{
    const TableData none;
    const ReadCase cases[] = {
        // The documented behaviour.
        {"crlf_auto", u("a\tb\r\nc\td\r\n"), "Auto", {{"a", "c"}, {"b", "d"}}},
        {"trailing_empty_fields", u("a\t\tc\t\t"), "Tab", {{"a"}, {""}, {"c"}}},
        {"separator_line_dropped", u("a\tb\n\t\t\n1\t2"), "Tab", {{"a", "1"}, {"b", "2"}}},
        {"auto_first_line_decides", u("title\n1\t2"), "Auto", {{"title", "1\t2"}}},
        {"only_line_ends", u("\r\n\n\r"), "Auto", none},
        {"lower_case_word", u("a\tb\n"), "tab", none},
        {"ragged_rows", u("a\n1,2,3\n4,5"), "CSV", {{"a", "1", "4"}, {"", "2", "5"}, {"", "3", ""}}},
        // Every line end counts, whatever else the text holds.
        {"mixed_line_ends", u("a\tb\r\nc\td\re\tf\ng\th"), "Tab", {{"a", "c", "e", "g"}, {"b", "d", "f", "h"}}},
        // Quoted fields.
        {"quoted_comma", u("name,score\n\"Smith, John\",3\n"), "CSV", {{"name", "Smith, John"}, {"score", "3"}}},
        {"quoted_line_break", u("a,b\n\"line1\r\nline2\",2\n"), "CSV", {{"a", "line1\r\nline2"}, {"b", "2"}}},
        {"doubled_quote", u("\"say \"\"hi\"\"\",1\n"), "CSV", {{"say \"hi\""}, {"1"}}},
        {"text_after_closing_quote", u("\"ab\"cd,e"), "CSV", {{"abcd"}, {"e"}}},
        {"quote_inside_field_is_plain", u("5\",x\"y\n"), "CSV", {{"5\""}, {"x\"y"}}},
        {"unclosed_quote_is_plain", u("\"abc,d\n1,2"), "CSV", {{"\"abc", "1"}, {"d", "2"}}},
        {"auto_ignores_quoted_tab", u("\"x\ty\",1\n2,3"), "Auto", {{"x\ty", "2"}, {"1", "3"}}},
        // A byte-order mark at the start is not part of the first title.
        {"bom_auto", u("\xEF\xBB\xBF" "a\tb\n1\t2"), "Auto", {{"a", "1"}, {"b", "2"}}},
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(TableTextCodec::read(c.text, c.delimiter), c.expected) << c.name;
}

TEST(TableTextWrite, GivesText)
{
    const struct {
        const char* name;
        TableData columns;
        QString expected;
    } cases[] = {
        {"two_by_two", {{"t1", "a"}, {"t2", "b"}}, "t1\tt2\na\tb\n"},
        {"column_without_elements", {{}}, ""},
        {"rows_of_first_column", {{"t1"}, {"t2", "extra"}}, "t1\tt2\n"},
        {"short_column_gives_empty_fields", {{"t1", "a", "b"}, {"t2"}}, "t1\tt2\na\t\nb\t\n"},
        {"plain_fields_as_they_stand", {{"a,b", "5\"", " x "}, {"c", "d", ""}}, "a,b\tc\n5\"\td\n x \t\n"},
        {"tab_and_line_breaks_quoted", {{"a\tb", "c\nd"}, {"e\rf", "g"}}, "\"a\tb\"\t\"e\rf\"\n\"c\nd\"\tg\n"},
        {"leading_quote_quoted", {{"\"q\"", "x"}, {"y", "z"}}, "\"\"\"q\"\"\"\ty\nx\tz\n"},
        {"single_column_comma_quoted", {{"t", "1,5", "2"}}, "t\n\"1,5\"\n2\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TableTextCodec::write(c.columns).toStdString(), c.expected.toStdString()) << c.name;
}

bool blankRow(const TableData& columns, qsizetype row)
{
    return std::all_of(columns.cbegin(), columns.cend(), [row](const QStringList& c) { return c[row].isEmpty(); });
}

// What reading gives back for any table: rows whose cells are all empty vanish, and so do
// the columns at the right-hand end that are then empty.
TableData normalized(const TableData& columns)
{
    TableData kept(columns.size());
    for (qsizetype r = 0; !columns.isEmpty() && r < columns.front().size(); ++r) {
        if (blankRow(columns, r))
            continue;
        for (qsizetype c = 0; c < columns.size(); ++c)
            kept[c].append(columns[c][r]);
    }
    while (!kept.isEmpty() && std::all_of(kept.back().cbegin(), kept.back().cend(), [](const QString& s) { return s.isEmpty(); }))
        kept.removeLast();
    return kept;
}

QString randomText(QRandomGenerator& random, const QStringList& fragments, int most)
{
    QString text;
    for (int k = random.bounded(0, most + 1); k > 0; --k)
        text += fragments[random.bounded(int(fragments.size()))];
    return text;
}

TEST(TableTextRoundTrip, RandomTablesComeBack)
{
    // Cells mix the characters that matter to the format with ordinary ones.
    const QStringList fragments{"", "a", "7", " ", ",", "\"", "\t", "\n", "\r", "\r\n", "1.5", u("é"), "x y"};
    QRandomGenerator random(20261206);
    for (int trial = 0; trial < 400; ++trial) {
        TableData table(random.bounded(1, 6));
        const int rows = random.bounded(1, 12);
        for (QStringList& column : table) {
            for (int r = 0; r < rows; ++r)
                column.append(randomText(random, fragments, 3));
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
    const QStringList fragments{"a", ",", "\t", "\"", "\"\"", "\r", "\n", " "};
    QRandomGenerator random(7);
    for (int trial = 0; trial < 2000; ++trial) {
        const QString text = randomText(random, fragments, 29);
        for (const char* word : {"Tab", "CSV", "Auto"}) {
            const TableData columns = TableTextCodec::read(text, word);
            for (const QStringList& column : columns)
                ASSERT_EQ(column.size(), columns.front().size()) << text.toStdString();
            ASSERT_EQ(normalized(columns), columns) << text.toStdString();
        }
    }
}

} // namespace
