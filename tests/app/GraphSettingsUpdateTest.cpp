// Graph settings of older documents brought to the current key layout.
#include "AppTestSupport.h"

namespace {

// An edit at a path of dictionary keys, "graphProperties/xAxis/tickWidth"; an invalid value
// removes the entry.
using Edit = std::pair<QString, QVariant>;

QVariantMap edited(QVariantMap map, const std::vector<Edit>& edits)
{
    for (const auto& [path, value] : edits) {
        const QString key = path.section('/', 0, 0), rest = path.section('/', 1);
        if (!rest.isEmpty())
            map.insert(key, edited(map.value(key).toMap(), {{rest, value}}));
        else if (value.isValid())
            map.insert(key, value);
        else
            map.remove(key);
    }
    return map;
}

// Each case: settings of the current layout with the old document's differences, and the
// edits that make the current layout what the update should give. Any difference from the
// current layout marks the settings as changed.
struct UpdateCase {
    const char* name;
    bool scatter;
    std::vector<Edit> old;
    std::vector<Edit> result;
};

TEST(GraphSettingsUpdate, OlderSettingsReachCurrentLayout)
{
    AppDelegate d;
    d.makeAppDefaults();
    d.loadUserDefaults(DefaultsStore());
    const QVariantMap category = withValue(d.defaultCategoryDict, "categoryTitle", QString("a"));
    // Settings on the current layout; one value is of another kind (a text where the defaults
    // hold an integer) and stays as it is.
    auto current = [&d, &category](bool scatter) {
        return QVariantMap{
            {"graphTitle", QString("Weight")},
            {"valueSettings", QVariantMap{{"min", QString("0")}, {"max", QString("10")}}},
            {"categoryDicts", QVariantList{category, category}},
            {scatter ? "dotsProperties" : "boxesProperties", scatter ? d.defaultDots : d.defaultBoxes},
            {"graphProperties", QVariantMap{
                {"background", withValue(d.defaultBackground, "viewWidth", QString("640"))},
                {"graphRect", d.defaultGraphRect},
                {"xAxis", d.defaultXAxis},
                {"yAxis", d.defaultYAxis},
                {scatter ? "bars" : "boxes", scatter ? d.defaultBar : d.defaultBox},
            }},
        };
    };

    const QVariant junk = QString("junk");
    const std::vector<UpdateCase> cases{
        {"current_scatter", true, {}, {}},
        {"missing_and_extra_keys", true,
         {{"graphProperties/xAxis/tickWidth", {}}, {"graphProperties/xAxis/axisWidth", QString("2")},
          {"graphProperties/yAxis/oldGap", junk}},
         {{"graphProperties/xAxis/axisWidth", QString("2")}}},
        // Missing or misshapen parts are rebuilt from the defaults, so callers always get a
        // complete dictionary.
        {"misshapen_parts_rebuilt", false,
         {{"boxesProperties", {}}, {"categoryDicts", QVariantList{category, junk}},
          {"graphProperties/graphRect", QVariantMap{}}, {"graphProperties/xAxis", junk}},
         {{"categoryDicts", QVariantList{category}}}},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QVariantMap settings = current(c.scatter);
        const GraphSettingsUpdate update =
            d.updateGraphSettings(edited(settings, c.old), c.scatter ? "scatter" : "boxplot");
        EXPECT_EQ(update.changed, !c.old.empty());
        EXPECT_EQ(update.settings, edited(settings, c.result));
    }
}

} // namespace
