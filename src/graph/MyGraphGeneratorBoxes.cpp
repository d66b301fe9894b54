// The boxplot step: per box its box, whiskers, min/max marks and outlier dots, the box's
// container, and the median lines of all boxes. Every element is decided box by box: a box
// gets its views the first time it has values, and elements whose values the table in use
// lacks are hidden, not left where another table put them.
#include "graph/BoxGeometry.h"
#include "graph/GraphSettingsRead.h"
#include "graph/MyGraphGenerator.h"
#include "graph/PlotSteps.h"

#include "outline/MyConfigItem.h"
#include "outline/MyConfigRootItem.h"
#include "views/MySimpleTextView.h"
#include "views/MySimpleView.h"
#include "views/MyStorageItem.h"
#include "views/MyView.h"

#include <cmath>

using PlotSteps::ColumnIndex;
using PlotSteps::selected;

namespace {
QColor colorOf(const QVariantMap& dict, const QString& key)
{
    return GraphSettingsRead::color(dict, key).value_or(QColor(Qt::black));
}

// What the outlier dots of one series need from the box loop.
struct OutlierPass {
    QString seriesName;
    QVariantMap entry;
    MyConfigItem* row = nullptr;
    QStringList boxKeys;
    qsizetype total = 0;
    const QHash<QString, std::vector<double>>* outliers = nullptr;
    bool logarithmic = false;
    double axisMin = 0, scale = 0;
};

// One element view of its own name (a box or a whisker): made the first time the box has
// values, moved and shown afterwards.
void placeElement(const MyGraphGenerator& gen, MyViewManager* vm, const QString& key, const QString& column,
                  const Rect& frame)
{
    QVector<MySimpleView*>* views = vm->viewsDict.find(key);
    if (views && !views->isEmpty()) {
        gen.setSimpleView(views->first(), frame, frame.origin);
    } else {
        vm->viewSelected.insert(key, false);
        vm->viewsDict.insert(key, {MySimpleView::initWithName(key, column, vm, frame, frame.origin)});
    }
    vm->viewVisible.insert(key, true);
}

void hideElement(MyViewManager* vm, const QString& key)
{
    if (vm->viewsDict.contains(key))
        vm->viewVisible.insert(key, false);
}

// The outliers of every box on its centre line: the i-th value of a box moves the box's
// i-th view, or a new one when the box has fewer; the box's extent grows by every dot.
template <class View, class Move, class Make>
QVector<View*> placeOutliers(const OutlierPass& p, const Rect& box, const ColumnIndex<View>& index,
                             MyViewManager* vm, Move move, Make make)
{
    QVector<View*> made;
    for (const QString& key : p.boxKeys) {
        const QString column = MyViewManager::columnViewName(key);
        const QVector<View*>& views = index.of(column);
        const std::vector<double> values = p.outliers->value(key);
        Rect extent = vm->columnRects.value(key);
        for (size_t i = 0; i < values.size(); ++i) {
            // A dot with no place on the axis is left out of the drawing and of the extent.
            const Rect at = BoxGeometry::outlierFrame(values[i], box, p.axisMin, p.scale);
            const bool placed = GraphItem::placeable(at);
            const Rect frame = placed ? at : box;
            View* view = qsizetype(i) < views.size() ? views[qsizetype(i)] : nullptr;
            if (view)
                move(view, frame);
            else
                made << (view = make(column, frame));
            view->setVisible(placed);
            if (placed)
                extent = extent.united(frame);
        }
        vm->columnRects.insert(key, extent);
    }
    return made;
}

void outlierShapes(const MyGraphGenerator& gen, const OutlierPass& p, const QString& name, qint64 dotType,
                   double dotSize, MyViewManager* vm)
{
    if (const auto* item = vm->storageItemDict.find(name); item && *item)
        (*item)->visible = false;
    const auto [path, box] = gen.dotBezierPath(dotType, dotSize, PlotSteps::number(p.entry.value("dotLineWidth")));
    vm->viewBezier.insert(name, path);
    vm->viewColors.insert(name, {colorOf(p.entry, "dotFillColor"), colorOf(p.entry, "dotLineColor")});
    vm->viewVisible.insert(name, true);
    if (p.row)
        vm->itemsDict.insert(name, p.row);
    vm->viewSelected.insert(name, false);

    const Point origin = BoxGeometry::outlierOrigin(box);
    const ColumnIndex<MySimpleView> index(vm->viewsDict.value(name));
    const QVector<MySimpleView*> made = placeOutliers<MySimpleView>(
        p, box, index, vm, [&](MySimpleView* v, const Rect& frame) { gen.setSimpleView(v, frame, origin); },
        [&](const QString& column, const Rect& frame) {
            return MySimpleView::initWithName(name, column, vm, frame, origin);
        });
    // Views made now join those made before, so no box's dots drop out of the list.
    if (!made.isEmpty()) {
        PlotSteps::joinGroup(vm, vm->viewsDict.value(name), made);
        vm->viewsDict[name].append(made);
    }
    vm->dotSizeOrigins.insert(name, box);
}

void outlierGlyphs(const MyGraphGenerator& gen, const OutlierPass& p, const QString& name, double dotSize,
                   MyViewManager* vm)
{
    const TextAttributes attributes = GraphSettingsRead::attributes(p.entry, "dotAttr").value_or(TextAttributes());
    const auto [text, box] = gen.glyphDotStorage(p.entry.value("fontKey").toString(), attributes, dotSize);
    MyConfigItem* textRow = PlotSteps::child(p.row, "fontKey");
    MyConfigItem* attrRow = PlotSteps::child(p.row, "dotAttr");

    std::shared_ptr<MyStorageItem> item = vm->storageItemDict.value(name);
    ColumnIndex<MySimpleTextView> index;
    QVector<MySimpleTextView*> existing;
    if (item && item->textStorage) {
        item->visible = true;
        item->textItem = textRow;
        item->attrItem = attrRow;
        MyGraphGenerator::setAttributedString(item->textStorage, text);
        const ContainersAndViews cv = gen.containersAndViewsWithTextStorage(item->textStorage);
        for (TextContainer* c : cv.containers)
            c->setContainerSize(box.size);
        existing = QVector<MySimpleTextView*>(cv.views.begin(), cv.views.end());
        index = ColumnIndex<MySimpleTextView>(existing);
    } else {
        item = std::make_shared<MyStorageItem>(MyGraphGenerator::newTextStorage(vm, text), textRow, attrRow);
        vm->storageItemDict.insert(name, item);
        vm->textViewsDict.insert(name, {});
    }
    TextStorage* storage = item->textStorage;
    const QVector<MySimpleTextView*> made = placeOutliers<MySimpleTextView>(
        p, box, index, vm, [](MySimpleTextView* v, const Rect& frame) { v->setFrame(frame); },
        [&](const QString& column, const Rect& frame) {
            return MySimpleTextView::initWithFrame(frame, storage, name, column, vm);
        });
    PlotSteps::joinGroup(vm, existing, made);
    vm->textViewsDict[name].append(made);
    if (vm->viewsDict.contains(name))
        vm->viewVisible.insert(name, false);
    vm->dotSizeOrigins.insert(name, box);
}

// The outliers of every box of a series, on the centre line; a plain and a logarithmic axis
// keep their own dots, the other kind hidden.
void outlierDots(const MyGraphGenerator& gen, const OutlierPass& p, MyViewManager* vm)
{
    const QString plain = QStringLiteral("dot\t") + p.seriesName;
    const QString logarithmic = QStringLiteral("dot\tlogarithmic\t") + p.seriesName;
    const QString& name = p.logarithmic ? logarithmic : plain;
    const QString& other = p.logarithmic ? plain : logarithmic;
    if (vm->viewsDict.contains(other))
        vm->viewVisible.insert(other, false);
    if (const auto* item = vm->storageItemDict.find(other); item && *item)
        (*item)->visible = false;
    if (p.total == 0)
        return;
    const qint64 dotType = PlotSteps::integer(p.entry.value("dotType"));
    const double dotSize = PlotSteps::number(p.entry.value("dotSize"));
    if (dotType <= 5)
        outlierShapes(gen, p, name, dotType, dotSize, vm);
    else
        outlierGlyphs(gen, p, name, dotSize, vm);
}
}

