// User defaults read from the store and brought up to the built-in key sets.
#include "app/AppDelegate.h"
#include "DictEdits.h"

#include <gtest/gtest.h>

namespace {

const QString kUpdated = QStringLiteral("Your default Settings were automatically updated.");

class UserDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override { delegate.makeAppDefaults(); }

    // Loads the store with the given groups; returns the alerts it showed.
    QStringList load(const QVariantMap& groups)
    {
        ScopedScriptedDialogs scripted;
        DefaultsStore store;
        store.setValues(groups);
        delegate.loadUserDefaults(store);
        return scripted.dialogs.alerts;
    }

    void expectAllBuiltIn() const
    {
        EXPECT_EQ(delegate.defaultColumnSettings, delegate.appDefaultColumnSettings);
        EXPECT_EQ(delegate.defaultTableRowSettings, delegate.appDefaultTableRowSettings);
        EXPECT_EQ(delegate.defaultBackground, delegate.appDefaultBackground);
        EXPECT_EQ(delegate.defaultGraphRect, delegate.appDefaultGraphRect);
        EXPECT_EQ(delegate.defaultXAxis, delegate.appDefaultXAxis);
        EXPECT_EQ(delegate.defaultCategoryDict, delegate.appDefaultCategoryDict);
        EXPECT_EQ(delegate.defaultYAxis, delegate.appDefaultYAxis);
        EXPECT_EQ(delegate.defaultBar, delegate.appDefaultBar);
        EXPECT_EQ(delegate.defaultBox, delegate.appDefaultBox);
        EXPECT_EQ(delegate.defaultDots, delegate.appDefaultDots);
        EXPECT_EQ(delegate.defaultBoxes, delegate.appDefaultBoxes);
        EXPECT_EQ(delegate.defaultStats, delegate.appDefaultStats);
    }

    AppDelegate delegate;
};

TEST_F(UserDefaultsTest, EmptyStoreGivesBuiltInsSilently)
{
    EXPECT_TRUE(load({}).isEmpty());
    expectAllBuiltIn();
}

// Stored groups of the wrong shape count as absent: built-in value, no message.
struct ShapeCase {
    const char* name;
    const char* key;
    QVariant stored;
};

void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.name; }

class MisshapenGroupTest : public UserDefaultsTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(MisshapenGroupTest, CountsAsAbsent)
{
    EXPECT_TRUE(load({{GetParam().key, GetParam().stored}}).isEmpty());
    expectAllBuiltIn();
}

