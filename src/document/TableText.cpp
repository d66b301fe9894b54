#include "document/TableText.h"
#include <QStringView>

QString TableText::write(const TableData& columns)
{
    if (columns.isEmpty() || columns.first().isEmpty())
        return QString();
    const qsizetype rows = columns.first().size();
    qsizetype length = 0;
    for (const QStringList& column : columns)
        for (qsizetype r = 0; r < rows && r < column.size(); ++r)
            length += column.at(r).size() + 1;
    QString text;
    text.reserve(length);
    const qsizetype last = columns.size() - 1;
    for (qsizetype r = 0; r < rows; ++r) {
        for (qsizetype c = 0; c <= last; ++c) {
            const QStringList& column = columns.at(c);
            if (r < column.size())
                text += column.at(r);
            text += (c == last) ? QLatin1Char('\n') : QLatin1Char('\t');
        }
    }
    return text;
}

TableData TableText::read(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringView body(text);
    if (body.endsWith(QLatin1Char('\n')))
        body.chop(1);
    QVector<QList<QStringView>> rows;
    qsizetype width = 0;
    for (QStringView line : body.split(QLatin1Char('\n'))) {
        rows.append(line.split(QLatin1Char('\t')));
        width = qMax(width, rows.last().size());
    }
    TableData columns(width);
    for (QStringList& column : columns)
        column.reserve(rows.size());
    for (const auto& row : rows)
        for (qsizetype c = 0; c < width; ++c)
            columns[c].append(c < row.size() ? row.at(c).toString() : QString());
    return columns;
}
