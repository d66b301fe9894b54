// Settings trees of new graphs, built with the bundled configRes.plist: every row is
// described, titled and explained, its default value passes its own edit check, and the
// reserve bits reach the rows of the last category only.
#include "KeyPaths.h"
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
        QVariantList represents;
        for (int j = 0; j < (level == levels - 1 ? series : 2); ++j)
            represents << QVariantMap{{"origName", QString("v%1").arg(j)}, {"represent", QString("V%1").arg(j)}};
        const QString title = level == 0 ? QString("dataColumns") : QString("c_Col%1").arg(level);
        analysis.categoryDicts << QVariantMap{{"categoryTitle", title}, {"represents", represents}};
        analysis.representLists << represents;
    }
    return MyGraphSettingsBuilder::graphSettingsFromAnalysis(app, 540, 720, analysis);
}

void forEachRow(MyConfigItem* item, const std::function<void(MyConfigItem*)>& f)
{
    for (MyConfigItem* child : item->configChildren()) {
        f(child);
        forEachRow(child, f);
    }
}

class ConfigTreeFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(app.loadConfigRes(Resources::plist(QStringLiteral("configRes.plist")), &error)) << qPrintable(error);
        app.makeAppDefaults();
        app.loadUserDefaults(DefaultsStore());   // nothing stored: the built-in defaults
    }

    std::unique_ptr<MyConfigRootItem> tree(const QVariantMap& settings)
    {
        auto root = std::make_unique<MyConfigRootItem>(nullptr);
        EXPECT_TRUE(root->outlineItemFromSettings(settings));
        return root;
    }
    std::unique_ptr<MyConfigRootItem> tree(bool scatter, int levels, int series)
    {
        return tree(newGraphSettings(app, scatter, levels, series));
    }

    AppDelegate app;
};

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
        const QString where = readable(r->itemID);
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
            for (int levels = 1; levels <= 4; ++levels)
                for (int series = 1; series <= 9; ++series)
                    shapes.push_back({scatter, levels, series});
        return shapes;
    }()),
    [](const auto& info) {
        return std::string(info.param.scatter ? "Dots" : "Boxes") + std::to_string(info.param.levels) + "Levels"
               + std::to_string(info.param.series) + "Series";
    });

