#pragma once
// The drawing adapter every graph view stands on. Views keep their geometry as the layout
// gives it: a frame in the container's coordinates and a bounds origin, both in points with
// y up. Only this class turns that into Qt's terms: a view is a QGraphicsItem whose
// transform is translate(frame origin) · rotate(frame rotation) · translate(−bounds origin),
// and the y flip is applied once, at the top of a tree (the item without a parent). Later
// subviews stack above earlier ones. It also renders a view with its subviews into an image
// or a one-page PDF whose page is the view's bounds.
//
// Many small views of one group (the dots of a series) cost Qt more to paint one item at a
// time than their drawing itself: the members of a group at the bottom of their superview's
// stack are drawn by the superview, one member after another in stacking order, in its
// paint call. They stay items of their own for their frame, selection and hit testing, but
// Qt does not paint them (they have no contents of their own).
#include "platform/Geometry.h"
#include <QByteArray>
#include <cmath>
#include <functional>
#include <QGraphicsItem>
#include <QImage>
#include <QList>
#include <QTransform>
#include <span>

class MyViewManager;
class QPainter;

class GraphItem : public QGraphicsItem {
public:
    GraphItem(const Rect& frame = Rect(), const Point& boundsOrigin = Point());
    ~GraphItem() override;

    // Only numbers within this many points of a view's origin reach drawing: far beyond any
    // page, well within what Qt's integer device coordinates and PDF numbers hold. A number
    // beyond it, or not finite, has no place.
    static constexpr double kMaxCoordinate = 1e6;
    static bool placeable(double v) { return std::abs(v) <= kMaxCoordinate; }
    static bool placeable(const Rect& r)
    {
        return placeable(r.origin.x) && placeable(r.origin.y) && placeable(r.size.width) && placeable(r.size.height);
    }
    // False for a view whose frame, bounds origin or rotation has no place: it is not drawn,
    // nor is anything in it, on any device; Qt sees it at its superview's origin.
    bool isPlaced() const { return m_placed; }

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
    // Asks for a redraw of the whole view (of the superview where it is, for a member that
    // its superview draws).
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
    // Where drawRect draws, strokes included, in the bounds coordinates; the zero
    // rectangle when it draws nothing. Views are not clipped to their bounds, so this may
    // reach past them. The default is the bounds (texts).
    virtual Rect drawnRect() const { return bounds(); }

    // Rendering of a view and everything attached below it, the page being its bounds.
    // A transparent image of bounds size × scale pixels; a null image for a view without a
    // place, and an empty PDF.
    static QImage image(GraphItem* view, double scale = 1.0);
    // A one-page PDF at 72 dpi, no margins, text as text.
    static QByteArray pdfData(GraphItem* view);
    // The same on a page that is the rectangle page of the view's coordinates.
    static QByteArray pdfData(GraphItem* view, const Rect& page);
    // A one-page PDF of the rectangle page (points, y up) that draw paints, the painter's
    // transform mapping those coordinates onto the page; empty for a page without a place.
    static QByteArray pdfPage(const Rect& page, const std::function<void(QPainter*)>& draw);
    // Paints the view and its visible subviews with painter's current transform taken as
    // the view's own (y-up) coordinates.
    static void renderTree(QPainter* painter, GraphItem* view);
    // Maps the view's bounds (y up) onto a page of its size × scale (y down, origin at the
    // page's top left).
    static QTransform pageTransform(const GraphItem* view, double scale);
    // The same for the rectangle page of a view's coordinates.
    static QTransform pageTransform(const Rect& page, double scale);
    // Non-zero, and the same for every view drawn, while renderTree draws a tree.
    static quint64 renderPass();
    // Draws the members of groups this view draws, painter's transform for this view being
    // base (a copy: the painter's own changes as members are drawn); the painter is left at base.
    void drawMembers(QPainter* painter, QTransform base);

    // The superview that draws this view with its group; nullptr when it draws itself.
    GraphItem* drawnBy() const { return m_drawnBy; }

    // QGraphicsItem
    // A little more than the bounds, for strokes on the edge, and what the members drawn
    // here cover; hits count inside the bounds.
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    // groupMember: a view that its superview may draw (see groupName); it has no contents
    // of its own for Qt unless it draws itself.
    GraphItem(const Rect& frame, const Point& boundsOrigin, bool groupMember);

    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

    // The group a view belongs to when its superview may draw it along with the other
    // members (same name, same style); nullptr for a view that draws itself.
    virtual const QString* groupName() const { return nullptr; }
    // Draws members of this view's group (this view first), each in its own bounds, the
    // painter's transform for the superview's coordinates being superviewTransform.
    virtual void drawGroup(QPainter* painter, const QTransform& superviewTransform,
                           std::span<GraphItem* const> members);

private:
    friend class MyViewManager;
    void updateTransform();
    // Group drawing, on the superview's side.
    void childAdded(QGraphicsItem* child);
    void childRemoved(QGraphicsItem* child);
    void takeMembersFrom(qsizetype index, const QGraphicsItem* leaving);
    void adoptMember(GraphItem* member);
    void releaseMember(GraphItem* member);
    void memberChanged(GraphItem* member);
    // On the member's side: a change the superview must repaint.
    void changed();
    void setHasContents(bool hasContents);

    MyViewManager* m_owner = nullptr;   // the view manager that deletes this view
    // Set while the view manager takes the whole graph down: Qt deletes the subviews with
    // their container, and no view keeps its tree or its group drawing in order.
    bool m_tearingDown = false;

    Rect m_frame;
    Point m_boundsOrigin;
    double m_rotation = 0;
    bool m_flipped = false;
    bool m_hasTransform = false;
    bool m_placed = true;

    GraphItem* m_drawnBy = nullptr;
    // Children, and how many at the bottom of the stack this view draws.
    qsizetype m_childCount = 0;
    qsizetype m_membersDrawn = 0;
    // What the members drawn here cover, in this view's coordinates; it only grows while
    // there are any, so a repaint of the whole item also clears where a member was.
    QRectF m_membersRect;
};
