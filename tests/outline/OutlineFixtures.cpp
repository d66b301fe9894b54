#include "OutlineFixtures.h"
#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"
#include <algorithm>

namespace fixtures {

namespace {

QVariantMap entry(qint64 position)
{
    return QVariantMap{
        {"needFix", QString()},
        {"changeable", true},
        {"setIndex", qint64(1)},
        {"indexes", QVariantList{qint64(0), position}},
        {"type2", QString()},
        {"allowEqual", false},
        {"dotReserve", false},
        {"minVal", QString()},
        {"maxVal", QString()},
    };
}

void describeValue(QVariantMap& table, const QString& keyPath, const QVariant& value, qint64 position)
{
    if (!table.contains(keyPath))
        table.insert(keyPath, entry(position));
    const QString kind = PropertyList::kindOf(value);
    if (kind == "dict") {
        const QVariantMap map = value.toMap();
        QStringList keys = map.keys();
        std::reverse(keys.begin(), keys.end());
        for (int i = 0; i < keys.size(); ++i)
            describeValue(table, keyPath + '\t' + keys[i], map.value(keys[i]), i);
    } else if (kind == "array") {
        for (const QVariant& element : value.toList())
            describeValue(table, keyPath + '\t', element, 0);
    }
}

QVariantMap categoryDict(const QString& title, const QStringList& names)
{
    QVariantList represents;
    for (const QString& n : names)
        represents.append(QVariantMap{{"origName", n}, {"represent", n}});
    return QVariantMap{
        {"categoryTitle", title},
        {"represents", represents},
        {"xTitleAttr", attributeData()},
        {"verticalGap", QString("5")},
        {"horizontalGap", QString("10")},
    };
}

QVariantMap commonSettings()
{
    return QVariantMap{
        {"graphTitle", QString("Height & weight <2026>")},
        {"categoryDicts", QVariantList{categoryDict("dataColumns", {"Height", "Weight"}),
                                       categoryDict("c_Sex", {"M", "F", "other"})}},
        {"valueSettings", QVariantMap{
            {"min", QString("0")},
            {"max", QString("200")},
            {"partition", qint64(4)},
            {"scaleStrings", QVariantList{QString("0"), QString("50"), QString("100"), QString("150"), QString("200")}},
            {"logarithmic", false},
        }},
    };
}

QVariantMap graphProperties(const QString& seriesKey, const QVariantMap& series)
{
    return QVariantMap{
        {"background", QVariantMap{
            {"color", grayData(1.0)},
            {"followPageLayout", true},
            {"viewWidth", QString("540.0")},
            {"viewHeight", QString("720.0")},
        }},
        {"graphRect", QVariantMap{
            {"height", QString("300")},
            {"columnWidth", QString("60")},
            {"fillColor", grayData(1.0, 0.0)},
            {"lineColor", grayData(0.0)},
            {"lineWidth", QString("1")},
        }},
        {"xAxis", QVariantMap{
            {"lineColor", grayData(0.0)},
            {"axisWidth", QString("1")},
            {"tickLength", QString("5")},
            {"tickWidth", QString("1")},
        }},
        {"yAxis", QVariantMap{
            {"lineColor", grayData(0.0)},
            {"axisWidth", QString("1")},
            {"tickLength", QString("5")},
            {"tickWidth", QString("1")},
            {"scaleVisible", true},
            {"scaleGap", QString("4")},
            {"scaleTextAttr", attributeData()},
            {"titleVisible", true},
            {"titleGap", QString("6")},
            {"titleText", QString("cm")},
            {"titleTextAttr", attributeData()},
            {"titleRotation", qint64(90)},
        }},
        {seriesKey, series},
    };
}

} // namespace

QVariantMap describe(const QVariantMap& settings)
{
    QVariantMap table;
    table.insert(QString(), QVariantMap{{"setIndex", qint64(0x7fff)}});
    QStringList keys = settings.keys();
    std::reverse(keys.begin(), keys.end());
    for (int i = 0; i < keys.size(); ++i)
        describeValue(table, keys[i], settings.value(keys[i]), i);
    return table;
}

void setDescription(QVariantMap& table, const QString& keyPath, const QVariantMap& values)
{
    QVariantMap e = table.contains(keyPath) ? table.value(keyPath).toMap() : entry(0);
    for (auto it = values.begin(); it != values.end(); ++it)
        e.insert(it.key(), it.value());
    table.insert(keyPath, e);
}

QByteArray colorData(double r, double g, double b, double a)
{
    return KeyedArchive::archiveColor(Color::rgb(r, g, b, a));
}

QByteArray grayData(double white, double a)
{
    return KeyedArchive::archiveColor(Color::gray(white, a));
}

QByteArray attributeData()
{
    TextAttributes attributes;
    attributes.font = FontSpec{"DejaVuSans", 12.0, 16};
    attributes.color = Color::gray(0.0);
    return KeyedArchive::archiveAttributes(attributes);
}

QVariantMap scatterSettings()
{
    QVariantMap s = commonSettings();
    QVariantList dots;
    for (int i = 0; i < 7; ++i) {
        dots.append(QVariantMap{
            {"dotType", qint64(i)},
            {"betweenDots", QString("1")},
            {"dotSize", QString("6")},
            {"fillColor", colorData(i / 7.0, 0.2, 0.4)},
            {"lineColor", grayData(0.0)},
            {"lineWidth", QString("0.5")},
            {"fontKey", QString("\u273A")},
            {"dotAttr", attributeData()},
        });
    }
    s.insert("dotsProperties", dots);
    s.insert("graphProperties", graphProperties("bars", QVariantMap{
        {"barType", qint64(0)},
        {"lineWidth", QString("2")},
        {"barLength", QString("30")},
        {"barColor", colorData(1, 0, 0)},
    }));
    return s;
}

QVariantMap boxplotSettings()
{
    QVariantMap s = commonSettings();
    QVariantList boxes;
    for (int i = 0; i < 3; ++i) {
        boxes.append(QVariantMap{
            {"boxFillColor", colorData(0.9, 0.9, i / 3.0)},
            {"boxLineColor", grayData(0.0)},
            {"minMaxLineColor", grayData(0.0)},
            {"dotType", qint64(i)},
            {"dotSize", QString("5")},
            {"dotFillColor", grayData(1.0)},
            {"dotLineColor", grayData(0.0)},
            {"dotLineWidth", QString("0.5")},
            {"fontKey", QString("\u273A")},
            {"dotAttr", attributeData()},
        });
    }
    s.insert("boxesProperties", boxes);
    s.insert("graphProperties", graphProperties("boxes", QVariantMap{
        {"boxWidth", QString("20")},
        {"boxLineWidth", QString("1")},
        {"medianLineWidth", QString("2")},
        {"medianLineColor", grayData(0.0)},
        {"whiskerWidth", QString("1")},
        {"minMaxLength", QString("10")},
        {"minMaxWidth", QString("1")},
    }));
    return s;
}

QVariantMap builtInSettings(bool scatter)
{
    AppDelegate app;
    app.makeAppDefaults();
    QVariantMap settings = commonSettings();
    QVariantList categories;
    for (const QVariant& c : settings.value("categoryDicts").toList()) {
        QVariantMap category = app.appDefaultCategoryDict;
        category.insert("categoryTitle", c.toMap().value("categoryTitle"));
        category.insert("represents", c.toMap().value("represents"));
        categories.append(category);
    }
    settings.insert("categoryDicts", categories);
    QVariantMap properties{
        {"background", app.appDefaultBackground},
        {"graphRect", app.appDefaultGraphRect},
        {"xAxis", app.appDefaultXAxis},
        {"yAxis", app.appDefaultYAxis},
    };
    if (scatter) {
        properties.insert("bars", app.appDefaultBar);
        settings.insert("dotsProperties", app.appDefaultDots);
    } else {
        properties.insert("boxes", app.appDefaultBox);
        settings.insert("boxesProperties", app.appDefaultBoxes);
    }
    settings.insert("graphProperties", properties);
    return settings;
}

Descriptions::Descriptions(const QVariantMap& table)
{
    delegate.configResOutlineItem = table;
}

std::unique_ptr<MyConfigRootItem> treeOf(const QVariantMap& settings)
{
    auto root = std::make_unique<MyConfigRootItem>(nullptr);
    root->outlineItemFromSettings(settings);
    return root;
}

MySelectorItem* addAnalysis(MySelectorRootItem& root, const QString& title, const QList<DataColumn>& data,
                            const QList<CategoryColumn>& categorizing, bool editting)
{
    auto* analysis = root.append(std::make_unique<MySelectorItem>(title, &root));
    analysis->append(std::make_unique<MySelectorItem>("graphType", "scatter", QString(),
                                                      std::vector<std::unique_ptr<MySelectorItem>>{}, QVector<qint64>{},
                                                      QVector<std::optional<double>>{}, analysis));
    auto* dataGroup = analysis->append(std::make_unique<MySelectorItem>("DataColumns", analysis));
    auto* catGroup = analysis->append(std::make_unique<MySelectorItem>("Categorizing", analysis));
    for (const DataColumn& d : data) {
        auto* column = dataGroup->append(std::make_unique<MySelectorItem>(d.title, dataGroup));
        column->append(std::make_unique<MySelectorItem>(d.title, d.title, "YES", std::vector<std::unique_ptr<MySelectorItem>>{},
                                                        QVector<qint64>{}, d.values, column));
    }
    for (const CategoryColumn& c : categorizing) {
        auto* column = catGroup->append(std::make_unique<MySelectorItem>(c.title, catGroup));
        for (int i = 0; i < c.categories.size(); ++i) {
            const bool used = i >= c.used.size() || c.used[i];
            column->append(std::make_unique<MySelectorItem>(c.categories[i], c.categories[i], used ? "YES" : "NO",
                                                            std::vector<std::unique_ptr<MySelectorItem>>{},
                                                            QVector<qint64>{qint64(i)}, QVector<std::optional<double>>{}, column));
        }
    }
    analysis->changeEditting(editting);
    return analysis;
}

} // namespace fixtures
