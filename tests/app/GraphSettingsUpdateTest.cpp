// Graph settings of older documents brought to the current key layout.
#include "app/AppDelegate.h"
#include "DictEdits.h"

#include <gtest/gtest.h>

namespace {

class GraphSettingsUpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        delegate.makeAppDefaults();
        delegate.loadUserDefaults(DefaultsStore());
    }

    QVariantMap category(const QString& title) const
    {
        QVariantMap c = delegate.defaultCategoryDict;
        c.insert("categoryTitle", title);
        c.insert("represents", QVariantList{QVariantMap{{"origName", title}, {"represent", title}}});
        return c;
    }

    // Settings on the current layout, values differing from the defaults here and there,
    // one of them of another kind (a text where the defaults hold an integer).
    QVariantMap current(bool scatter, int seriesCount) const
    {
        QVariantList series;
        const QVariantList& templates = scatter ? delegate.defaultDots : delegate.defaultBoxes;
        for (int i = 0; i < seriesCount; ++i)
            series.append(withValue(templates[i % templates.size()].toMap(), "dotSize", QString::number(4 + i)));
        QVariantMap properties{
            {"background", withValue(delegate.defaultBackground, "viewWidth", QString("640"))},
            {"graphRect", delegate.defaultGraphRect},
            {"xAxis", delegate.defaultXAxis},
            {"yAxis", withValue(delegate.defaultYAxis, "titleText", QString("mg/l"))},
        };
        if (scatter)
            properties.insert("bars", withValue(delegate.defaultBar, "barType", QString("2")));
        else
            properties.insert("boxes", delegate.defaultBox);
        return {
            {"graphTitle", QString("Weight")},
            {"valueSettings", QVariantMap{{"min", QString("0")}, {"max", QString("10")}, {"logarithmic", false}}},
            {"categoryDicts", QVariantList{category("a"), category("b")}},
            {scatter ? "dotsProperties" : "boxesProperties", series},
            {"graphProperties", properties},
        };
    }

    static QVariantMap group(const QVariantMap& settings, const char* name)
    {
        return settings.value("graphProperties").toMap().value(name).toMap();
    }

    static QVariantMap withGroup(QVariantMap settings, const char* name, const QVariantMap& value)
    {
        QVariantMap properties = settings.value("graphProperties").toMap();
        properties.insert(name, value);
        settings.insert("graphProperties", properties);
        return settings;
    }

    AppDelegate delegate;
};

TEST_F(GraphSettingsUpdateTest, CurrentSettingsComeBackUnchanged)
{
    for (bool scatter : {true, false}) {
        const QVariantMap settings = current(scatter, scatter ? 7 : 3);
        const GraphSettingsUpdate update = delegate.updateGraphSettings(settings, scatter ? "scatter" : "boxplot");
        EXPECT_FALSE(update.changed);
        EXPECT_EQ(update.settings, settings);
    }
}

TEST_F(GraphSettingsUpdateTest, MissingTickWidthComesFromDefaults)
{
    const QVariantMap xAxis = withValue(without(delegate.defaultXAxis, "tickWidth"), "axisWidth", QString("2"));
    const GraphSettingsUpdate update =
        delegate.updateGraphSettings(withGroup(current(true, 7), "xAxis", xAxis), "scatter");
    EXPECT_TRUE(update.changed);
    EXPECT_EQ(group(update.settings, "xAxis"), withValue(delegate.defaultXAxis, "axisWidth", QString("2")));
}

TEST_F(GraphSettingsUpdateTest, UnknownYAxisKeyIsDropped)
{
    const QVariantMap settings = current(false, 3);
    const QVariantMap yAxis = withValue(group(settings, "yAxis"), "titleFont", QString("Helvetica"));
    const GraphSettingsUpdate update = delegate.updateGraphSettings(withGroup(settings, "yAxis", yAxis), "boxplot");
    EXPECT_TRUE(update.changed);
    EXPECT_EQ(update.settings, settings);
}

TEST_F(GraphSettingsUpdateTest, CategoryLayoutKeysFollowDefaults)
{
    QVariantMap settings = current(true, 7);
    QVariantList categories = settings.value("categoryDicts").toList();
    categories[1] = withValue(categories[1].toMap(), "oldGap", QString("2"));
    settings.insert("categoryDicts", categories);
    const GraphSettingsUpdate update = delegate.updateGraphSettings(settings, "scatter");
    EXPECT_TRUE(update.changed);
    EXPECT_EQ(update.settings, current(true, 7));
}