void MyGraphGenerator::setBoxWithSetIndex(qint64 setIndex, const QStringList&, const QVector<qint64>&,
                                          const QVariantMap& settings, MyConfigRootItem* rootItem,
                                          MyViewManager* viewManager)
{
    const QVariantMap graph = PlotSteps::map(settings, "graphProperties");
    const double boxWidth = PlotSteps::number(PlotSteps::map(graph, "graphRect").value("columnWidth"))
                            * PlotSteps::number(PlotSteps::map(graph, "boxes").value("boxWidth"));
    const QVariantMap vs = PlotSteps::map(settings, "valueSettings");
    const bool logarithmic = vs.value("logarithmic").toBool();
    double axisMin = doubleFromString(vs.value("min").toString());
    double axisMax = doubleFromString(vs.value("max").toString());
    if (logarithmic) {
        axisMin = std::log10(axisMin);
        axisMax = std::log10(axisMax);
    }
    const double scale = viewManager->graphRect.height() / (axisMax - axisMin);
    const QHash<QString, BoxValuesDict>& table =
        logarithmic ? viewManager->graphLogDescriptives : viewManager->graphDescriptives;
    const qint64 boxMask = flagOf("barObjects") + flagOf("barRects");
    const qsizetype series = settings.value("boxesProperties").toList().size();
    // The names are read once for all series: per series they made the step quadratic.
    const QVector<std::optional<QString>> names = PlotSteps::seriesNames(settings);
    for (qsizetype i = 0; i < series; ++i) {
        if (selected(setIndex, boxMask))
            boxesWithSettings(table, logarithmic, settings, names, i, rootItem, viewManager, boxWidth, axisMin,
                              scale);
        if (selected(setIndex, flagOf("dotsView")))
            boxesViewWithSettings(settings, i, viewManager);
    }
    if (selected(setIndex, boxMask))
        medianLinesWithSettings(table, settings, viewManager, boxWidth, axisMin, scale);
}

