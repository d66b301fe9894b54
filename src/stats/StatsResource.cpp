#include "stats/StatsResource.h"

#include "platform/PropertyList.h"
#include "platform/Resources.h"

#include <stdexcept>

QVariantMap StatsResource::dictionary(const QString& name)
{
    if (!Resources::exists(name))
        require(name, QStringLiteral("the resource is missing"));
    QString error;
    const QVariant root = Resources::plist(name, &error);
    if (!root.isValid())
        require(name, error.isEmpty() ? QStringLiteral("the resource cannot be read") : error);
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
    const QString kind = PropertyList::kindOf(value);
    return kind == QLatin1String("integer") || kind == QLatin1String("real");
}
