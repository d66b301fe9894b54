#pragma once
// The drawing adapter every graph view stands on. Views keep their geometry as the layout
// gives it: a frame in the container's coordinates and a bounds origin, both in points with
// y up. Only this class turns that into Qt's terms: a view is a QGraphicsItem whose
// transform is translate(frame origin) · rotate(frame rotation) · translate(−bounds origin),
// and the y flip is applied once, at the top of a tree (the item without a parent). Later
// subviews stack above earlier ones. It also renders a view with its subviews into an image
// or a one-page PDF whose page is the view's bounds.
#include "platform/Geometry.h"
#include <QByteArray>
#include <QGraphicsItem>
#include <QImage>
#include <QList>
#include <QTransform>

class MyViewManager;
class QPainter;

class GraphItem : public QGraphicsItem {
public:
    GraphItem(const Rect& frame = Rect(), const Point& boundsOrigin = Point());
    ~GraphItem() override;

    Rect frame() const { return m_frame; }
    void setFrame(const Rect& frame);
    Point boundsOrigin() const { return m_boundsOrigin; }
    void setBoundsOrigin(const Point& origin);
    // (bounds origin, frame size): what the view shows, in its own coordinates.
    Rect bounds() const { return Rect(m_boundsOrigin, m_frame.size); }
    // Degrees, counter-clockwise about the frame origin.
    double frameRotation() const { return m_rotation; }
    void setFrameRotation(double degrees);
    // Maps the view's coordinates to its superview's (frame origin, rotation, bounds origin).
    QTransform localToParent() const;
    // Asks for a redraw of the whole view.
    void setNeedsDisplay(bool flag = true);

    // View tree. A detached view has no superview and is in no scene.
    GraphItem* superview() const;
    QList<GraphItem*> subviews() const;
    // Adds view as the topmost subview (it leaves its old superview first). A view that
    // contains this one is refused.
    void addSubview(GraphItem* view);
    void removeFromSuperview();

    // Draws the view's own content in its bounds coordinates (y up); subviews are drawn
    // after it by the caller. The default draws nothing.
    virtual void drawRect(QPainter* painter, const Rect& dirtyRect);

    // Rendering of a view and everything attached below it, the page being its bounds.
    // A transparent image of bounds size × scale pixels.
    static QImage image(GraphItem* view, double scale = 1.0);
    // A one-page PDF at 72 dpi, no margins, text as text.
    static QByteArray pdfData(GraphItem* view);
    // Paints the view and its visible subviews with painter's current transform taken as
    // the view's own (y-up) coordinates.
    static void renderTree(QPainter* painter, GraphItem* view);
    // Maps the view's bounds (y up) onto a page of its size × scale (y down, origin at the
    // page's top left).
    static QTransform pageTransform(const GraphItem* view, double scale);
    // Non-zero, and the same for every view drawn, while renderTree draws a tree.
    static quint64 renderPass();

    // QGraphicsItem
    // A little more than the bounds, for strokes on the edge; hits count inside the bounds.
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

private:
    friend class MyViewManager;
    void updateTransform();

    MyViewManager* m_owner = nullptr;   // the view manager that deletes this view

    Rect m_frame;
    Point m_boundsOrigin;
    double m_rotation = 0;
    bool m_flipped = false;
    bool m_hasTransform = false;
};
