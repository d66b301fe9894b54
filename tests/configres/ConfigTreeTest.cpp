// Settings trees of new graphs, built with the bundled configRes.plist: every row is
// described, titled and explained, its default value passes its own edit check, and the
// reserve bits reach the rows of the last category only.
#include "analysis/MyGraphSettingsBuilder.h"
#include "app/AppDelegate.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MyOutlineTexts.h"
#include "platform/NumberText.h"
#include "platform/Resources.h"

#include <QSet>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Graph settings of a new analysis made from the built-in defaults by the analyses' own
// builder: `levels` category levels (the data columns first), the last with `series`
// entries, so one series per entry.
QVariantMap newGraphSettings(const AppDelegate& app, bool scatter, int levels, int series)
{
    MyAnalysisData analysis;
    analysis.graphType = scatter ? "scatter" : "boxplot";
    analysis.title = "Untitled";
    analysis.minMax = {1.0, 9.0};
    for (int level = 0; level < levels; ++level) {
        const int entries = level == levels - 1 ? series : 2;
        QVariantList represents;
        for (int j = 0; j < entries; ++j)
            represents << QVariantMap{{"origName", QString("v%1").arg(j)}, {"represent", QString("V%1").arg(j)}};
        const QString title = level == 0 ? QString("dataColumns") : QString("c_Col%1").arg(level);
        analysis.categoryDicts << QVariantMap{{"categoryTitle", title}, {"represents", represents}};
        analysis.representLists << represents;
    }
    return MyGraphSettingsBuilder::graphSettingsFromAnalysis(app, 540, 720, analysis);
}

class ConfigTreeFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(app.loadConfigRes(Resources::plist(QStringLiteral("configRes.plist")), &error)) << qPrintable(error);
        app.makeAppDefaults();
        app.defaultBackground = app.appDefaultBackground;
        app.defaultGraphRect = app.appDefaultGraphRect;
        app.defaultXAxis = app.appDefaultXAxis;
        app.defaultCategoryDict = app.appDefaultCategoryDict;
        app.defaultYAxis = app.appDefaultYAxis;
        app.defaultBar = app.appDefaultBar;
        app.defaultBox = app.appDefaultBox;
        app.defaultDots = app.appDefaultDots;
        app.defaultBoxes = app.appDefaultBoxes;
    }

    std::unique_ptr<MyConfigRootItem> tree(bool scatter, int levels, int series)
    {
        auto root = std::make_unique<MyConfigRootItem>(nullptr);
        EXPECT_TRUE(root->outlineItemFromSettings(newGraphSettings(app, scatter, levels, series)));
        return root;
    }

    MyConfigItem* row(MyConfigRootItem& root, const QStringList& keys)
    {
        MyConfigItem* r = root.outlineItemWithKeys(keys);
        EXPECT_TRUE(r) << qPrintable(keys.join(" > "));
        return r;
    }

    AppDelegate app;
};

void forEachRow(MyConfigItem* item, const std::function<void(MyConfigItem*)>& f)
{
    for (MyConfigItem* child : item->configChildren()) {
        f(child);
        forEachRow(child, f);
    }
}

// Texts that are names and labels, not numbers.
const QSet<QString> kFreeText{"graphTitle", "categoryTitle", "origName", "represent", "titleText", "fontKey"};

struct Shape {
    bool scatter;
    int levels;
    int series;
};

class ConfigTreeShapes : public ConfigTreeFixture, public ::testing::WithParamInterface<Shape> {};

