#include "graph/DotShapes.h"
#include <cmath>

namespace {
const double kSqrt2 = 1.4142135623730951;
const double kSqrt3 = 1.7320508075688772;
const double kTan18 = 0.3249196962329063;
const double kTan36 = 0.7265425280053609;
} // namespace

DotShape DotShape::make(qint64 type, double s, double w)
{
    DotShape d;
    d.lineWidth = w;
    const Rect square(-s / 2, -s / 2, s, s);
    const Rect triangleRect(-s / 2, -s * kSqrt3 / 3, s, 2 * s * kSqrt3 / 3);
    switch (type) {
    case 0:
        d.kind = Oval;
        d.rect = square;
        d.oval = square.insetBy(w / 2, w / 2);
        break;
    case 1: {
        d.kind = Polygon;
        d.rect = square;
        const Rect r = square.insetBy(w / 2, w / 2);
        d.corners = {{r.origin.x, r.origin.y},
                     {r.origin.x + r.size.width, r.origin.y},
                     {r.origin.x + r.size.width, r.origin.y + r.size.height},
                     {r.origin.x, r.origin.y + r.size.height}};
        break;
    }
    case 2: {
        // A square of diagonal s turned by 45 degrees: its corners lie on the axes.
        d.kind = Polygon;
        d.rect = square;
        const double a = (s / (2 * kSqrt2) - w / 2) * kSqrt2;
        d.corners = {{0, -a}, {a, 0}, {0, a}, {-a, 0}};
        break;
    }
    case 3:
        d.kind = Polygon;
        d.rect = triangleRect;
        d.corners = {{0, s * kSqrt3 / 3 - w},
                     {-s / 2 + w * kSqrt3 / 2, -s * kSqrt3 / 6 + w / 2},
                     {s / 2 - w * kSqrt3 / 2, -s * kSqrt3 / 6 + w / 2}};
        break;
    case 4:
        d.kind = Polygon;
        d.rect = triangleRect;
        d.corners = {{0, -s * kSqrt3 / 3 + w},
                     {s / 2 - w * kSqrt3 / 2, s * kSqrt3 / 6 - w / 2},
                     {-s / 2 + w * kSqrt3 / 2, s * kSqrt3 / 6 - w / 2}};
        break;
    case 5: {
        const double pi = 3.141592653589793;
        const double sin18 = std::sin(pi / 10), cos18 = std::cos(pi / 10);
        const double sin36 = std::sin(pi / 5), cos36 = std::cos(pi / 5);
        const double bigR = s / (2 * cos18);
        const double outer = bigR - w / (2 * sin18);
        const double yL = (s / 2) * kTan18 - w / 2;
        const double inner = yL / cos36;
        const double xS = s / 2 - w / (2 * kTan18);
        d.kind = Polygon;
        d.rect = Rect(-s / 2, -bigR, s, 2 * bigR);
        d.corners = {{0, outer},
                     {-yL * kTan36, yL},
                     {-xS, yL},
                     {-inner * cos18, -inner * sin18},
                     {-outer * sin36, -outer * cos36},
                     {0, -inner},
                     {outer * sin36, -outer * cos36},
                     {inner * cos18, -inner * sin18},
                     {xS, yL},
                     {yL * kTan36, yL}};
        break;
    }
    default:
        break;
    }
    return d;
}
