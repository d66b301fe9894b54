// The start-up sequence with scripted alerts.
#include "app/AppDelegate.h"
#include "DictEdits.h"
#include "platform/PropertyList.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyShapiro.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kUpdated = QStringLiteral("Your default Settings were automatically updated.");

const QStringList kSteps{"background", "horizontalGaps", "graphRect", "xAxis", "xTexts", "nameTags",
                         "xTextsRect", "yAxis", "scaleTexts", "scaleTextRects", "yTitleText",
                         "yTitleTextRect", "xTextsAllCategories", "xTextAllRepresents", "dotObject",
                         "dotRect", "dotAll", "dotsView", "barObjects", "barRects"};

QVariantMap stepBits()
{
    QVariantMap bits;
    for (qsizetype i = 0; i < kSteps.size(); ++i)
        bits.insert(kSteps[i], qint64(1) << i);
    return bits;
}

QVariantMap validResource()
{
    return {
        {"intoOutlineItem", QVariantMap{{"graphProperties\tbackground", QVariantMap{{"setIndex", qint64(1)}}}}},
        {"configResString", QVariantMap{{"graphProperties\tbackground", QVariantMap{{"titleRepresent", QString("Background")}}}}},
        {"configIndexDict", stepBits()},
    };
}

TEST(Startup, DelegateBeforeLaunching)
{
    AppDelegate delegate;
    EXPECT_EQ(AppDelegate::shared(), &delegate);
    EXPECT_EQ(delegate.mainscreenFrame, Rect());
    EXPECT_EQ(delegate.validVersions(), (QStringList{"4.0", "4.1", "4.11"}));
    EXPECT_EQ(delegate.curVersion(), delegate.validVersions().last());
}

TEST(Startup, RunsThroughWithBundledResource)
{
    ScopedScriptedDialogs scripted;
    AppDelegate delegate;
    delegate.defaultsSource = DefaultsStore();
    QString error;
    ASSERT_TRUE(delegate.createEngines(&error)) << error.toStdString();
    ASSERT_TRUE(delegate.applicationWillFinishLaunching(&error)) << error.toStdString();
    EXPECT_TRUE(scripted.dialogs.alerts.isEmpty());

    // The test engines share the engines that were connected.
    ASSERT_NE(delegate.shapiro, nullptr);
    ASSERT_NE(delegate.kolmogorov, nullptr);
    EXPECT_EQ(delegate.shapiro->ourNorm(), delegate.ourNorm);
    EXPECT_EQ(delegate.kolmogorov->ourNorm(), delegate.ourNorm);
    EXPECT_EQ(delegate.kolmogorov->ourDescriptives(), delegate.ourDescriptives);

    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(delegate.mainscreenFrame, Rect(0, 0, screen.width(), screen.height()));
    EXPECT_GT(delegate.mainscreenFrame.width(), 0);

    EXPECT_EQ(delegate.appDefaultDots.size(), 7);
    EXPECT_EQ(delegate.defaultDots, delegate.appDefaultDots);
    EXPECT_EQ(delegate.defaultStats, delegate.appDefaultStats);

    // The bundled description is a dictionary of the three tables.
    QString readError;
    const QVariant bundled = Resources::plist("configRes.plist", &readError);
    ASSERT_EQ(bundled.typeId(), QMetaType::QVariantMap) << readError.toStdString();
    EXPECT_EQ(bundled.toMap().keys(), (QStringList{"configIndexDict", "configResString", "intoOutlineItem"}));
}

TEST(Startup, LoadsDescriptionTables)
{
    AppDelegate delegate;
    delegate.configResSource = validResource();
    delegate.defaultsSource = DefaultsStore();
    ASSERT_TRUE(delegate.createEngines());
    ASSERT_TRUE(delegate.applicationWillFinishLaunching());
    EXPECT_EQ(delegate.configResOutlineItem, validResource().value("intoOutlineItem").toMap());
    EXPECT_EQ(delegate.configResString, validResource().value("configResString").toMap());
    EXPECT_EQ(delegate.configIndexDict, validResource().value("configIndexDict").toMap());
}

TEST(Startup, MissingOrUnreadableResourceLeavesTablesEmpty)
{
    for (const QVariant& resource : {QVariant(), QVariant(QString("not a dictionary"))}) {
        ScopedScriptedDialogs scripted;
        AppDelegate delegate;
        delegate.configResSource = resource;
        delegate.defaultsSource = DefaultsStore();
        ASSERT_TRUE(delegate.createEngines());
        EXPECT_TRUE(delegate.applicationWillFinishLaunching());
        EXPECT_NE(delegate.shapiro, nullptr);
        EXPECT_NE(delegate.kolmogorov, nullptr);
        EXPECT_TRUE(delegate.configResOutlineItem.isEmpty());
        EXPECT_TRUE(delegate.configResString.isEmpty());
        EXPECT_TRUE(delegate.configIndexDict.isEmpty());
        EXPECT_EQ(delegate.defaultBox, delegate.appDefaultBox);
        EXPECT_TRUE(scripted.dialogs.alerts.isEmpty());
    }
}

