#include "outline/MyOutlineTexts.h"
#include "app/AppDelegate.h"
#include "outline/MyConfigItem.h"
#include "outline/MySelectorItem.h"
#include "platform/NumberText.h"
#include "platform/PropertyList.h"
#include <QHash>
#include <cmath>

namespace {

QString groupText(const MySelectorItem* group)
{
    if (group->title == "graphType")
        return group->message;
    if (group->title == "Categorizing")
        return QString("(%1 columns)").arg(group->childCount());
    if (!group->hasChildren())
        return "Select at least one column";
    if (group->index() == 1)
        return QString("(1st level; %1 columns)").arg(group->childCount());
    const MySelectorItem* analysis = group->selectorParent();
    const MySelectorItem* first = analysis ? analysis->selectorChildAt(1) : nullptr;
    const qint64 k = 1 + (first ? first->childCount() : 0);
    return QString("(%1%2 level; %3 columns)").arg(k).arg(MyOutlineTexts::ordinalSuffix(k)).arg(group->childCount());
}

QString columnText(const MySelectorItem* column)
{
    const MySelectorItem* group = column->selectorParent();
    if (group && group->title == "DataColumns") {
        const MySelectorItem* represent = column->selectorChildAt(0);
        return QString("(%1 valid values)").arg(represent ? MySelectorItem::validValueCount(represent->data2) : 0);
    }
    qint64 k = column->index() + 1;
    if (group && group->index() == 2)
        k += 1;
    return QString("(%1%2 level; %3 categories)").arg(k).arg(MyOutlineTexts::ordinalSuffix(k)).arg(column->childCount());
}

} // namespace

QString MyOutlineTexts::ordinalSuffix(qint64 k)
{
    switch (k) {
    case 1: return "st";
    case 2: return "nd";
    case 3: return "rd";
    default: return "th";
    }
}

QVariant MyOutlineTexts::objectSelectorOutlineView(const MySelectorItem* item, qint64 columnIdentifier, qint64 level)
{
    if (!item)
        return {};
    switch (columnIdentifier) {
    case 0:
        return item->title;
    case 1:
        if (level == 0) {
            const MySelectorItem* data = item->childTitle("DataColumns");
            const MySelectorItem* categorizing = item->childTitle("Categorizing");
            return QString("(Data: %1, Categorizing: %2)")
                .arg(data ? data->childCount() : 0)
                .arg(categorizing ? categorizing->childCount() : 0);
        }
        if (level == 1)
            return groupText(item);
        if (level == 2)
            return columnText(item);
        return item->message;
    case 3:
        if (level >= 3)
            return item->type == "YES";
        return {};
    default:
        return {};
    }
}

QString MyOutlineTexts::colorName(const Color& color)
{
    if (color == Color::gray(1.0))
        return "White Color";
    if (color == Color::gray(0.0))
        return "Black Color";
    if (color == Color::rgb(1, 0, 0))
        return "Red Color";
    if (color == Color::rgb(0, 1, 0))
        return "Green Color";
    if (color == Color::rgb(0, 0, 1))
        return "Blue Color";
    return "Color";
}

QVariant MyOutlineTexts::objectOfConfigOutlineView(const MyConfigItem* item, qint64 columnIdentifier)
{
    static const QVariantMap empty;
    const AppDelegate* delegate = AppDelegate::shared();
    return objectOfConfigOutlineView(item, columnIdentifier, delegate ? delegate->configResString : empty);
}

QVariant MyOutlineTexts::objectOfConfigOutlineView(const MyConfigItem* item, qint64 columnIdentifier, const QVariantMap& configResString)
{
    if (!item)
        return {};
    if (columnIdentifier != 0) {
        if (item->type != "data")
            return item->message;
        const QByteArray data = MyConfigItem::dataFromText(item->message);
        if (item->title.endsWith("olor")) {
            if (auto color = KeyedArchive::unarchiveColor(data))
                return colorName(*color);
            return {};
        }
        AttributedText sample{"Use Font Panel", {}};
        if (auto attributes = KeyedArchive::unarchiveAttributes(data))
            sample.attributes = *attributes;
        return QVariant::fromValue(sample);
    }

    const QVariant entry = configResString.value(item->itemID);
    const bool described = entry.toMap().contains("titleRepresent");
    const QString titleRepresent = entry.toMap().value("titleRepresent").toString();
    if (!item->title.isEmpty())
        return described ? titleRepresent : item->title;
    const qint64 idx = item->myIndex();
    if (!item->message.isEmpty())
        return QVariant::fromValue<qint64>(idx);
    if (const QString element = elementTitle(item->itemID, idx, configResString); !element.isEmpty())
        return element;
    const MyConfigItem* first = item->configChildAt(0);
    if (!first)
        return QVariant::fromValue<qint64>(idx);
    const QString m = first->message;
    if (item->itemID == "categoryDicts\t") {
        if (m == "dataColumns")
            return QString("by columns");
        return QString("by \"%1\"").arg(m.mid(2));
    }
    return m;
}

