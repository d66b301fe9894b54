#include "app/TableTextCodec.h"

#include <vector>

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kTab = u'\t';
constexpr char16_t kComma = u',';
constexpr char16_t kByteOrderMark = 0xFEFF;

bool isLineEnd(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

// The quote that closes a quoted field opened at `open`, skipping "" pairs; -1 when the
// text has none. An unclosed quote is then an ordinary character: a stray quote at the
// start of a cell must not swallow the rest of the text.
qsizetype closingQuote(QStringView text, qsizetype open)
{
    qsizetype from = open + 1;
    for (;;) {
        const qsizetype k = text.indexOf(QChar(kQuote), from);
        if (k < 0)
            return -1;
        if (k + 1 < text.size() && text[k + 1] == QChar(kQuote)) {
            from = k + 2;
            continue;
        }
        return k;
    }
}

class Reader {
public:
    Reader(QStringView text, char16_t separator) : m_text(text), m_data(text.utf16()), m_separator(separator) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    // Moves past the next line; its fields, as they stand (trailing empty fields included),
    // go into *fields unless it is null. True when one of them is not empty.
    bool readLine(std::vector<QString>* fields)
    {
        if (fields)
            fields->clear();
        const qsizetype n = m_text.size();
        bool kept = false;
        for (;;) {
            QString* field = nullptr;
            if (fields)
                field = &fields->emplace_back();
            kept = readField(field) || kept;
            if (m_pos < n && m_data[m_pos] == m_separator) {
                ++m_pos;
                continue;
            }
            break;
        }
        if (m_pos < n) {
            if (m_data[m_pos] == u'\r' && m_pos + 1 < n && m_data[m_pos + 1] == u'\n')
                m_pos += 2;
            else
                ++m_pos;
        }
        return kept;
    }

private:
    // Moves past the next field, appending its text to *field unless that is null. True when
    // the field is not empty.
    bool readField(QString* field)
    {
        const qsizetype n = m_text.size();
        bool text = false;
        if (m_pos < n && m_data[m_pos] == kQuote) {
            const qsizetype close = closingQuote(m_text, m_pos);
            if (close >= 0) {
                text = close > m_pos + 1;
                if (field) {
                    field->reserve(close - m_pos - 1);
                    qsizetype from = m_pos + 1;
                    // Between the quotes every quote is one of a "" pair.
                    while (from < close) {
                        const qsizetype k = m_text.indexOf(QChar(kQuote), from);
                        if (k < 0 || k >= close) {
                            field->append(m_text.mid(from, close - from));
                            break;
                        }
                        field->append(m_text.mid(from, k + 1 - from));
                        from = k + 2;
                    }
                }
                m_pos = close + 1;
                // Anything between the closing quote and the separator stays, as written.
            }
        }
        const qsizetype start = m_pos;
        while (m_pos < n && m_data[m_pos] != m_separator && !isLineEnd(m_data[m_pos]))
            ++m_pos;
        if (m_pos > start) {
            text = true;
            if (field)
                field->append(m_text.mid(start, m_pos - start));
        }
        return text;
    }

    QStringView m_text;
    const char16_t* m_data;
    char16_t m_separator;
    qsizetype m_pos = 0;
};

// Tab when the first line splits into two or more fields at tabs, else comma.
char16_t automaticSeparator(QStringView text)
{
    Reader reader(text, kTab);
    std::vector<QString> fields;
    reader.readLine(&fields);
    return fields.size() >= 2 ? kTab : kComma;
}

bool needsQuotes(const QString& field, bool singleColumn)
{
    if (field.isEmpty())
        return false;
    if (field.front() == QChar(kQuote))
        return true;
    for (const QChar c : field) {
        const char16_t u = c.unicode();
        if (u == kTab || isLineEnd(u) || (singleColumn && u == kComma))
            return true;
    }
    return false;
}

void appendQuoted(QString& out, const QString& field)
{
    out.append(QChar(kQuote));
    qsizetype from = 0;
    for (;;) {
        const qsizetype k = field.indexOf(QChar(kQuote), from);
        if (k < 0) {
            out.append(QStringView(field).mid(from));
            break;
        }
        out.append(QStringView(field).mid(from, k + 1 - from));
        out.append(QChar(kQuote));
        from = k + 1;
    }
    out.append(QChar(kQuote));
}

} // namespace

TableData TableTextCodec::read(const QString& text, const QString& delimiter)
{
    QStringView view(text);
    if (!view.isEmpty() && view.front() == QChar(kByteOrderMark))
        view = view.mid(1);

    char16_t separator;
    if (delimiter == QLatin1String("Tab"))
        separator = kTab;
    else if (delimiter == QLatin1String("CSV"))
        separator = kComma;
    else if (delimiter == QLatin1String("Auto"))
        separator = automaticSeparator(view);
    else
        return {};

    // A first pass counts the rows that will be kept, so that every column is sized once.
    qsizetype keptRows = 0;
    for (Reader counter(view, separator); !counter.atEnd();)
        keptRows += counter.readLine(nullptr) ? 1 : 0;

    TableData columns;
    qsizetype rows = 0;
    std::vector<QString> fields;
    Reader reader(view, separator);
    while (!reader.atEnd()) {
        if (!reader.readLine(&fields))
            continue;
        while (fields.back().isEmpty())
            fields.pop_back();
        const qsizetype width = qsizetype(fields.size());
        while (columns.size() < width) {
            columns.append(QStringList(rows, QString()));
            columns.back().reserve(keptRows);
        }
        for (qsizetype c = 0; c < width; ++c)
            columns[c].append(std::move(fields[size_t(c)]));
        for (qsizetype c = width; c < columns.size(); ++c)
            columns[c].append(QString());
        ++rows;
    }
    return columns;
}

QString TableTextCodec::write(const TableData& columns)
{
    if (columns.isEmpty() || columns.front().isEmpty())
        return QString();
    const qsizetype rows = columns.front().size();
    const qsizetype width = columns.size();
    // A single column has no tab on its first line, so it reads back split at commas:
    // its cells with commas are quoted.
    const bool singleColumn = width == 1;

    qsizetype length = rows * width;
    for (const QStringList& column : columns)
        for (qsizetype r = 0; r < rows && r < column.size(); ++r)
            length += column[r].size();
    QString out;
    out.reserve(length + length / 16);

    for (qsizetype r = 0; r < rows; ++r) {
        for (qsizetype c = 0; c < width; ++c) {
            const QStringList& column = columns[c];
            if (r < column.size()) {
                const QString& field = column[r];
                if (needsQuotes(field, singleColumn))
                    appendQuoted(out, field);
                else
                    out.append(field);
            }
            out.append(QChar(c + 1 < width ? kTab : u'\n'));
        }
    }
    return out;
}
