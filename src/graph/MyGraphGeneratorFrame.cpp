// Layout steps of the frame: background, horizontal gaps, graph rectangle and both axes.
// Each step reads all it needs first; settings that lack a key or hold another kind leave
// the view manager as it was.
#include "graph/FrameGeometry.h"
#include "graph/GraphSettingsRead.h"
#include "graph/MyGraphGenerator.h"
#include "views/MyBaseView.h"
#include "views/MyOutputView.h"
#include "views/MyView.h"

using namespace GraphSettingsRead;

namespace {

const QString kGraphProperties = QStringLiteral("graphProperties");

std::optional<QVariantMap> propertiesGroup(const QVariantMap& settings, const char* name)
{
    return group(settings, {kGraphProperties, QLatin1String(name)});
}

// The category levels as the column geometry needs them: each level's gap and count.
struct Levels {
    QVector<double> gaps;
    QVector<qsizetype> counts;
};
std::optional<Levels> levelsOf(const QVariantMap& settings)
{
    const auto dicts = dictList(settings, QStringLiteral("categoryDicts"));
    if (!dicts || dicts->isEmpty())
        return std::nullopt;
    Levels levels;
    for (const QVariantMap& d : *dicts) {
        const auto gap = decimal(d, QStringLiteral("horizontalGap"));
        const auto represents = list(d, QStringLiteral("represents"));
        if (!gap || !represents)
            return std::nullopt;
        levels.gaps.append(*gap);
        levels.counts.append(represents->size());
    }
    return levels;
}

// The element view under name, moved to frame with its bounds origin at the frame's
// origin, or made there when it is missing.
template <typename ViewClass>
void placeView(MyGraphGenerator& g, MyViewManager* vm, const QString& name, const QString& superviewName,
               const Rect& frame, const Point& boundsOrigin)
{
    if (MyView* view = vm->viewDict.value(name))
        g.setSimpleView(view, frame, boundsOrigin);
    else
        vm->viewDict.insert(name, new ViewClass(frame, boundsOrigin, name, superviewName, vm));
}

// What both axes read of their group.
struct AxisStyle {
    QColor lineColor;
    double axisWidth = 0, tickLength = 0, tickWidth = 0;
};
std::optional<AxisStyle> axisStyle(const QVariantMap& axis)
{
    const auto lineColor = color(axis, QStringLiteral("lineColor"));
    const auto aw = decimal(axis, QStringLiteral("axisWidth"));
    const auto tl = decimal(axis, QStringLiteral("tickLength"));
    const auto tw = decimal(axis, QStringLiteral("tickWidth"));
    if (!lineColor || !aw || !tl || !tw)
        return std::nullopt;
    return AxisStyle{*lineColor, *aw, *tl, *tw};
}

// An axis view: its lines stroked in the line colour, its frame with the bounds origin there.
void placeAxis(MyGraphGenerator& g, MyViewManager* vm, const QString& name, const FrameGeometry::AxisLayout& a,
               const QColor& color)
{
    PathPair pair;
    for (const FrameGeometry::Line& l : a.lines)
        pair.line.append(g.lineBezier(l.start, l.offset, l.width));
    vm->viewBeziers.insert(name, pair);
    vm->viewColors.insert(name, ColorPair{color, color});
    placeView<MyView>(g, vm, name, MyViewManager::kGraphView, a.frame, a.frame.origin);
}

} // namespace

void MyGraphGenerator::backgroundWithSettings(const QVariantMap& settings, MyViewManager* vm)
{
    const auto bg = propertiesGroup(settings, "background");
    if (!bg)
        return;
    const auto width = decimal(*bg, QStringLiteral("viewWidth"));
    const auto height = decimal(*bg, QStringLiteral("viewHeight"));
    const auto color = GraphSettingsRead::color(*bg, QStringLiteral("color"));
    if (!width || !height || !color)
        return;
    BezierPath path = BezierPath::bezierPathWithRect(Rect(0.5, 0.5, *width - 1, *height - 1));
    path.setLineWidth(1.0);
    vm->viewBeziers.insert(MyViewManager::kBackground, PathPair{{path}, {}});
    vm->viewColors.insert(MyViewManager::kBackground, ColorPair{*color, *color});
    const Rect page(0, 0, *width, *height);
    if (MyView* view = vm->viewDict.value(MyViewManager::kBackground)) {
        view->setFrame(page);
        view->setNeedsDisplay(true);
    } else {
        vm->viewDict.insert(MyViewManager::kBackground, new MyOutputView(page, Point(), MyViewManager::kBackground,
                                                                         MyViewManager::kRootView, vm));
    }
    // The stored frame first, so the root view finds nothing to restore.
    if (auto* root = dynamic_cast<MyBaseView*>(vm->viewDict.value(MyViewManager::kRootView))) {
        root->myFrame = page;
        root->setFrame(page);
    }
}

