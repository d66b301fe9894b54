#include "document/TableText.h"
#include "app/TextSlices.h"
#include "platform/PackageFiles.h"
#include "stats/VectorState.h"
#include <QFile>
#include <QLocale>
#include <QStringDecoder>
#include <QStringView>

namespace {

constexpr qsizetype kChunk = qsizetype(1) << 22;

QString grouped(qint64 n) { return QLocale(QLocale::English).toString(n); }

// Rows and widest row of a table text, counted before anything is built: a few bytes of
// tabs and line feeds can describe a table of billions of cells.
class Shape {
public:
    template <class Char>
    void feed(const Char* text, qsizetype n)
    {
        for (qsizetype i = 0; i < n; ++i) {
            if (text[i] == Char('\t')) {
                ++m_tabs;
            } else if (text[i] == Char('\n')) {
                m_columns = std::max(m_columns, m_tabs + 1);
                m_tabs = 0;
                ++m_lineEnds;
            }
        }
        if (n > 0)
            m_endsWithLineEnd = text[n - 1] == Char('\n');
        m_any = m_any || n > 0;
    }
    // The last line counts unless a line feed ends the text.
    qint64 rows() const { return m_any ? m_lineEnds + (m_endsWithLineEnd ? 0 : 1) : 0; }
    qint64 columns() const { return m_any ? std::max(m_columns, m_endsWithLineEnd ? 0 : m_tabs + 1) : 0; }

    bool fits(QString* error) const
    {
        if (TableTextCodec::fits(rows(), columns()))
            return true;
        if (error)
            *error = TableTextCodec::tooManyCells(QStringLiteral("The document's table"), rows(), columns());
        return false;
    }

private:
    qint64 m_tabs = 0;
    qint64 m_columns = 0;
    qint64 m_lineEnds = 0;
    bool m_endsWithLineEnd = false;
    bool m_any = false;
};

// Columns of the counted shape, filled line by line; false when a line does not fit it.
class Builder {
public:
    explicit Builder(const Shape& shape) : m_rows(shape.rows()), m_columns(shape.columns())
    {
        for (QStringList& column : m_columns)
            column.reserve(m_rows);
    }

    bool addLine(QStringView line)
    {
        if (m_added == m_rows)
            return false;
        qsizetype c = 0;
        qsizetype from = 0;
        for (;;) {
            const qsizetype tab = line.indexOf(u'\t', from);
            const QStringView cell = line.mid(from, (tab < 0 ? line.size() : tab) - from);
            if (c == m_columns.size())
                return false;
            // Empty cells stay null: a wide table of empty cells costs no text.
            m_columns[c].append(m_slices.of(c).add(cell));
            ++c;
            if (tab < 0)
                break;
            from = tab + 1;
        }
        for (; c < m_columns.size(); ++c)
            m_columns[c].append(QString());
        ++m_added;
        return true;
    }

    bool complete() const { return m_added == m_rows; }
    TableData take() { return std::move(m_columns); }

private:
    qint64 m_rows;
    qint64 m_added = 0;
    TableData m_columns;
    ColumnSlices m_slices;
};

// The length of the bytes up to the last whole UTF-8 sequence: a piece read from a file may
// end inside a character.
qsizetype wholeCharacters(const QByteArray& bytes)
{
    const qsizetype n = bytes.size();
    for (qsizetype i = n - 1; i >= 0 && i >= n - 4; --i) {
        const uchar b = uchar(bytes[i]);
        if ((b & 0xC0) == 0x80)
            continue;   // a continuation byte
        const qsizetype length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return i + length > n ? i : n;
    }
    return n;
}

template <class T>
std::optional<T> failed(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return std::nullopt;
}

} // namespace

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

std::optional<TableData> TableText::read(QStringView text, QString* error)
{
    VectorState::clearUpper();   // see TableTextCodec::read
    Shape shape;
    shape.feed(text.utf16(), text.size());
    if (!shape.fits(error))
        return std::nullopt;
    Builder builder(shape);
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype end = text.indexOf(u'\n', from);
        builder.addLine(text.mid(from, (end < 0 ? text.size() : end) - from));
        if (end < 0)
            break;
        from = end + 1;
    }
    return builder.take();
}

std::optional<TableData> TableText::readFile(const QString& path, QString* error)
{
    const QString unreadable = QStringLiteral("The document's table is missing or is not UTF-8 text.");
    QFile file;
    if (!PackageFiles::openRegularFile(path, file))
        return failed<TableData>(error, unreadable);
    if (file.size() > kMaxBytes)
        return failed<TableData>(error, QStringLiteral("The document's table text has %1 bytes; this version reads table "
                                                       "texts of at most %2 bytes.")
                                            .arg(grouped(file.size()), grouped(kMaxBytes)));
    Shape shape;
    QByteArray chunk;
    for (;;) {
        chunk = file.read(kChunk);
        if (chunk.isEmpty())
            break;
        // A null character is no text: no settings made from such a cell could be saved.
        if (chunk.contains('\0'))
            return failed<TableData>(error, QStringLiteral("The document's table text holds a null character (NUL), "
                                                           "which a table cannot hold."));
        shape.feed(chunk.constData(), chunk.size());
    }
    if (file.error() != QFileDevice::NoError)
        return failed<TableData>(error, unreadable);
    if (!shape.fits(error))
        return std::nullopt;

    // Decoded piece by piece, and each complete line turned into cells at once.
    VectorState::clearUpper();   // see TableTextCodec::read
    if (!file.seek(0))
        return failed<TableData>(error, unreadable);
    Builder builder(shape);
    // Every piece is whole characters; a byte-order mark at the start is a title's, as
    // written.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString pending;
    QByteArray split;   // the start of a character the last piece cut
    bool fits = true;
    for (;;) {
        const QByteArray piece = file.read(kChunk);
        if (piece.isEmpty())
            break;
        chunk = split + piece;
        const qsizetype whole = wholeCharacters(chunk);
        split = chunk.mid(whole);
        qsizetype from = pending.size();
        pending += decoder.decode(QByteArrayView(chunk).first(whole));
        if (decoder.hasError())
            return failed<TableData>(error, unreadable);
        qsizetype start = 0;
        for (qsizetype end; fits && (end = pending.indexOf(u'\n', from)) >= 0; from = start) {
            fits = builder.addLine(QStringView(pending).mid(start, end - start));
            start = end + 1;
        }
        pending.remove(0, start);
    }
    if (file.error() != QFileDevice::NoError || !split.isEmpty())
        return failed<TableData>(error, unreadable);
    if (!pending.isEmpty())
        fits = fits && builder.addLine(pending);
    if (!fits || !builder.complete())
        return failed<TableData>(error, QStringLiteral("The document's table changed while it was read."));
    return builder.take();
}
