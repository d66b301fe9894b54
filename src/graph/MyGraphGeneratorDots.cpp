// The dot-plot step: every value of every column as its own dot, placed in lanes so that no
// dot hides another, the dots view of each column with the range alert, and the mean or
// median bars. Views are made on the first pass that needs them and moved afterwards.
#include "graph/DotLanes.h"
#include "graph/DotPlotGeometry.h"
#include "graph/GraphSettingsRead.h"
#include "graph/MyGraphGenerator.h"
#include "graph/PlotSteps.h"

#include "app/AppDelegate.h"
#include "outline/MyConfigItem.h"
#include "outline/MyConfigRootItem.h"
#include "views/MySimpleTextView.h"
#include "views/MySimpleView.h"
#include "views/MyStorageItem.h"
#include "views/MyView.h"

#include <QTextDocumentFragment>

#include <algorithm>

using PlotSteps::ColumnIndex;
using PlotSteps::selected;

namespace {
const QString kRangeMessage = QStringLiteral("Some objects (dots or bars) are outside the rectangle of the graph.");

bool sameText(TextStorage* storage, const AttributedString& text)
{
    return QTextDocumentFragment(storage).toHtml() == text.toHtml();
}

// How the bars of the graph look; shown by one rule for drawing and for the range test.
struct Bars {
    qint64 type = 0;
    double length = 0, width = 0;
    bool shown = false;
};

Bars barsOf(const QVariantMap& settings)
{
    const QVariantMap graph = PlotSteps::map(settings, "graphProperties");
    const QVariantMap bars = PlotSteps::map(graph, "bars");
    Bars b;
    b.type = PlotSteps::integer(bars.value("barType"));
    b.length = PlotSteps::number(PlotSteps::map(graph, "graphRect").value("columnWidth"))
               * PlotSteps::number(bars.value("barLength"));
    b.width = PlotSteps::number(bars.value("lineWidth"));
    b.shown = DotPlotGeometry::barsShown(b.type, b.length, b.width);
    return b;
}

// The value axis as the dots and bars use it.
struct Axis {
    bool logarithmic = false;
    double min = 0, max = 0, height = 0;
    DotPlotGeometry::ValueAxis value;
};

Axis axisOf(const MyGraphGenerator& gen, const QVariantMap& settings)
{
    const QVariantMap vs = PlotSteps::map(settings, "valueSettings");
    Axis a;
    a.logarithmic = vs.value("logarithmic").toBool();
    a.min = gen.doubleFromString(vs.value("min").toString());
    a.max = gen.doubleFromString(vs.value("max").toString());
    a.height = PlotSteps::number(PlotSteps::map(PlotSteps::map(settings, "graphProperties"), "graphRect").value("height"));
    a.value = DotPlotGeometry::valueAxis(a.min, a.max, a.height, a.logarithmic);
    return a;
}

const QHash<QString, BoxValuesDict>& statisticsOf(const MyViewManager* vm, bool logarithmic)
{
    return logarithmic ? vm->graphLogDescriptives : vm->graphDescriptives;
}

std::optional<double> statisticOf(const QHash<QString, BoxValuesDict>& table, const QString& tag, qint64 barType)
{
    const auto it = table.constFind(tag);
    if (it == table.cend())
        return std::nullopt;
    return barType == 1 ? it->mean : it->median;
}

// A dot without a place on the axis is left out of the drawing (and of its column's extent).
template <class View>
View* shownIf(View* view, bool placed)
{
    view->setVisible(placed);
    return view;
}

void detachBarsOfSeries(const QString& dotName, MyViewManager* vm)
{
    // Bars go back above the series' new dots when the view tree is brought in line.
    const QVector<MySimpleView*>* bars = vm->viewsDict.find(MyViewManager::kBars);
    if (!bars)
        return;
    const QString origName = dotName.mid(4).normalized(QString::NormalizationForm_C);   // after "dot\t"
    for (MySimpleView* bar : *bars)
        if (bar->superviewName.normalized(QString::NormalizationForm_C).endsWith(origName))
            bar->removeFromSuperview();
}

void moveShapeDots(const MyGraphGenerator& gen, const QString& dotName, qsizetype dotIndex, qsizetype numOfTypes,
                   const Rect& box, MyViewManager* vm)
{
    const Rect old = vm->dotSizeOrigins.value(dotName);
    const QVector<MySimpleView*> views = vm->viewsDict.value(dotName);
    if (box == old) {
        for (MySimpleView* v : views)
            v->setNeedsDisplay();
        return;
    }
    // The dots keep their centres: each moves by the change of the box's origin.
    const Point offset{box.origin.x - old.origin.x, box.origin.y - old.origin.y};
    const ColumnIndex<MySimpleView> index(views);
    const qsizetype groups = PlotSteps::groupCount(vm->nameTags.size(), numOfTypes);
    for (qsizetype k = 0; k < groups; ++k) {
        const QString& tag = vm->nameTags[k * numOfTypes + dotIndex];
        const QVector<MySimpleView*>& column = index.of(MyViewManager::columnViewName(tag));
        if (column.isEmpty())
            continue;
        Rect all;
        for (MySimpleView* v : column) {
            const Rect frame = gen.rectSimpleView(v, box.size, box.origin, offset);
            if (v->isVisible())
                all = all.united(frame);
        }
        vm->columnRects.insert(tag, all);
    }
    vm->dotSizeOrigins.insert(dotName, box);
}

void moveGlyphDots(const MyGraphGenerator& gen, const QString& dotName, qsizetype dotIndex, qsizetype numOfTypes,
                   const AttributedString& text, const Rect& box, MyViewManager* vm)
{
    const Rect old = vm->dotSizeOrigins.value(dotName);
    const std::shared_ptr<MyStorageItem> item = vm->storageItemDict.value(dotName);
    if (!item || !item->textStorage)
        return;
    MyGraphGenerator::setAttributedString(item->textStorage, text);
    if (box == old)
        return;
    const ContainersAndViews cv = gen.containersAndViewsWithTextStorage(item->textStorage);
    for (TextContainer* c : cv.containers)
        c->setContainerSize(box.size);
    const Point offset{box.origin.x - old.origin.x, box.origin.y - old.origin.y};
    const ColumnIndex<MySimpleTextView> index(QVector<MySimpleTextView*>(cv.views.begin(), cv.views.end()));
    const qsizetype groups = PlotSteps::groupCount(vm->nameTags.size(), numOfTypes);
    for (qsizetype k = 0; k < groups; ++k) {
        const QString& tag = vm->nameTags[k * numOfTypes + dotIndex];
        const QVector<MySimpleTextView*>& column = index.of(MyViewManager::columnViewName(tag));
        if (column.isEmpty())
            continue;
        Rect extent = gen.viewRectWithTextViews(QList<MySimpleTextView*>(column.begin(), column.end()), box.size, offset);
        // Dots left out of the drawing stay out of the extent.
        if (std::any_of(column.begin(), column.end(), [](const MySimpleTextView* v) { return !v->isVisible(); })) {
            extent = Rect();
            for (const MySimpleTextView* v : column)
                if (v->isVisible())
                    extent = extent.united(v->frame());
        }
        vm->columnRects.insert(tag, extent);
    }
    vm->dotSizeOrigins.insert(dotName, box);
}
}