void MyGraphGenerator::horizontalGapsWithSettings(const QVariantMap& settings, MyViewManager* vm)
{
    if (const auto levels = levelsOf(settings))
        vm->horizontalGaps = FrameGeometry::horizontalGaps(levels->gaps, levels->counts);
}

void MyGraphGenerator::graphRectWithSettings(const QVariantMap& settings, MyViewManager* vm)
{
    const auto gr = propertiesGroup(settings, "graphRect");
    if (!gr)
        return;
    const auto lw = decimal(*gr, QStringLiteral("lineWidth"));
    const auto height = decimal(*gr, QStringLiteral("height"));
    const auto fill = color(*gr, QStringLiteral("fillColor"));
    if (!lw || !height || !fill)
        return;
    const std::optional<QColor> stroke = *lw > 0 ? color(*gr, QStringLiteral("lineColor")) : translucent;
    if (!stroke)
        return;
    // The stored column width, or else the stored total width shared by the columns.
    const std::optional<double> columnWidth = decimal(*gr, QStringLiteral("columnWidth"));
    double totalWidth = 0;
    if (!columnWidth) {
        const QVariant w = gr->value(QStringLiteral("graphRectWidth"));
        if (w.typeId() == QMetaType::QString)
            totalWidth = *decimal(*gr, QStringLiteral("graphRectWidth"));
        else if (w.typeId() == QMetaType::Double || w.typeId() == QMetaType::LongLong || w.typeId() == QMetaType::Int)
            totalWidth = w.toDouble();
        else
            return;
    }
    const auto layout = FrameGeometry::graphRect(vm->horizontalGaps, *lw, *height, columnWidth, totalWidth);
    if (!layout)
        return;
    vm->baseXs = layout->baseXs;
    vm->graphRect = layout->graphRect;
    BezierPath path = BezierPath::bezierPathWithRect(layout->graphRect);
    path.setLineWidth(*lw);
    vm->viewBeziers.insert(MyViewManager::kGraphRect, PathPair{{path}, {}});
    vm->viewColors.insert(MyViewManager::kGraphRect, ColorPair{*fill, *stroke});
    placeView<MyView>(*this, vm, MyViewManager::kGraphRect, MyViewManager::kGraphView, layout->frame,
                      layout->frame.origin);
    vm->rGraphRect = layout->rGraphRect;
}

void MyGraphGenerator::xAxisWithSettings(const QVariantMap& settings, MyViewManager* vm)
{
    const auto axis = propertiesGroup(settings, "xAxis");
    const auto style = axis ? axisStyle(*axis) : std::nullopt;
    if (!style)
        return;
    const FrameGeometry::AxisLayout a = FrameGeometry::xAxis(vm->graphRect.width(), vm->baseXs, style->axisWidth,
                                                             style->tickLength, style->tickWidth);
    vm->rXRect = a.extent;
    placeAxis(*this, vm, MyViewManager::kXAxis, a, style->lineColor);
}

void MyGraphGenerator::yAxisWithSettings(const QVariantMap& settings, MyViewManager* vm)
{
    const auto axis = propertiesGroup(settings, "yAxis");
    const auto values = group(settings, {QStringLiteral("valueSettings")});
    const auto style = axis ? axisStyle(*axis) : std::nullopt;
    if (!style || !values)
        return;
    const auto logarithmic = flag(*values, QStringLiteral("logarithmic"));
    const auto min = text(*values, QStringLiteral("min"));
    const auto max = text(*values, QStringLiteral("max"));
    const auto strings = list(*values, QStringLiteral("scaleStrings"));
    if (!logarithmic || !min || !max || !strings)
        return;
    QVector<double> v;
    v.reserve(strings->size());
    for (const QVariant& s : *strings) {
        if (s.typeId() != QMetaType::QString)
            return;
        v.append(doubleFromString(s.toString()));
    }
    const FrameGeometry::AxisLayout a =
        FrameGeometry::yAxis(vm->graphRect.height(), style->axisWidth, style->tickLength, style->tickWidth, v,
                             doubleFromString(*min), doubleFromString(*max), *logarithmic);
    vm->rYRect = a.extent;
    placeAxis(*this, vm, MyViewManager::kYAxis, a, style->lineColor);
}
