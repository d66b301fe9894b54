// User defaults read from the store and brought up to the built-in key sets.
#include "AppTestSupport.h"

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
    const QVariantList dots = reference.appDefaultDots;

    // Three series, one edited, are filled up to seven. Nine series are matched against the
    // built-in ones from the start again: series 8 lacking its fill colour gets that of series 1.
    const QVariantList three{dots[0], withValue(dots[1].toMap(), "dotSize", QString("9")), dots[2]};
    const QVariantList nine = dots + dots.mid(0, 2);
    const QVariantList nineShort = nine.mid(0, 8) << without(nine[8].toMap(), "fillColor");

    // Values of another kind stay: only keys are compared.
    const QVariantMap bar = withValue(builtIn.value("bar").toMap(), "barType", QString("2"));

    const std::vector<StoreCase> cases{
        // A group of the wrong shape counts as absent.
        {"wrong_shape_other_values", {{"dots", QVariantList{QVariantMap{}, 1}}, {"bar", bar}}, {{"bar", bar}}, false},
        // Two groups changed, one message; a group of the same size with another key is replaced.
        {"extra_key_and_other_key",
         {{"bar", withValue(bar, "oldKey", QString("1"))}, {"columnSettings", QVariantMap{{"old", QString("90")}}}},
         {{"bar", bar}}, true},
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
