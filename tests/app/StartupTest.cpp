// The start-up sequence with scripted alerts.
#include "AppTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The bundled description, which start-up accepts as it stands.
QVariantMap validResource()
{
    return Resources::plist("configRes.plist").toMap();
}

TEST(Startup, RunsThroughWithBundledDescription)
{
    ScopedScriptedDialogs scripted;
    AppDelegate delegate;
    delegate.defaultsSource = DefaultsStore();
    EXPECT_TRUE(delegate.finishLaunching());
    EXPECT_EQ(scripted.dialogs.alerts, QStringList{});
    EXPECT_TRUE(delegate.shapiro && delegate.kolmogorov);
    EXPECT_EQ(delegate.configIndexDict, validResource().value("configIndexDict").toMap());
}

TEST(Startup, StopsWithoutEngines)
{
    ScopedScriptedDialogs scripted;
    AppDelegate delegate;
    delegate.defaultsSource = DefaultsStore();
    QString error;
    EXPECT_FALSE(delegate.applicationWillFinishLaunching(&error));
    EXPECT_EQ(error, "The statistics engines are missing.");
}

TEST(Startup, DamagedDescriptionStopsWithMessage)
{
    const QString damaged = "The application's settings description \"configRes.plist\" is damaged: ";
    struct Damage {
        const char* name;
        const char* key;  // the entry damaged
        QVariant value;   // its new value; invalid: removed
    };
    const QVariantMap stepBits = validResource().value("configIndexDict").toMap();
    const Damage cases[] = {
        {"no_index", "configIndexDict", QVariant()},
        {"outline_item_string", "intoOutlineItem", QVariantMap{{"row", QString("x")}}},
        {"index_zero", "configIndexDict", withValue(stepBits, "dotAll", qint64(0))},
        {"index_lacks_step", "configIndexDict", without(stepBits, "barRects")},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedScriptedDialogs scripted;
        AppDelegate delegate;
        delegate.configResSource = c.value.isValid() ? withValue(validResource(), c.key, c.value)
                                                     : without(validResource(), c.key);
        delegate.defaultsSource = DefaultsStore();
        EXPECT_FALSE(delegate.finishLaunching());
        ASSERT_EQ(scripted.dialogs.alerts.size(), 1);
        const QString& message = scripted.dialogs.alerts.front();
        EXPECT_TRUE(message.startsWith(damaged)) << message.toStdString();
        EXPECT_TRUE(message.contains(c.key)) << message.toStdString();
        EXPECT_TRUE(delegate.configIndexDict.isEmpty());
    }
}

} // namespace
