#pragma once
// A container view that also draws: the graph rectangle, the axes, the dots and boxes views
// of a series. It draws the closed paths (filled, then stroked) and the line paths
// (stroked) that the view manager keeps under its name, and has a selection flag of its own.
#include "views/MySimpleView.h"

class MyView : public MySimpleView {
public:
    // initWithFrame:origin:name:superviewName:viewManager:. The view manager, when given,
    // owns the new view; the view is attached to nothing.
    MyView(const Rect& frame, const Point& origin, const QString& name, const QString& superviewName,
           MyViewManager* viewManager);
    // initWithFrame:.
    explicit MyView(const Rect& frame = Rect());

    static MyView* initWithFrame(const Rect& frame, const Point& origin, const QString& name,
                                 const QString& superviewName, MyViewManager* viewManager)
    {
        return new MyView(frame, origin, name, superviewName, viewManager);
    }

    // Not consulted when drawing: showing and hiding go by the group flags.
    bool visible = true;
    // Draws the selection frame while true; changed by the view manager's selectView.
    bool selected = false;

    void drawRect(QPainter* painter, const Rect& dirtyRect) override;
    // The paths as drawn (selection frame aside, which stays inside the bounds).
    Rect drawnRect() const override;

    enum { Type = UserType + 2 };
    int type() const override { return Type; }

protected:
    // The closed paths filled and stroked, the line paths stroked, in these colours.
    void drawPaths(QPainter* painter, const QColor& fillColor, const QColor& lineColor) const;
};
