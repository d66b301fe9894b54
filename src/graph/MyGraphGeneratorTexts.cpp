// Layout steps of the graph texts: category texts and their rows, name tags, scale texts and
// their places, the y title and its place. Records and views are made once and refilled;
// records are never removed.
#include "graph/FrameGeometry.h"
#include "graph/GraphSettingsRead.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MyConfigRootItem.h"
#include "views/MyStorageItem.h"
#include "views/MyTextView.h"
#include "views/TextStorage.h"

#include <QSet>

using namespace GraphSettingsRead;

namespace {

const QString kCategoryDicts = QStringLiteral("categoryDicts");
const QString kRepresents = QStringLiteral("represents");
// Marks the storages of category texts, so that names a graph no longer has can be hidden
// without reading their (possibly gone) settings rows.
const char* const kCategoryTextProperty = "vlbCategoryText";

QString categoryTitleOf(const QVariantMap& dict) { return text(dict, QStringLiteral("categoryTitle")).value_or(QString()); }

QString origNameOf(const QVariantMap& represent)
{
    return text(represent, QStringLiteral("origName")).value_or(QString());
}

QVector<QVariantMap> representsOf(const QVariantMap& dict)
{
    return dictList(dict, kRepresents).value_or(QVector<QVariantMap>());
}

MyConfigItem* childAt(MyConfigItem* row, qsizetype i)
{
    return row && i >= 0 && i < row->childCount() ? row->configChildAt(int(i)) : nullptr;
}

MyConfigItem* child(MyConfigItem* row, const char* title)
{
    return row ? row->childTitle(QLatin1String(title)) : nullptr;
}

// Gives a category text as many views as it is shown under the graph. Views beyond that
// are dropped; new ones take the text's size and join the graph beside the others when
// those are shown.
void reconcileViews(MyViewManager* vm, const QString& name, TextStorage* storage, qsizetype wanted)
{
    QVector<MySimpleTextView*> views = vm->textViewsDict.value(name);
    while (views.size() > wanted)
        delete views.takeLast();
    if (views.size() < wanted) {
        const Size size = views.isEmpty() ? MyGraphGenerator::measuredSize(storage) : views.first()->frame().size;
        GraphItem* shownIn = views.isEmpty() ? nullptr : views.first()->superview();
        while (views.size() < wanted) {
            auto* view = new MyTextView(Rect(Point(), size), storage, name, MyViewManager::kGraphView, vm);
            if (shownIn)
                shownIn->addSubview(view);
            views.append(view);
        }
    }
    vm->textViewsDict.insert(name, views);
}

// The settings rows of the scale strings, in order.
QList<MyConfigItem*> scaleStringRows(MyConfigRootItem* root)
{
    MyConfigItem* row = root ? root->outlineItemWithKeys({QStringLiteral("valueSettings"), QStringLiteral("scaleStrings")})
                             : nullptr;
    return row ? row->configChildren() : QList<MyConfigItem*>();
}

} // namespace

// Category texts ------------------------------------------------------------------------------------

