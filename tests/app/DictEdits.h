#pragma once
// Copies of settings dictionaries with one key set or removed.
#include <QVariantMap>

inline QVariantMap withValue(QVariantMap dict, const QString& key, const QVariant& value)
{
    dict.insert(key, value);
    return dict;
}

inline QVariantMap without(QVariantMap dict, const QString& key)
{
    dict.remove(key);
    return dict;
}
