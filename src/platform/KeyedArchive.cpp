#include "platform/KeyedArchive.h"

#include "platform/PropertyList.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

const QString kNull = QStringLiteral("$null");
constexpr qint64 kArchiveVersion = 100000;
// Nothing we decode nests deeper than dictionary -> font -> name; the bound only has to
// stop hostile data.
constexpr int kMaxDepth = 16;

QVariant uid(int index)
{
    return QVariant::fromValue(PlistUid{quint64(index)});
}

// Shortest decimal text that reads back as the same double, independent of the locale,
// so a colour survives a round trip exactly.
QByteArray componentText(double v)
{
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, v);
    return QByteArray(buffer, int(written.ptr - buffer));
}

// Collects the $objects of one archive; class descriptions are shared by name.
class Archiver {
public:
    Archiver() { m_objects.append(kNull); }

    int add(const QVariant& object)
    {
        m_objects.append(object);
        return int(m_objects.size() - 1);
    }

    // Reserves a slot so that an object precedes the objects it refers to, as the
    // platform's archiver orders them.
    int reserve() { return add(QVariant()); }
    void fill(int index, const QVariant& object) { m_objects[index] = object; }

    QVariant classRef(const QStringList& chain)
    {
        if (!m_classes.contains(chain.first()))
            m_classes.insert(chain.first(), add(QVariantMap{{"$classname", chain.first()},
                                                             {"$classes", chain}}));
        return uid(m_classes.value(chain.first()));
    }

    int addColor(const Color& color)
    {
        const int self = reserve();
        QByteArray text;
        const int count = color.isGray() ? 1 : 3;
        for (int i = 0; i < count; ++i)
            text += componentText(color.c[i]) + ' ';
        text += componentText(color.c[3]);
        text += '\0';
        fill(self, QVariantMap{{"NSColorSpace", qint64(color.colorSpace)},
                               {color.isGray() ? "NSWhite" : "NSRGB", text},
                               {"$class", classRef({"NSColor", "NSObject"})}});
        return self;
    }

    int addFont(const FontSpec& font)
    {
        const int self = reserve();
        const int name = add(font.name);
        fill(self, QVariantMap{{"NSName", uid(name)},
                               {"NSSize", font.size},
                               {"NSfFlags", qint64(font.flags)},
                               {"$class", classRef({"NSFont", "NSObject"})}});
        return self;
    }

    QByteArray finish(int root) const
    {
        return PropertyList::toBinary(QVariantMap{{"$archiver", QStringLiteral("NSKeyedArchiver")},
                                                  {"$version", kArchiveVersion},
                                                  {"$top", QVariantMap{{"root", uid(root)}}},
                                                  {"$objects", m_objects}});
    }

private:
    QVariantList m_objects;
    QHash<QString, int> m_classes;
};

// Reads objects out of one archive. Every reference is range-checked, objects being decoded
// are tracked so a reference back to one of them is refused, and depth is bounded.
class Unarchiver {
public:
    bool open(const QByteArray& data)
    {
        const QVariantMap archive = PropertyList::fromData(data).toMap();
        if (archive.value("$archiver").toString() != QLatin1String("NSKeyedArchiver")
            || archive.value("$version").typeId() != QMetaType::LongLong)
            return false;
        const QVariant objects = archive.value("$objects");
        if (objects.typeId() != QMetaType::QVariantList)
            return false;
        m_objects = objects.toList();
        if (m_objects.isEmpty() || m_objects.first().toString() != kNull)
            return false;
        return uidOf(archive.value("$top").toMap().value("root"), m_root);
    }

    int root() const { return m_root; }

    // A reference as read from binary data, or in the XML form {"CF$UID": n}.
    bool uidOf(const QVariant& ref, int& index) const
    {
        quint64 value = 0;
        if (ref.typeId() == qMetaTypeId<PlistUid>()) {
            value = ref.value<PlistUid>().value;
        } else {
            const QVariantMap m = ref.toMap();
            const QVariant n = m.value("CF$UID");
            if (ref.typeId() != QMetaType::QVariantMap || m.size() != 1
                || n.typeId() != QMetaType::LongLong || n.toLongLong() < 0)
                return false;
            value = quint64(n.toLongLong());
        }
        if (value == 0 || value >= quint64(m_objects.size()))
            return false;
        index = int(value);
        return true;
    }

