#include "stats/BoxValuesDict.h"

QStringList BoxValuesDict::keys() const
{
    if (scatter)
        return {QStringLiteral("mean"), QStringLiteral("median")};
    return {QStringLiteral("median"), QStringLiteral("q1"), QStringLiteral("q3"),
            QStringLiteral("boxMin"), QStringLiteral("boxMax")};
}

std::optional<double> BoxValuesDict::value(const QString& key) const
{
    if (key == QLatin1String("median"))
        return median;
    if (scatter)
        return key == QLatin1String("mean") ? mean : std::nullopt;
    if (key == QLatin1String("q1"))
        return q1;
    if (key == QLatin1String("q3"))
        return q3;
    if (key == QLatin1String("boxMin"))
        return boxMin;
    if (key == QLatin1String("boxMax"))
        return boxMax;
    return std::nullopt;
}

QVariantMap BoxValuesDict::toVariantMap() const
{
    QVariantMap map;
    for (const QString& key : keys()) {
        const std::optional<double> v = value(key);
        map.insert(key, v ? QVariant(*v) : QVariant());
    }
    return map;
}
