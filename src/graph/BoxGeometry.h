#pragma once
// The elements of one box of a boxplot in its container's coordinates: x 0 on the middle
// of the box, a value v at (v - axisMin) * scale above the bottom of the plotting area.
#include "platform/Geometry.h"

class BoxGeometry {
public:
    struct Style {
        double boxWidth = 0;      // points
        double boxLineWidth = 0;  // the box's stroke; its view is larger by half of it
        double whiskerWidth = 0;
        double markLength = 0, markWidth = 0;  // the min/max marks
    };
    struct Elements {
        Rect box;                 // q1 to q3, the path's rectangle
        Rect boxFrame;            // the box grown by half its line width
        Rect lowerWhisker, upperWhisker;
        Point lowerStart, upperStart;  // the whisker lines run up from here ...
        double lowerLength = 0, upperLength = 0;  // ... by this much
        Rect lowerMark, upperMark;
        Rect columnRect;          // everything above, united
    };
    static Elements elements(double q1, double q3, double boxMin, double boxMax, double axisMin,
                             double scale, const Style& style);
    // True when every element has a place on the axis (finite, within drawing range).
    static bool placeable(const Elements& e);
    // Bounds origin of every min/max mark view: the shared mark line runs across its middle.
    static Point markOrigin(const Style& style);

    // A median line of a box of width boxWidth and thickness lineWidth at the median.
    static Rect medianFrame(double median, double boxWidth, double lineWidth, double axisMin,
                            double scale);
    static Point medianOrigin(double boxWidth, double lineWidth);

    // An outlier dot on the box's centre line, and its bounds origin: the dot box's own
    // origin, so that the dot's centre lands on the value whatever the shape's box.
    static Rect outlierFrame(double value, const Rect& dotBox, double axisMin, double scale);
    static Point outlierOrigin(const Rect& dotBox);
};