TEST(Startup, StopsWithoutEngines)
{
    ScopedScriptedDialogs scripted;
    AppDelegate delegate;
    delegate.configResSource = validResource();
    delegate.defaultsSource = DefaultsStore();
    QString error;
    EXPECT_FALSE(delegate.applicationWillFinishLaunching(&error));
    EXPECT_TRUE(error.contains("statistics engines")) << error.toStdString();
    EXPECT_EQ(delegate.shapiro, nullptr);
    EXPECT_TRUE(delegate.appDefaultDots.isEmpty());
    EXPECT_TRUE(scripted.dialogs.alerts.isEmpty());
}

struct DamageCase {
    const char* name;
    const char* key;     // the entry damaged
    QVariant value;      // its new value; invalid: removed
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class DamagedResourceTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedResourceTest, StopsWithMessage)
{
    QVariantMap resource = validResource();
    if (GetParam().value.isValid())
        resource.insert(GetParam().key, GetParam().value);
    else
        resource.remove(GetParam().key);

    ScopedScriptedDialogs scripted;
    AppDelegate delegate;
    delegate.configResSource = resource;
    delegate.defaultsSource = DefaultsStore();
    QString error;
    EXPECT_FALSE(delegate.applicationWillFinishLaunching(&error));
    EXPECT_TRUE(error.contains("configRes.plist")) << error.toStdString();
    EXPECT_TRUE(error.contains(GetParam().key)) << error.toStdString();
    EXPECT_TRUE(delegate.configResOutlineItem.isEmpty());
    EXPECT_TRUE(delegate.configIndexDict.isEmpty());
    EXPECT_TRUE(scripted.dialogs.alerts.isEmpty());

    // The launching entry point shows it through the shared alert.
    EXPECT_FALSE(delegate.finishLaunching());
    EXPECT_EQ(scripted.dialogs.alerts, QStringList{error});
}

INSTANTIATE_TEST_SUITE_P(Damage, DamagedResourceTest, ::testing::Values(
    DamageCase{"no_outline_items", "intoOutlineItem", QVariant()},
    DamageCase{"no_strings", "configResString", QVariant()},
    DamageCase{"no_index", "configIndexDict", QVariant()},
    DamageCase{"outline_items_list", "intoOutlineItem", QVariantList{}},
    DamageCase{"outline_item_string", "intoOutlineItem", QVariantMap{{"row", QString("x")}}},
    DamageCase{"string_not_text", "configResString", QVariantMap{{"row", QVariantMap{{"tooltip", qint64(3)}}}}},
    DamageCase{"index_real", "configIndexDict", QVariantMap{{"background", 1.0}}},
    DamageCase{"index_text", "configIndexDict", withValue(stepBits(), "background", QString("1"))},
    DamageCase{"index_zero", "configIndexDict", withValue(stepBits(), "dotAll", qint64(0))},
    DamageCase{"index_negative", "configIndexDict", withValue(stepBits(), "xAxis", qint64(-8))},
    DamageCase{"index_lacks_step", "configIndexDict", without(stepBits(), "barRects")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Startup, ChangedStoreFileShowsMessageOnce)
{
    // A defaults file as a user's profile holds it: two groups out of date.
    AppDelegate reference;
    reference.makeAppDefaults();
    QVariantMap background = reference.appDefaultBackground;
    background.insert("oldKey", QString("1"));
    QVariantMap xAxis = reference.appDefaultXAxis;
    xAxis.remove("tickWidth");
    xAxis.insert("axisWidth", QString("2"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("defaults.plist");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(PropertyList::toBinary(QVariantMap{{"background", background}, {"xAxis", xAxis}}));
    file.close();

    // Launches a delegate on the file; returns the alerts shown.
    auto launch = [&path](AppDelegate& delegate) {
        ScopedScriptedDialogs scripted;
        delegate.configResSource = validResource();
        delegate.defaultsSource = DefaultsStore::load(path);
        EXPECT_TRUE(delegate.finishLaunching());
        return scripted.dialogs.alerts;
    };
    AppDelegate delegate;
    EXPECT_EQ(launch(delegate), QStringList{kUpdated});
    EXPECT_EQ(delegate.defaultBackground, reference.appDefaultBackground);
    QVariantMap expectedXAxis = reference.appDefaultXAxis;
    expectedXAxis.insert("axisWidth", QString("2"));
    EXPECT_EQ(delegate.defaultXAxis, expectedXAxis);

    // Nothing is written back: the next start tells again.
    AppDelegate next;
    EXPECT_EQ(launch(next), QStringList{kUpdated});
}

} // namespace
