#include "views/GraphItem.h"
#include "views/MyViewManager.h"
#include <QBuffer>
#include <QGraphicsScene>
#include <QPainter>
#include <QPdfWriter>
#include <QStyleOptionGraphicsItem>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Strokes reach up to half their width past a view's bounds; the area Qt repaints for a
// view covers them.
constexpr double kPaintMargin = 2.0;
// Images carry 72 dots per inch, so text laid out at 72 dpi draws at its size.
constexpr int kDotsPerMeter72 = 2835;
}

GraphItem::GraphItem(const Rect& frame, const Point& boundsOrigin) : GraphItem(frame, boundsOrigin, false) {}

GraphItem::GraphItem(const Rect& frame, const Point& boundsOrigin, bool groupMember)
    : m_frame(frame), m_boundsOrigin(boundsOrigin)
{
    // A view is drawn whole whatever part Qt repaints (no view draws less for a smaller
    // dirty rectangle, and working the part out for every view costs a repaint dearly). A
    // member starts as its superview will most likely draw it: without contents of its own.
    if (groupMember)
        setFlags(ItemHasNoContents);
    updateTransform();
}

GraphItem::~GraphItem()
{
    if (m_tearingDown)
        return;
    if (m_owner)
        m_owner->forgetView(this);
    // A member leaves while it is still a view, so its superview stops drawing it.
    if (m_drawnBy)
        removeFromSuperview();
    // Subviews belong to their view manager, not to their container: let them go free
    // instead of being deleted with it. Other items (an editor) go with it.
    const QList<QGraphicsItem*> children = childItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (auto* view = dynamic_cast<GraphItem*>(*it))
            view->removeFromSuperview();
    if (QGraphicsScene* s = scene())
        s->removeItem(this);
}

void GraphItem::setFrame(const Rect& frame)
{
    if (frame == m_frame)
        return;
    prepareGeometryChange();
    m_frame = frame;
    updateTransform();
    changed();
}

void GraphItem::setBoundsOrigin(const Point& origin)
{
    if (origin == m_boundsOrigin)
        return;
    prepareGeometryChange();
    m_boundsOrigin = origin;
    updateTransform();
    changed();
}

void GraphItem::setFrameRotation(double degrees)
{
    if (degrees == m_rotation)
        return;
    m_rotation = degrees;
    updateTransform();
    changed();
}

void GraphItem::setNeedsDisplay(bool flag)
{
    if (!flag)
        return;
    // A member drawn by its superview paints nothing itself: the superview repaints where it
    // is. Only the member's area, so a whole group marked at once stays cheap.
    if (m_drawnBy) {
        if (m_placed)
            m_drawnBy->update(localToParent().mapRect(boundingRect()));
        return;
    }
    update();
}

void GraphItem::changed()
{
    // The superview that draws a member must cover where it now is, or Qt would not ask it
    // to paint there.
    if (m_drawnBy)
        m_drawnBy->memberChanged(this);
}

QTransform GraphItem::localToParent() const
{
    if (m_rotation == 0)
        return QTransform::fromTranslate(m_frame.origin.x - m_boundsOrigin.x, m_frame.origin.y - m_boundsOrigin.y);
    QTransform t;
    t.translate(m_frame.origin.x, m_frame.origin.y);
    t.rotate(m_rotation);
    t.translate(-m_boundsOrigin.x, -m_boundsOrigin.y);
    return t;
}

void GraphItem::updateTransform()
{
    // The one y flip: the top of a scene's tree maps y up onto Qt's y down. A plain move is
    // a position, which costs Qt less than a transform.
    m_flipped = scene() && !parentItem();
    const bool placed = placeable(m_frame) && placeable(m_boundsOrigin.x) && placeable(m_boundsOrigin.y)
                        && std::isfinite(m_rotation);
    if (placed != m_placed) {
        m_placed = placed;
        // Qt skips a view without opacity and everything in it.
        setOpacity(placed ? 1.0 : 0.0);
    }
    if (!placed) {
        if (m_hasTransform) {
            setTransform(QTransform());
            m_hasTransform = false;
        }
        setPos(0, 0);
        return;
    }
    if (m_rotation == 0 && !m_flipped) {
        if (m_hasTransform) {
            setTransform(QTransform());
            m_hasTransform = false;
        }
        setPos(m_frame.origin.x - m_boundsOrigin.x, m_frame.origin.y - m_boundsOrigin.y);
        return;
    }
    QTransform t;
    if (m_flipped)
        t.scale(1, -1);
    if (m_rotation != 0)
        t.rotate(m_rotation);
    t.translate(-m_boundsOrigin.x, -m_boundsOrigin.y);
    setTransform(t);
    m_hasTransform = true;
    setPos(m_frame.origin.x, m_flipped ? -m_frame.origin.y : m_frame.origin.y);
}

