#include "platform/Geometry.h"
#include <algorithm>

double Rect::minX() const { return size.width >= 0 ? origin.x : origin.x + size.width; }
double Rect::maxX() const { return size.width >= 0 ? origin.x + size.width : origin.x; }
double Rect::midX() const { return origin.x + size.width * 0.5; }
double Rect::minY() const { return size.height >= 0 ? origin.y : origin.y + size.height; }
double Rect::maxY() const { return size.height >= 0 ? origin.y + size.height : origin.y; }
double Rect::midY() const { return origin.y + size.height * 0.5; }

Rect Rect::united(const Rect& other) const
{
    if (isEmpty())
        return other.isEmpty() ? Rect() : other;
    if (other.isEmpty())
        return *this;
    const double x0 = std::min(minX(), other.minX());
    const double y0 = std::min(minY(), other.minY());
    const double x1 = std::max(maxX(), other.maxX());
    const double y1 = std::max(maxY(), other.maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect Rect::intersected(const Rect& other) const
{
    if (isEmpty() || other.isEmpty())
        return Rect();
    const double x0 = std::max(minX(), other.minX());
    const double y0 = std::max(minY(), other.minY());
    const double x1 = std::min(maxX(), other.maxX());
    const double y1 = std::min(maxY(), other.maxY());
    if (x1 <= x0 || y1 <= y0)
        return Rect();
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

bool Rect::intersects(const Rect& other) const { return !intersected(other).isEmpty(); }

Rect Rect::insetBy(double dx, double dy) const
{
    return Rect(origin.x + dx, origin.y + dy, size.width - 2 * dx, size.height - 2 * dy);
}

Rect Rect::offsetBy(double dx, double dy) const
{
    return Rect(origin.x + dx, origin.y + dy, size.width, size.height);
}

bool Rect::containsPoint(const Point& p) const
{
    return !isEmpty() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

bool Rect::containsRect(const Rect& r) const
{
    return !isEmpty() && !r.isEmpty() && r.minX() >= minX() && r.maxX() <= maxX()
        && r.minY() >= minY() && r.maxY() <= maxY();
}
