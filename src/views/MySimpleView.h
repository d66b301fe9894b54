#pragma once
// An element view of a graph group (a dot, bar, box, whisker, min/max mark, median line).
// Every member of a group carries the group's name, so the members share one path, one
// colour pair and one selection flag in the view manager; each draws the shared path in its
// own bounds coordinates. The members at the bottom of their container's stack are drawn by
// the container, run by run, the style looked up once a run.
#include "views/GraphItem.h"
#include <QColor>
#include <QString>

class BezierPath;
class MyViewManager;

class MySimpleView : public GraphItem {
public:
    // initWithName:superviewName:viewManager:frame:boundOrigin:. The view manager, when
    // given, owns the new view for its whole life; the view is attached to nothing.
    MySimpleView(const QString& name, const QString& superviewName, MyViewManager* viewManager, const Rect& frame,
                 const Point& boundOrigin);
    // initWithFrame: (no name, no view manager).
    explicit MySimpleView(const Rect& frame = Rect());

    static MySimpleView* initWithName(const QString& name, const QString& superviewName, MyViewManager* viewManager,
                                      const Rect& frame, const Point& boundOrigin)
    {
        return new MySimpleView(name, superviewName, viewManager, frame, boundOrigin);
    }

    // The key of this view's colours, path and selection flag, and what a click reports.
    QString name;
    // The key in the view manager's viewDict of the container this view is attached to.
    QString superviewName;
    MyViewManager* viewManager = nullptr;

    // Fills and strokes viewBezier[name] with viewColors[name]; frames the bounds when
    // viewSelected[name] is true.
    void drawRect(QPainter* painter, const Rect& dirtyRect) override;
    // The group's path as filled and stroked here; nothing without a view manager.
    Rect drawnRect() const override;

    // The selection frame: 3 points of cyan along the view's own bounds, inside them.
    static void drawSelectionFrame(QPainter* painter, const Rect& bounds);

    enum { Type = UserType + 1 };
    int type() const override { return Type; }

protected:
    // For containers: a view that is no group member.
    MySimpleView(const QString& name, const QString& superviewName, MyViewManager* viewManager, const Rect& frame,
                 const Point& boundOrigin, bool groupMember);

    // What path covers as filled with fill and stroked with line; nothing where both are
    // clear.
    static Rect paintedRect(const BezierPath& path, const QColor& fill, const QColor& line);

    const QString* groupName() const override;
    void drawGroup(QPainter* painter, const QTransform& superviewTransform,
                   std::span<GraphItem* const> members) override;

    // A mouse-up reports the view's name and the click count (2 after a double click) to
    // the view manager; the press itself does nothing.
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    int m_clickCount = 1;
};