GraphItem* GraphItem::superview() const { return dynamic_cast<GraphItem*>(parentItem()); }

QList<GraphItem*> GraphItem::subviews() const
{
    QList<GraphItem*> out;
    for (QGraphicsItem* child : childItems())
        if (auto* view = dynamic_cast<GraphItem*>(child))
            out << view;
    return out;
}

void GraphItem::addSubview(GraphItem* view)
{
    if (!view)
        return;
    // A view never goes inside itself: Qt would loop for ever on such a tree.
    for (const QGraphicsItem* up = this; up; up = up->parentItem())
        if (up == view)
            return;
    // Re-adding puts the view on top, as the platform does.
    if (view->parentItem())
        view->removeFromSuperview();
    view->setParentItem(this);
}

void GraphItem::removeFromSuperview()
{
    if (parentItem())
        setParentItem(nullptr);
    if (QGraphicsScene* s = scene())
        s->removeItem(this);
}

void GraphItem::drawRect(QPainter*, const Rect&) {}

QRectF GraphItem::boundingRect() const
{
    if (!m_placed)
        return QRectF();
    const QRectF own = QRectF(m_boundsOrigin.x, m_boundsOrigin.y, m_frame.size.width, m_frame.size.height)
                           .adjusted(-kPaintMargin, -kPaintMargin, kPaintMargin, kPaintMargin);
    return m_membersRect.isNull() ? own : own.united(m_membersRect);
}

QPainterPath GraphItem::shape() const
{
    QPainterPath path;
    if (m_placed)
        path.addRect(QRectF(m_boundsOrigin.x, m_boundsOrigin.y, m_frame.size.width, m_frame.size.height));
    return path;
}

void GraphItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (!m_placed)
        return;
    // Views are drawn whole (see the constructor): the dirty rectangle is the bounds.
    drawRect(painter, bounds());
    drawMembers(painter, painter->transform());
}

QVariant GraphItem::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (m_tearingDown)
        return QGraphicsItem::itemChange(change, value);
    switch (change) {
    case ItemParentHasChanged:
    case ItemSceneHasChanged:
        if (m_flipped != (scene() && !parentItem()))
            updateTransform();
        // A member put straight on a scene draws itself.
        if (change == ItemSceneHasChanged && scene() && !parentItem())
            setHasContents(true);
        break;
    case ItemChildAddedChange:
        childAdded(value.value<QGraphicsItem*>());
        break;
    case ItemChildRemovedChange:
        childRemoved(value.value<QGraphicsItem*>());
        break;
    default:
        break;
    }
    return QGraphicsItem::itemChange(change, value);
}

// ---- group drawing

void GraphItem::childAdded(QGraphicsItem* child)
{
    // A new child goes on top of the stack: drawn here only while everything below it is.
    ++m_childCount;
    auto* view = dynamic_cast<GraphItem*>(child);
    if (!view || !view->groupName())
        return;
    if (m_membersDrawn == m_childCount - 1)
        adoptMember(view);
    else
        view->setHasContents(true);
}

void GraphItem::childRemoved(QGraphicsItem* child)
{
    m_childCount = std::max<qsizetype>(0, m_childCount - 1);
    auto* view = dynamic_cast<GraphItem*>(child);
    if (view && view->m_drawnBy == this)
        releaseMember(view);
    else if (m_membersDrawn < m_childCount)
        // What lay above the view that went may now be at the bottom of the stack.
        takeMembersFrom(m_membersDrawn, child);
}

void GraphItem::takeMembersFrom(qsizetype index, const QGraphicsItem* leaving)
{
    const QList<QGraphicsItem*> children = childItems();
    for (qsizetype i = index; i < children.size(); ++i) {
        if (children[i] == leaving)
            continue;
        auto* view = dynamic_cast<GraphItem*>(children[i]);
        if (!view || view->m_drawnBy || !view->groupName())
            break;
        adoptMember(view);
    }
}

void GraphItem::adoptMember(GraphItem* member)
{
    member->m_drawnBy = this;
    member->setHasContents(false);
    ++m_membersDrawn;
    memberChanged(member);
}

void GraphItem::releaseMember(GraphItem* member)
{
    // Its next superview, or the scene, decides whether it draws itself.
    member->m_drawnBy = nullptr;
    if (--m_membersDrawn == 0 && !m_membersRect.isNull()) {
        prepareGeometryChange();
        m_membersRect = QRectF();
    }
    update();
}

void GraphItem::setHasContents(bool hasContents)
{
    if (bool(flags() & ItemHasNoContents) == hasContents)
        setFlag(ItemHasNoContents, !hasContents);
}

