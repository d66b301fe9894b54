// The cell reader of a column's numbers gives what the platform's number reading gives, for
// every cell: a table of edge cases and random cells built from the characters numbers are
// made of. Both read through from_chars, so equal means the same bits. A cell is a value only
// when it is a number as a whole (NumberText::isWholeNumber), so that "0,7" is not 0.
#include "document/CellNumbers.h"
#include "platform/NumberText.h"

#include <QRandomGenerator>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// Same answer and the same bits (-0 and 0 differ) as scanDouble, and as scanDouble limited
// to whole numbers.
::testing::AssertionResult readsAsScanDouble(const QString& cell)
{
    double expected = 12345, actual = 12345;
    const bool expectedFound = NumberText::scanDouble(cell, &expected);
    const bool found = CellNumbers::leadingNumber(cell, &actual);
    if (found != expectedFound || (found && std::memcmp(&expected, &actual, sizeof(double)) != 0))
        return ::testing::AssertionFailure()
               << '"' << cell.toStdString() << "\" read " << found << ' ' << actual << ", expected " << expectedFound
               << ' ' << expected;
    const bool expectedWhole = expectedFound && NumberText::isWholeNumber(cell);
    double whole = 12345;
    const bool foundWhole = CellNumbers::wholeNumber(cell, &whole);
    if (foundWhole != expectedWhole || (foundWhole && std::memcmp(&expected, &whole, sizeof(double)) != 0)
        || (!foundWhole && whole != 12345))
        return ::testing::AssertionFailure() << '"' << cell.toStdString() << "\" read as a whole " << foundWhole << ' '
                                             << whole << ", expected " << expectedWhole << ' ' << expected;
    return ::testing::AssertionSuccess();
}

TEST(CellNumbers, ReadAsThePlatformReadsThem)
{
    const QString longDigits = QString(200, u'7');
    const QStringList cells = {
        "", " ", "\t\n", "0", "-0", "+0", "-0.0", "12", " 3.5", "7kg", "1e2", "1E2", "1e", "1e+", "1e-", "1e+3x",
        "1.5e-3", ".5", "-.5", "+.5", "5.", "-5.e2", ".", "-", "+", "+-5", "--5", "e5", ".e5", "abc", "x12",
        "0x1A", "inf", "-inf", "nan", "infinity", "1,5", "1 000", "00012.500", "1e308", "1e309", "-1e309",
        "1e-320", "1e-400", "-1e-400", "2.2250738585072011e-308", "9007199254740993", "0.1000000000000000055511151231257827",
        longDigits, "-" + longDigits + ".5e-150", "0." + longDigits, "1e" + longDigits, "1e-" + longDigits,
        // White space of other scripts before a number, and other characters that start none.
        QString::fromUtf8("\u00a05"), QString::fromUtf8("\u20035.5"), QString::fromUtf8("\u00855"),
        QString::fromUtf8("\u30005"), QString::fromUtf8("\u00e95"), QString::fromUtf8("\uff15"),
        QString::fromUtf8("5\u00a0"), QString::fromUtf8("\u0665"), QString(QChar(0xd800)) + "5", QString(QChar(0)) + "5",
        "\v\f\r5", QString(QChar(0x1c)) + "5",
        // White space after a number, and what makes a cell more than one.
        " -2.5e3\t\n", QString::fromUtf8("7\u3000"), "7\u00a0x", "1e ", "1e5e", "0,7", "12abc", "0x10", "1 2", "1.5.",
        "1e+5+", longDigits + "x", "1e" + longDigits + " ",
    };
    for (const QString& cell : cells)
        EXPECT_TRUE(readsAsScanDouble(cell));
}

TEST(CellNumbers, RandomCellsReadAsThePlatformReadsThem)
{
    // Mostly number characters, so that most cells are numbers or nearly numbers.
    const QString alphabet = QString::fromUtf8("0123456789012345678901234567890123456789..--++eeEE  \tx\u00a0\u00e9,\u2003");
    QRandomGenerator random(2029);
    for (int n = 0; n < 200000; ++n) {
        QString cell;
        const int length = random.bounded(n % 10 == 0 ? 120 : 14);
        for (int k = 0; k < length; ++k)
            cell += alphabet[random.bounded(alphabet.size())];
        ASSERT_TRUE(readsAsScanDouble(cell));
    }
    // Numbers as the program and users write them.
    for (int n = 0; n < 20000; ++n) {
        const double v = (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-30, 30));
        for (const QString& cell : {QString::number(v, 'g', 17), QString::number(v, 'f', random.bounded(0, 12)),
                                    QString::number(v, 'e', random.bounded(0, 20)), NumberText::realString(v)})
            ASSERT_TRUE(readsAsScanDouble(cell));
    }
}

// A column's values: "-1,6" or "12abc" are no value, not -1 or 12.
TEST(CellNumbers, AColumnHoldsOnlyCellsThatAreNumbersAsAWhole)
{
    qint64 count = -1;
    const QVector<std::optional<double>> values =
        CellNumbers::numbers({"extra", "0.7", "-1,6", " -0.1 ", "3,7", "2.0\t", "12abc", "0x10", "", "1e3", "1e400",
                              "-1e999", "1e-400"}, 1, &count);
    // Beyond the doubles is no value; below them is 0, as the platform reads it.
    const QVector<std::optional<double>> expected = {0.7, {}, -0.1, {}, 2.0, {}, {}, {}, 1000.0, {}, {}, 0.0};
    EXPECT_EQ(values, expected);
    EXPECT_EQ(count, 5);
}

}