TEST_P(ConfigTreeShapes, EveryRowIsDescribedTitledAndExplained)
{
    const Shape s = GetParam();
    auto root = tree(s.scatter, s.levels, s.series);
    int rows = 0;
    forEachRow(root.get(), [&](MyConfigItem* r) {
        ++rows;
        const QString where = QString(r->itemID).replace('\t', " > ");
        ASSERT_TRUE(app.configResOutlineItem.contains(r->itemID)) << qPrintable(where);
        const QVariantMap strings = app.configResString.value(r->itemID).toMap();
        EXPECT_FALSE(strings.value("tooltip").toString().isEmpty()) << qPrintable(where);
        ASSERT_TRUE(strings.contains("titleRepresent")) << qPrintable(where);

        const QVariant title = MyOutlineTexts::objectOfConfigOutlineView(r, 0);
        if (title.typeId() == QMetaType::LongLong)
            EXPECT_EQ(r->configParent()->type, QString("array")) << qPrintable(where);
        else
            EXPECT_FALSE(title.toString().isEmpty()) << qPrintable(where);

        // Defaults pass the row's own edit check.
        if (r->type == "string") {
            EXPECT_EQ(r->type2.isEmpty(), kFreeText.contains(r->title)) << qPrintable(where);
            EXPECT_TRUE(MyOutlineTexts::allowString(r->message, r)) << qPrintable(where) << " = " << qPrintable(r->message);
        } else if (r->type == "integer") {
            EXPECT_TRUE(MyOutlineTexts::allowInt(r->message.toLongLong(), r)) << qPrintable(where);
        } else if (r->type == "data") {
            // A pasted colour never lands in a font row, nor the other way round.
            EXPECT_EQ(r->type2, r->title.endsWith("olor") ? QString("color") : QString("attributes")) << qPrintable(where);
        }
    });
    EXPECT_GT(rows, 40);
}

INSTANTIATE_TEST_SUITE_P(
    Graphs, ConfigTreeShapes,
    ::testing::ValuesIn([] {
        std::vector<Shape> shapes;
        for (bool scatter : {true, false})
            for (int levels = 1; levels <= 3; ++levels)
                for (int series = 1; series <= 9; ++series)
                    shapes.push_back({scatter, levels, series});
        return shapes;
    }()),
    [](const auto& info) {
        return std::string(info.param.scatter ? "Dots" : "Boxes") + std::to_string(info.param.levels) + "Levels"
               + std::to_string(info.param.series) + "Series";
    });

// Every description is used by some tree: a new one of either type, or one of a document
// from an older version, whose graph rectangle has a width and whose series a "type".
TEST_F(ConfigTreeFixture, EveryDescriptionBelongsToATree)
{
    QSet<QString> seen{QString()};
    auto collect = [&](const QVariantMap& settings) {
        MyConfigRootItem root(nullptr);
        ASSERT_TRUE(root.outlineItemFromSettings(settings));
        forEachRow(&root, [&](MyConfigItem* r) {
            seen.insert(r->itemID);
            EXPECT_TRUE(app.configResOutlineItem.contains(r->itemID)) << qPrintable(QString(r->itemID).replace('\t', " > "));
            EXPECT_TRUE(MyOutlineTexts::objectOfConfigOutlineView(r, 0).isValid());
        });
    };
    for (bool scatter : {true, false}) {
        QVariantMap settings = newGraphSettings(app, scatter, 2, 3);
        collect(settings);
        QVariantMap graphProperties = settings["graphProperties"].toMap();
        QVariantMap graphRect = graphProperties["graphRect"].toMap();
        graphRect.remove("columnWidth");
        graphRect["graphRectWidth"] = "245";
        graphProperties["graphRect"] = graphRect;
        settings["graphProperties"] = graphProperties;
        const QString seriesKey = scatter ? "dotsProperties" : "boxesProperties";
        QVariantList series = settings[seriesKey].toList();
        QVariantMap first = series[0].toMap();
        first["type"] = first.take("dotType");
        series[0] = first;
        settings[seriesKey] = series;
        collect(settings);
    }
    for (auto it = app.configResOutlineItem.cbegin(); it != app.configResOutlineItem.cend(); ++it)
        EXPECT_TRUE(seen.contains(it.key())) << qPrintable(QString(it.key()).replace('\t', " > "));
}

