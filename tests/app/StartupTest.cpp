// The start-up sequence with scripted alerts.
#include "AppTestSupport.h"

namespace {

// The bundled description, which start-up accepts as it stands.
QVariantMap validResource()
{
    return Resources::plist("configRes.plist").toMap();
}

TEST(Startup, StopsWithoutEngines)
{
    AppDelegate delegate;
    QString error;
    EXPECT_FALSE(delegate.applicationWillFinishLaunching(&error));
    EXPECT_EQ(error, "The statistics engines are missing.");
}

TEST(Startup, DamagedDescriptionStopsWithMessage)
{
    const QString damaged = "The application's settings description \"configRes.plist\" is damaged: ";
    struct Damage {
        const char* key;  // the entry damaged
        QVariant value;   // its new value; invalid: removed
        QString problem;  // the end of the message
    };
    const QVariantMap bits = validResource().value("configIndexDict").toMap();
    const Damage cases[] = {
        {"configIndexDict", QVariant(), "the entry \"configIndexDict\" is missing."},
        {"intoOutlineItem", QVariantMap{{"row", 1}}, "\"intoOutlineItem\" is not a dictionary of dictionaries."},
        {"configIndexDict", withValue(bits, "dotAll", qint64(0)),
         "\"configIndexDict\" is not a dictionary of positive integers."},
        {"configIndexDict", without(bits, "barRects"), "\"configIndexDict\" lacks the layout step \"barRects\"."},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.problem.toStdString());
        ScopedScriptedDialogs scripted;
        AppDelegate delegate;
        delegate.configResSource = c.value.isValid() ? withValue(validResource(), c.key, c.value)
                                                     : without(validResource(), c.key);
        delegate.defaultsSource = DefaultsStore();
        EXPECT_FALSE(delegate.finishLaunching());
        EXPECT_EQ(scripted.dialogs.alerts, QStringList{damaged + c.problem});
    }
}

} // namespace
