#pragma once
// The arithmetic of a dot plot apart from the lanes: the value axis in points, a column's
// dots view with its bar strip and the range test, and the mean or median bars.
#include "platform/Geometry.h"

class DotPlotGeometry {
public:
    // The value axis of the graph rectangle: a value v lies (v - axisMin) * scale above its
    // bottom edge; on a logarithmic axis both ends and the values are base-10 logarithms.
    struct ValueAxis {
        double axisMin = 0, axisMax = 0, scale = 0;
    };
    static ValueAxis valueAxis(double min, double max, double height, bool logarithmic);

    // Bars are drawn, and count for a column's extent, only with a bar type, a length and a
    // thickness: the same rule for drawing them and for the range test.
    static bool barsShown(qint64 barType, double barLength, double lineWidth);

    // What a column's dots view covers in column coordinates: its dots and, with bars, a
    // one-point strip of the bar's length across the middle of the dots.
    static Rect dotsViewContent(const Rect& columnRect, double barLength);
    // True when a dots view framed in the graph rectangle's coordinates reaches outside it;
    // an edge lying on the rectangle's edge is inside.
    static bool outsideGraph(const Rect& frame, const Rect& graphRect);

    // A bar of length and thickness, centred on (0, 0) of its view.
    static Rect barFrame(double barLength, double lineWidth);
    // Frame y of a bar whose centre lies at the statistic.
    static double barY(double statistic, double min, double max, double height, double lineWidth);
};
