#pragma once
// The outline of a shape dot centred on the origin (y up), before it becomes a path: an
// oval in a rectangle or a closed polygon, each inset by half the line width so that the
// stroke stays inside the nominal shape.
#include "platform/Geometry.h"
#include <QVector>

struct DotShape {
    enum Kind { None, Oval, Polygon };
    Kind kind = None;
    Rect oval;               // Oval: the rectangle the oval fills
    QVector<Point> corners;  // Polygon: the corners in drawing order, closed back to the first
    Rect rect;               // the nominal rectangle of the dot (not the outline's bounds)
    double lineWidth = 0;

    // 0 circle, 1 square, 2 diamond, 3 triangle up, 4 triangle down, 5 five-pointed star;
    // any other type is no shape, with the zero rectangle.
    static DotShape make(qint64 type, double size, double lineWidth);
};