void MyGraphGenerator::setScatterWithSetIndex(qint64 setIndex, const QStringList& keys, const QVector<qint64>& indexes,
                                              const QVariantMap& settings, MyConfigRootItem* rootItem,
                                              MyViewManager* viewManager)
{
    QStringList dotNames;
    QVector<bool> named;
    for (const std::optional<QString>& origName : PlotSteps::seriesNames(settings)) {
        dotNames << QStringLiteral("dot\t") + origName.value_or(QString());
        named << origName.has_value();
    }
    const qint64 objectMask = flagOf("dotObject") + flagOf("dotRect");

    if (keys.isEmpty() || (keys.first() == "categoryDicts" && selected(setIndex, objectMask))) {
        // The category's represents were reordered or renamed: series rows follow the names.
        MyConfigItem* dotsRow = rootItem ? rootItem->childTitle("dotsProperties") : nullptr;
        const QList<MyConfigItem*> rows = dotsRow ? dotsRow->configChildren() : QList<MyConfigItem*>();
        for (qsizetype i = 0; i < rows.size() && i < dotNames.size(); ++i) {
            if (!named[i])
                continue;
            viewManager->itemsDict.insert(dotNames[i], rows[i]);
            if (const auto* item = viewManager->storageItemDict.find(dotNames[i]); item && *item) {
                (*item)->textItem = rows[i]->childTitle("fontKey");
                (*item)->attrItem = rows[i]->childTitle("dotAttr");
            }
        }
    }

    const bool all = selected(setIndex, flagOf("dotAll"));
    const bool objects = selected(setIndex, objectMask);
    const qsizetype n = settings.value("dotsProperties").toList().size();
    QStringList outside;
    for (qsizetype j = 0; j < n && j < dotNames.size(); ++j) {
        if (!named[j])
            continue;
        if (objects && (all || (indexes.size() >= 2 && indexes[1] == j)))
            dotObjectWithSettings(settings, dotNames[j], j, setIndex, rootItem, viewManager);
        if (selected(setIndex, flagOf("dotsView")))
            dotsViewWithSettings(settings, j, viewManager, &outside);
    }
    if (selected(setIndex, flagOf("barObjects")))
        barObjectsWithSettings(settings, viewManager);
    if (selected(setIndex, flagOf("barRects")))
        barRectsWithSettings(settings, viewManager);

    // One alert for the whole pass, shown from the event loop once the pass is over.
    if (!outside.isEmpty())
        viewManager->noteAlert(kRangeMessage);
}