TEST_F(GraphSettingsUpdateTest, SeriesBeyondTemplatesMatchFromTheStart)
{
    QVariantMap settings = current(true, 9);
    QVariantList dots = settings.value("dotsProperties").toList();
    dots[7] = without(dots[7].toMap(), "fillColor");
    dots[8] = without(dots[8].toMap(), "fillColor");
    settings.insert("dotsProperties", dots);
    const GraphSettingsUpdate update = delegate.updateGraphSettings(settings, "scatter");
    EXPECT_TRUE(update.changed);
    const QVariantList out = update.settings.value("dotsProperties").toList();
    ASSERT_EQ(out.size(), 9);
    EXPECT_EQ(out[7].toMap().value("fillColor"), delegate.defaultDots[0].toMap().value("fillColor"));
    EXPECT_EQ(out[8].toMap().value("fillColor"), delegate.defaultDots[1].toMap().value("fillColor"));
    EXPECT_EQ(out[8].toMap().value("dotSize"), QString("12"));

    // Fewer series than templates: none added.
    const GraphSettingsUpdate two = delegate.updateGraphSettings(current(false, 2), "boxplot");
    EXPECT_FALSE(two.changed);
    EXPECT_EQ(two.settings.value("boxesProperties").toList().size(), 2);
}

TEST_F(GraphSettingsUpdateTest, OtherTypeAndExtraRootKeysGoSilently)
{
    QVariantMap settings = current(false, 3);
    settings.insert("dotsProperties", delegate.defaultDots);
    settings.insert("oldRootKey", QString("x"));
    settings = withGroup(settings, "bars", delegate.defaultBar);
    const GraphSettingsUpdate update = delegate.updateGraphSettings(settings, "boxplot");
    EXPECT_FALSE(update.changed);
    EXPECT_EQ(update.settings, current(false, 3));
    EXPECT_EQ(update.settings.keys(),
              (QStringList{"boxesProperties", "categoryDicts", "graphProperties", "graphTitle", "valueSettings"}));
}

TEST_F(GraphSettingsUpdateTest, EmptyListsStayEmpty)
{
    QVariantMap settings = current(true, 0);
    settings.insert("categoryDicts", QVariantList{});
    const GraphSettingsUpdate update = delegate.updateGraphSettings(settings, "scatter");
    EXPECT_FALSE(update.changed);
    EXPECT_EQ(update.settings.value("categoryDicts"), QVariantList{});
    EXPECT_EQ(update.settings.value("dotsProperties"), QVariantList{});
}

// Missing or misshapen parts are rebuilt from the defaults, so callers always get a
// complete dictionary.
TEST_F(GraphSettingsUpdateTest, MisshapenPartsAreRebuilt)
{
    QVariantMap settings = current(true, 7);
    settings.remove("dotsProperties");
    settings.insert("categoryDicts", QVariantList{category("a"), QString("junk")});
    settings = withGroup(settings, "graphRect", {});
    QVariantMap properties = settings.value("graphProperties").toMap();
    properties.insert("xAxis", QString("junk"));
    properties.remove("bars");
    settings.insert("graphProperties", properties);

    const GraphSettingsUpdate update = delegate.updateGraphSettings(settings, "scatter");
    EXPECT_TRUE(update.changed);
    EXPECT_EQ(update.settings.value("dotsProperties").toList(), delegate.defaultDots);
    EXPECT_EQ(update.settings.value("categoryDicts").toList(), QVariantList{category("a")});
    EXPECT_EQ(group(update.settings, "graphRect"), delegate.defaultGraphRect);
    EXPECT_EQ(group(update.settings, "xAxis"), delegate.defaultXAxis);
    EXPECT_EQ(group(update.settings, "bars"), delegate.defaultBar);

    const GraphSettingsUpdate bare = delegate.updateGraphSettings({}, "boxplot");
    EXPECT_TRUE(bare.changed);
    EXPECT_EQ(bare.settings.value("graphTitle"), QString(""));
    EXPECT_EQ(group(bare.settings, "boxes"), delegate.defaultBox);
    EXPECT_EQ(bare.settings.value("boxesProperties").toList(), delegate.defaultBoxes);
}

} // namespace