    // The object at index when it is a dictionary of the class named (or a subclass).
    std::optional<QVariantMap> instance(int index, const QString& className) const
    {
        const QVariant object = m_objects.at(index);
        if (object.typeId() != QMetaType::QVariantMap)
            return std::nullopt;
        const QVariantMap map = object.toMap();
        int classIndex = 0;
        if (!uidOf(map.value("$class"), classIndex) || classIndex == index)
            return std::nullopt;
        const QVariantMap description = m_objects.at(classIndex).toMap();
        const QVariant classes = description.value("$classes");
        if (description.value("$classname").typeId() != QMetaType::QString
            || classes.typeId() != QMetaType::QVariantList
            || !classes.toList().contains(QVariant(className)))
            return std::nullopt;
        return map;
    }

    std::optional<QString> string(const QVariant& ref) const
    {
        int index = 0;
        if (ref.typeId() == QMetaType::QString)
            return ref.toString();
        if (!uidOf(ref, index) || m_objects.at(index).typeId() != QMetaType::QString)
            return std::nullopt;
        return m_objects.at(index).toString();
    }

    // Decodes the referenced object with read, refusing a reference back to an object that
    // is still being decoded.
    template <typename T>
    std::optional<T> decode(const QVariant& ref, std::optional<T> (Unarchiver::*read)(int))
    {
        int index = 0;
        if (!uidOf(ref, index) || m_open.size() >= kMaxDepth || m_open.contains(index))
            return std::nullopt;
        m_open.insert(index);
        std::optional<T> result = (this->*read)(index);
        m_open.remove(index);
        return result;
    }

    std::optional<Color> color(const QVariant& ref) { return decode(ref, &Unarchiver::readColor); }
    std::optional<TextAttributes> attributes(const QVariant& ref)
    {
        return decode(ref, &Unarchiver::readAttributes);
    }

private:
    std::optional<Color> readColor(int index)
    {
        const std::optional<QVariantMap> map = instance(index, "NSColor");
        if (!map)
            return std::nullopt;
        const QVariant space = map->value("NSColorSpace");
        if (space.typeId() != QMetaType::LongLong || space.toLongLong() < 1 || space.toLongLong() > 4)
            return std::nullopt;
        Color color;
        color.colorSpace = int(space.toLongLong());
        const QVariant text = map->value(color.isGray() ? "NSWhite" : "NSRGB");
        if (text.typeId() != QMetaType::QByteArray)
            return std::nullopt;
        std::vector<double> values;
        if (!components(text.toByteArray(), values))
            return std::nullopt;
        const size_t colours = color.isGray() ? 1 : 3;
        if (values.size() != colours && values.size() != colours + 1)
            return std::nullopt;
        for (size_t i = 0; i < colours; ++i)
            color.c[i] = values[i];
        if (color.isGray())
            color.c[1] = color.c[2] = values[0];
        // The platform leaves out an alpha of 1.
        color.c[3] = values.size() > colours ? values[colours] : 1.0;
        return color;
    }

    // Space-separated decimal numbers, optionally ended by null bytes.
    static bool components(QByteArray text, std::vector<double>& values)
    {
        while (text.endsWith('\0'))
            text.chop(1);
        for (const QByteArray& part : text.split(' ')) {
            if (part.isEmpty())
                continue;
            double v = 0;
            const char* end = part.constData() + part.size();
            const auto [ptr, ec] = std::from_chars(part.constData(), end, v);
            if (ec != std::errc() || ptr != end || !std::isfinite(v))
                return false;
            values.push_back(v);
        }
        return !values.empty();
    }

    std::optional<FontSpec> readFont(int index)
    {
        const std::optional<QVariantMap> map = instance(index, "NSFont");
        if (!map)
            return std::nullopt;
        const std::optional<QString> name = string(map->value("NSName"));
        const QVariant size = map->value("NSSize");
        const QVariant flags = map->value("NSfFlags");
        if (!name || (size.typeId() != QMetaType::Double && size.typeId() != QMetaType::LongLong)
            || !std::isfinite(size.toDouble()) || size.toDouble() <= 0)
            return std::nullopt;
        FontSpec font;
        font.name = *name;
        font.size = size.toDouble();
        if (flags.isValid()) {
            if (flags.typeId() != QMetaType::LongLong)
                return std::nullopt;
            font.flags = int(flags.toLongLong());
        }
        return font;
    }

    std::optional<TextAttributes> readAttributes(int index)
    {
        const std::optional<QVariantMap> map = instance(index, "NSDictionary");
        if (!map)
            return std::nullopt;
        const QVariant keys = map->value("NS.keys");
        const QVariant values = map->value("NS.objects");
        if (keys.typeId() != QMetaType::QVariantList || values.typeId() != QMetaType::QVariantList
            || keys.toList().size() != values.toList().size())
            return std::nullopt;
        TextAttributes attributes;
        const QVariantList keyList = keys.toList();
        const QVariantList valueList = values.toList();
        for (qsizetype i = 0; i < keyList.size(); ++i) {
            const std::optional<QString> key = string(keyList[i]);
            if (!key)
                return std::nullopt;
            if (*key == QLatin1String("NSFont")) {
                attributes.font = decode(valueList[i], &Unarchiver::readFont);
                if (!attributes.font)
                    return std::nullopt;
            } else if (*key == QLatin1String("NSColor")) {
                attributes.color = color(valueList[i]);
                if (!attributes.color)
                    return std::nullopt;
            }
            // Other attributes (paragraph style and the like) are not ours to keep.
        }
        return attributes;
    }