void MyGraphGenerator::xTextsWithSetIndex(qint64 setIndex, const QVariantMap& settings, MyConfigRootItem* rootItem,
                                          MyViewManager* vm, const QVector<qint64>& indexes)
{
    const auto dicts = dictList(settings, kCategoryDicts);
    if (!dicts)
        return;
    const bool allCategories = (flagOf(QStringLiteral("xTextsAllCategories")) & setIndex) > 0;
    const bool allRepresents = (flagOf(QStringLiteral("xTextAllRepresents")) & setIndex) > 0;
    MyConfigItem* categoriesRow = rootItem ? rootItem->childTitle(kCategoryDicts) : nullptr;

    QVector<qsizetype> counts;
    for (const QVariantMap& d : *dicts)
        counts.append(representsOf(d).size());
    const QVector<qsizetype> shown = FrameGeometry::repetitions(counts);

    QSet<QString> produced;
    QVector<QVector<Size>> sizes;
    sizes.reserve(dicts->size());
    for (qsizetype i = 0; i < dicts->size(); ++i) {
        const QVariantMap& d = (*dicts)[i];
        const QVector<QVariantMap> represents = representsOf(d);
        const QString title = categoryTitleOf(d);
        const bool rebuildLevel = allCategories || (indexes.size() > 1 && indexes[1] == i);
        const std::optional<TextAttributes> attrs = rebuildLevel ? attributes(d, QStringLiteral("xTitleAttr"))
                                                                 : std::nullopt;
        const QVector<Size> previous = vm->xTextSizes.value(i);
        MyConfigItem* levelRow = childAt(categoriesRow, i);
        MyConfigItem* attrRow = child(levelRow, "xTitleAttr");
        MyConfigItem* representsRow = child(levelRow, "represents");

        QVector<Size> levelSizes;
        levelSizes.reserve(represents.size());
        for (qsizetype j = 0; j < represents.size(); ++j) {
            const QVariantMap& e = represents[j];
            const QString name = title + u'\t' + origNameOf(e);
            produced.insert(name);
            MyConfigItem* textRow = child(childAt(representsRow, j), "represent");
            std::shared_ptr<MyStorageItem> record = vm->storageItemDict.value(name);
            const bool rebuild = rebuildLevel && attrs && (allRepresents || (indexes.size() > 3 && indexes[3] == j));
            Size size = previous.value(j);
            if (rebuild) {
                const QString shownText = text(e, QStringLiteral("represent")).value_or(QString());
                size = Size();
                if (record && record->textStorage) {
                    setAttributedString(record->textStorage, plainAttributedString(shownText, *attrs));
                    if (shownText.isEmpty())
                        record->visible = false;
                    else
                        size = sizeWithStorageItem(record.get());
                } else if (!shownText.isEmpty()) {
                    TextStorage* storage = newTextStorage(vm, plainAttributedString(shownText, *attrs));
                    storage->setProperty(kCategoryTextProperty, true);
                    record = std::make_shared<MyStorageItem>(storage, textRow, attrRow);
                    vm->storageItemDict.insert(name, record);
                    size = measuredSize(storage);
                }
            }
            if (record && record->textStorage) {
                // Rows may have been rebuilt since the record was made: follow the current ones.
                if (rootItem) {
                    record->textItem = textRow;
                    record->attrItem = attrRow;
                }
                reconcileViews(vm, name, record->textStorage, shown[i]);
            }
            levelSizes.append(size);
        }
        sizes.append(levelSizes);
    }
    vm->xTextSizes = sizes;

    // Names the graph no longer has stay, hidden, with no rows to edit.
    for (auto& [name, record] : vm->storageItemDict) {
        if (record && record->textStorage && record->textStorage->property(kCategoryTextProperty).toBool()
            && !produced.contains(name)) {
            record->visible = false;
            record->textItem = nullptr;
            record->attrItem = nullptr;
        }
    }
}

void MyGraphGenerator::nameTagsWithSetttings(const QVariantMap& settings, MyViewManager* vm)
{
    const auto dicts = dictList(settings, kCategoryDicts);
    if (!dicts)
        return;
    QVector<QStringList> names;
    for (const QVariantMap& d : *dicts) {
        QStringList level;
        for (const QVariantMap& e : representsOf(d))
            level.append(origNameOf(e));
        names.append(level);
    }
    vm->nameTags = FrameGeometry::nameTags(names);
}

void MyGraphGenerator::xTextsRectWithSetttings(const QVariantMap& settings, MyViewManager* vm)
{
    const auto dicts = dictList(settings, kCategoryDicts);
    const auto axis = group(settings, {QStringLiteral("graphProperties"), QStringLiteral("xAxis")});
    const std::optional<double> tickLength = axis ? decimal(*axis, QStringLiteral("tickLength")) : std::nullopt;
    if (!dicts || !tickLength)
        return;
    // Rows pair the last sizes with the last category level, upwards.
    const qsizetype rows = std::min(dicts->size(), vm->xTextSizes.size());
    const qsizetype firstLevel = dicts->size() - rows;
    const qsizetype firstSizes = vm->xTextSizes.size() - rows;
    QVector<FrameGeometry::RowLevel> levels;
    for (qsizetype k = 0; k < rows; ++k) {
        const QVariantMap& d = (*dicts)[firstLevel + k];
        levels.append({decimal(d, QStringLiteral("verticalGap")).value_or(0.0), representsOf(d).size(),
                       vm->xTextSizes[firstSizes + k]});
    }
    const FrameGeometry::RowPlacement placement = FrameGeometry::categoryRows(vm->baseXs, *tickLength, levels);
    for (qsizetype k = 0; k < rows; ++k) {
        const QVariantMap& d = (*dicts)[firstLevel + k];
        const QString title = categoryTitleOf(d);
        const QVector<QVariantMap> represents = representsOf(d);
        for (qsizetype j = 0; j < placement.frames[k].size() && j < represents.size(); ++j) {
            const QVector<Rect>& frames = placement.frames[k][j];
            if (frames.isEmpty())
                continue;
            const QVector<MySimpleTextView*> views = vm->textViewsDict.value(title + u'\t' + origNameOf(represents[j]));
            for (qsizetype m = 0; m < frames.size() && m < views.size(); ++m)
                views[m]->setFrame(frames[m]);
        }
    }
    vm->xTextRect = placement.extent;
}

