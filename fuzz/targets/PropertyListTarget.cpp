// Property lists from outside, XML or binary: package files, the user's defaults, the
// settings record on the clipboard.
#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "platform/PropertyList.h"
#include <QDirIterator>

namespace fuzz {

void runPropertyList(const QByteArray& data)
{
    QString error;
    const QVariant value = PropertyList::fromData(data, &error);
    if (!value.isValid()) {
        check(!error.isEmpty(), "a refused property list says why");
        return;
    }
    check(!PropertyList::kindOf(value).isEmpty(), "a property list reads as property-list values");

    // Whatever was read can be saved, and reads back the same from either form.
    const QByteArray xml = PropertyList::toXml(value);
    check(!xml.isEmpty(), "a property list that was read can be written as XML");
    check(samePlist(PropertyList::fromData(xml), xmlForm(value)), "XML property list reads back as written");
    const QByteArray binary = PropertyList::toBinary(value);
    check(!binary.isEmpty(), "a property list that was read can be written as binary");
    check(samePlist(PropertyList::fromData(binary), value), "binary property list reads back as written");

    // As the user's defaults: start-up takes them, and a new graph made from them opens.
    if (PropertyList::kindOf(value) == QLatin1String("dict")) {
        AppDelegate& app = *AppDelegate::shared();
        DefaultsStore store;
        store.setValues(value.toMap());
        app.loadUserDefaults(store);
        for (const QString& xmlText : sampleAnalysisXmls()) {
            const auto settings = MyDocumentAnalyses::regenerateGraphSettings(sampleDocument(), xmlText, 540, 720);
            if (settings)
                checkSettingsTree(*settings, true);
        }
        app.loadUserDefaults(DefaultsStore());
    }
}

QList<QByteArray> propertyListSeeds()
{
    QList<QByteArray> seeds;
    QDirIterator it(QStringLiteral(VLB_TEST_DATA), {QStringLiteral("*.plist")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.size() <= 64 * 1024)
            seeds.append(file.readAll());
    }
    // The application's own records, in both forms.
    for (const QVariantMap& settings : sampleGraphSettings()) {
        seeds.append(PropertyList::toXml(settings));
        seeds.append(PropertyList::toBinary(settings));
    }
    const AppDelegate& app = *AppDelegate::shared();
    const QVariantMap defaults{{"columnSettings", app.appDefaultColumnSettings},
                               {"tableRowSettings", app.appDefaultTableRowSettings},
                               {"dots", app.appDefaultDots},
                               {"stats", app.appDefaultStats}};
    seeds.append(PropertyList::toBinary(defaults));
    return seeds;
}

} // namespace fuzz