void MyGraphGenerator::dotObjectWithSettings(const QVariantMap& settings, const QString& dotName, qsizetype dotIndex,
                                             qint64 setIndex, MyConfigRootItem* rootItem, MyViewManager* vm)
{
    const QVariantList series = settings.value("dotsProperties").toList();
    if (dotIndex < 0 || dotIndex >= series.size())
        return;
    const QVariantMap dotDict = series[dotIndex].toMap();
    const QVariant typeValue = dotDict.value("dotType");
    const qint64 dotType = PlotSteps::integer(PlotSteps::isNumber(typeValue) ? typeValue : dotDict.value("type"));
    const double dotSize = PlotSteps::number(dotDict.value("dotSize"));
    auto handOn = [&] {
        dotRectWithSettings(settings, dotDict, dotType, dotName, dotIndex, series.size(), setIndex, rootItem, vm);
    };
    if (!selected(setIndex, flagOf("dotObject"))) {
        handOn();
        return;
    }
    const bool rectsSelected = (setIndex & flagOf("dotRect")) != 0;
    auto record = [&](const Rect& box) { vm->dotSizeOrigins.insert(dotName, box); };

    if (dotType <= 5) {
        const double lineWidth = PlotSteps::number(dotDict.value("lineWidth"));
        const QColor fill = GraphSettingsRead::color(dotDict, "fillColor").value_or(QColor(Qt::black));
        const QColor line = GraphSettingsRead::color(dotDict, "lineColor").value_or(QColor(Qt::black));
        const auto [path, box] = dotBezierPath(dotType, dotSize, lineWidth);
        vm->viewBezier.insert(dotName, path);
        vm->viewColors.insert(dotName, {fill, line});
        vm->viewVisible.insert(dotName, true);
        vm->viewSelected.insert(dotName, false);
        if (const auto* item = vm->storageItemDict.find(dotName); item && *item) {
            if ((*item)->visible) {
                (*item)->visible = false;
                detachBarsOfSeries(dotName, vm);
            }
            record(box);
            handOn();
        } else if (rectsSelected || !vm->viewsDict.contains(dotName) || !vm->dotSizeOrigins.contains(dotName)) {
            // Without views to move there is nothing to update in place: make them.
            record(box);
            handOn();
        } else {
            moveShapeDots(*this, dotName, dotIndex, series.size(), box, vm);
        }
        return;
    }

    const TextAttributes attributes = GraphSettingsRead::attributes(dotDict, "dotAttr").value_or(TextAttributes());
    const auto [text, box] = glyphDotStorage(dotDict.value("fontKey").toString(), attributes, dotSize);
    vm->dotAttrStrings.insert(dotName, text);
    if (vm->viewsDict.contains(dotName) && vm->viewVisible.value(dotName, false)) {
        vm->viewVisible.insert(dotName, false);
        detachBarsOfSeries(dotName, vm);
        record(box);
        handOn();
    } else if (rectsSelected || !vm->storageItemDict.contains(dotName) || !vm->dotSizeOrigins.contains(dotName)) {
        record(box);
        handOn();
    } else {
        moveGlyphDots(*this, dotName, dotIndex, series.size(), text, box, vm);
    }
}

