// Keyed archives of colours and text attributes, as stored in settings and packages.
#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "app/AppDelegate.h"
#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"
#include <QFontMetricsF>

namespace fuzz {

namespace {

// Every archive held in a value, as data.
void collectData(const QVariant& value, QList<QByteArray>& out)
{
    const QString kind = PropertyList::kindOf(value);
    if (kind == QLatin1String("data"))
        out.append(value.toByteArray());
    else if (kind == QLatin1String("array"))
        for (const QVariant& e : value.toList())
            collectData(e, out);
    else if (kind == QLatin1String("dict"))
        for (const QVariant& e : value.toMap())
            collectData(e, out);
}

} // namespace

void runKeyedArchive(const QByteArray& data)
{
    if (const auto color = KeyedArchive::unarchiveColor(data)) {
        const auto back = KeyedArchive::unarchiveColor(KeyedArchive::archiveColor(*color));
        check(back && *back == *color, "a colour reads back as archived");
        check(color->toQColor().isValid(), "an unarchived colour can be drawn with");
    }
    if (const auto attributes = KeyedArchive::unarchiveAttributes(data)) {
        const auto back = KeyedArchive::unarchiveAttributes(KeyedArchive::archiveAttributes(*attributes));
        check(back && *back == *attributes, "text attributes read back as archived");
        if (attributes->font) {
            // Text is measured with the font wherever it is shown.
            const QFontMetricsF metrics(attributes->font->toQFont());
            check(metrics.horizontalAdvance(QStringLiteral("Height 12.5")) >= 0, "text measures with an unarchived font");
        }
    }
}

QList<QByteArray> keyedArchiveSeeds()
{
    QList<QByteArray> seeds{
        KeyedArchive::archiveColor(Color::rgb(0.2, 0.4, 0.6, 0.5)),
        KeyedArchive::archiveColor(Color::gray(0.25)),
        KeyedArchive::archiveAttributes({AppDelegate::systemFont(14), Color::rgb(1, 0, 0)}),
        KeyedArchive::archiveAttributes({FontSpec{QStringLiteral("DejaVu Sans-BoldOblique"), 9.5, 16}, std::nullopt}),
        KeyedArchive::archiveAttributes({}),
    };
    // The archives the application keeps in its settings.
    for (const QVariantMap& settings : sampleGraphSettings())
        collectData(settings, seeds);
    const AppDelegate& app = *AppDelegate::shared();
    collectData(app.appDefaultTableRowSettings, seeds);
    QList<QByteArray> distinct;
    for (const QByteArray& seed : seeds)
        if (!distinct.contains(seed))
            distinct.append(seed);
    return distinct;
}

} // namespace fuzz
