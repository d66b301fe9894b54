#include "StatsTestData.h"

#include <QFile>
#include <charconv>

std::vector<QStringList> StatsTestData::rows(const QString& fileName)
{
    std::vector<QStringList> out;
    QFile file(QStringLiteral(VLB_TEST_DATA "/stats/") + fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            out.push_back(line.split(QLatin1Char('\t')));
    }
    return out;
}

double StatsTestData::number(const QString& text)
{
    // from_chars ignores the process locale and rounds correctly.
    const QByteArray bytes = text.toLatin1();
    double v = 0.0;
    std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), v);
    return v;
}

std::vector<double> StatsTestData::numbers(const QString& commaSeparated)
{
    std::vector<double> out;
    if (commaSeparated == QLatin1String("-"))
        return out;
    for (const QString& field : commaSeparated.split(QLatin1Char(','), Qt::SkipEmptyParts))
        out.push_back(number(field));
    return out;
}
