#include "platform/PropertyList.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include <plist/plist.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <locale.h>
#include <memory>
#include <vector>

namespace {

// libplist recurses once per level of nesting, both when reading and when freeing a tree,
// so depth is checked before a tree is ever built. No real property list comes near this.
constexpr int kMaxDepth = 512;
// A binary property list may refer to one object many times; libplist copies it for every
// reference, so a small file could otherwise expand without bound.
constexpr quint64 kMaxNodes = quint64(1) << 22;

enum class Kind { None, String, Integer, Unsigned, Real, Bool, Data, Array, Dict, Date, Uid };

Kind kindOfValue(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QString: return Kind::String;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::UShort: return Kind::Integer;
    case QMetaType::ULongLong:
    case QMetaType::ULong: return Kind::Unsigned;
    case QMetaType::Double:
    case QMetaType::Float: return Kind::Real;
    case QMetaType::Bool: return Kind::Bool;
    case QMetaType::QByteArray: return Kind::Data;
    case QMetaType::QVariantList:
    case QMetaType::QStringList: return Kind::Array;
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: return Kind::Dict;
    case QMetaType::QDateTime: return Kind::Date;
    default: break;
    }
    if (v.typeId() == qMetaTypeId<PlistUid>())
        return Kind::Uid;
    return Kind::None;
}

// Entries in key order; a QVariantHash is sorted here so both maps write alike.
QVariantMap asMap(const QVariant& v)
{
    if (v.typeId() == QMetaType::QVariantHash) {
        QVariantMap m;
        const QVariantHash h = v.toHash();
        for (auto it = h.begin(); it != h.end(); ++it)
            m.insert(it.key(), it.value());
        return m;
    }
    return v.toMap();
}

const QDateTime& referenceDate()
{
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return date;
}

// ---- XML writer ---------------------------------------------------------------------

void appendIndent(QByteArray& out, int depth)
{
    out.append(QByteArray(depth, '\t'));
}

// False for a text holding a null character, which no property list reads back.
bool appendEscaped(QByteArray& out, const QString& text)
{
    if (text.contains(QChar(0)))
        return false;
    const QByteArray utf8 = text.toUtf8();
    for (char ch : utf8) {
        switch (ch) {
        case '&': out.append("&amp;"); break;
        case '<': out.append("&lt;"); break;
        case '>': out.append("&gt;"); break;
        default: out.append(ch);
        }
    }
    return true;
}

// The shortest of 15, 16 or 17 significant digits that reads back as the same double;
// written without the process locale so a decimal comma never leaks in.
QByteArray realText(double v)
{
    if (std::isnan(v))
        return "nan";
    if (std::isinf(v))
        return v > 0 ? "+infinity" : "-infinity";
    char buffer[64];
    for (int precision = 15; precision <= 17; ++precision) {
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, v,
                                           std::chars_format::general, precision);
        double back = 0;
        std::from_chars(buffer, written.ptr, back);
        if (back == v || precision == 17)
            return QByteArray(buffer, int(written.ptr - buffer));
    }
    return {};
}

// Lines are at most 76 columns counting 8 per tab of indentation, which is capped at 8.
void appendBase64(QByteArray& out, const QByteArray& data, int depth)
{
    const int indent = std::min(depth, 8);
    const int width = 76 - 8 * indent;
    const QByteArray text = data.toBase64();
    for (qsizetype at = 0; at < text.size(); at += width) {
        appendIndent(out, indent);
        out.append(text.mid(at, width));
        out.append('\n');
    }
}

