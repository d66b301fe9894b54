#pragma once
// Geometry in the drawing convention of the layout code: points, origin at the lower left,
// y up. Deliberately not QRectF: its union and equality differ, and its top/bottom assume
// y down.
#include <QtGlobal>

// The constructors let Point(x, y) and Size(w, h) build alike with every compiler, which
// parenthesised aggregates do not.
struct Point {
    double x = 0, y = 0;
    Point() = default;
    Point(double x, double y) : x(x), y(y) {}
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Point& o) const { return !(*this == o); }
};

struct Size {
    double width = 0, height = 0;
    Size() = default;
    Size(double width, double height) : width(width), height(height) {}
    bool operator==(const Size& o) const { return width == o.width && height == o.height; }
    bool operator!=(const Size& o) const { return !(*this == o); }
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}
    Rect(Point o, Size s) : origin(o), size(s) {}

    double minX() const;
    double midX() const;
    double maxX() const;
    double minY() const;
    double midY() const;
    double maxY() const;
    double width() const { return size.width; }
    double height() const { return size.height; }
    // Empty: zero or negative width or height.
    bool isEmpty() const { return !(size.width > 0 && size.height > 0); }
    // Union ignoring empty rectangles; the union of two empty rectangles is the zero rect.
    Rect united(const Rect& other) const;
    // Intersection; the zero rectangle when they do not overlap.
    Rect intersected(const Rect& other) const;
    bool intersects(const Rect& other) const;
    // Shrinks by dx on the left and right and dy at the bottom and top (negative grows).
    Rect insetBy(double dx, double dy) const;
    Rect offsetBy(double dx, double dy) const;
    // Half-open test: minX <= x < maxX and minY <= y < maxY.
    bool containsPoint(const Point& p) const;
    bool containsRect(const Rect& r) const;
    // Exact equality of origin and size.
    bool operator==(const Rect& o) const { return origin == o.origin && size == o.size; }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};
