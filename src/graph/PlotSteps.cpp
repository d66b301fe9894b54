#include "graph/PlotSteps.h"

#include "outline/MyConfigItem.h"
#include "platform/NumberText.h"

#include <QVariantList>

namespace PlotSteps {

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

double number(const QVariant& value)
{
    if (isNumber(value))
        return value.toDouble();
    return value.typeId() == QMetaType::QString ? NumberText::doubleValue(value.toString()) : 0.0;
}

qint64 integer(const QVariant& value)
{
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        return value.toLongLong();
    return MyConfigItem::truncatedInteger(number(value));
}

MyConfigItem* seriesRow(MyConfigItem* rootItem, const QString& listTitle, qsizetype index)
{
    MyConfigItem* list = child(rootItem, listTitle);
    return list && index >= 0 && index < list->childCount() ? list->configChildAt(int(index)) : nullptr;
}

MyConfigItem* child(MyConfigItem* row, const QString& title) { return row ? row->childTitle(title) : nullptr; }

void placeContainer(MyViewManager* vm, const QString& tag, const Rect& frame, const Point& boundsOrigin,
                    const QColor& clear, bool redraw)
{
    const QString name = MyViewManager::columnViewName(tag);
    if (MyView* view = vm->viewDict.value(name)) {
        view->setFrame(frame);
        view->setBoundsOrigin(boundsOrigin);
        if (redraw)
            view->setNeedsDisplay(true);
        return;
    }
    vm->viewColors.insert(name, {clear, clear});
    vm->viewBeziers.insert(name, {});
    vm->viewDict.insert(name, MyView::initWithFrame(frame, boundsOrigin, name, MyViewManager::kGraphRect, vm));
}

QVariantMap map(const QVariantMap& dict, const QString& key) { return dict.value(key).toMap(); }

QVector<std::optional<QString>> seriesNames(const QVariantMap& settings)
{
    QVector<std::optional<QString>> names;
    const QVariantList levels = settings.value("categoryDicts").toList();
    if (levels.isEmpty())
        return names;
    for (const QVariant& entry : levels.last().toMap().value("represents").toList()) {
        const QVariant origName = entry.toMap().value("origName");
        if (origName.typeId() == QMetaType::QString)
            names << origName.toString();
        else
            names << std::nullopt;
    }
    return names;
}

} // namespace PlotSteps
