#pragma once
// The drawn values of one category: "mean" and "median" for a dot plot ("scatter"),
// "median", "q1", "q3", "boxMin", "boxMax" (the whisker ends) for a boxplot.
#include <QStringList>
#include <QVariantMap>
#include <optional>

struct BoxValuesDict {
    bool scatter = false;  // which of the two key sets applies
    std::optional<double> mean;  // scatter only
    std::optional<double> median;
    std::optional<double> q1, q3, boxMin, boxMax;  // boxplot only

    // The keys of this kind, in the order above.
    QStringList keys() const;
    // The member for one of keys(); empty for any other key.
    std::optional<double> value(const QString& key) const;
    // Exactly keys(); an absent value is a null QVariant, a present one a double.
    QVariantMap toVariantMap() const;

    bool operator==(const BoxValuesDict&) const = default;
};
