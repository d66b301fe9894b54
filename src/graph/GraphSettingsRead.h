#pragma once
// Reading a graph's settings the way the layout steps expect them: groups by key, numbers
// as decimal strings (their leading number, 0 when none), colours and text attributes as
// keyed archives, switches as booleans. Every reader gives nothing for a missing key or a
// value of another kind, so a step can refuse before it changes anything.
#include "platform/KeyedArchive.h"
#include <QColor>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <optional>

namespace GraphSettingsRead {

// The dictionary at the end of the key path.
std::optional<QVariantMap> group(const QVariantMap& settings, const QStringList& keys);
std::optional<QVariantList> list(const QVariantMap& dict, const QString& key);
// Every element of a list that must hold dictionaries; nothing when one is not.
std::optional<QVector<QVariantMap>> dictList(const QVariantMap& dict, const QString& key);
std::optional<QString> text(const QVariantMap& dict, const QString& key);
// A decimal string read by its leading number.
std::optional<double> decimal(const QVariantMap& dict, const QString& key);
std::optional<bool> flag(const QVariantMap& dict, const QString& key);
std::optional<QColor> color(const QVariantMap& dict, const QString& key);
std::optional<TextAttributes> attributes(const QVariantMap& dict, const QString& key);

} // namespace GraphSettingsRead
