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

    // Series 1 of three edited. Nine series are matched against the built-in ones from the
    // start again: series 8 lacking its fill colour gets that of built-in series 1.
    QVariantList three = dots.mid(0, 3);
    three[1] = withValue(three[1].toMap(), "dotSize", QString("9"));
    QVariantList nine = dots + dots.mid(0, 2);
    nine[7] = withValue(nine[7].toMap(), "dotSize", QString("3"));
    QVariantList nineShort = nine;
    nineShort[8] = without(nine[8].toMap(), "fillColor");

    const QVariantMap xAxis = withValue(group("xAxis"), "tickWidth", QString("3"));
    // Values of another kind stay too: only keys are compared.
    const QVariantMap bar = withValue(group("bar"), "barType", QString("2"));
    const QVariantMap box = withValue(group("box"), "boxWidth", QString("0.7"));

    const std::vector<StoreCase> cases{
        {"empty_store", {}, {}, false},
        // Groups of the wrong shape count as absent.
        {"columns_number_value", {{"columnSettings", QVariantMap{{"width", qint64(70)}, {"extra", QString("1")}}}}, {}, false},
        {"background_string", {{"background", QString("white")}}, {}, false},
        {"dots_with_string_element", {{"dots", QVariantList{QVariantMap{}, QString("x")}}}, {}, false},
        {"boxes_number", {{"boxes", qint64(3)}}, {}, false},
        {"same_keys_other_values", {{"xAxis", xAxis}, {"bar", bar}}, {{"xAxis", xAxis}, {"bar", bar}}, false},
        {"extra_key_dropped", {{"box", withValue(box, "oldKey", QString("1"))}}, {{"box", box}}, true},
        {"same_size_other_key", {{"columnSettings", QVariantMap{{"old", QString("90")}}}}, {}, true},
        {"three_dot_series", {{"dots", three}}, {{"dots", three + dots.mid(3)}}, true},
        {"nine_one_lacking_key", {{"dots", nineShort}}, {{"dots", nine}}, true},
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