    QVariantList m_objects;
    int m_root = 0;
    QSet<int> m_open;
};

} // namespace

Color Color::rgb(double r, double g, double b, double a)
{
    Color color;
    color.colorSpace = 1;
    color.c[0] = r;
    color.c[1] = g;
    color.c[2] = b;
    color.c[3] = a;
    return color;
}

Color Color::gray(double white, double a)
{
    Color color;
    color.colorSpace = 3;
    color.c[0] = color.c[1] = color.c[2] = white;
    color.c[3] = a;
    return color;
}

QColor Color::toQColor() const
{
    auto unit = [](double v) { return float(std::clamp(v, 0.0, 1.0)); };
    return QColor::fromRgbF(unit(red()), unit(green()), unit(blue()), unit(alpha()));
}

Color Color::fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return Color::rgb(rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

bool Color::operator==(const Color& o) const
{
    if (colorSpace != o.colorSpace)
        return false;
    if (isGray())
        return c[0] == o.c[0] && c[3] == o.c[3];
    return c[0] == o.c[0] && c[1] == o.c[1] && c[2] == o.c[2] && c[3] == o.c[3];
}

namespace {
// Archived font names carry the face as a PostScript-style suffix ("Helvetica-BoldOblique"),
// so a bold or italic choice survives the archive.
struct FaceSuffix {
    const char* suffix;
    bool bold;
    bool italic;
};
constexpr FaceSuffix kFaceSuffixes[] = {
    {"-BoldOblique", true, true}, {"-BoldItalic", true, true}, {"-Bold", true, false},
    {"-Oblique", false, true}, {"-Italic", false, true},
};
}

QFont FontSpec::toQFont() const
{
    QFont font;
    QString family = name;
    bool bold = false;
    bool italic = false;
    for (const FaceSuffix& face : kFaceSuffixes) {
        const QLatin1String suffix(face.suffix);
        if (family.size() > suffix.size() && family.endsWith(suffix)) {
            family.chop(suffix.size());
            bold = face.bold;
            italic = face.italic;
            break;
        }
    }
    if (!family.isEmpty())
        font.setFamily(family);
    font.setBold(bold);
    font.setItalic(italic);
    if (size > 0)
        font.setPointSizeF(size);
    return font;
}

FontSpec FontSpec::fromQFont(const QFont& font)
{
    FontSpec spec;
    spec.name = font.family();
    const bool bold = font.weight() >= QFont::DemiBold;
    const bool italic = font.style() != QFont::StyleNormal;
    if (bold || italic)
        spec.name += bold && italic ? "-BoldItalic" : bold ? "-Bold" : "-Italic";
    if (font.pointSizeF() > 0)
        spec.size = font.pointSizeF();
    return spec;
}

QByteArray KeyedArchive::archiveColor(const Color& color)
{
    Archiver archiver;
    return archiver.finish(archiver.addColor(color));
}

std::optional<Color> KeyedArchive::unarchiveColor(const QByteArray& data)
{
    Unarchiver unarchiver;
    if (!unarchiver.open(data))
        return std::nullopt;
    return unarchiver.color(uid(unarchiver.root()));
}

QByteArray KeyedArchive::archiveAttributes(const TextAttributes& attributes)
{
    Archiver archiver;
    const int self = archiver.reserve();
    QVariantList keys, objects;
    if (attributes.font) {
        keys.append(uid(archiver.add(QStringLiteral("NSFont"))));
        objects.append(uid(archiver.addFont(*attributes.font)));
    }
    if (attributes.color) {
        keys.append(uid(archiver.add(QStringLiteral("NSColor"))));
        objects.append(uid(archiver.addColor(*attributes.color)));
    }
    archiver.fill(self, QVariantMap{{"NS.keys", keys},
                                    {"NS.objects", objects},
                                    {"$class", archiver.classRef({"NSDictionary", "NSObject"})}});
    return archiver.finish(self);
}

std::optional<TextAttributes> KeyedArchive::unarchiveAttributes(const QByteArray& data)
{
    Unarchiver unarchiver;
    if (!unarchiver.open(data))
        return std::nullopt;
    return unarchiver.attributes(uid(unarchiver.root()));
}