QString MyOutlineTexts::elementTitle(const QString& itemID, qint64 index, const QVariantMap& configResString)
{
    const QString titleRepresent = configResString.value(itemID).toMap().value("titleRepresent").toString();
    return titleRepresent.isEmpty() ? QString() : titleRepresent + QString::number(index);
}

QVariant MyOutlineTexts::objectWithString(const QString& text, const MyConfigItem* item)
{
    if (!item || text == item->message)
        return {};
    if (item->type == "string")
        return allowString(text, item) ? QVariant(text) : QVariant();
    if (item->type == "integer") {
        const std::optional<qint64> n = NumberText::parseInt64(text);
        if (!n || !allowInt(*n, item))
            return {};
        return QVariant::fromValue<qint64>(*n);
    }
    static const QStringList yes{"YES", "Yes", "yes", "TRUE", "True", "true"};
    static const QStringList no{"NO", "No", "no", "FALSE", "False", "false"};
    if (yes.contains(text))
        return item->message == "YES" ? QVariant() : QVariant(true);
    if (no.contains(text))
        return item->message == "NO" ? QVariant() : QVariant(false);
    return {};
}

bool MyOutlineTexts::allowString(const QString& text, const MyConfigItem* item)
{
    if (!item)
        return false;
    if (item->type2.isEmpty())
        return true;
    double scanned = 0;
    if (!NumberText::scanDouble(text, &scanned)) {
        const MyConfigItem* parent = item->configParent();
        return text.isEmpty() && parent && parent->title == "scaleStrings";
    }
    const double v = NumberText::doubleValue(text);
    // A number too large for a double would reach the layout as infinity.
    if (!std::isfinite(v))
        return false;
    if (item->minVal) {
        if (v < *item->minVal || (v == *item->minVal && !item->allowEqual))
            return false;
    }
    if (item->maxVal) {
        if (v > *item->maxVal || (v == *item->maxVal && !item->allowEqual))
            return false;
    }
    return true;
}

bool MyOutlineTexts::allowInt(qint64 value, const MyConfigItem* item)
{
    if (!item)
        return false;
    // A bound that is not a number sets no limit.
    if (item->minVal && !std::isnan(*item->minVal) && value < MyConfigItem::truncatedInteger(*item->minVal))
        return false;
    if (item->maxVal && !std::isnan(*item->maxVal) && value > MyConfigItem::truncatedInteger(*item->maxVal))
        return false;
    return true;
}

bool MyOutlineTexts::allowData(const QByteArray& data, const MyConfigItem* item)
{
    if (!item)
        return false;
    const bool color = item->type2 == QLatin1String("color") || item->title.endsWith(QLatin1String("olor"));
    // A graph's series share a few colours and fonts, and decoding one archive takes tens of
    // microseconds: a check of 10^5 series would take seconds without this. Bounded.
    static QHash<QByteArray, bool> colors, attributes;
    QHash<QByteArray, bool>& known = color ? colors : attributes;
    if (const auto it = known.constFind(data); it != known.cend())
        return *it;
    if (known.size() >= 256)
        known.clear();
    const bool readable = color ? KeyedArchive::unarchiveColor(data).has_value()
                                : KeyedArchive::unarchiveAttributes(data).has_value();
    known.insert(data, readable);
    return readable;
}

bool MyOutlineTexts::hasNoLabels(const QVariantMap& valueSettings)
{
    const QVariant labels = valueSettings.value(QStringLiteral("scaleStrings"));
    const QVariant partition = valueSettings.value(QStringLiteral("partition"));
    return PropertyList::kindOf(labels) == QLatin1String("array") && labels.toList().isEmpty()
        && PropertyList::kindOf(partition) == QLatin1String("integer") && partition.toLongLong() == -1;
}
