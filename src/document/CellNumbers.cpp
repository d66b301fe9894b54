#include "document/CellNumbers.h"

#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace CellNumbers {

namespace {
constexpr qsizetype kBuffer = 96;

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isAsciiSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

bool slow(const QString& cell, double* value, bool whole)
{
    return (!whole || NumberText::isWholeNumber(cell)) && NumberText::scanDouble(cell, value);
}

// The number at the start of the cell; with `whole`, only when nothing but white space
// follows it.
bool read(const QString& cell, double* value, bool whole)
{
    const char16_t* p = reinterpret_cast<const char16_t*>(cell.constData());
    const qsizetype n = cell.size();
    qsizetype i = 0;
    while (i < n && isAsciiSpace(p[i]))
        ++i;
    if (i == n)
        return false;
    if (p[i] >= 0x80)
        // White space of other scripts is skipped too; anything else there starts no number.
        return QChar(p[i]).isSpace() ? slow(cell, value, whole) : false;

    char buffer[kBuffer];
    qsizetype length = 0;
    // Copies [from, to) of the cell, or says the buffer is too small.
    auto copy = [&](qsizetype from, qsizetype to) {
        if (length + (to - from) > kBuffer)
            return false;
        for (qsizetype k = from; k < to; ++k)
            buffer[length++] = char(p[k]);
        return true;
    };
    if (p[i] == u'+' || p[i] == u'-') {
        if (p[i] == u'-')
            buffer[length++] = '-';
        ++i;
    }
    qsizetype start = i;
    while (i < n && isDigit(p[i]))
        ++i;
    qsizetype digits = i - start;
    if (!copy(start, i))
        return slow(cell, value, whole);
    if (i < n && p[i] == u'.') {
        qsizetype j = i + 1;
        while (j < n && isDigit(p[j]))
            ++j;
        // A point counts only with a digit before or after it.
        if (digits + (j - i - 1) > 0) {
            if (!copy(i, j))
                return slow(cell, value, whole);
            digits += j - i - 1;
            i = j;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (p[i] == u'e' || p[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (p[j] == u'+' || p[j] == u'-'))
            ++j;
        const qsizetype firstDigit = j;
        while (j < n && isDigit(p[j]))
            ++j;
        // An exponent counts only when digits follow it.
        if (j > firstDigit) {
            if (!copy(i, j))
                return slow(cell, value, whole);
            i = j;
        }
    }
    if (whole) {
        while (i < n && QChar(p[i]).isSpace())
            ++i;
        if (i < n)
            return false;
    }
    double v = 0;
    const auto result = std::from_chars(buffer, buffer + length, v, std::chars_format::general);
    if (result.ec != std::errc())
        return slow(cell, value, whole);
    if (value)
        *value = v;
    return true;
}

}

bool leadingNumber(const QString& cell, double* value) { return read(cell, value, false); }

bool wholeNumber(const QString& cell, double* value) { return read(cell, value, true); }

QVector<std::optional<double>> numbers(const QStringList& column, qsizetype first, qint64* count)
{
    QVector<std::optional<double>> out;
    qint64 found = 0;
    const qsizetype begin = qMin(first, column.size());
    out.reserve(column.size() - begin);
    for (qsizetype k = begin; k < column.size(); ++k) {
        double value = 0;
        // A number beyond the doubles ("1e400") is no value, as in every statistic.
        if (wholeNumber(column.at(k), &value) && std::isfinite(value)) {
            ++found;
            out.append(value);
        } else {
            out.append(std::nullopt);
        }
    }
    if (count)
        *count = found;
    return out;
}

}