bool writeXml(QByteArray& out, const QVariant& v, int depth)
{
    if (depth > kMaxDepth)
        return false;
    switch (kindOfValue(v)) {
    case Kind::None: return false;
    case Kind::String:
        appendIndent(out, depth);
        out.append("<string>");
        if (!appendEscaped(out, v.toString()))
            return false;
        out.append("</string>\n");
        return true;
    case Kind::Integer:
        appendIndent(out, depth);
        out.append("<integer>" + QByteArray::number(v.toLongLong()) + "</integer>\n");
        return true;
    case Kind::Unsigned:
        appendIndent(out, depth);
        out.append("<integer>" + QByteArray::number(v.toULongLong()) + "</integer>\n");
        return true;
    case Kind::Real:
        appendIndent(out, depth);
        out.append("<real>" + realText(v.toDouble()) + "</real>\n");
        return true;
    case Kind::Bool:
        appendIndent(out, depth);
        out.append(v.toBool() ? "<true/>\n" : "<false/>\n");
        return true;
    case Kind::Data:
        appendIndent(out, depth);
        out.append("<data>\n");
        appendBase64(out, v.toByteArray(), depth);
        appendIndent(out, depth);
        out.append("</data>\n");
        return true;
    case Kind::Date:
        appendIndent(out, depth);
        out.append("<date>" + v.toDateTime().toUTC().toString("yyyy-MM-ddTHH:mm:ssZ").toLatin1()
                   + "</date>\n");
        return true;
    case Kind::Uid: {
        const QVariantMap m{{"CF$UID", qint64(v.value<PlistUid>().value)}};
        return writeXml(out, m, depth);
    }
    case Kind::Array: {
        const QVariantList list = v.toList();
        appendIndent(out, depth);
        if (list.isEmpty()) {
            out.append("<array/>\n");
            return true;
        }
        out.append("<array>\n");
        for (const QVariant& e : list)
            if (!writeXml(out, e, depth + 1))
                return false;
        appendIndent(out, depth);
        out.append("</array>\n");
        return true;
    }
    case Kind::Dict: {
        const QVariantMap map = asMap(v);
        appendIndent(out, depth);
        if (map.isEmpty()) {
            out.append("<dict/>\n");
            return true;
        }
        out.append("<dict>\n");
        // QMap orders keys by UTF-16 code unit, the order the platform writes them in.
        for (auto it = map.begin(); it != map.end(); ++it) {
            appendIndent(out, depth + 1);
            out.append("<key>");
            if (!appendEscaped(out, it.key()))
                return false;
            out.append("</key>\n");
            if (!writeXml(out, it.value(), depth + 1))
                return false;
        }
        appendIndent(out, depth);
        out.append("</dict>\n");
        return true;
    }
    }
    return false;
}

// ---- libplist bridge ----------------------------------------------------------------

