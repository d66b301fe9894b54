#include "document/TableText.h"
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::optional<TableData> readFile(const QByteArray& bytes, QString* error = nullptr)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("tableString.txt"));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    return TableText::readFile(file.fileName(), error);
}

} // namespace

TEST(TableText, ReadsAndWritesStrictly)
{
    EXPECT_EQ(TableText::write({{"t1", "a"}, {"t2", "b"}}), "t1\tt2\na\tb\n");
    EXPECT_EQ(TableText::write({}), "");
    // Commas and carriage returns are cell text; blank lines and empty trailing cells are rows and columns.
    const std::pair<const char*, TableData> cases[] = {
        {"a,b\n1,2\n", {{"a,b", "1,2"}}},
        {"t\tu\t\n\t\t\n1\t\t\n", {{"t", "", "1"}, {"u", "", ""}, {"", "", ""}}},
        {"x\ty\n1\r\n", {{"x", "1\r"}, {"y", ""}}},
        {"\n", {{""}}},
        {"a\n\n", {{"a", ""}}},
        {"a\tb", {{"a"}, {"b"}}},
        {"\xEF\xBB\xBFt\n", {{QChar(0xFEFF) + QString("t")}}},   // a title may begin with a byte-order mark
        {"", {}},
    };
    for (const auto& [text, table] : cases) {
        const QString decoded = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom).decode(text);
        EXPECT_EQ(TableText::read(decoded), table) << text;
        EXPECT_EQ(readFile(text), table) << text;
    }
    // A character of two, three or four bytes cut by the end of the first 4 MB piece after
    // each of its bytes.
    const qsizetype piece = qsizetype(1) << 22;
    for (const QString& character : {QStringLiteral("\u00e9"), QStringLiteral("\u65e5"), QStringLiteral("\U0001F600")}) {
        const QByteArray bytes = character.toUtf8();
        for (qsizetype before = 1; before < bytes.size(); ++before) {
            const QByteArray filler(piece - 2 - before, 'x');
            EXPECT_EQ(readFile("t\n" + filler + bytes + "\n"), (TableData{{"t", QString::fromLatin1(filler) + character}}))
                << bytes.size() << " bytes, " << before << " in the first piece";
        }
    }
}

// Written, then read from text and from a file whose pieces end inside characters, any table
// comes back cell for cell.
TEST(TableText, RandomTablesComeBackWhole)
{
    static const QStringList texts{"", "", "a", "1.5", ",", " ", "\r", "\u00e9", "\u65e5\u672c", "\U0001F600", "\"", QString(QChar(0xFEFF))};
    QRandomGenerator rng(1105);
    for (int round = 0; round < 12; ++round) {
        // Every sixth table is long enough to be read in several pieces.
        const bool pieces = round % 6 == 0;
        const int rows = pieces ? 25000 + rng.bounded(1000) : 1 + rng.bounded(20);
        TableData table(pieces ? 20 : 1 + rng.bounded(6));
        for (QStringList& column : table)
            for (int r = 0; r < rows; ++r)
                column.append(texts[rng.bounded(texts.size())] + texts[rng.bounded(texts.size())]);
        const QString text = TableText::write(table);
        ASSERT_EQ(TableText::read(text), table) << round;
        ASSERT_EQ(readFile(text.toUtf8()), table) << round;
    }
}

// Too many cells for a few bytes, too many bytes, or bytes that are not UTF-8: refused before
// a table is built, with the sizes.
TEST(TableText, RefusesWhatItCannotHold)
{
    QString error;
    const QByteArray wide = QByteArray(20000, '\t') + QByteArray(20000, '\n');
    EXPECT_FALSE(TableText::read(QString::fromLatin1(wide), &error));
    EXPECT_EQ(error.toStdString(), "The document's table is too large: 20,000 rows and 20,001 columns (400,020,000 "
                                   "cells); a table holds at most 25,000,000 cells.");
    error.clear();
    EXPECT_FALSE(readFile(wide, &error));
    EXPECT_TRUE(error.contains("400,020,000 cells"));
    // One row more than a million rows of 25 columns.
    EXPECT_FALSE(TableText::read(QString(QByteArray(24, '\t') + QByteArray(1'000'001, '\n')), &error));
    EXPECT_TRUE(error.contains("(25,000,025 cells)")) << error.toStdString();

    // Sparse files (no disk used) at the byte limit and beside it: one at the limit is read,
    // and its null characters refuse it.
    QTemporaryDir dir;
    const std::string tooLarge = "The document's table text has %1 bytes; this version reads table texts of at most "
                                 "536,870,912 bytes.";
    const std::string unreadable =
        "The document's table text holds a null character (NUL), which a table cannot hold.";
    const struct { qint64 size; std::string error; } sizes[] = {
        {qint64(1) << 30, QString::fromStdString(tooLarge).arg("1,073,741,824").toStdString()},
        {TableText::kMaxBytes + 1, QString::fromStdString(tooLarge).arg("536,870,913").toStdString()},
        {TableText::kMaxBytes, unreadable}, {TableText::kMaxBytes - 1, unreadable}};
    for (const auto& c : sizes) {
        QFile huge(dir.filePath("huge.txt"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(c.size));
        huge.close();
        EXPECT_FALSE(TableText::readFile(huge.fileName(), &error));
        EXPECT_EQ(error.toStdString(), c.error) << c.size;
    }

    for (const QByteArray& bytes : {QByteArray("a\t\xff\n"), QByteArray("a\t\xc3"), QByteArray("\xe6\x97\n")}) {
        EXPECT_FALSE(readFile(bytes, &error));
        EXPECT_EQ(error.toStdString(), "The document's table is missing or is not UTF-8 text.");
    }
}
