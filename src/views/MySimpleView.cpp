#include "views/MySimpleView.h"
#include "views/MyViewManager.h"
#include "views/PathStamps.h"
#include <QGraphicsSceneMouseEvent>
#include <QPainter>

MySimpleView::MySimpleView(const QString& name, const QString& superviewName, MyViewManager* viewManager,
                           const Rect& frame, const Point& boundOrigin)
    : MySimpleView(name, superviewName, viewManager, frame, boundOrigin, true)
{
}

MySimpleView::MySimpleView(const QString& name, const QString& superviewName, MyViewManager* viewManager,
                           const Rect& frame, const Point& boundOrigin, bool groupMember)
    : GraphItem(frame, boundOrigin, groupMember && viewManager), name(name), superviewName(superviewName),
      viewManager(viewManager)
{
    if (viewManager)
        viewManager->adoptView(this);
}

MySimpleView::MySimpleView(const Rect& frame) : GraphItem(frame) {}

namespace {
void drawMember(QPainter* painter, const MyViewManager::ElementStyle& style, const Rect& bounds)
{
    if (style.colors && style.path)
        style.path->fillAndStroke(painter, style.colors->fillColor, style.colors->lineColor);
    if (style.selected)
        MySimpleView::drawSelectionFrame(painter, bounds);
}
}

void MySimpleView::drawRect(QPainter* painter, const Rect&)
{
    if (viewManager)
        drawMember(painter, viewManager->elementStyle(name), bounds());
}

Rect MySimpleView::paintedRect(const BezierPath& path, const QColor& fill, const QColor& line)
{
    if (line.alpha() > 0)
        return path.paintedBounds();
    return fill.alpha() > 0 ? path.bounds() : Rect();
}

Rect MySimpleView::drawnRect() const
{
    if (!viewManager)
        return Rect();
    const BezierPath* path = viewManager->viewBezier.find(name);
    const ColorPair* colors = viewManager->viewColors.find(name);
    return path && colors ? paintedRect(*path, colors->fillColor, colors->lineColor) : Rect();
}

const QString* MySimpleView::groupName() const
{
    // Containers and texts draw themselves; so does a view without a style to share.
    return type() == Type && viewManager ? &name : nullptr;
}

void MySimpleView::drawGroup(QPainter* painter, const QTransform& superviewTransform,
                             std::span<GraphItem* const> members)
{
    const MyViewManager::ElementStyle style = viewManager->elementStyle(name);
    const bool stamped = style.colors && style.path && PathStamps::onScreen(painter);
    for (GraphItem* member : members) {
        const QTransform t = member->localToParent() * superviewTransform;
        if (stamped && PathStamps::draw(painter, t, *style.path, style.colors->fillColor, style.colors->lineColor)) {
            if (style.selected) {
                painter->setTransform(t);
                drawSelectionFrame(painter, member->bounds());
            }
            continue;
        }
        painter->setTransform(t);
        drawMember(painter, style, member->bounds());
    }
}

void MySimpleView::drawSelectionFrame(QPainter* painter, const Rect& bounds)
{
    // The frame follows the view's own bounds whatever part is being redrawn, and only the
    // half of its width that falls inside them shows.
    constexpr double kWidth = 3.0;
    QPen pen(QColor::fromRgbF(0, 1, 1), kWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    const QRectF r(bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height);
    painter->save();
    painter->setClipRect(r, Qt::IntersectClip);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(pen);
    painter->drawRect(r);
    painter->restore();
}

void MySimpleView::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    m_clickCount = 1;
    event->setAccepted(viewManager != nullptr);
}

void MySimpleView::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    m_clickCount = 2;
    event->setAccepted(viewManager != nullptr);
}

void MySimpleView::mouseReleaseEvent(QGraphicsSceneMouseEvent*)
{
    if (viewManager)
        viewManager->clickedView({name}, m_clickCount);
}
