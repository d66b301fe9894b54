#include "document/TableText.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(TableText, ReadsAndWritesStrictly)
{
    EXPECT_EQ(TableText::write({{"t1", "a"}, {"t2", "b"}}), "t1\tt2\na\tb\n");
    EXPECT_EQ(TableText::write({}), "");
    // Commas are cell text; blank lines and empty trailing cells are rows and columns.
    EXPECT_EQ(TableText::read("a,b\n1,2\n"), (TableData{{"a,b", "1,2"}}));
    EXPECT_EQ(TableText::read("t\tu\t\n\t\t\n1\t\t\n"), (TableData{{"t", "", "1"}, {"u", "", ""}, {"", "", ""}}));
    EXPECT_EQ(TableText::read("x\ty\n1\n"), (TableData{{"x", "1"}, {"y", ""}}));
    EXPECT_EQ(TableText::read(""), TableData{});
}

TEST(TableText, RoundTripsRandomTables)
{
    QRandomGenerator rng(7);
    const QStringList pieces{"", "", "a", ",", "x,y", " ", "\"q\"", "1.5", "\u00e9", "\U0001F600", "\r"};
    for (int round = 0; round < 100; ++round) {
        const int C = rng.bounded(6), R = 1 + rng.bounded(6);
        TableData table(C);
        for (auto& column : table)
            for (int r = 0; r < R; ++r)
                column.append(pieces[rng.bounded(pieces.size())] + pieces[rng.bounded(pieces.size())]);
        EXPECT_EQ(TableText::read(TableText::write(table)), table) << round;
    }
}