void MyGraphGenerator::dotRectWithSettings(const QVariantMap& settings, const QVariantMap& dotDict, qint64 dotType,
                                           const QString& dotName, qsizetype dotIndex, qsizetype numOfTypes,
                                           qint64 setIndex, MyConfigRootItem* rootItem, MyViewManager* vm)
{
    const Axis axis = axisOf(*this, settings);
    const double spacing = PlotSteps::number(dotDict.value("dotSize")) * PlotSteps::number(dotDict.value("betweenDots"));
    const Rect* boxEntry = vm->dotSizeOrigins.find(dotName);
    // A category level without values has no series to lay out.
    if (!boxEntry || numOfTypes <= 0)
        return;
    const Rect box = *boxEntry;
    MyConfigItem* row = PlotSteps::seriesRow(rootItem, "dotsProperties", dotIndex);
    const qsizetype groups = PlotSteps::groupCount(vm->nameTags.size(), numOfTypes);

    // The dots of each column of the series, in group order.
    auto forEachColumn = [&](auto&& place) {
        for (qsizetype g = 0; g < groups; ++g) {
            const QString& tag = vm->nameTags[g * numOfTypes + dotIndex];
            const auto values = vm->values.constFind(tag);
            const std::vector<double> none;
            const DotLanes::Result r = DotLanes::dotRectsForValues(values == vm->values.cend() ? none : *values,
                                                                   axis.logarithmic, box, spacing,
                                                                   axis.value.axisMin, axis.value.scale);
            place(tag, MyViewManager::columnViewName(tag), r);
            vm->columnRects.insert(tag, r.unionRect);
        }
    };

    if (dotType < 6) {
        QVector<MySimpleView*>* stored = vm->viewsDict.find(dotName);
        if (!stored) {
            QVector<MySimpleView*> views;
            forEachColumn([&](const QString&, const QString& column, const DotLanes::Result& r) {
                for (size_t i = 0; i < r.rects.size(); ++i)
                    views << shownIf(MySimpleView::initWithName(dotName, column, vm, r.rects[i], box.origin),
                                     i < r.placed);
            });
            vm->viewsDict.insert(dotName, views);
            if (row)
                vm->itemsDict.insert(dotName, row);
            return;
        }
        const bool redraw = selected(setIndex, flagOf("dotObject"));
        const ColumnIndex<MySimpleView> index(*stored);
        QVector<MySimpleView*> added;
        forEachColumn([&](const QString&, const QString& column, const DotLanes::Result& r) {
            const QVector<MySimpleView*>& views = index.of(column);
            for (size_t i = 0; i < r.rects.size(); ++i) {
                if (qsizetype(i) >= views.size()) {
                    // A column the series never showed before: its dots are made now.
                    added << shownIf(MySimpleView::initWithName(dotName, column, vm, r.rects[i], box.origin),
                                     i < r.placed);
                    continue;
                }
                if (redraw)
                    setSimpleView(views[i], r.rects[i], box.origin);
                else
                    views[i]->setFrame(r.rects[i]);
                shownIf(views[i], i < r.placed);
            }
        });
        PlotSteps::joinGroup(vm, *vm->viewsDict.find(dotName), added);
        vm->viewsDict.find(dotName)->append(added);
        return;
    }

    const AttributedString text = vm->dotAttrStrings.value(dotName);
    const std::shared_ptr<MyStorageItem> item = vm->storageItemDict.value(dotName);
    if (!item || !item->textStorage) {
        TextStorage* storage = newTextStorage(vm, text);
        vm->storageItemDict.insert(dotName, std::make_shared<MyStorageItem>(storage, PlotSteps::child(row, "fontKey"),
                                                                            PlotSteps::child(row, "dotAttr")));
        QVector<MySimpleTextView*> views;
        forEachColumn([&](const QString&, const QString& column, const DotLanes::Result& r) {
            for (size_t i = 0; i < r.rects.size(); ++i)
                views << shownIf(MySimpleTextView::initWithFrame(r.rects[i], storage, dotName, column, vm),
                                 i < r.placed);
        });
        vm->textViewsDict.insert(dotName, views);
        return;
    }
    item->visible = true;
    TextStorage* storage = item->textStorage;
    const ContainersAndViews cv = containersAndViewsWithTextStorage(storage);
    if (!sameText(storage, text))
        setAttributedString(storage, text);
    if (!cv.containers.isEmpty() && cv.containers.first()->containerSize() != box.size)
        for (TextContainer* c : cv.containers)
            c->setContainerSize(box.size);
    const QVector<MySimpleTextView*> existing(cv.views.begin(), cv.views.end());
    const ColumnIndex<MySimpleTextView> index(existing);
    QVector<MySimpleTextView*> added;
    forEachColumn([&](const QString&, const QString& column, const DotLanes::Result& r) {
        const QVector<MySimpleTextView*>& views = index.of(column);
        for (size_t i = 0; i < r.rects.size(); ++i) {
            if (qsizetype(i) < views.size()) {
                views[i]->setFrame(r.rects[i]);
                shownIf(views[i], i < r.placed);
            } else {
                added << shownIf(MySimpleTextView::initWithFrame(r.rects[i], storage, dotName, column, vm),
                                 i < r.placed);
            }
        }
    });
    PlotSteps::joinGroup(vm, existing, added);
    vm->textViewsDict[dotName].append(added);
}

