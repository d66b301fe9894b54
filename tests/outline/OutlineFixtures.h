#pragma once
// Shared helpers of the outline tests: a description table made for any settings, sample
// graph settings of both graph types, and an application delegate holding the table.
#include "app/AppDelegate.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySelectorRootItem.h"
#include <QVariantMap>
#include <memory>

namespace fixtures {

// One description per key path of the settings: changeable, setIndex 1, no value class.
// Dictionary entries get display positions in reverse key order, so that reorder visibly
// changes the order the XML text brings; array elements share one description.
QVariantMap describe(const QVariantMap& settings);
// Changes one entry of a description table (entry created when missing).
void setDescription(QVariantMap& table, const QString& keyPath, const QVariantMap& values);

// Sample graph settings in the shape the application stores.
QVariantMap scatterSettings();
QVariantMap boxplotSettings();
// Graph settings assembled from the application's built-in defaults.
QVariantMap builtInSettings(bool scatter);

// A colour and a text-attribute setting as stored.
QByteArray colorData(double r, double g, double b, double a = 1.0);
QByteArray grayData(double white, double a = 1.0);
QByteArray attributeData();

// Installs the description table into a delegate for the life of the object.
struct Descriptions {
    explicit Descriptions(const QVariantMap& table);
    AppDelegate delegate;
};

// A settings tree of the settings (built with the description table in use).
std::unique_ptr<MyConfigRootItem> treeOf(const QVariantMap& settings);

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
