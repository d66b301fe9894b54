#include "OutlineFixtures.h"
#include "platform/PropertyList.h"
#include <algorithm>
#include <optional>

namespace fixtures {

namespace {

QVariantMap entry(qint64 position)
{
    return {{"needFix", QString()}, {"changeable", true}, {"setIndex", qint64(1)}, {"indexes", QVariantList{qint64(0), position}},
            {"type2", QString()}, {"allowEqual", false}, {"dotReserve", false}, {"minVal", QString()}, {"maxVal", QString()}};
}

void describeValue(QVariantMap& table, const QString& keyPath, const QVariant& value, qint64 position)
{
    table.insert(keyPath, table.value(keyPath, entry(position)));
    const QString prefix = keyPath.isEmpty() ? QString() : keyPath + '\t';
    const QString kind = PropertyList::kindOf(value);
    if (kind == "dict") {
        const QVariantMap map = value.toMap();
        QStringList keys = map.keys();
        std::reverse(keys.begin(), keys.end());
        for (int i = 0; i < keys.size(); ++i)
            describeValue(table, prefix + keys[i], map.value(keys[i]), i);
    } else if (kind == "array") {
        for (const QVariant& element : value.toList())
            describeValue(table, prefix, element, 0);
    }
}

QVariantMap category(const AppDelegate& app, const QString& title, const QStringList& names)
{
    QVariantList represents;
    for (const QString& n : names)
        represents << QVariantMap{{"origName", n}, {"represent", n}};
    QVariantMap c = app.appDefaultCategoryDict;
    c.insert(QVariantMap{{"categoryTitle", title}, {"represents", represents}});
    return c;
}

} // namespace

QVariantMap describe(const QVariantMap& settings)
{
    QVariantMap table{{QString(), QVariantMap{{"setIndex", qint64(0x7fff)}}}};
    describeValue(table, QString(), settings, 0);
    return table;
}

void setDescription(QVariantMap& table, const QString& keyPath, const QVariantMap& values)
{
    QVariantMap e = table.value(keyPath, entry(0)).toMap();
    for (auto it = values.begin(); it != values.end(); ++it)
        e.insert(it.key(), it.value());
    table.insert(keyPath, e);
}

QVariantMap builtInSettings(bool scatter)
{
    // A delegate made here would replace the shared one holding the test's descriptions
    // (and leave none behind): use that one when it exists, its defaults only.
    std::optional<AppDelegate> own;
    AppDelegate& app = AppDelegate::shared() ? *AppDelegate::shared() : own.emplace();
    app.makeAppDefaults();
    const QVariantMap properties{{"background", app.appDefaultBackground}, {"graphRect", app.appDefaultGraphRect},
                                 {"xAxis", app.appDefaultXAxis}, {"yAxis", app.appDefaultYAxis},
                                 {scatter ? "bars" : "boxes", scatter ? app.appDefaultBar : app.appDefaultBox}};
    return QVariantMap{
        {"graphTitle", QString("Height & weight <2026>")},
        {"categoryDicts", QVariantList{category(app, "dataColumns", {"Height", "Weight"}),
                                       category(app, "c_Sex", {"M", "F", QString::fromUtf8("Caf\u00e9")})}},
        {"valueSettings", QVariantMap{{"min", QString("0")}, {"max", QString("200")}, {"partition", qint64(4)},
                                      {"logarithmic", false}, {"scaleStrings", QVariantList{"0", "50", "100", "150", "200"}}}},
        {"graphProperties", properties},
        {scatter ? "dotsProperties" : "boxesProperties", scatter ? app.appDefaultDots : app.appDefaultBoxes},
    };
}

Descriptions::Descriptions(const QVariantMap& table) { delegate.configResOutlineItem = table; }

std::unique_ptr<MyConfigRootItem> treeOf(const QVariantMap& settings)
{
    auto root = std::make_unique<MyConfigRootItem>(nullptr);
    root->outlineItemFromSettings(settings);
    return root;
}

} // namespace fixtures