struct PlistFree {
    void operator()(plist_t p) const { plist_free(p); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

plist_t toPlist(const QVariant& v, int depth)
{
    if (depth > kMaxDepth)
        return nullptr;
    switch (kindOfValue(v)) {
    case Kind::None: return nullptr;
    case Kind::String:
        // libplist takes C strings: a null character would cut the text.
        if (v.toString().contains(QChar(0)))
            return nullptr;
        return plist_new_string(v.toString().toUtf8().constData());
    case Kind::Integer: return plist_new_uint(uint64_t(v.toLongLong()));
    case Kind::Unsigned: return plist_new_uint(v.toULongLong());
    case Kind::Real: return plist_new_real(v.toDouble());
    case Kind::Bool: return plist_new_bool(v.toBool() ? 1 : 0);
    case Kind::Data: {
        const QByteArray d = v.toByteArray();
        return plist_new_data(d.constData(), uint64_t(d.size()));
    }
    case Kind::Date: {
        const qint64 ms = referenceDate().msecsTo(v.toDateTime());
        const qint64 sec = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
        if (sec < std::numeric_limits<int32_t>::min() || sec > std::numeric_limits<int32_t>::max())
            return nullptr;
        return plist_new_date(int32_t(sec), int32_t((ms - sec * 1000) * 1000));
    }
    case Kind::Uid: return plist_new_uid(v.value<PlistUid>().value);
    case Kind::Array: {
        PlistPtr array(plist_new_array());
        for (const QVariant& e : v.toList()) {
            plist_t item = toPlist(e, depth + 1);
            if (!item)
                return nullptr;
            plist_array_append_item(array.get(), item);
        }
        return array.release();
    }
    case Kind::Dict: {
        PlistPtr dict(plist_new_dict());
        const QVariantMap map = asMap(v);
        for (auto it = map.begin(); it != map.end(); ++it) {
            plist_t item = toPlist(it.value(), depth + 1);
            if (!item)
                return nullptr;
            if (it.key().contains(QChar(0))) {
                plist_free(item);
                return nullptr;
            }
            plist_dict_set_item(dict.get(), it.key().toUtf8().constData(), item);
        }
        return dict.release();
    }
    }
    return nullptr;
}

bool isWideUnsigned(plist_t node)
{
    PlistPtr alone(plist_copy(node));
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(alone.get(), &bytes, &length);
    // The single object follows the 8-byte header; marker 0x14 is a 16-byte integer.
    const bool wide = bytes && length > 8 && uchar(bytes[8]) == 0x14;
    plist_to_bin_free(bytes);
    return wide;
}

bool fromPlist(plist_t node, QVariant& out, QString& problem)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        out = bool(b);
        return true;
    }
    case PLIST_UINT: {
        // libplist hands out every integer as 64 unsigned bits: a negative one comes back
        // two's complement, and so does an unsigned one above the signed range, which only
        // its 16-byte binary form tells apart. Such a value has no qint64 and is refused.
        uint64_t u = 0;
        plist_get_uint_val(node, &u);
        if (u > uint64_t(std::numeric_limits<qint64>::max()) && isWideUnsigned(node)) {
            problem = QStringLiteral("The property list holds an integer that is too large.");
            return false;
        }
        out = qint64(u);
        return true;
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        out = d;
        return true;
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* s = plist_get_string_ptr(node, &length);
        out = QString::fromUtf8(s, qsizetype(length));
        return true;
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* d = plist_get_data_ptr(node, &length);
        out = QByteArray(d, qsizetype(length));
        return true;
    }
    case PLIST_DATE: {
        // libplist hands dates out as 32-bit seconds; one beyond them (before December 1932 or
        // after January 2069) comes back saturated, which shows in the microseconds.
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        if (usec <= -1000000 || usec >= 1000000) {
            problem = QStringLiteral("The property list holds a date out of range.");
            return false;
        }
        out = referenceDate().addMSecs(qint64(sec) * 1000 + usec / 1000);
        return true;
    }
    case PLIST_UID: {
        uint64_t u = 0;
        plist_get_uid_val(node, &u);
        out = QVariant::fromValue(PlistUid{u});
        return true;
    }
    case PLIST_ARRAY: {
        // Walked with an iterator: libplist finds an item by position by counting from the
        // first, which made a 150,000-element binary array take over a minute.
        QVariantList list;
        list.reserve(qsizetype(plist_array_get_size(node)));
        plist_array_iter it = nullptr;
        plist_array_new_iter(node, &it);
        const std::unique_ptr<void, void (*)(void*)> iterOwner(it, free);
        for (;;) {
            plist_t item = nullptr;
            plist_array_next_item(node, it, &item);
            if (!item)
                break;
            QVariant e;
            if (!fromPlist(item, e, problem))
                return false;
            list.append(std::move(e));
        }
        out = std::move(list);
        return true;
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!value) {
                free(key);
                break;
            }
            QVariant e;
            const bool ok = fromPlist(value, e, problem);
            if (ok)
                map.insert(QString::fromUtf8(key), e);
            free(key);
            if (!ok) {
                free(it);
                return false;
            }
        }
        free(it);
        out = map;
        return true;
    }
    default:
        problem = QStringLiteral("The property list holds a value of an unknown kind.");
        return false;
    }
}

// ---- guards in front of libplist's readers ------------------------------------------

quint64 readBigEndian(const uchar* p, int size)
{
    quint64 v = 0;
    for (int i = 0; i < size; ++i)
        v = (v << 8) | p[i];
    return v;
}

// Walks the object graph of a binary property list without building it: every offset and
// reference in range, no cycles, bounded depth and bounded size once references are
// expanded. Returns an error sentence, or an empty string when the data is safe to parse.
class BinaryGuard {
public:
    explicit BinaryGuard(const QByteArray& data)
        : m_bytes(reinterpret_cast<const uchar*>(data.constData())), m_size(quint64(data.size()))
    {}

    QString check()
    {
        if (m_size < 8 + 32)
            return damaged();
        const uchar* trailer = m_bytes + m_size - 32;
        m_offsetSize = trailer[6];
        m_refSize = trailer[7];
        m_count = readBigEndian(trailer + 8, 8);
        const quint64 top = readBigEndian(trailer + 16, 8);
        m_tableOffset = readBigEndian(trailer + 24, 8);
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8)
            return damaged();
        const quint64 end = m_size - 32;
        if (m_count == 0 || top >= m_count || m_tableOffset < 8 || m_tableOffset > end
            || m_count > (end - m_tableOffset) / m_offsetSize)
            return damaged();
        m_state.assign(m_count, 0);
        m_height.assign(m_count, 0);
        m_nodes.assign(m_count, 0);
        if (!visit(top, 0))
            return m_error;
        return {};
    }

