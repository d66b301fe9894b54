#include "graph/GraphSettingsRead.h"
#include "platform/NumberText.h"

#include <QHash>

namespace GraphSettingsRead {

std::optional<QVariantMap> group(const QVariantMap& settings, const QStringList& keys)
{
    QVariantMap g = settings;
    for (const QString& key : keys) {
        const QVariant v = g.value(key);
        if (v.typeId() != QMetaType::QVariantMap)
            return std::nullopt;
        g = v.toMap();
    }
    return g;
}

std::optional<QVariantList> list(const QVariantMap& dict, const QString& key)
{
    const QVariant v = dict.value(key);
    if (v.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    return v.toList();
}

std::optional<QVector<QVariantMap>> dictList(const QVariantMap& dict, const QString& key)
{
    const auto l = list(dict, key);
    if (!l)
        return std::nullopt;
    QVector<QVariantMap> out;
    out.reserve(l->size());
    for (const QVariant& e : *l) {
        if (e.typeId() != QMetaType::QVariantMap)
            return std::nullopt;
        out.append(e.toMap());
    }
    return out;
}

std::optional<QString> text(const QVariantMap& dict, const QString& key)
{
    const QVariant v = dict.value(key);
    if (v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

std::optional<double> decimal(const QVariantMap& dict, const QString& key)
{
    const auto t = text(dict, key);
    if (!t)
        return std::nullopt;
    return NumberText::doubleValue(*t);
}

std::optional<bool> flag(const QVariantMap& dict, const QString& key)
{
    const QVariant v = dict.value(key);
    if (v.typeId() != QMetaType::Bool)
        return std::nullopt;
    return v.toBool();
}

std::optional<QColor> color(const QVariantMap& dict, const QString& key)
{
    const QVariant v = dict.value(key);
    if (v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    // Every series of a graph usually stores the same few archives, and decoding one costs
    // tens of microseconds: a graph of 10^5 categories read them for seconds. The archives
    // decoded last are kept by their bytes (bounded, main thread only).
    static QHash<QByteArray, std::optional<QColor>> decoded;
    const QByteArray data = v.toByteArray();
    if (const auto it = decoded.constFind(data); it != decoded.cend())
        return *it;
    if (decoded.size() >= 256)
        decoded.clear();
    const auto c = KeyedArchive::unarchiveColor(data);
    const std::optional<QColor> color = c ? std::optional<QColor>(c->toQColor()) : std::nullopt;
    decoded.insert(data, color);
    return color;
}

std::optional<TextAttributes> attributes(const QVariantMap& dict, const QString& key)
{
    const QVariant v = dict.value(key);
    if (v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return KeyedArchive::unarchiveAttributes(v.toByteArray());
}

} // namespace GraphSettingsRead
