#pragma once
// Rows of the reference tables in tests/data/stats (tab-separated, '#' starts a comment), and
// the normal table every engine of these tests shares.
#include "stats/MyNorm2.h"
#include <QFile>
#include <QStringList>
#include <QVariantList>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

// Exact text to double: from_chars ignores the process locale and rounds correctly.
inline double number(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    double v = 0.0;
    std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), v);
    return v;
}

// "1.5,2,-3" -> {1.5, 2, -3}; "-" -> {}.
inline std::vector<double> numbers(const QString& commaSeparated)
{
    std::vector<double> out;
    for (const QString& field : commaSeparated.split(u',', Qt::SkipEmptyParts))
        if (field != u"-")
            out.push_back(number(field));
    return out;
}

// Calls check on every row of a file, which must hold exactly `count` rows (none if missing).
template <typename Check>
void eachRow(const char* fileName, size_t count, Check check)
{
    QFile file(QStringLiteral(VLB_TEST_DATA "/stats/") + QLatin1String(fileName));
    size_t seen = 0;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        while (!file.atEnd())
            if (const QString line = QString::fromUtf8(file.readLine()).trimmed(); !line.isEmpty() && line[0] != u'#') {
                SCOPED_TRACE(QStringLiteral("%1 row %2").arg(QLatin1String(fileName)).arg(++seen).toStdString());
                check(line.split(u'\t'));
            }
    EXPECT_EQ(seen, count) << fileName;
}

inline MyNorm2& norms()
{
    static MyNorm2 table;   // from the compiled-in resource
    return table;
}