private:
    static QString damaged() { return QStringLiteral("The binary property list is damaged."); }

    bool fail(const QString& error)
    {
        m_error = error;
        return false;
    }

    // An object's type (high nibble of its marker), its element count and where its
    // content starts; false when the header runs past the object area.
    bool header(quint64 object, int& type, quint64& count, quint64& at) const
    {
        const quint64 offset = readBigEndian(m_bytes + m_tableOffset + object * m_offsetSize,
                                             m_offsetSize);
        if (offset < 8 || offset >= m_tableOffset)
            return false;
        const uchar marker = m_bytes[offset];
        type = marker >> 4;
        count = marker & 0x0F;
        at = offset + 1;
        if (count == 0x0F && type >= 0x4) {
            if (at >= m_tableOffset || (m_bytes[at] >> 4) != 0x1)
                return false;
            const int size = 1 << (m_bytes[at] & 0x0F);
            if (size > 8 || at + 1 + size > m_tableOffset)
                return false;
            count = readBigEndian(m_bytes + at + 1, size);
            at += 1 + size;
        }
        return count <= m_tableOffset;
    }

    enum class Text { None, Damaged, WithNull, Fine };
    // Whether an object is a text, and one without a zero byte or code unit.
    Text text(quint64 object) const
    {
        int type = 0;
        quint64 count = 0, at = 0;
        if (!header(object, type, count, at) || (type != 0x5 && type != 0x6))
            return Text::None;
        const quint64 size = type == 0x6 ? count * 2 : count;
        if (size > m_tableOffset - at)
            return Text::Damaged;
        for (quint64 i = 0; i < size; i += type == 0x6 ? 2 : 1)
            if (m_bytes[at + i] == 0 && (type == 0x5 || m_bytes[at + i + 1] == 0))
                return Text::WithNull;
        return Text::Fine;
    }

    // libplist aborts on a dictionary key that holds a null character, so keys are checked
    // here: texts only, in range, without a null character.
    bool keyUsable(quint64 object) const { return text(object) == Text::Fine; }

    // The references an object holds, or false when they run past the object area.
    bool references(quint64 object, std::vector<quint64>& refs) const
    {
        int type = 0;
        quint64 count = 0, at = 0;
        if (!header(object, type, count, at))
            return false;
        if (type != 0xA && type != 0xC && type != 0xD)
            return true;
        const quint64 refCount = type == 0xD ? count * 2 : count;
        if (refCount > (m_tableOffset - at) / m_refSize)
            return false;
        refs.resize(refCount);
        for (quint64 i = 0; i < refCount; ++i) {
            refs[i] = readBigEndian(m_bytes + at + i * m_refSize, m_refSize);
            if (refs[i] >= m_count || (type == 0xD && i < count && !keyUsable(refs[i])))
                return false;
        }
        return true;
    }

    bool visit(quint64 object, int depth)
    {
        if (depth > kMaxDepth)
            return fail(QStringLiteral("The property list is nested too deeply."));
        if (m_state[object] == 2)
            return true;
        if (m_state[object] == 1)
            return fail(QStringLiteral("The binary property list refers to itself."));
        m_state[object] = 1;
        // libplist cuts such a text, or hands it on to be cut when written again.
        if (text(object) == Text::WithNull)
            return fail(QStringLiteral("The property list holds a text with a null character."));
        std::vector<quint64> refs;
        if (!references(object, refs))
            return fail(damaged());
        int height = 0;
        quint64 nodes = 1;
        for (quint64 ref : refs) {
            if (!visit(ref, depth + 1))
                return false;
            height = std::max(height, m_height[ref] + 1);
            nodes += m_nodes[ref];
            if (nodes > kMaxNodes)
                return fail(QStringLiteral("The property list is too large."));
        }
        if (depth + height > kMaxDepth)
            return fail(QStringLiteral("The property list is nested too deeply."));
        m_height[object] = height;
        m_nodes[object] = nodes;
        m_state[object] = 2;
        return true;
    }

    const uchar* m_bytes;
    quint64 m_size;
    int m_offsetSize = 0;
    int m_refSize = 0;
    quint64 m_count = 0;
    quint64 m_tableOffset = 0;
    std::vector<char> m_state;
    std::vector<int> m_height;
    std::vector<quint64> m_nodes;
    QString m_error;
};

