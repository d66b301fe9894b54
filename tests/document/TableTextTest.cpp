#include "document/TableText.h"
#include <gtest/gtest.h>

TEST(TableText, ReadsAndWritesStrictly)
{
    EXPECT_EQ(TableText::write({{"t1", "a"}, {"t2", "b"}}), "t1\tt2\na\tb\n");
    EXPECT_EQ(TableText::write({}), "");
    // Commas and carriage returns are cell text; blank lines and empty trailing cells are rows and columns.
    EXPECT_EQ(TableText::read("a,b\n1,2\n"), (TableData{{"a,b", "1,2"}}));
    EXPECT_EQ(TableText::read("t\tu\t\n\t\t\n1\t\t\n"), (TableData{{"t", "", "1"}, {"u", "", ""}, {"", "", ""}}));
    EXPECT_EQ(TableText::read("x\ty\n1\r\n"), (TableData{{"x", "1\r"}, {"y", ""}}));
    EXPECT_EQ(TableText::read(""), TableData{});
}