TEST_F(ConfigTreeFixture, DescriptionsHaveEveryKeyInItsKind)
{
    const QList<std::pair<const char*, int>> kinds{
        {"needFix", QMetaType::QString},  {"changeable", QMetaType::Bool},   {"setIndex", QMetaType::LongLong},
        {"indexes", QMetaType::QVariantList}, {"type2", QMetaType::QString}, {"allowEqual", QMetaType::Bool},
        {"dotReserve", QMetaType::Bool},  {"minVal", QMetaType::QString},   {"maxVal", QMetaType::QString}};
    for (auto it = app.configResOutlineItem.cbegin(); it != app.configResOutlineItem.cend(); ++it) {
        const QVariantMap d = it.value().toMap();
        EXPECT_EQ(d.size(), kinds.size()) << qPrintable(it.key());
        for (const auto& [key, kind] : kinds)
            EXPECT_EQ(d.value(key).typeId(), kind) << qPrintable(it.key()) << " " << key;
        for (const QVariant& i : d.value("indexes").toList())
            EXPECT_EQ(i.typeId(), QMetaType::LongLong) << qPrintable(it.key());
        EXPECT_TRUE(app.configResString.contains(it.key())) << qPrintable(it.key());
        // One sentence each.
        const QString tip = app.configResString.value(it.key()).toMap().value("tooltip").toString();
        EXPECT_TRUE(tip.endsWith('.') && !tip.chopped(1).contains(". ")) << qPrintable(tip);
    }
    EXPECT_EQ(app.configResString.size(), app.configResOutlineItem.size());
}

// The outline names categories by their first row and entries by their name in the table.
TEST_F(ConfigTreeFixture, ArrayElementsReadAsTheirContent)
{
    auto root = tree(true, 3, 2);
    const QList<MyConfigItem*> categories = row(*root, {"categoryDicts"})->configChildren();
    ASSERT_EQ(categories.size(), 3);
    EXPECT_EQ(MyOutlineTexts::objectOfConfigOutlineView(categories[0], 0), QVariant("by columns"));
    EXPECT_EQ(MyOutlineTexts::objectOfConfigOutlineView(categories[2], 0), QVariant("by \"Col2\""));
    MyConfigItem* entry = categories[1]->childTitle("represents")->configChildAt(1);
    EXPECT_EQ(MyOutlineTexts::objectOfConfigOutlineView(entry, 0), QVariant("v1"));
    MyConfigItem* series = row(*root, {"dotsProperties"})->configChildAt(1);
    EXPECT_EQ(MyOutlineTexts::objectOfConfigOutlineView(series, 0), QVariant("Dot Series 1"));
    MyConfigItem* label = row(*root, {"valueSettings", "scaleStrings"})->configChildAt(3);
    EXPECT_EQ(MyOutlineTexts::objectOfConfigOutlineView(label, 0), QVariant::fromValue<qint64>(3));
}

// The last category's rows name the series: they alone rebuild every series' dots.
TEST_F(ConfigTreeFixture, ReserveBitsReachTheLastCategoryOnly)
{
    const qint64 dotObject = app.configIndexDict.value("dotObject").toLongLong();
    const qint64 reserve = 0x18000;
    for (int levels = 1; levels <= 3; ++levels) {
        auto root = tree(true, levels, 4);
        const QList<MyConfigItem*> categories = row(*root, {"categoryDicts"})->configChildren();
        ASSERT_EQ(categories.size(), levels);
        for (int c = 0; c < levels; ++c) {
            const bool last = c == levels - 1;
            MyConfigItem* represents = categories[c]->childTitle("represents");
            for (MyConfigItem* r : {categories[c], represents, represents->configChildAt(0), represents->configChildAt(1)}) {
                EXPECT_EQ((r->setIndex & reserve) == reserve, last) << levels << " levels, category " << c << " "
                                                                    << qPrintable(QString(r->itemID).replace('\t', " > "));
                EXPECT_EQ((r->setIndex & dotObject) != 0, last);
            }
            // Texts and spaces of a category do not touch the series.
            EXPECT_EQ(categories[c]->childTitle("xTitleAttr")->setIndex & dotObject, 0);
            EXPECT_EQ(represents->configChildAt(0)->childTitle("represent")->setIndex & dotObject, 0);
        }
    }
}

struct Typed {
    const char* name;
    QStringList keys;   // from the root; "" is the first array element
    QString text;
    bool accepted;
};

class ConfigTreeEditChecks : public ConfigTreeFixture, public ::testing::WithParamInterface<Typed> {};