void MyGraphGenerator::boxesWithSettings(const QHash<QString, BoxValuesDict>& table, bool logarithmic,
                                         const QVariantMap& settings, const QVector<std::optional<QString>>& names,
                                         qsizetype seriesIndex, MyConfigRootItem* rootItem, MyViewManager* vm,
                                         double boxWidth, double axisMin, double scale)
{
    const QVariantList allSeries = settings.value("boxesProperties").toList();
    if (seriesIndex < 0 || seriesIndex >= allSeries.size() || seriesIndex >= names.size() || !names[seriesIndex])
        return;
    const QVariantMap boxes = PlotSteps::map(PlotSteps::map(settings, "graphProperties"), "boxes");
    const BoxGeometry::Style style{boxWidth, PlotSteps::number(boxes.value("boxLineWidth")),
                                   PlotSteps::number(boxes.value("whiskerWidth")),
                                   PlotSteps::number(boxes.value("minMaxLength")),
                                   PlotSteps::number(boxes.value("minMaxWidth"))};
    OutlierPass pass;
    pass.outliers = logarithmic ? &vm->logOutliers : &vm->outliers;
    pass.logarithmic = logarithmic;
    pass.axisMin = axisMin;
    pass.scale = scale;
    pass.entry = allSeries[seriesIndex].toMap();
    pass.seriesName = *names[seriesIndex];
    const qsizetype seriesCount = allSeries.size();
    const qsizetype groups = PlotSteps::groupCount(vm->nameTags.size(), seriesCount);
    const ColorPair boxColors{colorOf(pass.entry, "boxFillColor"), colorOf(pass.entry, "boxLineColor")};
    const QColor markColor = colorOf(pass.entry, "minMaxLineColor");

    const QString boxName = QStringLiteral("box\t") + pass.seriesName;
    const QString whiskerName = QStringLiteral("whisker\t") + pass.seriesName;
    const QString markName = QStringLiteral("minMax\t") + pass.seriesName;
    MyConfigItem* boxesRow = PlotSteps::child(PlotSteps::child(rootItem, "graphProperties"), "boxes");
    if (boxesRow)
        vm->itemsDict.insert(markName, boxesRow);
    vm->viewBezier.insert(markName, lineBezier({-style.markLength / 2, 0}, {style.markLength, 0}, style.markWidth));
    vm->viewColors.insert(markName, {markColor, markColor});
    vm->viewVisible.insert(markName, true);
    vm->viewSelected.insert(markName, false);
    const Point markOrigin = BoxGeometry::markOrigin(style);
    QVector<MySimpleView*> marks = vm->viewsDict.value(markName);
    ColumnIndex<MySimpleView> markIndex(marks);
    QVector<MySimpleView*> newMarks;
    pass.row = PlotSteps::seriesRow(rootItem, "boxesProperties", seriesIndex);

    for (qsizetype j = 0; j < groups; ++j) {
        const QString& key = vm->nameTags[seriesCount * j + seriesIndex];
        const QString column = MyViewManager::columnViewName(key);
        const QString boxKey = boxName + "\n" + key;
        const QString lowerKey = whiskerName + "\nlower\n" + key;
        const QString upperKey = whiskerName + "\nupper\n" + key;
        const QVector<MySimpleView*>& boxMarks = markIndex.of(column);
        pass.boxKeys << key;
        pass.total += qsizetype(pass.outliers->value(key).size());

        const auto values = table.constFind(key);
        const bool hasValues = values != table.cend() && values->median && values->q1 && values->q3 && values->boxMin
                               && values->boxMax;
        const BoxGeometry::Elements e =
            hasValues ? BoxGeometry::elements(*values->q1, *values->q3, *values->boxMin, *values->boxMax, axisMin,
                                              scale, style)
                      : BoxGeometry::Elements();
        // A box with no place on the axis is left out as one without values is.
        const bool drawn = hasValues && BoxGeometry::placeable(e);
        if (!drawn) {
            vm->columnRects.insert(key, Rect());
            for (const QString& k : {boxKey, lowerKey, upperKey})
                hideElement(vm, k);
            for (MySimpleView* mark : boxMarks)
                mark->setVisible(false);
            continue;
        }
        vm->columnRects.insert(key, e.columnRect);

        BezierPath boxPath = BezierPath::bezierPathWithRect(e.box);
        boxPath.setLineWidth(style.boxLineWidth);
        vm->viewBezier.insert(boxKey, boxPath);
        vm->viewColors.insert(boxKey, boxColors);
        if (pass.row)
            vm->itemsDict.insert(boxKey, pass.row);
        vm->viewBezier.insert(lowerKey, lineBezier(e.lowerStart, {0, e.lowerLength}, style.whiskerWidth));
        vm->viewColors.insert(lowerKey, boxColors);
        vm->viewBezier.insert(upperKey, lineBezier(e.upperStart, {0, e.upperLength}, style.whiskerWidth));
        vm->viewColors.insert(upperKey, boxColors);
        if (boxesRow) {
            vm->itemsDict.insert(lowerKey, boxesRow);
            vm->itemsDict.insert(upperKey, boxesRow);
        }
        placeElement(*this, vm, boxKey, column, e.boxFrame);
        placeElement(*this, vm, lowerKey, column, e.lowerWhisker);
        placeElement(*this, vm, upperKey, column, e.upperWhisker);

        const Rect markFrames[2] = {e.lowerMark, e.upperMark};
        for (qsizetype m = 0; m < 2; ++m) {
            if (m < boxMarks.size()) {
                setSimpleView(boxMarks[m], markFrames[m], markOrigin);
                boxMarks[m]->setVisible(true);
            } else {
                newMarks << MySimpleView::initWithName(markName, column, vm, markFrames[m], markOrigin);
            }
        }
    }
    PlotSteps::joinGroup(vm, marks, newMarks);
    if (!vm->viewsDict.contains(markName) || !newMarks.isEmpty())
        vm->viewsDict.insert(markName, marks + newMarks);

    outlierDots(*this, pass, vm);
}

