#include "views/BezierPath.h"
#include <QPainter>
#include <QPainterPathStroker>

BezierPath BezierPath::bezierPathWithRect(const Rect& rect)
{
    BezierPath path;
    path.appendBezierPathWithRect(rect);
    return path;
}

BezierPath BezierPath::bezierPathWithOvalInRect(const Rect& rect)
{
    BezierPath path;
    path.appendBezierPathWithOvalInRect(rect);
    return path;
}

void BezierPath::moveToPoint(const Point& p) { m_path.moveTo(p.x, p.y); }

void BezierPath::lineToPoint(const Point& p) { m_path.lineTo(p.x, p.y); }

void BezierPath::relativeMoveToPoint(const Point& d)
{
    const QPointF c = m_path.currentPosition();
    m_path.moveTo(c.x() + d.x, c.y() + d.y);
}

void BezierPath::relativeLineToPoint(const Point& d)
{
    const QPointF c = m_path.currentPosition();
    m_path.lineTo(c.x() + d.x, c.y() + d.y);
}

void BezierPath::curveToPoint(const Point& end, const Point& control1, const Point& control2)
{
    m_path.cubicTo(control1.x, control1.y, control2.x, control2.y, end.x, end.y);
}

void BezierPath::closePath() { m_path.closeSubpath(); }

void BezierPath::appendBezierPathWithRect(const Rect& rect)
{
    // Counter-clockwise from the lower left in y-up coordinates, as the platform draws it.
    m_path.moveTo(rect.minX(), rect.minY());
    m_path.lineTo(rect.maxX(), rect.minY());
    m_path.lineTo(rect.maxX(), rect.maxY());
    m_path.lineTo(rect.minX(), rect.maxY());
    m_path.closeSubpath();
}

void BezierPath::appendBezierPathWithOvalInRect(const Rect& rect)
{
    m_path.addEllipse(QRectF(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height));
}

void BezierPath::appendBezierPath(const BezierPath& other)
{
    const Qt::FillRule rule = m_path.fillRule();
    m_path.addPath(other.m_path);
    m_path.setFillRule(rule);
}

void BezierPath::transformUsingAffineTransform(const QTransform& transform)
{
    const Qt::FillRule rule = m_path.fillRule();
    m_path = transform.map(m_path);
    m_path.setFillRule(rule);
}

Point BezierPath::currentPoint() const
{
    const QPointF c = m_path.currentPosition();
    return {c.x(), c.y()};
}

Rect BezierPath::bounds() const
{
    if (m_path.isEmpty())
        return Rect();
    const QRectF r = m_path.boundingRect();
    return Rect(r.x(), r.y(), r.width(), r.height());
}

Rect BezierPath::paintedBounds() const
{
    if (m_path.isEmpty())
        return Rect();
    // The members of a group share one path: measured once while it stays the same.
    static BezierPath last;
    static QRectF lastBounds;
    if (!(*this == last)) {
        QPainterPathStroker stroker;
        stroker.setWidth(m_lineWidth);
        stroker.setCapStyle(m_cap);
        stroker.setJoinStyle(m_join);
        stroker.setMiterLimit(m_miterLimit);
        lastBounds = m_path.boundingRect().united(stroker.createStroke(m_path).boundingRect());
        last = *this;
    }
    return Rect(lastBounds.x(), lastBounds.y(), lastBounds.width(), lastBounds.height());
}

void BezierPath::setLineDash(const QVector<double>& pattern, double phase)
{
    m_dash = pattern;
    m_dashPhase = phase;
}

QPen BezierPath::pen(const QColor& color) const
{
    QPen pen(color, m_lineWidth, Qt::SolidLine, m_cap, m_join);
    pen.setMiterLimit(m_miterLimit);
    if (!m_dash.isEmpty() && m_lineWidth > 0) {
        // Qt measures dashes in pen widths.
        QVector<qreal> units;
        for (double d : m_dash)
            units << d / m_lineWidth;
        if (units.size() % 2)
            units += units;
        pen.setDashPattern(units);
        pen.setDashOffset(m_dashPhase / m_lineWidth);
    }
    return pen;
}

namespace {
// Only real changes go to the painter: each one costs a state change in a PDF.
void useBrush(QPainter* painter, const QColor& color)
{
    const QBrush& current = painter->brush();
    if (color.alpha() == 0) {
        if (current.style() != Qt::NoBrush)
            painter->setBrush(Qt::NoBrush);
    } else if (current.style() != Qt::SolidPattern || current.color() != color) {
        painter->setBrush(color);
    }
}
}

bool BezierPath::penMatches(const QPen& pen, const QColor& color) const
{
    return pen.style() == Qt::SolidLine && m_dash.isEmpty() && pen.color() == color && pen.widthF() == m_lineWidth
        && pen.capStyle() == m_cap && pen.joinStyle() == m_join && pen.miterLimit() == m_miterLimit
        && pen.brush().style() == Qt::SolidPattern && !pen.isCosmetic() == (m_lineWidth > 0);
}

void BezierPath::usePen(QPainter* painter, const QColor& color) const
{
    if (color.alpha() == 0) {
        if (painter->pen().style() != Qt::NoPen)
            painter->setPen(Qt::NoPen);
    } else if (!penMatches(painter->pen(), color)) {
        painter->setPen(pen(color));
    }
}

void BezierPath::fill(QPainter* painter, const QColor& color) const
{
    if (color.alpha() > 0 && !m_path.isEmpty())
        painter->fillPath(m_path, color);
}

void BezierPath::stroke(QPainter* painter, const QColor& color) const
{
    if (color.alpha() == 0 || m_path.isEmpty())
        return;
    useBrush(painter, QColor(Qt::transparent));
    usePen(painter, color);
    painter->drawPath(m_path);
}

void BezierPath::fillAndStroke(QPainter* painter, const QColor& fillColor, const QColor& lineColor) const
{
    if (m_path.isEmpty())
        return;
    // One path operation: half the output of a fill followed by a stroke.
    useBrush(painter, fillColor);
    usePen(painter, lineColor);
    painter->drawPath(m_path);
}

bool BezierPath::operator==(const BezierPath& o) const
{
    return m_path == o.m_path && m_path.fillRule() == o.m_path.fillRule() && m_lineWidth == o.m_lineWidth
        && m_cap == o.m_cap && m_join == o.m_join && m_miterLimit == o.m_miterLimit && m_dash == o.m_dash
        && m_dashPhase == o.m_dashPhase;
}