// Scale texts ---------------------------------------------------------------------------------------

void MyGraphGenerator::scaleTextsWithSettings(const QVariantMap& settings, MyConfigRootItem* rootItem,
                                              MyViewManager* vm, const QStringList& keys,
                                              const QVector<qint64>& indexes)
{
    const auto axis = group(settings, {QStringLiteral("graphProperties"), QStringLiteral("yAxis")});
    const auto values = group(settings, {QStringLiteral("valueSettings")});
    if (!axis || !values)
        return;
    const auto visible = flag(*axis, QStringLiteral("scaleVisible"));
    if (!visible)
        return;
    if (!*visible) {
        vm->scaleTextRects.clear();
        for (const auto& record : vm->scalesStorageItem)
            record->visible = false;
        return;
    }
    const auto attrs = attributes(*axis, QStringLiteral("scaleTextAttr"));
    const auto strings = list(*values, QStringLiteral("scaleStrings"));
    const QList<MyConfigItem*> rows = scaleStringRows(rootItem);
    if (!attrs || !strings || rows.size() != strings->size())
        return;
    MyConfigItem* attrRow = rootItem ? rootItem->outlineItemWithKeys({QStringLiteral("graphProperties"),
                                                                      QStringLiteral("yAxis"),
                                                                      QStringLiteral("scaleTextAttr")})
                                     : nullptr;

    // Records of rows that are gone become hidden spares, bound to no row.
    const QSet<MyConfigItem*> current(rows.cbegin(), rows.cend());
    QVector<MyStorageItem*> spares;
    QHash<MyConfigItem*, MyStorageItem*> byRow;
    for (const auto& record : vm->scalesStorageItem) {
        record->attrItem = attrRow;
        if (record->textItem && current.contains(record->textItem) && !byRow.contains(record->textItem)) {
            record->visible = true;
            byRow.insert(record->textItem, record.get());
        } else {
            record->visible = false;
            record->textItem = nullptr;
            spares.append(record.get());
        }
    }

    for (qsizetype j = 0; j < rows.size(); ++j) {
        bool render = keys.size() < 3 || keys[1] == QLatin1String("yAxis");
        if (!render && keys[0] == QLatin1String("valueSettings"))
            render = indexes.size() > 2 && indexes[2] == j;
        if (!render)
            continue;
        const AttributedString shown = attributedStringFromString((*strings)[j].toString(), *attrs);
        MyStorageItem* record = byRow.value(rows[j]);
        if (!record && !spares.isEmpty()) {
            record = spares.takeFirst();
            record->textItem = rows[j];
            record->visible = true;
            byRow.insert(rows[j], record);
        }
        if (record) {
            if (record->textStorage) {
                setAttributedString(record->textStorage, shown);
                setContainersAndViewsWithTextStorage(record->textStorage);
            }
            continue;
        }
        TextStorage* storage = newTextStorage(vm, shown);
        auto made = std::make_shared<MyStorageItem>(storage, rows[j], attrRow);
        vm->scalesStorageItem.append(made);
        byRow.insert(rows[j], made.get());
        new MyTextView(Rect(Point(), measuredSize(storage)), storage, kScaleText, MyViewManager::kGraphView, vm);
    }
}

void MyGraphGenerator::scaleTextRectsWithSettings(const QVariantMap& settings, MyConfigRootItem* rootItem,
                                                  MyViewManager* vm)
{
    const auto axis = group(settings, {QStringLiteral("graphProperties"), QStringLiteral("yAxis")});
    const auto values = group(settings, {QStringLiteral("valueSettings")});
    if (!axis || !values)
        return;
    const auto visible = flag(*axis, QStringLiteral("scaleVisible"));
    if (!visible || !*visible)
        return;
    const auto logarithmic = flag(*values, QStringLiteral("logarithmic"));
    const auto min = text(*values, QStringLiteral("min"));
    const auto max = text(*values, QStringLiteral("max"));
    const auto tickLength = decimal(*axis, QStringLiteral("tickLength"));
    const auto scaleGap = decimal(*axis, QStringLiteral("scaleGap"));
    if (!logarithmic || !min || !max || !tickLength || !scaleGap)
        return;
    const double lo = doubleFromString(*min), hi = doubleFromString(*max);
    const double distance = *tickLength + *scaleGap;
    // A text counts while its row is current; one whose value has no finite place is
    // hidden until it has one again, whichever step runs next.
    const QList<MyConfigItem*> rows = scaleStringRows(rootItem);
    const QSet<MyConfigItem*> current(rows.cbegin(), rows.cend());
    QVector<Rect> rects;
    for (const auto& record : vm->scalesStorageItem) {
        const bool isCurrent = rootItem ? (record->textItem && current.contains(record->textItem)) : record->visible;
        MyTextView* view = firstTextView(*record);
        if (!isCurrent || !view || !record->textItem)
            continue;
        const auto frame = FrameGeometry::scaleTextFrame(doubleFromString(record->textItem->message), lo, hi,
                                                         *logarithmic, vm->graphRect.height(), view->frame().size,
                                                         distance);
        record->visible = frame.has_value();
        if (!frame)
            continue;
        view->setFrame(*frame);
        rects.append(*frame);
    }
    vm->scaleTextRects = rects;
}

