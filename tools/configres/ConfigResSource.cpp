#include "ConfigResSource.h"

#include "platform/NumberText.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QVector>

namespace {

struct Row {
    int line = 0;
    QString path;          // tab form
    bool hasOrder = false;
    qint64 order = 0;
    QString type2;
    QString minVal, maxVal;
    bool allowEqual = false;
    QStringList steps;     // closure applies
    QStringList paint;     // repaint only
    bool children = false;
    bool all = false;
    bool fixed = false;
    bool reserve = false;
    QString needFix;
    QString shares;        // a sibling that never stands beside this row
    std::optional<QString> title;
    std::optional<QString> tip;
    qint64 mask = 0;
    QVariantList indexes;
};

class Builder {
public:
    std::optional<QVariantMap> run(const QString& source, QString* error);

private:
    bool fail(int line, const QString& why)
    {
        m_error = QStringLiteral("line %1: %2").arg(line).arg(why);
        return false;
    }
    bool parse(const QString& source);
    bool parseField(Row& row, const QString& keyword, const QString& rest, int line);
    bool stepBits(const QStringList& names, int line, qint64* bits);
    qint64 closure(qint64 bits) const;
    bool resolve();
    QVariantMap result() const;

    QHash<QString, qint64> m_bits;
    QStringList m_stepOrder;
    QHash<qint64, qint64> m_after;   // step bit -> bits of the steps that use its results
    QVector<Row> m_rows;
    QHash<QString, int> m_rowIndex;
    QString m_error;
};

QString quoted(const QString& rest, bool* ok)
{
    const QString t = rest.trimmed();
    *ok = t.size() >= 2 && t.startsWith('"') && t.endsWith('"');
    return *ok ? t.mid(1, t.size() - 2) : QString();
}

QString parentPath(const QString& path)
{
    const int cut = path.lastIndexOf('\t');
    return cut < 0 ? QString() : path.left(cut);
}

bool isNumber(const QString& text)
{
    return NumberText::isWholeNumber(text);
}

bool Builder::stepBits(const QStringList& names, int line, qint64* bits)
{
    for (const QString& name : names) {
        if (!m_bits.contains(name))
            return fail(line, QStringLiteral("unknown step \"%1\"").arg(name));
        *bits |= m_bits.value(name);
    }
    return true;
}

qint64 Builder::closure(qint64 bits) const
{
    qint64 done = 0;
    while (bits != done) {
        const qint64 fresh = bits & ~done;
        done = bits;
        for (auto it = m_after.cbegin(); it != m_after.cend(); ++it)
            if (fresh & it.key())
                bits |= it.value();
    }
    return bits;
}

bool Builder::parseField(Row& row, const QString& keyword, const QString& rest, int line)
{
    const QStringList words = rest.split(' ', Qt::SkipEmptyParts);
    if (keyword == "order") {
        bool ok = false;
        row.order = rest.trimmed().toLongLong(&ok);
        row.hasOrder = ok && row.order >= 0;
        return row.hasOrder || fail(line, "order needs a whole number of 0 or more");
    }
    // Fields of one word.
    static const QHash<QString, QString Row::*> oneWord{
        {"type2", &Row::type2}, {"shares", &Row::shares}, {"needFix", &Row::needFix}};
    if (oneWord.contains(keyword)) {
        if (words.size() != 1)
            return fail(line, keyword + " needs one word");
        row.*oneWord.value(keyword) = words.first();
        return true;
    }
    if (keyword == "bounds") {
        static const QRegularExpression form(R"(^([\(\[])\s*([^,\s]+)\s*,\s*([^,\s]+)\s*([\)\]])$)");
        const auto m = form.match(rest.trimmed());
        if (!m.hasMatch() || (m.captured(1) == "(") != (m.captured(4) == ")"))
            return fail(line, "bounds are written (a, b) or [a, b]: one flag allows both ends");
        row.allowEqual = m.captured(1) == "[";
        row.minVal = m.captured(2) == "-" ? QString() : m.captured(2);
        row.maxVal = m.captured(3) == "-" ? QString() : m.captured(3);
        if ((!row.minVal.isEmpty() && !isNumber(row.minVal)) || (!row.maxVal.isEmpty() && !isNumber(row.maxVal)))
            return fail(line, "a bound is a number or -");
        if (!row.minVal.isEmpty() && !row.maxVal.isEmpty()
            && NumberText::doubleValue(row.minVal) >= NumberText::doubleValue(row.maxVal))
            return fail(line, "the lower bound must lie below the upper one");
        return true;
    }
    if (keyword == "steps" || keyword == "paint") {
        for (const QString& w : words) {
            qint64 unused = 0;
            if (keyword == "steps" && w == "children")
                row.children = true;
            else if (keyword == "steps" && w == "all")
                row.all = true;
            else if (!stepBits({w}, line, &unused))
                return false;
            else
                (keyword == "steps" ? row.steps : row.paint) << w;
        }
        return true;
    }
    if (keyword == "fixed" || keyword == "reserve") {
        if (!rest.trimmed().isEmpty())
            return fail(line, keyword + " takes nothing after it");
        (keyword == "fixed" ? row.fixed : row.reserve) = true;
        return true;
    }
    if (keyword == "title" || keyword == "tip") {
        bool ok = false;
        const QString text = quoted(rest, &ok);
        if (!ok)
            return fail(line, keyword + " needs a text between double quotes");
        (keyword == "title" ? row.title : row.tip) = text;
        return true;
    }
    return fail(line, QStringLiteral("unknown field \"%1\"").arg(keyword));
}

bool Builder::parse(const QString& source)
{
    const QStringList lines = source.split('\n');
    Row* row = nullptr;
    for (int i = 0; i < lines.size(); ++i) {
        const int line = i + 1;
        const QString raw = lines[i];
        const QString t = raw.trimmed();
        if (t.isEmpty() || t.startsWith('#'))
            continue;
        const bool indented = raw.front().isSpace();
        const int space = t.indexOf(' ');
        const QString keyword = space < 0 ? t : t.left(space);
        const QString rest = space < 0 ? QString() : t.mid(space + 1);
        if (indented) {
            if (!row)
                return fail(line, "a field outside a row");
            if (!parseField(*row, keyword, rest, line))
                return false;
            continue;
        }
        row = nullptr;
        if (keyword == "step") {
            const QStringList w = rest.split(' ', Qt::SkipEmptyParts);
            bool ok = w.size() == 2;
            const qint64 bit = ok ? w[1].toLongLong(&ok, 0) : 0;
            // One bit each; bit 63 would make the signed test "AND > 0" fail.
            if (!ok || bit <= 0 || (bit & (bit - 1)) != 0)
                return fail(line, "a step is a name and one bit below bit 63");
            if (m_bits.contains(w[0]) || m_bits.key(bit, QString()) != QString())
                return fail(line, QStringLiteral("step \"%1\" or its bit is given twice").arg(w[0]));
            m_bits.insert(w[0], bit);
            m_stepOrder << w[0];
        } else if (keyword == "after") {
            const int colon = rest.indexOf(':');
            if (colon < 0)
                return fail(line, "after needs \"step: steps\"");
            qint64 from = 0, to = 0;
            if (!stepBits({rest.left(colon).trimmed()}, line, &from)
                || !stepBits(rest.mid(colon + 1).split(' ', Qt::SkipEmptyParts), line, &to))
                return false;
            m_after[from] |= to;
        } else if (keyword == "row") {
            Row r;
            r.line = line;
            r.path = ConfigResSource::keyPath(rest.trimmed());
            if (m_rowIndex.contains(r.path))
                return fail(line, "the row is given twice");
            const bool isRoot = rest.trimmed() == "(root)";
            if (!isRoot && r.path.isEmpty())
                return fail(line, "an empty key path; the root is written (root)");
            if (!isRoot && !m_rowIndex.contains(parentPath(r.path)))
                return fail(line, "the row's parent (or the root) must come before it");
            m_rowIndex.insert(r.path, m_rows.size());
            m_rows.append(r);
            row = &m_rows.last();
        } else {
            return fail(line, QStringLiteral("unknown line \"%1\"").arg(keyword));
        }
    }
    return true;
}

bool Builder::resolve()
{
    if (!m_rowIndex.contains(QString()))
        return fail(1, "the root row (root) is missing");
    qint64 every = 0;
    for (qint64 bit : std::as_const(m_bits))
        every |= bit;

    QHash<QString, QHash<qint64, int>> orders;   // parent -> order -> row
    QVector<qint64> direct(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i) {
        Row& r = m_rows[i];
        if (!r.title || !r.tip || r.tip->isEmpty())
            return fail(r.line, "every row needs a title and a tip");
        qint64 reads = 0, paint = 0;
        if (!stepBits(r.steps, r.line, &reads) || !stepBits(r.paint, r.line, &paint))
            return false;
        direct[i] = (r.all ? every : closure(reads)) | paint;

        if (r.path.isEmpty())
            continue;
        const bool element = r.path.endsWith('\t');
        const QString parent = parentPath(r.path);
        if (element) {
            if (r.hasOrder && r.order != 0)
                return fail(r.line, "an array element has no order of its own");
        } else {
            if (!r.hasOrder)
                return fail(r.line, "the row needs an order");
            auto& taken = orders[parent];
            if (taken.contains(r.order)) {
                const Row& other = m_rows[taken.value(r.order)];
                const QString key = r.path.mid(parent.isEmpty() ? 0 : parent.size() + 1);
                const QString otherKey = other.path.mid(parent.isEmpty() ? 0 : parent.size() + 1);
                if (r.shares != otherKey && other.shares != key)
                    return fail(r.line, QStringLiteral("order %1 is taken by line %2").arg(r.order).arg(other.line));
            }
            taken.insert(r.order, i);
        }
        const Row& p = m_rows[m_rowIndex.value(parent)];
        r.indexes = p.indexes;
        r.indexes << (element ? qint64(0) : r.order);
    }

    for (int i = 0; i < m_rows.size(); ++i) {
        Row& r = m_rows[i];
        r.mask = direct[i];
        if (!r.children)
            continue;
        const QString prefix = r.path.isEmpty() ? QString() : r.path + '\t';
        for (int j = 0; j < m_rows.size(); ++j)
            if (j != i && m_rows[j].path.startsWith(prefix))
                r.mask |= direct[j];
    }
    return true;
}

QVariantMap Builder::result() const
{
    QVariantMap steps;
    for (const QString& name : m_stepOrder)
        steps.insert(name, m_bits.value(name));
    QVariantMap outline, strings;
    for (const Row& r : m_rows) {
        outline.insert(r.path, QVariantMap{
                                   {"needFix", r.needFix},
                                   {"changeable", !r.fixed},
                                   {"setIndex", r.mask},
                                   {"indexes", r.indexes},
                                   {"type2", r.type2},
                                   {"allowEqual", r.allowEqual},
                                   {"dotReserve", r.reserve},
                                   {"minVal", r.minVal},
                                   {"maxVal", r.maxVal},
                               });
        strings.insert(r.path, QVariantMap{{"titleRepresent", *r.title}, {"tooltip", *r.tip}});
    }
    return {{"configIndexDict", steps}, {"intoOutlineItem", outline}, {"configResString", strings}};
}

std::optional<QVariantMap> Builder::run(const QString& source, QString* error)
{
    if (parse(source) && resolve())
        return result();
    if (error)
        *error = m_error;
    return std::nullopt;
}

} // namespace

std::optional<QVariantMap> ConfigResSource::build(const QString& source, QString* error)
{
    return Builder().run(source, error);
}

std::optional<QVariantMap> ConfigResSource::buildFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return build(QString::fromUtf8(file.readAll()), error);
}

QString ConfigResSource::keyPath(const QString& written)
{
    if (written == "(root)")
        return QString();
    QStringList keys = written.split('>');
    for (QString& k : keys) {
        k = k.trimmed();
        if (k == "*")
            k.clear();
    }
    return keys.join('\t');
}
