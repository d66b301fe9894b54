#include "outline/MyOutlineTexts.h"
#include "outline/MySelectorItem.h"

namespace {

int presentCount(const QVector<std::optional<double>>& values)
{
    int count = 0;
    for (const auto& v : values)
        count += v.has_value() ? 1 : 0;
    return count;
}

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
        return QString("(%1 valid values)").arg(represent ? presentCount(represent->data2) : 0);
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