TEST_P(ConfigTreeEditChecks, TypedValuesKeepToTheirRange)
{
    const Typed& t = GetParam();
    auto root = tree(t.keys.first() != "boxesProperties" && !t.keys.contains("boxes"), 1, 2);
    MyConfigItem* r = row(*root, t.keys);
    ASSERT_TRUE(r);
    bool accepted = false;
    if (r->type == "integer") {
        const auto n = NumberText::parseInt64(t.text);
        accepted = n && MyOutlineTexts::allowInt(*n, r);
    } else {
        accepted = MyOutlineTexts::allowString(t.text, r);
    }
    EXPECT_EQ(accepted, t.accepted) << qPrintable(t.keys.join(" > ")) << " = " << qPrintable(t.text);
}

std::vector<Typed> typedCases()
{
    std::vector<Typed> cases;
    auto add = [&](const char* name, QStringList keys, std::initializer_list<std::pair<const char*, bool>> texts) {
        for (const auto& [text, ok] : texts)
            cases.push_back({name, keys, QString::fromUtf8(text), ok});
    };
    // Sizes are positive.
    for (const char* key : {"viewWidth", "viewHeight"})
        add("PageSize", {"graphProperties", "background", key}, {{"0", false}, {"-10", false}, {"0.5", true}, {"612", true}});
    for (const char* key : {"height", "columnWidth"})
        add("GraphSize", {"graphProperties", "graphRect", key}, {{"0", false}, {"-1", false}, {"1", true}, {"abc", false}});
    add("DotSize", {"dotsProperties", "", "dotSize"}, {{"0", false}, {"0.1", true}, {"12pt", true}});
    add("OutlierSize", {"boxesProperties", "", "dotSize"}, {{"0", false}, {"3", true}});
    // Line widths and lengths may be 0 (nothing drawn) but not negative.
    for (auto keys : {QStringList{"graphProperties", "graphRect", "lineWidth"},
                      QStringList{"graphProperties", "xAxis", "axisWidth"},
                      QStringList{"graphProperties", "yAxis", "tickWidth"},
                      QStringList{"graphProperties", "yAxis", "tickLength"},
                      QStringList{"graphProperties", "bars", "lineWidth"},
                      QStringList{"graphProperties", "boxes", "whiskerWidth"},
                      QStringList{"dotsProperties", "", "lineWidth"},
                      QStringList{"boxesProperties", "", "dotLineWidth"}})
        add("Width", keys, {{"0", true}, {"-0.5", false}, {"2.5", true}});
    // Fractions of the column width.
    for (auto keys : {QStringList{"graphProperties", "bars", "barLength"}, QStringList{"graphProperties", "boxes", "boxWidth"}})
        add("Fraction", keys, {{"0", true}, {"1", true}, {"1.01", false}, {"-0.1", false}, {"0.5", true}});
    add("Gap", {"categoryDicts", "", "verticalGap"}, {{"0", true}, {"-4", false}});
    add("Rotation", {"graphProperties", "yAxis", "titleRotation"}, {{"-90", true}, {"360", true}, {"361", false}});
    // Kinds by number.
    add("DotType", {"dotsProperties", "", "dotType"}, {{"0", true}, {"6", true}, {"7", false}, {"-1", false}});
    add("BarType", {"graphProperties", "bars", "barType"}, {{"0", true}, {"2", true}, {"3", false}});
    add("Partition", {"valueSettings", "partition"}, {{"0", true}, {"-1", false}});
    // Axis values must be numbers; an empty label is removed.
    add("AxisMin", {"valueSettings", "min"}, {{"-3.5", true}, {"1e3", true}, {"abc", false}, {"", false}});
    add("Label", {"valueSettings", "scaleStrings", ""}, {{"", true}, {"7", true}, {"x", false}});
    // Names take any text.
    add("Title", {"graphTitle"}, {{"", true}, {"Weight (g)", true}});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Rows, ConfigTreeEditChecks, ::testing::ValuesIn(typedCases()),
                         [](const auto& info) { return std::string(info.param.name) + std::to_string(info.index); });

} // namespace