void MyGraphGenerator::boxesViewWithSettings(const QVariantMap& settings, qsizetype boxID, MyViewManager* vm)
{
    const qsizetype series = settings.value("boxesProperties").toList().size();
    PlotSteps::forEachPlacedColumn(vm, series, boxID, [&](const QString& key, const Rect& column, double baseX) {
        PlotSteps::placeContainer(vm, key, column.offsetBy(baseX, 0), column.origin, translucent, true);
    });
}

void MyGraphGenerator::medianLinesWithSettings(const QHash<QString, BoxValuesDict>& table, const QVariantMap& settings,
                                               MyViewManager* vm, double boxWidth, double axisMin, double scale)
{
    const QVariantMap boxes = PlotSteps::map(PlotSteps::map(settings, "graphProperties"), "boxes");
    const double lineWidth = PlotSteps::number(boxes.value("medianLineWidth"));
    const QColor color = colorOf(boxes, "medianLineColor");
    vm->viewBezier.insert(MyViewManager::kMedian, lineBezier({-boxWidth / 2, 0}, {boxWidth, 0}, lineWidth));
    vm->viewColors.insert(MyViewManager::kMedian, {color, color});
    vm->viewVisible.insert(MyViewManager::kMedian, true);
    vm->viewSelected.insert(MyViewManager::kMedian, false);
    const Point origin = BoxGeometry::medianOrigin(boxWidth, lineWidth);

    QVector<MySimpleView*>& medians = vm->viewsDict[MyViewManager::kMedian];
    const ColumnIndex<MySimpleView> index(medians);
    // Only boxes of a series have a container to hold their line.
    const qsizetype series = settings.value("boxesProperties").toList().size();
    const qsizetype boxCount = PlotSteps::groupCount(vm->nameTags.size(), series) * series;
    for (qsizetype i = 0; i < boxCount; ++i) {
        const QString& key = vm->nameTags[i];
        const QString column = MyViewManager::columnViewName(key);
        MySimpleView* view = index.of(column).value(0, nullptr);
        const auto values = table.constFind(key);
        const std::optional<double> median = values == table.cend() ? std::nullopt : values->median;
        const Rect frame = median ? BoxGeometry::medianFrame(*median, boxWidth, lineWidth, axisMin, scale) : Rect();
        if (!median || !GraphItem::placeable(frame)) {
            if (view)
                view->setVisible(false);
            continue;
        }
        if (view) {
            setSimpleView(view, frame, origin);
            view->setVisible(true);
        } else {
            medians << MySimpleView::initWithName(MyViewManager::kMedian, column, vm, frame, origin);
        }
    }
}