void MyGraphGenerator::dotsViewWithSettings(const QVariantMap& settings, qsizetype dotID, MyViewManager* vm,
                                            QStringList* outside)
{
    const qsizetype n = settings.value("dotsProperties").toList().size();
    const Bars bars = barsOf(settings);
    const double barWidth = bars.shown ? bars.length : 0;
    const Axis axis = axisOf(*this, settings);
    PlotSteps::forEachPlacedColumn(vm, n, dotID, [&](const QString& tag, const Rect& column, double baseX) {
        const Rect content = DotPlotGeometry::dotsViewContent(column, barWidth);
        const Rect frame = content.offsetBy(baseX, 0);
        PlotSteps::placeContainer(vm, tag, frame, content.origin, translucent, false);
        if (!outside)
            return;
        // A value with no place on the axis is not inside the graph either.
        const auto values = vm->values.constFind(tag);
        if (DotPlotGeometry::outsideGraph(frame, vm->graphRect)
            || (values != vm->values.cend()
                && !DotLanes::allPlaceable(*values, axis.logarithmic, axis.value.axisMin, axis.value.scale)))
            *outside << tag;
    });
}

namespace {
void addMissingBars(const QVariantMap& settings, const Bars& bars, MyViewManager* vm)
{
    // A column gets its bar once its statistic exists in the table in use; a switch between
    // the plain and the logarithmic axis can bring one that was absent before.
    QVector<MySimpleView*>* stored = vm->viewsDict.find(MyViewManager::kBars);
    if (!stored)
        return;
    const bool logarithmic = PlotSteps::map(settings, "valueSettings").value("logarithmic").toBool();
    const QHash<QString, BoxValuesDict>& table = statisticsOf(vm, logarithmic);
    const ColumnIndex<MySimpleView> index(*stored);
    const Rect frame = DotPlotGeometry::barFrame(bars.length, bars.width);
    for (const QString& tag : vm->nameTags) {
        const QString column = MyViewManager::columnViewName(tag);
        if (index.of(column).isEmpty() && statisticOf(table, tag, bars.type))
            stored->append(MySimpleView::initWithName(MyViewManager::kBars, column, vm, frame, frame.origin));
    }
}
}

