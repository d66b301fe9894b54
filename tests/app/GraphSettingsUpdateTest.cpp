// Graph settings of older documents brought to the current key layout.
#include "AppTestSupport.h"

#include <gtest/gtest.h>

namespace {

// An edit at a path of dictionary keys and list indices, "graphProperties/xAxis/tickWidth";
// an invalid value removes the entry, an empty path replaces everything.
using Edit = std::pair<QString, QVariant>;

QVariant edited(QVariant node, QStringList path, const QVariant& value)
{
    const QString step = path.takeFirst();
    if (node.typeId() == QMetaType::QVariantList) {
        QVariantList list = node.toList();
        QVariant& element = list[step.toInt()];
        element = path.isEmpty() ? value : edited(element, path, value);
        return list;
    }
    QVariantMap map = node.toMap();
    if (!path.isEmpty())
        map.insert(step, edited(map.value(step), path, value));
    else if (value.isValid())
        map.insert(step, value);
    else
        map.remove(step);
    return map;
}

QVariantMap edited(QVariantMap settings, const std::vector<Edit>& edits)
{
    for (const auto& [path, value] : edits)
        settings = path.isEmpty() ? value.toMap() : edited(settings, path.split('/'), value).toMap();
    return settings;
}

class GraphSettingsUpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        delegate.makeAppDefaults();
        delegate.loadUserDefaults(DefaultsStore());
    }

    QVariantMap category(const QString& title) const
    {
        QVariantMap c = withValue(delegate.defaultCategoryDict, "categoryTitle", title);
        return withValue(c, "represents", QVariantList{QVariantMap{{"origName", title}, {"represent", title}}});
    }

    // Settings on the current layout, values differing from the defaults here and there,
    // one of them of another kind (a text where the defaults hold an integer).
    QVariantMap current(bool scatter, int seriesCount) const
    {
        QVariantList series;
        const QVariantList& templates = scatter ? delegate.defaultDots : delegate.defaultBoxes;
        for (int i = 0; i < seriesCount; ++i)
            series.append(withValue(templates[i % templates.size()].toMap(), "dotSize", QString::number(4 + i)));
        const QVariantMap properties{
            {"background", withValue(delegate.defaultBackground, "viewWidth", QString("640"))},
            {"graphRect", delegate.defaultGraphRect},
            {"xAxis", delegate.defaultXAxis},
            {"yAxis", withValue(delegate.defaultYAxis, "titleText", QString("mg/l"))},
            {scatter ? "bars" : "boxes",
             scatter ? withValue(delegate.defaultBar, "barType", QString("2")) : delegate.defaultBox},
        };
        return {
            {"graphTitle", QString("Weight")},
            {"valueSettings", QVariantMap{{"min", QString("0")}, {"max", QString("10")}, {"logarithmic", false}}},
            {"categoryDicts", QVariantList{category("a"), category("b")}},
            {scatter ? "dotsProperties" : "boxesProperties", series},
            {"graphProperties", properties},
        };
    }

    AppDelegate delegate;
};

// Each case: settings of the current layout with the old document's differences, and the
// edits that make the current layout what the update should give.
struct UpdateCase {
    const char* name;
    bool scatter;
    int series;
    std::vector<Edit> old;
    std::vector<Edit> result;
    bool changed;
};

TEST_F(GraphSettingsUpdateTest, OlderSettingsReachCurrentLayout)
{
    const QVariant junk = QString("junk");
    const std::vector<UpdateCase> cases{
        {"current_scatter", true, 7, {}, {}, false},
        {"current_boxplot", false, 3, {}, {}, false},
        {"missing_tick_width", true, 7,
         {{"graphProperties/xAxis/tickWidth", {}}, {"graphProperties/xAxis/axisWidth", QString("2")}},
         {{"graphProperties/xAxis/axisWidth", QString("2")}}, true},
        {"unknown_category_key", true, 7, {{"categoryDicts/1/oldGap", QString("2")}}, {}, true},
        // Series beyond the templates are matched from the first template again.
        {"nine_series_lacking_colours", true, 9, {{"dotsProperties/7/fillColor", {}}, {"dotsProperties/8/fillColor", {}}},
         {}, true},
        {"other_type_and_extra_root_keys_go_silently", false, 3,
         {{"dotsProperties", delegate.defaultDots}, {"oldRootKey", junk}, {"graphProperties/bars", delegate.defaultBar}},
         {}, false},
        // Missing or misshapen parts are rebuilt from the defaults, so callers always get a
        // complete dictionary.
        {"misshapen_parts_rebuilt", true, 7,
         {{"dotsProperties", {}}, {"categoryDicts/1", junk}, {"graphProperties/graphRect", QVariantMap{}},
          {"graphProperties/xAxis", junk}, {"graphProperties/bars", {}}},
         {{"dotsProperties", delegate.defaultDots}, {"categoryDicts", QVariantList{category("a")}},
          {"graphProperties/bars", delegate.defaultBar}},
         true},
        // The value settings come from the data, so none are made up.
        {"empty_settings", false, 3, {{"", QVariantMap{}}},
         {{"graphTitle", QString("")}, {"valueSettings", {}}, {"categoryDicts", QVariantList{}},
          {"boxesProperties", delegate.defaultBoxes}, {"graphProperties/background", delegate.defaultBackground},
          {"graphProperties/yAxis", delegate.defaultYAxis}},
         true},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QVariantMap settings = current(c.scatter, c.series);
        const GraphSettingsUpdate update =
            delegate.updateGraphSettings(edited(settings, c.old), c.scatter ? "scatter" : "boxplot");
        EXPECT_EQ(update.changed, c.changed);
        EXPECT_EQ(update.settings, edited(settings, c.result));
    }
}

} // namespace
