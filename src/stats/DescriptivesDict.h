#pragma once
// The statistics of one category. A member is empty where the statistic is undefined
// (no values, the sample forms for too few values, skewness and kurtosis of equal values).
#include <QStringList>
#include <QVariantMap>
#include <optional>

struct DescriptivesDict {
    std::optional<double> min, max, mean, median;
    std::optional<double> varianceP, variance, stdevP, stdev;
    std::optional<double> skP, sk, kuP, ku;

    // "min", "max", "mean", "median", "varianceP", "variance", "stdevP", "stdev", "skP",
    // "sk", "kuP", "ku".
    static const QStringList& keys();
    // The member for one of keys(); empty for any other key.
    std::optional<double> value(const QString& key) const;
    // All twelve keys; an absent statistic is a null QVariant, a present one a double.
    QVariantMap toVariantMap() const;

    bool operator==(const DescriptivesDict&) const = default;
};