void MyGraphGenerator::barObjectsWithSettings(const QVariantMap& settings, MyViewManager* vm)
{
    const Bars bars = barsOf(settings);
    const QVector<MySimpleView*> stored = vm->viewsDict.value(MyViewManager::kBars);
    if (!bars.shown) {
        if (!stored.isEmpty())
            vm->viewVisible.insert(MyViewManager::kBars, false);
        return;
    }
    vm->viewVisible.insert(MyViewManager::kBars, true);
    const QVariantMap barSettings = PlotSteps::map(PlotSteps::map(settings, "graphProperties"), "bars");
    const QColor color = GraphSettingsRead::color(barSettings, "barColor").value_or(QColor(Qt::black));
    vm->viewColors.insert(MyViewManager::kBars, {color, color});
    vm->viewBezier.insert(MyViewManager::kBars,
                          lineBezier({-bars.length / 2, 0}, {bars.length, 0}, bars.width));
    const Rect frame = DotPlotGeometry::barFrame(bars.length, bars.width);
    if (stored.isEmpty()) {
        vm->viewSelected.insert(MyViewManager::kBars, false);
        vm->viewsDict.insert(MyViewManager::kBars, {});
    } else {
        // Longer, shorter, thicker or thinner: every bar keeps its centre.
        const Point first = stored.first()->boundsOrigin();
        const Point offset{frame.origin.x - first.x, frame.origin.y - first.y};
        for (MySimpleView* bar : stored)
            rectSimpleView(bar, frame.size, frame.origin, offset);
    }
    addMissingBars(settings, bars, vm);
}

void MyGraphGenerator::barRectsWithSettings(const QVariantMap& settings, MyViewManager* vm)
{
    if (!vm->viewsDict.contains(MyViewManager::kBars) || !vm->viewVisible.value(MyViewManager::kBars, false))
        return;
    const Bars bars = barsOf(settings);
    addMissingBars(settings, bars, vm);
    const Axis axis = axisOf(*this, settings);
    const QHash<QString, BoxValuesDict>& table = statisticsOf(vm, axis.logarithmic);
    const ColumnIndex<MySimpleView> index(vm->viewsDict.value(MyViewManager::kBars));
    for (const QString& tag : vm->nameTags) {
        const QVector<MySimpleView*>& views = index.of(MyViewManager::columnViewName(tag));
        if (views.isEmpty())
            continue;
        MySimpleView* bar = views.first();
        const std::optional<double> statistic = statisticOf(table, tag, bars.type);
        const double y = statistic ? DotPlotGeometry::barY(*statistic, axis.value.axisMin, axis.value.axisMax,
                                                           axis.height, bar->frame().size.height)
                                   : 0;
        // A bar whose statistic the table in use lacks, or that has no place on the axis,
        // is hidden rather than left where the other table put it.
        const bool placed = statistic && GraphItem::placeable(y);
        bar->setVisible(placed);
        if (!placed)
            continue;
        Rect frame = bar->frame();
        frame.origin.y = y;
        bar->setFrame(frame);
    }
}
