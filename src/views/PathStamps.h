#pragma once
// A group's members draw the same filled and stroked path again and again. On screen each
// is drawn once per style, scale and eighth of a pixel of position into a small image, and
// that image is stamped where the member is: the same picture to the eye, at a fraction of
// the cost of filling and stroking antialiased paths one by one. Output to other devices
// (images, PDF, print) is drawn as paths.
#include "views/BezierPath.h"
#include <QColor>

class QPainter;

namespace PathStamps {
// True when the painter draws to a window's screen through the raster engine.
bool onScreen(const QPainter* painter);
// Stamps path filled and stroked with painter's transform taken as world; false, having
// drawn nothing, when the transform turns or shears the path or the shape is large (the
// caller draws it). A transform that is not finite or puts the path beyond any device draws
// nothing at all.
bool draw(QPainter* painter, const QTransform& world, const BezierPath& path, const QColor& fill,
          const QColor& line);
}
