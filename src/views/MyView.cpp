#include "views/MyView.h"
#include "views/MyViewManager.h"

MyView::MyView(const Rect& frame, const Point& origin, const QString& name, const QString& superviewName,
               MyViewManager* viewManager)
    : MySimpleView(name, superviewName, viewManager, frame, origin, false)
{
}

MyView::MyView(const Rect& frame) : MySimpleView(frame) {}

void MyView::drawRect(QPainter* painter, const Rect&)
{
    if (viewManager) {
        const ColorPair colors = viewManager->viewColors.value(name);
        drawPaths(painter, colors.fillColor, colors.lineColor);
    }
    if (selected)
        drawSelectionFrame(painter, bounds());
}

void MyView::drawPaths(QPainter* painter, const QColor& fillColor, const QColor& lineColor) const
{
    if (const PathPair* paths = viewManager ? viewManager->viewBeziers.find(name) : nullptr) {
        for (const BezierPath& path : paths->closed)
            path.fillAndStroke(painter, fillColor, lineColor);
        for (const BezierPath& path : paths->line)
            path.stroke(painter, lineColor);
    }
}

Rect MyView::drawnRect() const
{
    Rect drawn;
    const PathPair* paths = viewManager ? viewManager->viewBeziers.find(name) : nullptr;
    if (!paths)
        return drawn;
    const ColorPair colors = viewManager->viewColors.value(name);
    for (const BezierPath& path : paths->closed)
        drawn = drawn.united(paintedRect(path, colors.fillColor, colors.lineColor));
    // Line paths are only stroked.
    for (const BezierPath& path : paths->line)
        drawn = drawn.united(paintedRect(path, Qt::transparent, colors.lineColor));
    return drawn;
}
