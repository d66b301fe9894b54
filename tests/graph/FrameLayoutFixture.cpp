#include "FrameLayoutFixture.h"
#include "analysis/MyGraphSettingsBuilder.h"
#include "platform/Resources.h"
#include "views/MyStorageItem.h"
#include "views/MyTextView.h"
#include "views/MyView.h"
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

QVariant setAt(const QVariant& node, const QStringList& path, int depth, const QVariant& value)
{
    if (depth == path.size())
        return value;
    if (node.typeId() == QMetaType::QVariantList) {
        QVariantList l = node.toList();
        l[path[depth].toInt()] = setAt(l[path[depth].toInt()], path, depth + 1, value);
        return l;
    }
    QVariantMap m = node.toMap();
    m[path[depth]] = setAt(m.value(path[depth]), path, depth + 1, value);
    return m;
}

} // namespace

QVariantList representsOf(const QStringList& names)
{
    QVariantList l;
    for (const QString& name : names)
        l << QVariantMap{{"origName", name}, {"represent", name}};
    return l;
}

FrameLayout::FrameLayout(const QList<QStringList>& levels)
{
    QString error;
    app.loadConfigRes(Resources::plist(QStringLiteral("configRes.plist")), &error);
    app.makeAppDefaults();
    app.loadUserDefaults(DefaultsStore());
    generator.setConfigIndexDict(app.configIndexDict);
    app.ourGraphGenerator = &generator;

    data.graphType = "scatter";
    data.title = "Untitled";
    data.minMax = {0.0, 100.0};
    for (qsizetype level = 0; level < levels.size(); ++level) {
        const QVariantList represents = representsOf(levels[level]);
        data.categoryDicts << QVariantMap{{"categoryTitle", QString("c%1").arg(level)}, {"represents", represents}};
        data.representLists << represents;
    }
    settings = MyGraphSettingsBuilder::graphSettingsFromAnalysis(app, 500, 500, data);
    set({"valueSettings"}, QVariantMap{{"min", "0"}, {"max", "100"}, {"partition", qint64(2)}, {"logarithmic", false},
                                      {"scaleStrings", QVariantList{"0", "50", "100"}}});
}

void FrameLayout::set(const QStringList& path, const QVariant& value) { settings = setAt(settings, path, 0, value).toMap(); }

void FrameLayout::layout()
{
    root = std::make_unique<MyConfigRootItem>(nullptr);
    root->outlineItemFromSettings(settings);
    vm = std::make_unique<MyViewManager>(data, nullptr, nullptr);
    base = new MyBaseView();
    vm->installRootView(base);
    layoutRow({});
    vm->placeContainers();
}

MyConfigItem* FrameLayout::row(const QStringList& path) const
{
    MyConfigItem* r = root.get();
    for (const QString& key : path) {
        bool number = false;
        const int i = key.toInt(&number);
        if (!(r = number ? r->configChildAt(i) : r->childTitle(key)))
            return nullptr;
    }
    return r;
}

void FrameLayout::layoutRow(const QStringList& path)
{
    MyConfigItem* r = row(path);
    vm->runLayout(r->setIndex, r->itemID.split('\t'), r->indexes, settings, root.get());
}

void FrameLayout::change(const QStringList& path, const QVariant& value)
{
    set(path, value);
    if (!root->setObject(settings)) {
        root = std::make_unique<MyConfigRootItem>(nullptr);
        root->outlineItemFromSettings(settings);
    }
    layoutRow(path);
}

void FrameLayout::setLogarithmic(bool on)
{
    change({"valueSettings", on ? "min" : "logarithmic"}, on ? QVariant("1") : QVariant(false));
    change({"valueSettings", on ? "logarithmic" : "min"}, on ? QVariant(true) : QVariant("0"));
}

QImage FrameLayout::render() const { return GraphItem::image(vm->viewDict.value(MyViewManager::kBackground), kScale); }

QPoint FrameLayout::pixelOf(const QImage& page, double x, double y) const
{
    const MyView* g = vm->viewDict.value(MyViewManager::kGraphView);
    const double px = g->frame().origin.x + x - g->boundsOrigin().x;
    const double py = g->frame().origin.y + y - g->boundsOrigin().y;
    return QPoint(int(std::floor(px * kScale)), int(std::floor(page.height() - py * kScale)));
}

bool allGeometryPlaceable(const MyViewManager& vm)
{
    QVector<Rect> rects{vm.rGraphRect, vm.rXRect, vm.rYRect, vm.xTextRect, vm.yTextRect, vm.yTextRequiredRect};
    rects += vm.scaleTextRects;
    auto pathBounds = [&rects](const BezierPath& p) {
        const QRectF b = p.painterPath().controlPointRect();
        rects << Rect(b.x(), b.y(), b.width(), b.height());
    };
    for (const auto& [name, pair] : vm.viewBeziers)
        for (const BezierPath& p : pair.closed + pair.line)
            pathBounds(p);
    for (const auto& [name, path] : vm.viewBezier)
        pathBounds(path);
    for (const auto& [tag, r] : vm.columnRects)
        rects << r;
    // Every view the scene holds, with its bounds origin.
    for (const QGraphicsItem* item : const_cast<MyViewManager&>(vm).scene()->items())
        if (const auto* view = dynamic_cast<const GraphItem*>(item)) {
            if (!view->isPlaced())
                return false;
            rects << view->frame() << Rect(view->boundsOrigin(), Size());
        }
    return std::all_of(rects.cbegin(), rects.cend(), [](const Rect& r) { return GraphItem::placeable(r); });
}

bool isInk(QRgb pixel) { return qAlpha(pixel) > 128 && qGray(pixel) < 128; }

std::function<bool(QRgb)> closeTo(QColor color)
{
    return [color](QRgb p) {
        return qAlpha(p) > 200 && std::abs(qRed(p) - color.red()) < 40 && std::abs(qGreen(p) - color.green()) < 40
               && std::abs(qBlue(p) - color.blue()) < 40;
    };
}

QRect inkOf(const QImage& image, const std::function<bool(QRgb)>& ink, const QRect& area)
{
    const QImage page = image.convertToFormat(QImage::Format_ARGB32);
    const QRect r = area.isEmpty() ? page.rect() : area.intersected(page.rect());
    QRect box;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (ink(page.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}