INSTANTIATE_TEST_SUITE_P(Shapes, MisshapenGroupTest, ::testing::Values(
    ShapeCase{"columns_number_value", "columnSettings", QVariantMap{{"width", qint64(70)}, {"extra", QString("1")}}},
    ShapeCase{"stats_string_value", "stats", QVariantMap{{"unbiased", QString("YES")}}},
    ShapeCase{"background_string", "background", QString("white")},
    ShapeCase{"yaxis_list", "yAxis", QVariantList{QVariantMap{}}},
    ShapeCase{"dots_dictionary", "dots", QVariantMap{{"dotType", qint64(0)}}},
    ShapeCase{"dots_with_string_element", "dots", QVariantList{QVariantMap{}, QString("x")}},
    ShapeCase{"boxes_number", "boxes", qint64(3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UserDefaultsTest, SameKeysOtherValuesAreKeptSilently)
{
    const QVariantMap xAxis = withValue(delegate.appDefaultXAxis, "tickWidth", QString("3"));
    // Values of another kind stay too: only keys are compared.
    const QVariantMap bar = withValue(delegate.appDefaultBar, "barType", QString("2"));
    const QVariantMap stats = withValue(delegate.appDefaultStats, "stats", true);
    EXPECT_TRUE(load({{"xAxis", xAxis}, {"bar", bar}, {"stats", stats}}).isEmpty());
    EXPECT_EQ(delegate.defaultXAxis, xAxis);
    EXPECT_EQ(delegate.defaultBar, bar);
    EXPECT_EQ(delegate.defaultStats, stats);
}

TEST_F(UserDefaultsTest, ExtraKeyIsDropped)
{
    QVariantMap box = withValue(delegate.appDefaultBox, "boxWidth", QString("0.7"));
    EXPECT_EQ(load({{"box", withValue(box, "oldKey", QString("1"))}}), QStringList{kUpdated});
    EXPECT_EQ(delegate.defaultBox, box);
}

TEST_F(UserDefaultsTest, MissingKeyGetsBuiltInValue)
{
    const QVariantMap stored = withValue(without(delegate.appDefaultYAxis, "titleText"), "scaleGap", QString("9"));
    EXPECT_EQ(load({{"yAxis", stored}}), QStringList{kUpdated});
    EXPECT_EQ(delegate.defaultYAxis, withValue(delegate.appDefaultYAxis, "scaleGap", QString("9")));
}

TEST_F(UserDefaultsTest, ColumnAndStatsGroupsKeepTheirValueTypes)
{
    EXPECT_EQ(load({{"columnSettings", QVariantMap{{"width", QString("90")}, {"old", QString("x")}}},
                    {"stats", QVariantMap{{"stats", true}}}}),
              QStringList{kUpdated});
    EXPECT_EQ(delegate.defaultColumnSettings, (QVariantMap{{"width", QString("90")}}));
    EXPECT_EQ(delegate.defaultStats, withValue(delegate.appDefaultStats, "stats", true));
    for (const QVariant& v : delegate.defaultStats)
        EXPECT_EQ(v.typeId(), QMetaType::Bool);
}

TEST_F(UserDefaultsTest, ThreeDotSeriesBecomeSeven)
{
    QVariantList three = delegate.appDefaultDots.mid(0, 3);
    three[1] = withValue(three[1].toMap(), "dotSize", QString("9"));
    EXPECT_EQ(load({{"dots", three}}), QStringList{kUpdated});
    ASSERT_EQ(delegate.defaultDots.size(), 7);
    EXPECT_EQ(delegate.defaultDots.mid(0, 3), three);
    EXPECT_EQ(delegate.defaultDots.mid(3), delegate.appDefaultDots.mid(3));
}

TEST_F(UserDefaultsTest, SevenDotSeriesAreMergedOneByOne)
{
    QVariantList seven = delegate.appDefaultDots;
    seven[6] = withValue(seven[6].toMap(), "dotType", qint64(2));
    EXPECT_TRUE(load({{"dots", seven}}).isEmpty());
    EXPECT_EQ(delegate.defaultDots, seven);

    // Only the series that lacks a key changes.
    seven[4] = without(seven[4].toMap(), "betweenDots");
    EXPECT_EQ(load({{"dots", seven}}), QStringList{kUpdated});
    ASSERT_EQ(delegate.defaultDots.size(), 7);
    EXPECT_EQ(delegate.defaultDots[4], delegate.appDefaultDots[4]);
    EXPECT_EQ(delegate.defaultDots[6], seven[6]);
}

TEST_F(UserDefaultsTest, EmptyDotListGivesBuiltInsWithMessage)
{
    EXPECT_EQ(load({{"dots", QVariantList{}}}), QStringList{kUpdated});
    EXPECT_EQ(delegate.defaultDots, delegate.appDefaultDots);
}

TEST_F(UserDefaultsTest, NineDotSeriesMatchTemplatesFromTheStart)
{
    QVariantList nine = delegate.appDefaultDots + delegate.appDefaultDots.mid(0, 2);
    nine[7] = withValue(nine[7].toMap(), "dotSize", QString("3"));
    EXPECT_TRUE(load({{"dots", nine}}).isEmpty());
    EXPECT_EQ(delegate.defaultDots, nine);

    // Series 8 lacking its fill colour gets that of built-in series 1.
    nine[8] = without(nine[8].toMap(), "fillColor");
    EXPECT_EQ(load({{"dots", nine}}), QStringList{kUpdated});
    ASSERT_EQ(delegate.defaultDots.size(), 9);
    EXPECT_EQ(delegate.defaultDots[8].toMap().value("fillColor"), delegate.appDefaultDots[1].toMap().value("fillColor"));
    EXPECT_NE(delegate.appDefaultDots[1].toMap().value("fillColor"), delegate.appDefaultDots[0].toMap().value("fillColor"));
}

TEST_F(UserDefaultsTest, SeveralChangedGroupsGiveOneMessage)
{
    const QStringList alerts = load({
        {"background", withValue(delegate.appDefaultBackground, "x", true)},
        {"graphRect", without(delegate.appDefaultGraphRect, "height")},
        {"boxes", delegate.appDefaultBoxes.mid(0, 1)},
        {"stats", without(delegate.appDefaultStats, "allStats")},
    });
    EXPECT_EQ(alerts, QStringList{kUpdated});
    EXPECT_EQ(delegate.defaultGraphRect, delegate.appDefaultGraphRect);
    EXPECT_EQ(delegate.defaultBoxes, delegate.appDefaultBoxes);
}

TEST(UpdateDictArray, EmptyTemplateKeepsStoredList)
{
    const QVariantList stored{QVariantMap{{"a", 1}}, QVariantMap{{"b", 2}}};
    const DictListUpdate update = AppDelegate::updateDictArray(stored, {});
    EXPECT_EQ(update.list, stored);
    EXPECT_FALSE(update.changed);
}

TEST(UpdateDict, SameKeysReturnStoredItself)
{
    const QVariantMap stored{{"a", QString("x")}, {"b", qint64(2)}};
    const QVariantMap templ{{"a", true}, {"b", QString("3")}};
    const DictUpdate update = AppDelegate::updateDict(stored, templ);
    EXPECT_EQ(update.dict, stored);
    EXPECT_FALSE(update.changed);
    // Another key set of the same size is a change.
    const DictUpdate other = AppDelegate::updateDict(QVariantMap{{"a", 1}, {"c", 2}}, templ);
    EXPECT_EQ(other.dict, (QVariantMap{{"a", 1}, {"b", QString("3")}}));
    EXPECT_TRUE(other.changed);
}

} // namespace