// The y title -----------------------------------------------------------------------------------------

void MyGraphGenerator::yTitleTextWithSettings(const QVariantMap& settings, MyConfigRootItem* rootItem,
                                              MyViewManager* vm)
{
    const auto axis = group(settings, {QStringLiteral("graphProperties"), QStringLiteral("yAxis")});
    if (!axis)
        return;
    const auto title = text(*axis, QStringLiteral("titleText"));
    const auto attrs = attributes(*axis, QStringLiteral("titleTextAttr"));
    const auto visible = flag(*axis, QStringLiteral("titleVisible"));
    if (!title || !attrs || !visible)
        return;
    MyConfigItem* axisRow = rootItem ? rootItem->outlineItemWithKeys({QStringLiteral("graphProperties"),
                                                                      QStringLiteral("yAxis")})
                                     : nullptr;
    MyConfigItem* textRow = child(axisRow, "titleText");
    MyConfigItem* attrRow = child(axisRow, "titleTextAttr");
    const AttributedString shown = attributedStringFromString(*title, *attrs);

    if (const std::shared_ptr<MyStorageItem> record = vm->storageItemDict.value(kYTitle)) {
        if (rootItem) {
            record->textItem = textRow;
            record->attrItem = attrRow;
        }
        MyTextView* view = firstTextView(*record);
        if (!record->textStorage || !view)
            return;
        if (!*visible) {
            vm->yTextRect = Rect();
            record->visible = false;
            return;
        }
        setAttributedString(record->textStorage, shown);
        record->visible = true;
        const Size size = measuredSize(record->textStorage);
        view->textContainer()->setContainerSize(size);
        view->setNeedsDisplay(true);
        vm->yTextRect.size = size;
        return;
    }
    TextStorage* storage = newTextStorage(vm, shown);
    auto record = std::make_shared<MyStorageItem>(storage, textRow, attrRow);
    vm->storageItemDict.insert(kYTitle, record);
    const Rect measured(Point(), measuredSize(storage));
    new MyTextView(measured, storage, kYTitle, MyViewManager::kGraphView, vm);
    // A hidden title stays hidden from the first layout on.
    record->visible = *visible;
    vm->yTextRect = *visible ? measured : Rect();
}

void MyGraphGenerator::yTitleTextRectWithSettings(const QVariantMap& settings, MyViewManager* vm)
{
    const auto axis = group(settings, {QStringLiteral("graphProperties"), QStringLiteral("yAxis")});
    if (!axis)
        return;
    const auto visible = flag(*axis, QStringLiteral("titleVisible"));
    if (!visible)
        return;
    if (!*visible) {
        vm->yTextRect = Rect();
        return;
    }
    const auto gap = decimal(*axis, QStringLiteral("titleGap"));
    const auto rotation = decimal(*axis, QStringLiteral("titleRotation"));
    const auto tickLength = decimal(*axis, QStringLiteral("tickLength"));
    const std::shared_ptr<MyStorageItem> record = vm->storageItemDict.value(kYTitle);
    MyTextView* view = record ? firstTextView(*record) : nullptr;
    if (!gap || !rotation || (vm->scaleTextRects.isEmpty() && !tickLength) || !view) {
        vm->yTextRect = Rect();
        return;
    }
    const double left = FrameGeometry::titleLeftEdge(vm->scaleTextRects, tickLength.value_or(0.0));
    const FrameGeometry::TitlePlacement p = FrameGeometry::yTitle(vm->yTextRect.size, *rotation, left, *gap,
                                                                  vm->graphRect.height());
    vm->yTextRect = p.textRect;
    vm->yTextRequiredRect = p.requiredRect;
    view->setFrame(p.textRect);
    view->setFrameRotation(*rotation);
}
