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
        if (const PathPair* paths = viewManager->viewBeziers.find(name)) {
            for (const BezierPath& path : paths->closed)
                path.fillAndStroke(painter, colors.fillColor, colors.lineColor);
            for (const BezierPath& path : paths->line)
                path.stroke(painter, colors.lineColor);
        }
    }
    if (selected)
        drawSelectionFrame(painter, bounds());
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
