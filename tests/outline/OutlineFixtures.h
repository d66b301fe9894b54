#pragma once
// Shared helpers of the outline tests (also linked by the outline benchmark): a description
// table made for any settings and graph settings from the built-in defaults.
#include "app/AppDelegate.h"
#include "outline/MyConfigRootItem.h"
#include <QVariantMap>
#include <memory>

namespace fixtures {

// One description per key path of the settings: changeable, setIndex 1, no value class.
// Dictionary entries get display positions in reverse key order, so that reorder visibly
// changes the order the XML text brings; array elements share one description.
QVariantMap describe(const QVariantMap& settings);
// Changes one entry of a description table (entry created when missing).
void setDescription(QVariantMap& table, const QString& keyPath, const QVariantMap& values);

// Graph settings from the application's built-in defaults, titled "Height & weight <2026>",
// with the categories "dataColumns" (Height, Weight) and "c_Sex" (M, F, "Café" composed) and
// five scale labels.
QVariantMap builtInSettings(bool scatter);

// Installs the description table into a delegate for the life of the object.
struct Descriptions { explicit Descriptions(const QVariantMap& table); AppDelegate delegate; };

// A settings tree of the settings (built with the description table in use).
std::unique_ptr<MyConfigRootItem> treeOf(const QVariantMap& settings);

} // namespace fixtures
