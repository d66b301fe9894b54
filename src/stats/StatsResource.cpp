#include "stats/StatsResource.h"

#include "platform/Resources.h"

#include <QFile>
#include <plist/plist.h>

#include <memory>
#include <stdexcept>

namespace {
// The normal table is one array of some 150000 reals. Reading arrays element by element by
// position is quadratic in libplist, so this walks them with iterators instead; only the
// kinds the engines' resources hold are taken, anything else is reported.
bool convert(plist_t node, QVariant& out, int depth)
{
    if (depth > 8)
        return false;
    switch (plist_get_node_type(node)) {
    case PLIST_REAL: {
        double v = 0.0;
        plist_get_real_val(node, &v);
        out = v;
        return true;
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        out = qint64(v);
        return true;
    }
    case PLIST_STRING: {
        char* s = nullptr;
        plist_get_string_val(node, &s);
        out = QString::fromUtf8(s);
        free(s);
        return true;
    }
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        out = bool(b);
        return true;
    }
    case PLIST_ARRAY: {
        QVariantList list;
        list.reserve(qsizetype(plist_array_get_size(node)));
        plist_array_iter it = nullptr;
        plist_array_new_iter(node, &it);
        bool ok = true;
        for (plist_t item = nullptr; ok;) {
            plist_array_next_item(node, it, &item);
            if (!item)
                break;
            QVariant v;
            ok = convert(item, v, depth + 1);
            list.append(v);
        }
        free(it);
        out = list;
        return ok;
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        bool ok = true;
        while (ok) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!value) {
                free(key);
                break;
            }
            QVariant v;
            ok = convert(value, v, depth + 1);
            map.insert(QString::fromUtf8(key), v);
            free(key);
        }
        free(it);
        out = map;
        return ok;
    }
    default:
        return false;
    }
}
}

QVariantMap StatsResource::dictionary(const QString& name)
{
    if (!Resources::exists(name))
        require(name, QStringLiteral("the resource is missing"));
    QFile file(QStringLiteral(":/") + name);
    if (!file.open(QIODevice::ReadOnly))
        require(name, QStringLiteral("the resource cannot be opened"));
    const QByteArray data = file.readAll();
    QVariant root;
    if (plist_is_binary(data.constData(), uint32_t(data.size()))) {
        plist_t raw = nullptr;
        plist_from_bin(data.constData(), uint32_t(data.size()), &raw);
        const std::unique_ptr<void, void (*)(plist_t)> owner(raw, plist_free);
        if (!raw || !convert(raw, root, 0))
            require(name, QStringLiteral("the resource is not a readable property list"));
    } else {
        QString error;
        root = Resources::plist(name, &error);
        if (!root.isValid())
            require(name, error.isEmpty() ? QStringLiteral("the resource cannot be read") : error);
    }
    if (root.typeId() != QMetaType::QVariantMap)
        require(name, QStringLiteral("the resource is not a dictionary"));
    return root.toMap();
}

void StatsResource::require(const QString& name, const QString& problem)
{
    if (!problem.isEmpty())
        throw std::runtime_error(QStringLiteral("%1: %2").arg(name, problem).toStdString());
}

bool StatsResource::isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
        return true;
    default:
        return false;
    }
}
