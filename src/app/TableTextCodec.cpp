#include "app/TableTextCodec.h"
#include "app/TextSlices.h"
#include "stats/VectorState.h"

#include <QLocale>
#include <algorithm>
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

// One field of a line: the text between start and end, or, quoted, the text between its
// quotes (with "" for a quote) followed by whatever stands between the closing quote and
// the separator.
struct Field {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype tailStart = 0;   // quoted only
    qsizetype tailEnd = 0;
    bool quoted = false;

    bool isEmpty() const { return end == start && tailEnd == tailStart; }
};

class Reader {
public:
    Reader(QStringView text, char16_t separator) : m_text(text), m_data(text.utf16()), m_separator(separator) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    // Moves past the next line, its fields (trailing empty ones included) into fields.
    void readLine(std::vector<Field>& fields)
    {
        fields.clear();
        const qsizetype n = m_text.size();
        for (;;) {
            fields.push_back(readField());
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
    }

    // The field's text, cut from the slices' blocks.
    QString text(const Field& f, TextSlices& slices) const
    {
        if (!f.quoted)
            return slices.add(m_text.mid(f.start, f.end - f.start));
        char16_t* out = slices.room(f.end - f.start + f.tailEnd - f.tailStart);
        qsizetype length = 0;
        auto put = [&](qsizetype from, qsizetype to) {
            std::copy(m_data + from, m_data + to, out + length);
            length += to - from;
        };
        // Between the quotes every quote is one of a "" pair.
        for (qsizetype from = f.start; from < f.end;) {
            const qsizetype k = m_text.indexOf(QChar(kQuote), from);
            if (k < 0 || k >= f.end) {
                put(from, f.end);
                break;
            }
            put(from, k + 1);
            from = k + 2;
        }
        put(f.tailStart, f.tailEnd);
        return slices.commit(length);
    }

private:
    Field readField()
    {
        const qsizetype n = m_text.size();
        Field f;
        if (m_pos < n && m_data[m_pos] == kQuote) {
            const qsizetype close = closingQuote(m_text, m_pos);
            if (close >= 0) {
                f.quoted = true;
                f.start = m_pos + 1;
                f.end = close;
                m_pos = close + 1;
                // Anything between the closing quote and the separator stays, as written.
                f.tailStart = m_pos;
                f.tailEnd = m_pos = endOfField(m_pos);
                return f;
            }
        }
        f.start = m_pos;
        f.end = m_pos = endOfField(m_pos);
        return f;
    }

    qsizetype endOfField(qsizetype from) const
    {
        const qsizetype n = m_text.size();
        while (from < n && m_data[from] != m_separator && !isLineEnd(m_data[from]))
            ++from;
        return from;
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
    std::vector<Field> fields;
    reader.readLine(fields);
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

TableData TableTextCodec::read(const QString& givenText, const QString& delimiter, BlankLines blank, QString* error)
{
    // With the vector registers' upper halves left dirty by earlier library code, every
    // copy of a cell paid a state change: reading took three times as long.
    VectorState::clearUpper();
    // A null character is no text: no settings made from such a cell could be saved.
    QString cleaned;
    if (givenText.contains(QChar(0)))
        cleaned = QString(givenText).replace(QChar(0), QChar::ReplacementCharacter);
    const QString& text = cleaned.isNull() ? givenText : cleaned;
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

    // Columns are sized for every line at once: growing them row by row moved blocks of
    // megabytes, each move making the allocator sort through every small block freed so far.
    // The same pass bounds the table: lines by the most separators in one.
    qsizetype lines = 1, separators = 0, widest = 0;
    for (const QChar c : view) {
        if (c == u'\n' || c == u'\r') {
            ++lines;
            separators = 0;
        } else if (c == separator) {
            widest = std::max(widest, ++separators);
        }
    }

    // Each row read, as its fields, its width without empty fields at the end, and the blank
    // lines before it that stay rows.
    auto forEachRow = [&](auto&& row) {
        std::vector<Field> fields;
        qsizetype blankLines = 0;   // since the last row
        for (Reader reader(view, separator); !reader.atEnd();) {
            reader.readLine(fields);
            qsizetype width = qsizetype(fields.size());
            while (width > 0 && fields[size_t(width - 1)].isEmpty())
                --width;
            if (width == 0) {
                ++blankLines;   // a line without text is no row, or not yet
                continue;
            }
            row(reader, fields, width, blank == BlankLines::KeepBetweenRows ? blankLines : 0);
            blankLines = 0;
        }
    };
    // A few bytes of separators and line ends can describe billions of cells: when the bound
    // allows too many, the table is measured before anything is built.
    if (!fits(lines, widest + 1)) {
        qint64 rows = 0, columns = 0;
        forEachRow([&](const Reader&, const std::vector<Field>&, qsizetype width, qsizetype blankRows) {
            rows += blankRows + 1;
            columns = std::max<qint64>(columns, width);
        });
        if (!fits(rows, columns)) {
            if (error)
                *error = tooManyCells(QStringLiteral("The text"), rows, columns);
            return {};
        }
    }

    TableData columns;
    qsizetype rows = 0;
    ColumnSlices slices;
    forEachRow([&](const Reader& reader, const std::vector<Field>& fields, qsizetype width, qsizetype blankRows) {
        for (QStringList& column : columns)
            column.insert(column.size(), blankRows, QString());
        rows += blankRows;
        while (columns.size() < width) {
            columns.append(QStringList(rows, QString()));
            columns.back().reserve(lines);
        }
        for (qsizetype c = 0; c < width; ++c)
            columns[c].append(reader.text(fields[size_t(c)], slices.of(c)));
        for (qsizetype c = width; c < columns.size(); ++c)
            columns[c].append(QString());
        ++rows;
    });
    return columns;
}

QString TableTextCodec::tooManyCells(const QString& what, qint64 rows, qint64 columns)
{
    const QLocale english(QLocale::English);
    return QStringLiteral("%1 is too large: %2 rows and %3 columns (%4 cells); a table holds at most %5 cells.")
        .arg(what, english.toString(rows), english.toString(columns), english.toString(rows * columns),
             english.toString(kMaxCells));
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
                // Reading drops a byte-order mark that opens the text, so a first cell
                // beginning with one is quoted to keep it.
                const bool opensWithMark = r == 0 && c == 0 && field.startsWith(QChar(kByteOrderMark));
                if (opensWithMark || needsQuotes(field, singleColumn))
                    appendQuoted(out, field);
                else
                    out.append(field);
            }
            out.append(QChar(c + 1 < width ? kTab : u'\n'));
        }
    }
    return out;
}
