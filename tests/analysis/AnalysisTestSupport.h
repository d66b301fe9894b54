#pragma once
// Small builders shared by the analysis tests.
#include "outline/MySelectorItem.h"
#include <QVariantList>
#include <QVariantMap>
#include <memory>

// Appends a selector node to parent and returns it.
inline MySelectorItem* node(MySelectorItem* parent, const QString& title, const QString& message = {},
                            const QString& type = {}, QVector<qint64> data1 = {},
                            QVector<std::optional<double>> data2 = {})
{
    auto n = std::make_unique<MySelectorItem>(title, message, type, std::vector<std::unique_ptr<MySelectorItem>>{},
                                              std::move(data1), std::move(data2), parent);
    return parent->append(std::move(n));
}

// n dictionaries {key: i} for i = 0 .. n-1: distinguishable series.
inline QVariantList numbered(const QString& key, int n)
{
    QVariantList l;
    for (int i = 0; i < n; ++i)
        l << QVariantMap{{key, qint64(i)}};
    return l;
}
