#pragma once
// Shared helpers of the outline tests.
#include "outline/MySelectorRootItem.h"
#include <QStringList>
#include <memory>

namespace fixtures {

// Selector analysis: columns with their represents.
struct DataColumn {
    QString title;
    QVector<std::optional<double>> values;
};
struct CategoryColumn {
    QString title;
    QStringList categories;
    QList<bool> used;   // per category; missing entries count as used
};
MySelectorItem* addAnalysis(MySelectorRootItem& root, const QString& title, const QList<DataColumn>& data,
                            const QList<CategoryColumn>& categorizing, bool editting = true);

} // namespace fixtures
