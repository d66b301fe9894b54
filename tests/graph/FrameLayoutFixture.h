#pragma once
// A graph laid out by the real generator: the application's step bits and descriptions, new
// graph settings from the built-in defaults, a settings tree and a view manager with its
// base view, as a graph window has them.
#include "analysis/MyAnalysisData.h"
#include "app/AppDelegate.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MyConfigRootItem.h"
#include "views/MyBaseView.h"
#include "views/MyViewManager.h"
#include <QImage>
#include <functional>
#include <memory>
#include <ostream>

// Readable failure output, and texts in failure messages.
inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << '"' << s.toStdString() << '"'; }

struct FrameLayout {
    AppDelegate app;
    MyGraphGenerator generator;
    MyAnalysisData data;
    QVariantMap settings;
    std::unique_ptr<MyConfigRootItem> root;
    std::unique_ptr<MyViewManager> vm;
    MyBaseView* base = nullptr;

    // One category level per list: its origNames (each shown as itself). Value axis 0 to
    // 100 with the labels 0, 50, 100, unless changed before layout().
    explicit FrameLayout(const QList<QStringList>& levels);

    // The first full layout, as the graph window does it.
    void layout();
    // Lays out what the row at the path selects (titles, or numbers for array elements).
    void layoutRow(const QStringList& path);
    // Writes a value into the settings at the path (before the first layout).
    void set(const QStringList& path, const QVariant& value);
    // The same into the tree too (a tree that cannot take it is built anew), then lays out
    // for that row.
    void change(const QStringList& path, const QVariant& value);
    // Switches the value axis between 0..100 plain and 1..100 logarithmic, as a user does.
    void setLogarithmic(bool on);

    MyConfigItem* row(const QStringList& path) const;
    // The whole page at kScale pixels a point, y down; and the pixel under a point of graph
    // coordinates.
    static constexpr double kScale = 4;
    QImage render() const;
    QPoint pixelOf(const QImage& page, double x, double y) const;
};

// Category names as a level's represents, each shown as itself.
QVariantList representsOf(const QStringList& names);
// Every path, frame and column extent the layout left, and every view of the scene, lies
// within the drawing range (finite, GraphItem::kMaxCoordinate).
bool allGeometryPlaceable(const MyViewManager& vm);
bool isInk(QRgb pixel);
// Pixels close to the colour.
std::function<bool(QRgb)> closeTo(QColor color);
// Bounding box, in pixels, of the ink within the area (the whole image when empty); empty when none.
QRect inkOf(const QImage& image, const std::function<bool(QRgb)>& ink, const QRect& area = {});