// Counts element nesting in XML text. Comments or character data that look like tags only
// make it stricter, never let a deep document through.
bool xmlDepthWithin(const QByteArray& data)
{
    int depth = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i] != '<')
            continue;
        const bool closing = i + 1 < n && data[i + 1] == '/';
        const qsizetype nameAt = closing ? i + 2 : i + 1;
        const bool container = data.mid(nameAt, 4) == "dict" || data.mid(nameAt, 5) == "array";
        if (!container)
            continue;
        const qsizetype close = data.indexOf('>', nameAt);
        if (close < 0)
            break;
        if (closing)
            --depth;
        else if (data[close - 1] != '/' && ++depth > kMaxDepth)
            return false;
        i = close;
    }
    return true;
}

// libplist reads reals with the process locale; a decimal comma would turn "0.5" into 0.
class CNumericLocale {
public:
    CNumericLocale() : m_c(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr)))
    {
        if (m_c)
            m_previous = uselocale(m_c);
    }
    ~CNumericLocale()
    {
        if (m_c) {
            uselocale(m_previous);
            freelocale(m_c);
        }
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    locale_t m_c;
    locale_t m_previous = nullptr;
};

} // namespace

QByteArray PropertyList::toXml(const QVariant& root)
{
    QByteArray out("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                   "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                   "<plist version=\"1.0\">\n");
    if (!writeXml(out, root, 0))
        return {};
    out.append("</plist>\n");
    return out;
}

QByteArray PropertyList::toBinary(const QVariant& root)
{
    PlistPtr plist(toPlist(root, 0));
    if (!plist)
        return {};
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(plist.get(), &bytes, &length);
    if (!bytes)
        return {};
    QByteArray out(bytes, qsizetype(length));
    plist_to_bin_free(bytes);
    return out;
}

QVariant PropertyList::fromData(const QByteArray& data, QString* error)
{
    auto failed = [error](const QString& text) {
        if (error)
            *error = text;
        return QVariant();
    };
    if (data.isEmpty())
        return failed(QStringLiteral("The property list is empty."));
    if (data.size() > qsizetype(std::numeric_limits<uint32_t>::max()))
        return failed(QStringLiteral("The property list is too large."));
    const bool binary = plist_is_binary(data.constData(), uint32_t(data.size()));
    if (binary) {
        const QString problem = BinaryGuard(data).check();
        if (!problem.isEmpty())
            return failed(problem);
    } else if (data.contains('\0')) {
        // XML has no null character, and libplist garbles the text that follows one.
        return failed(QStringLiteral("The property list holds a text with a null character."));
    } else if (!xmlDepthWithin(data)) {
        return failed(QStringLiteral("The property list is nested too deeply."));
    }
    plist_t raw = nullptr;
    {
        CNumericLocale cLocale;
        if (binary)
            plist_from_bin(data.constData(), uint32_t(data.size()), &raw);
        else
            plist_from_xml(data.constData(), uint32_t(data.size()), &raw);
    }
    PlistPtr plist(raw);
    if (!plist)
        return failed(binary ? QStringLiteral("The binary property list is damaged.")
                             : QStringLiteral("The data is not a property list."));
    QVariant value;
    QString problem;
    if (!fromPlist(plist.get(), value, problem))
        return failed(problem);
    if (error)
        error->clear();
    return value;
}

QString PropertyList::kindOf(const QVariant& value)
{
    switch (kindOfValue(value)) {
    case Kind::None: return {};
    case Kind::String: return QStringLiteral("string");
    case Kind::Integer:
    case Kind::Unsigned: return QStringLiteral("integer");
    case Kind::Real: return QStringLiteral("real");
    case Kind::Bool: return QStringLiteral("bool");
    case Kind::Data: return QStringLiteral("data");
    case Kind::Array: return QStringLiteral("array");
    case Kind::Dict: return QStringLiteral("dict");
    case Kind::Date: return QStringLiteral("date");
    case Kind::Uid: return QStringLiteral("uid");
    }
    return {};
}