void GraphItem::memberChanged(GraphItem* member)
{
    if (!member->m_placed) {
        update();
        return;
    }
    const QRectF r = member->localToParent().mapRect(member->boundingRect());
    if (!m_membersRect.contains(r)) {
        prepareGeometryChange();
        m_membersRect = m_membersRect.united(r);
    }
    update();
}

void GraphItem::drawMembers(QPainter* painter, QTransform base)
{
    if (m_membersDrawn == 0)
        return;
    const QList<QGraphicsItem*> children = childItems();
    std::vector<GraphItem*> run;
    for (qsizetype i = 0; i < children.size();) {
        auto* first = dynamic_cast<GraphItem*>(children[i]);
        if (!first || first->m_drawnBy != this)
            break;
        const QString* group = first->groupName();
        run.clear();
        for (; i < children.size(); ++i) {
            auto* member = dynamic_cast<GraphItem*>(children[i]);
            if (!member || member->m_drawnBy != this || *member->groupName() != *group)
                break;
            if (member->isVisible() && member->m_placed)
                run.push_back(member);
        }
        if (!run.empty())
            run.front()->drawGroup(painter, base, run);
    }
    painter->setTransform(base);
}

void GraphItem::drawGroup(QPainter* painter, const QTransform& superviewTransform,
                          std::span<GraphItem* const> members)
{
    for (GraphItem* member : members) {
        painter->setTransform(member->localToParent() * superviewTransform);
        member->drawRect(painter, member->bounds());
    }
}

namespace {
void paintTree(QPainter* painter, GraphItem* view, QTransform t, bool drawSelf = true)
{
    if (!view->isPlaced())
        return;
    painter->setTransform(t);
    if (drawSelf)
        view->drawRect(painter, view->bounds());
    view->drawMembers(painter, t);
    for (QGraphicsItem* child : view->childItems()) {
        if (!child->isVisible())
            continue;
        if (auto* sub = dynamic_cast<GraphItem*>(child)) {
            // Members of a group were drawn with their superview.
            paintTree(painter, sub, sub->localToParent() * t, sub->drawnBy() != view);
        } else {
            painter->setTransform(child->itemTransform(view) * t);
            QStyleOptionGraphicsItem option;
            option.exposedRect = child->boundingRect();
            child->paint(painter, &option, nullptr);
        }
    }
}
}

QTransform GraphItem::pageTransform(const GraphItem* view, double scale)
{
    return pageTransform(view->bounds(), scale);
}

QTransform GraphItem::pageTransform(const Rect& b, double scale)
{
    QTransform t;
    t.scale(scale, scale);
    t.translate(0, b.height());
    t.scale(1, -1);
    t.translate(-b.origin.x, -b.origin.y);
    return t;
}

namespace {
quint64 g_renderPass = 0;
bool g_rendering = false;
}

quint64 GraphItem::renderPass() { return g_rendering ? g_renderPass : 0; }

void GraphItem::renderTree(QPainter* painter, GraphItem* view)
{
    if (!view)
        return;
    // The tables do not change while a tree is drawn: views may reuse their lookups.
    const bool outer = !g_rendering;
    if (outer) {
        ++g_renderPass;
        g_rendering = true;
    }
    painter->save();
    paintTree(painter, view, painter->transform());
    painter->restore();
    if (outer)
        g_rendering = false;
}

QImage GraphItem::image(GraphItem* view, double scale)
{
    if (!view || !view->isPlaced())
        return QImage();
    const Rect b = view->bounds();
    const int w = std::max(1, int(std::ceil(b.width() * scale)));
    const int h = std::max(1, int(std::ceil(b.height() * scale)));
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(kDotsPerMeter72);
    image.setDotsPerMeterY(kDotsPerMeter72);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setTransform(pageTransform(view, scale));
    renderTree(&painter, view);
    painter.end();
    return image;
}

QByteArray GraphItem::pdfData(GraphItem* view)
{
    return view ? pdfData(view, view->bounds()) : QByteArray();
}

QByteArray GraphItem::pdfData(GraphItem* view, const Rect& page)
{
    if (!view || !view->isPlaced())
        return QByteArray();
    return pdfPage(page, [view](QPainter* painter) { renderTree(painter, view); });
}

QByteArray GraphItem::pdfPage(const Rect& b, const std::function<void(QPainter*)>& draw)
{
    if (!placeable(b))
        return QByteArray();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Vlb"));
        writer.setResolution(72);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        writer.setPageSize(QPageSize(QSizeF(std::max(1.0, b.width()), std::max(1.0, b.height())), QPageSize::Point,
                                     QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        QPainter painter(&writer);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.setTransform(pageTransform(b, 1.0));
        draw(&painter);
        painter.end();
    }
    return data;
}
