#pragma once
// A path with its own stroke settings, in the layout's coordinates (points, y up). A new
// path strokes 1 point wide with flat caps, miter joins, miter limit 10 and fills by the
// non-zero winding rule, unless the layout sets otherwise.
#include "platform/Geometry.h"
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <QVector>

class QPainter;

class BezierPath {
public:
    BezierPath() { m_path.setFillRule(Qt::WindingFill); }

    static BezierPath bezierPathWithRect(const Rect& rect);
    static BezierPath bezierPathWithOvalInRect(const Rect& rect);

    // Construction, as the layout steps build paths.
    void moveToPoint(const Point& p);
    void lineToPoint(const Point& p);
    void relativeMoveToPoint(const Point& d);
    void relativeLineToPoint(const Point& d);
    void curveToPoint(const Point& end, const Point& control1, const Point& control2);
    void closePath();
    void appendBezierPathWithRect(const Rect& rect);
    void appendBezierPathWithOvalInRect(const Rect& rect);
    void appendBezierPath(const BezierPath& other);
    // Applies the transform to every point (rotation about the origin, scaling, moving).
    void transformUsingAffineTransform(const QTransform& transform);

    bool isEmpty() const { return m_path.isEmpty(); }
    Point currentPoint() const;
    // Bounds of the points, control points excluded; the zero rectangle when empty.
    Rect bounds() const;
    // What filling and stroking the path covers: its bounds grown by the stroke's reach
    // (width, caps, joins; dashes taken as solid). The zero rectangle when empty.
    Rect paintedBounds() const;

    double lineWidth() const { return m_lineWidth; }
    void setLineWidth(double width) { m_lineWidth = width; }
    Qt::PenCapStyle lineCapStyle() const { return m_cap; }
    void setLineCapStyle(Qt::PenCapStyle cap) { m_cap = cap; }
    Qt::PenJoinStyle lineJoinStyle() const { return m_join; }
    void setLineJoinStyle(Qt::PenJoinStyle join) { m_join = join; }
    double miterLimit() const { return m_miterLimit; }
    void setMiterLimit(double limit) { m_miterLimit = limit; }
    Qt::FillRule windingRule() const { return m_path.fillRule(); }
    void setWindingRule(Qt::FillRule rule) { m_path.setFillRule(rule); }
    // Dash lengths in points (empty: solid) and the phase into the pattern.
    void setLineDash(const QVector<double>& pattern, double phase = 0);
    const QVector<double>& lineDash() const { return m_dash; }

    const QPainterPath& painterPath() const { return m_path; }
    // The pen that strokes this path in the given colour.
    QPen pen(const QColor& color) const;

    // Filling and stroking with the painter's current transform.
    void fill(QPainter* painter, const QColor& color) const;
    void stroke(QPainter* painter, const QColor& color) const;
    // Fill, then stroke, in one operation.
    void fillAndStroke(QPainter* painter, const QColor& fillColor, const QColor& lineColor) const;

    bool operator==(const BezierPath& o) const;

private:
    bool penMatches(const QPen& pen, const QColor& color) const;
    void usePen(QPainter* painter, const QColor& color) const;

    QPainterPath m_path;
    double m_lineWidth = 1.0;
    Qt::PenCapStyle m_cap = Qt::FlatCap;
    Qt::PenJoinStyle m_join = Qt::MiterJoin;
    double m_miterLimit = 10.0;
    QVector<double> m_dash;
    double m_dashPhase = 0;
};