// Every description is used by some tree: a new one of either type, or one of a document
// from an older version, whose graph rectangle has a width and whose series a "type". Each
// has every key in its kind and a one-sentence tooltip.
TEST_F(ConfigTreeFixture, EveryDescriptionBelongsToATreeAndIsWhole)
{
    QSet<QString> seen{QString()};
    auto collect = [&](const QVariantMap& settings) {
        forEachRow(tree(settings).get(), [&](MyConfigItem* r) {
            seen.insert(r->itemID);
            EXPECT_TRUE(app.configResOutlineItem.contains(r->itemID)) << qPrintable(readable(r->itemID));
            EXPECT_TRUE(MyOutlineTexts::objectOfConfigOutlineView(r, 0).isValid());
        });
    };
    for (bool scatter : {true, false}) {
        QVariantMap settings = newGraphSettings(app, scatter, 2, 3);
        collect(settings);
        QVariantMap graphProperties = settings["graphProperties"].toMap();
        QVariantMap graphRect = graphProperties["graphRect"].toMap();
        graphRect["graphRectWidth"] = graphRect.take("columnWidth");
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

    const QList<std::pair<const char*, int>> kinds{
        {"needFix", QMetaType::QString},  {"changeable", QMetaType::Bool},   {"setIndex", QMetaType::LongLong},
        {"indexes", QMetaType::QVariantList}, {"type2", QMetaType::QString}, {"allowEqual", QMetaType::Bool},
        {"dotReserve", QMetaType::Bool},  {"minVal", QMetaType::QString},   {"maxVal", QMetaType::QString}};
    for (auto it = app.configResOutlineItem.cbegin(); it != app.configResOutlineItem.cend(); ++it) {
        const std::string where = readable(it.key()).toStdString();
        EXPECT_TRUE(seen.contains(it.key())) << where;
        const QVariantMap d = it.value().toMap();
        EXPECT_EQ(d.size(), kinds.size()) << where;
        for (const auto& [key, kind] : kinds)
            EXPECT_EQ(d.value(key).typeId(), kind) << where << " " << key;
        for (const QVariant& i : d.value("indexes").toList())
            EXPECT_EQ(i.typeId(), QMetaType::LongLong) << where;
        const QString tip = app.configResString.value(it.key()).toMap().value("tooltip").toString();
        EXPECT_TRUE(tip.endsWith('.') && !tip.chopped(1).contains(". ")) << where << ": " << qPrintable(tip);
    }
    EXPECT_EQ(app.configResString.keys(), app.configResOutlineItem.keys());
}

// The outline names categories by their first row and entries by their name in the table.
TEST_F(ConfigTreeFixture, ArrayElementsReadAsTheirContent)
{
    auto root = tree(true, 3, 2);
    const QList<MyConfigItem*> categories = root->childTitle("categoryDicts")->configChildren();
    ASSERT_EQ(categories.size(), 3);
    const std::pair<const MyConfigItem*, QVariant> cells[] = {
        {categories[0], "by columns"},
        {categories[2], "by \"Col2\""},
        {categories[1]->childTitle("represents")->configChildAt(1), "v1"},
        {root->childTitle("dotsProperties")->configChildAt(1), "Dot Series 1"},
        {root->outlineItemWithKeys({"valueSettings", "scaleStrings"})->configChildAt(3), QVariant::fromValue<qint64>(3)}};
    for (const auto& [row, text] : cells)
        EXPECT_EQ(MyOutlineTexts::objectOfConfigOutlineView(row, 0), text) << qPrintable(readable(row->itemID));
}

// Rows that other parts reach by position, or by the positions in their index paths: the
// categories at 3 of the root, a category's title at 0 and its entries at 4, an entry's
// table name at 0 and its text at 1; the category and the entry at 1 and 3 of an index
// path, the series at 1, the scale label at 2.
TEST_F(ConfigTreeFixture, PositionalWalksFindTheirRows)
{
    for (bool scatter : {true, false}) {
        auto root = tree(scatter, 3, 3);
        MyConfigItem* categories = root->configChildAt(3);
        ASSERT_EQ(categories->title, QString("categoryDicts"));
        for (int i = 0; i < 3; ++i) {
            MyConfigItem* category = categories->configChildAt(i);
            EXPECT_EQ(category->configChildAt(0)->title, QString("categoryTitle"));
            MyConfigItem* represents = category->configChildAt(4);
            ASSERT_EQ(represents->title, QString("represents"));
            for (int j = 0; j < represents->configChildren().size(); ++j) {
                MyConfigItem* entry = represents->configChildAt(j);
                EXPECT_EQ(entry->configChildAt(0)->title, QString("origName"));
                EXPECT_EQ(entry->configChildAt(1)->title, QString("represent"));
                for (const MyConfigItem* r : {entry, entry->configChildAt(1)}) {
                    EXPECT_EQ(r->indexes.value(1), i);
                    EXPECT_EQ(r->indexes.value(3), j);
                }
            }
        }
        const QList<MyConfigItem*> series = root->childTitle(scatter ? "dotsProperties" : "boxesProperties")->configChildren();
        for (int k = 0; k < series.size(); ++k)
            EXPECT_EQ(series[k]->configChildAt(0)->indexes.value(1), k);
        const QList<MyConfigItem*> labels = root->outlineItemWithKeys({"valueSettings", "scaleStrings"})->configChildren();
        for (int j = 0; j < labels.size(); ++j)
            EXPECT_EQ(labels[j]->indexes.value(2), j);
    }
}

// The last category's rows name the series: they alone rebuild every series' dots.
TEST_F(ConfigTreeFixture, ReserveBitsReachTheLastCategoryOnly)
{
    const qint64 dotObject = app.configIndexDict.value("dotObject").toLongLong();
    const qint64 reserve = 0x18000;
    for (int levels = 1; levels <= 3; ++levels) {
        auto root = tree(true, levels, 4);
        const QList<MyConfigItem*> categories = root->childTitle("categoryDicts")->configChildren();
        ASSERT_EQ(categories.size(), levels);
        for (int c = 0; c < levels; ++c) {
            const bool last = c == levels - 1;
            MyConfigItem* represents = categories[c]->childTitle("represents");
            for (MyConfigItem* r : {categories[c], represents, represents->configChildAt(0), represents->configChildAt(1)}) {
                EXPECT_EQ((r->setIndex & reserve) == reserve, last) << levels << " levels, " << qPrintable(readable(r->itemID));
                EXPECT_EQ((r->setIndex & dotObject) != 0, last);
            }
            // Texts and spaces of a category do not touch the series.
            EXPECT_EQ(categories[c]->childTitle("xTitleAttr")->setIndex & dotObject, 0);
            EXPECT_EQ(represents->configChildAt(0)->childTitle("represent")->setIndex & dotObject, 0);
        }
    }
}

// Typed values keep to their row's range: rows (short key paths, see KeyPaths.h), then the
// texts accepted and the texts refused.
TEST_F(ConfigTreeFixture, TypedValuesKeepToTheirRange)
{
    const struct {
        const char* rows;
        QStringList accepted, refused;
    } cases[] = {
        // Sizes are positive.
        {"bg.viewWidth bg.viewHeight", {"0.5", "612"}, {"0", "-10"}},
        {"rect.height rect.columnWidth", {"1"}, {"0", "-1", "abc"}},
        {"dot.dotSize", {"0.1", "12pt"}, {"0"}},
        {"box.dotSize", {"3"}, {"0"}},
        // Line widths and lengths may be 0 (nothing drawn) but not negative.
        {"rect.lineWidth x.axisWidth y.tickWidth y.tickLength bars.lineWidth boxes.whiskerWidth dot.lineWidth "
         "box.dotLineWidth", {"0", "2.5"}, {"-0.5"}},
        // Fractions of the column width.
        {"bars.barLength boxes.boxWidth", {"0", "1", "0.5"}, {"1.01", "-0.1"}},
        {"cat.verticalGap", {"0"}, {"-4"}},
        {"y.titleRotation", {"-90", "360"}, {"361"}},
        // Kinds by number.
        {"dot.dotType", {"0", "6"}, {"7", "-1"}},
        {"bars.barType", {"0", "2"}, {"3"}},
        {"vs.partition", {"0"}, {"-1"}},
        // Axis values must be numbers; an empty label is removed.
        {"vs.min", {"-3.5", "1e3"}, {"abc", ""}},
        {"vs.scaleStrings.*", {"", "7"}, {"x"}},
        // Names take any text.
        {"graphTitle", {"", "Weight (g)"}, {}},
    };
    auto scatter = tree(true, 1, 2);
    auto boxplot = tree(false, 1, 2);
    for (const auto& c : cases) {
        for (const QString& written : QString(c.rows).split(' ')) {
            const QStringList keys = keyPath(written).split('\t');
            MyConfigItem* r = scatter->outlineItemWithKeys(keys);
            if (!r)
                r = boxplot->outlineItemWithKeys(keys);
            ASSERT_TRUE(r) << qPrintable(written);
            for (const QString& text : c.accepted + c.refused) {
                bool accepted = MyOutlineTexts::allowString(text, r);
                if (r->type == "integer") {
                    const auto n = NumberText::parseInt64(text);
                    accepted = n && MyOutlineTexts::allowInt(*n, r);
                }
                EXPECT_EQ(accepted, c.accepted.contains(text)) << qPrintable(written) << " = " << qPrintable(text);
            }
        }
    }
}

} // namespace
