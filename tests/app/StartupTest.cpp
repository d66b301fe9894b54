// The start-up sequence with scripted alerts.
#include "AppTestSupport.h"
#include "platform/PropertyList.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyShapiro.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kDamaged = QStringLiteral("The application's settings description \"configRes.plist\" is damaged: ");

// The bundled description, which start-up accepts as it stands.
QVariantMap validResource()
{
    return Resources::plist("configRes.plist").toMap();
}

QVariantMap stepBits()
{
    return validResource().value("configIndexDict").toMap();
}

struct Launch {
    bool ok = false;
    QString error;
    QStringList alerts;
};

// Starts with the given description (none: the bundled one) and an empty store.
Launch launch(AppDelegate& delegate, const std::optional<QVariant>& resource, bool engines = true)
{
    ScopedScriptedDialogs scripted;
    delegate.configResSource = resource;
    delegate.defaultsSource = DefaultsStore();
    Launch out;
    if (engines) {
        EXPECT_TRUE(delegate.createEngines(&out.error)) << out.error.toStdString();
    }
    out.ok = delegate.applicationWillFinishLaunching(&out.error);
    out.alerts = scripted.dialogs.alerts;
    return out;
}

// A missing or unreadable description leaves the tables empty; start-up goes on.
TEST(Startup, RunsThroughAndLoadsDescriptionTables)
{
    const std::pair<std::optional<QVariant>, QVariantMap> cases[] = {
        {std::nullopt, validResource()}, {QString("not a dictionary"), {}}};
    for (const auto& [resource, expected] : cases) {
        SCOPED_TRACE(resource ? resource->toString().toStdString() : "bundled");
        AppDelegate delegate;
        EXPECT_EQ(AppDelegate::shared(), &delegate);
        const Launch l = launch(delegate, resource);
        ASSERT_TRUE(l.ok) << l.error.toStdString();
        EXPECT_TRUE(l.alerts.isEmpty());

        // The test engines share the engines that were connected.
        ASSERT_TRUE(delegate.shapiro && delegate.kolmogorov);
        EXPECT_EQ(delegate.shapiro->ourNorm(), delegate.ourNorm);
        EXPECT_EQ(delegate.kolmogorov->ourDescriptives(), delegate.ourDescriptives);
        EXPECT_GT(delegate.mainscreenFrame.width(), 0);
        EXPECT_EQ(delegate.configResOutlineItem, expected.value("intoOutlineItem").toMap());
        EXPECT_EQ(delegate.configResString, expected.value("configResString").toMap());
        EXPECT_EQ(delegate.configIndexDict, expected.value("configIndexDict").toMap());
    }
}

TEST(Startup, StopsWithoutEngines)
{
    AppDelegate delegate;
    const Launch l = launch(delegate, validResource(), false);
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.error, "The statistics engines are missing.");
    EXPECT_EQ(delegate.shapiro, nullptr);
    EXPECT_TRUE(delegate.appDefaultDots.isEmpty());
    EXPECT_TRUE(l.alerts.isEmpty());
}

TEST(Startup, DamagedDescriptionStopsWithMessage)
{
    struct Damage {
        const char* name;
        const char* key;  // the entry damaged
        QVariant value;   // its new value; invalid: removed
    };
    const Damage cases[] = {
        {"no_index", "configIndexDict", QVariant()},
        {"outline_item_string", "intoOutlineItem", QVariantMap{{"row", QString("x")}}},
        {"string_not_text", "configResString", QVariantMap{{"row", QVariantMap{{"tooltip", qint64(3)}}}}},
        {"index_zero", "configIndexDict", withValue(stepBits(), "dotAll", qint64(0))},
        {"index_lacks_step", "configIndexDict", without(stepBits(), "barRects")},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.name);
        const QVariantMap resource = c.value.isValid() ? withValue(validResource(), c.key, c.value)
                                                       : without(validResource(), c.key);
        AppDelegate delegate;
        const Launch l = launch(delegate, resource);
        EXPECT_FALSE(l.ok);
        EXPECT_TRUE(l.error.startsWith(kDamaged)) << l.error.toStdString();
        EXPECT_TRUE(l.error.contains(c.key)) << l.error.toStdString();
        EXPECT_TRUE(delegate.configResOutlineItem.isEmpty());
        EXPECT_TRUE(delegate.configIndexDict.isEmpty());
        EXPECT_TRUE(l.alerts.isEmpty());

        // The launching entry point shows it through the shared alert.
        ScopedScriptedDialogs scripted;
        EXPECT_FALSE(delegate.finishLaunching());
        EXPECT_EQ(scripted.dialogs.alerts, QStringList{l.error});
    }
}

TEST(Startup, ChangedStoreFileShowsMessageOnce)
{
    // A defaults file as a user's profile holds it: two groups out of date.
    AppDelegate reference;
    reference.makeAppDefaults();
    const QVariantMap xAxis = withValue(reference.appDefaultXAxis, "axisWidth", QString("2"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("defaults.plist");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(PropertyList::toBinary(QVariantMap{{"background", withValue(reference.appDefaultBackground, "oldKey", QString("1"))},
                                                  {"xAxis", without(xAxis, "tickWidth")}}));
    file.close();

    // Nothing is written back: the next start tells again.
    for (int start = 0; start < 2; ++start) {
        ScopedScriptedDialogs scripted;
        AppDelegate delegate;
        delegate.configResSource = validResource();
        delegate.defaultsSource = DefaultsStore::load(path);
        EXPECT_TRUE(delegate.finishLaunching());
        EXPECT_EQ(scripted.dialogs.alerts, QStringList{kUpdated});
        EXPECT_EQ(delegate.defaultBackground, reference.appDefaultBackground);
        EXPECT_EQ(delegate.defaultXAxis, xAxis);
    }
}

} // namespace
