#pragma once
// Reading the engines' bundle resources. The engines cannot work without their tables, so
// a missing or unreadable resource is an error at start-up rather than an empty table.
#include <QString>
#include <QVariant>
#include <QVariantMap>

class StatsResource {
public:
    // The property-list dictionary of the bundle resource `name` ("NormRes2.plist").
    // Throws std::runtime_error naming the resource and the reason.
    static QVariantMap dictionary(const QString& name);
    // Throws std::runtime_error("<name>: <problem>") when problem is not empty.
    static void require(const QString& name, const QString& problem);
    // A property-list number (integer or real, not a boolean).
    static bool isNumber(const QVariant& value);
};
