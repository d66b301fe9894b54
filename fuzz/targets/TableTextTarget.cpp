// Table text from outside: imported files and pasted text (TableTextCodec), and the table
// text of a package (TableText).
#include "FuzzTargets.h"
#include "app/TableTextCodec.h"
#include "document/TableText.h"

namespace fuzz {

namespace {

// The text as it reaches the readers: files and the clipboard are decoded as UTF-8.
QString textOf(const QByteArray& data)
{
    return QString::fromUtf8(data);
}

bool rectangular(const TableData& table)
{
    for (const QStringList& column : table)
        if (column.size() != table.first().size())
            return false;
    return true;
}

bool holdsNull(const TableData& table)
{
    for (const QStringList& column : table)
        for (const QString& cell : column)
            if (cell.contains(QChar(0)))
                return true;
    return false;
}

} // namespace

void runTableText(const QByteArray& data)
{
    const QString text = textOf(data);
    for (const auto blank : {TableTextCodec::BlankLines::Drop, TableTextCodec::BlankLines::KeepBetweenRows}) {
        for (const char* delimiter : {"Tab", "CSV", "Auto"}) {
            const TableData table = TableTextCodec::read(text, QLatin1String(delimiter), blank);
            check(rectangular(table), "an imported table has columns of one length");
            check(!holdsNull(table), "no imported cell holds a null character");
            // What is copied out of the table pastes back as the same cells.
            const QString written = TableTextCodec::write(table);
            check(TableTextCodec::read(written, QStringLiteral("Auto"), blank) == table,
                  "table text reads back as written");
        }
    }

    // The package's table text keeps every row and cell exactly; a table of too many cells
    // is refused.
    const std::optional<TableData> stored = TableText::read(text);
    if (!stored)
        return;
    check(rectangular(*stored), "a stored table has columns of one length");
    check(TableText::read(TableText::write(*stored)) == stored, "a stored table reads back as written");
}

QList<QByteArray> tableTextSeeds()
{
    QList<QByteArray> seeds;
    for (const char* name : {"stats/descriptives.tsv", "stats/normal.tsv", "document/binary.vlbdoc/tableString.txt"})
        seeds.append(fixture(QString::fromLatin1(name)).left(4096));
    seeds.append("Name,Value,Note\r\n\"Smith, J\",1.5,\"said \"\"hi\"\"\"\r\n,,\r\n\"open,2\n");
    seeds.append("\xEF\xBB\xBF" "a\tb\n\"x\ty\"\t\"line\nbreak\"\n\n\tz\t\t\n");
    seeds.append("single\n\"a,b\"\n\"\"\"q\"\n");
    return seeds;
}

} // namespace fuzz
