// Graph settings from a package or the user's defaults, shown as the settings tree of a
// graph window: the tree reads them through their XML property-list text, line by line.
#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "outline/MyConfigRootItem.h"
#include "platform/PropertyList.h"

namespace fuzz {

void runSettingsTree(const QByteArray& data)
{
    const QVariant value = PropertyList::fromData(data);
    if (PropertyList::kindOf(value) == QLatin1String("dict"))
        checkSettingsTree(value.toMap(), true);

    // The line reader on its own, given any lines at all: it must stop at malformed text.
    const QStringList lines = QString::fromUtf8(data).split('\n');
    MyConfigRootItem root(nullptr);
    for (int i = 0; i >= 0 && i < lines.size();) {
        const int next = root.parsePlistLines(lines, i, &root, true, 3);
        check(next < 0 || next > i, "the line reader moves on");
        i = next;
    }
}

QList<QByteArray> settingsTreeSeeds()
{
    QList<QByteArray> seeds;
    for (const QVariantMap& settings : sampleGraphSettings()) {
        seeds.append(PropertyList::toXml(settings));
        seeds.append(PropertyList::toBinary(settings));
        // The body of the text alone, as the line reader sees it.
        const QByteArray xml = PropertyList::toXml(settings);
        const qsizetype from = xml.indexOf("<dict>\n") + 7;
        seeds.append(xml.mid(from));
    }
    seeds.append(fixture(QStringLiteral("document/binary.vlbdoc/graph/graph0.plist")));
    return seeds;
}

} // namespace fuzz
