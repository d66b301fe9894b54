// User defaults read from the store and brought up to the built-in key sets.
#include "AppTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct StoreCase {
    const char* name;
    QVariantMap stored;    // the store's groups
    QVariantMap expected;  // the groups that differ from the built-in ones afterwards
    bool updated;          // the update message is shown (once)
};

TEST(UserDefaults, StoredGroupsAreBroughtToBuiltInKeys)
{
    AppDelegate reference;
    reference.makeAppDefaults();
    const QVariantMap builtIn = defaultGroups(reference, true);
    auto group = [&builtIn](const char* key) { return builtIn.value(key).toMap(); };
    const QVariantList dots = reference.appDefaultDots;

    // Series 1 of three edited; series 6 of seven of another type, series 4 lacking a key.
    QVariantList three = dots.mid(0, 3);
    three[1] = withValue(three[1].toMap(), "dotSize", QString("9"));
    QVariantList seven = dots;
    seven[6] = withValue(seven[6].toMap(), "dotType", qint64(2));
    QVariantList sevenShort = seven;
    sevenShort[4] = without(seven[4].toMap(), "betweenDots");
    QVariantList sevenMended = seven;
    sevenMended[4] = dots[4];
    // Nine series are matched against the built-in ones from the start again: series 8
    // lacking its fill colour gets that of built-in series 1.
    QVariantList nine = dots + dots.mid(0, 2);
    nine[7] = withValue(nine[7].toMap(), "dotSize", QString("3"));
    QVariantList nineShort = nine;
    nineShort[8] = without(nine[8].toMap(), "fillColor");

    const QVariantMap xAxis = withValue(group("xAxis"), "tickWidth", QString("3"));
    // Values of another kind stay too: only keys are compared.
    const QVariantMap bar = withValue(group("bar"), "barType", QString("2"));
    const QVariantMap stats = withValue(group("stats"), "stats", true);
    const QVariantMap box = withValue(group("box"), "boxWidth", QString("0.7"));
    const QVariantMap yAxis = withValue(group("yAxis"), "scaleGap", QString("9"));

    const std::vector<StoreCase> cases{
        {"empty_store", {}, {}, false},
        // Groups of the wrong shape count as absent.
        {"columns_number_value", {{"columnSettings", QVariantMap{{"width", qint64(70)}, {"extra", QString("1")}}}}, {}, false},
        {"stats_string_value", {{"stats", QVariantMap{{"unbiased", QString("YES")}}}}, {}, false},
        {"background_string", {{"background", QString("white")}}, {}, false},
        {"yaxis_list", {{"yAxis", QVariantList{QVariantMap{}}}}, {}, false},
        {"dots_dictionary", {{"dots", QVariantMap{{"dotType", qint64(0)}}}}, {}, false},
        {"dots_with_string_element", {{"dots", QVariantList{QVariantMap{}, QString("x")}}}, {}, false},
        {"boxes_number", {{"boxes", qint64(3)}}, {}, false},
        {"same_keys_other_values", {{"xAxis", xAxis}, {"bar", bar}, {"stats", stats}},
         {{"xAxis", xAxis}, {"bar", bar}, {"stats", stats}}, false},
        {"extra_key_dropped", {{"box", withValue(box, "oldKey", QString("1"))}}, {{"box", box}}, true},
        {"same_size_other_key", {{"columnSettings", QVariantMap{{"old", QString("90")}}}}, {}, true},
        {"missing_key_added", {{"yAxis", without(yAxis, "titleText")}}, {{"yAxis", yAxis}}, true},
        {"columns_and_stats_keep_types",
         {{"columnSettings", QVariantMap{{"width", QString("90")}, {"old", QString("x")}}}, {"stats", QVariantMap{{"stats", true}}}},
         {{"columnSettings", QVariantMap{{"width", QString("90")}}}, {"stats", stats}}, true},
        {"three_dot_series", {{"dots", three}}, {{"dots", three + dots.mid(3)}}, true},
        {"seven_dot_series", {{"dots", seven}}, {{"dots", seven}}, false},
        {"seven_one_lacking_key", {{"dots", sevenShort}}, {{"dots", sevenMended}}, true},
        {"empty_dot_list", {{"dots", QVariantList{}}}, {}, true},
        {"nine_dot_series", {{"dots", nine}}, {{"dots", nine}}, false},
        {"nine_one_lacking_key", {{"dots", nineShort}}, {{"dots", nine}}, true},
        {"several_changed_groups",
         {{"background", withValue(group("background"), "x", true)}, {"graphRect", without(group("graphRect"), "height")},
          {"boxes", reference.appDefaultBoxes.mid(0, 1)}, {"stats", without(group("stats"), "allStats")}},
         {}, true},
    };
    for (const StoreCase& c : cases) {
        SCOPED_TRACE(c.name);
        AppDelegate delegate;
        delegate.makeAppDefaults();
        ScopedScriptedDialogs scripted;
        DefaultsStore store;
        store.setValues(c.stored);
        EXPECT_EQ(delegate.loadUserDefaults(store), c.updated);
        EXPECT_EQ(scripted.dialogs.alerts, c.updated ? QStringList{kUpdated} : QStringList{});
        QVariantMap expected = builtIn;
        expected.insert(c.expected);
        EXPECT_EQ(defaultGroups(delegate, false), expected);
        for (const QVariant& v : delegate.defaultStats)
            EXPECT_EQ(v.typeId(), QMetaType::Bool);
    }
}

// Nothing to match against: the stored list stands.
TEST(UserDefaults, EmptyTemplateListKeepsStoredList)
{
    const QVariantList stored{QVariantMap{{"a", 1}}, QVariantMap{{"b", 2}}};
    const DictListUpdate update = AppDelegate::updateDictArray(stored, {});
    EXPECT_EQ(update.list, stored);
    EXPECT_FALSE(update.changed);
}

} // namespace
