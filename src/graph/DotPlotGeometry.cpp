#include "graph/DotPlotGeometry.h"

#include <cmath>

DotPlotGeometry::ValueAxis DotPlotGeometry::valueAxis(double min, double max, double height,
                                                      bool logarithmic)
{
    if (logarithmic) {
        min = std::log10(min);
        max = std::log10(max);
    }
    return {min, max, height / (max - min)};
}

bool DotPlotGeometry::barsShown(qint64 barType, double barLength, double lineWidth)
{
    return barType != 0 && barLength != 0 && lineWidth != 0;
}

Rect DotPlotGeometry::dotsViewContent(const Rect& columnRect, double barLength)
{
    if (!(barLength > 0))
        return columnRect;
    return columnRect.united(Rect(-barLength / 2, columnRect.midY(), barLength, 1.0));
}

bool DotPlotGeometry::outsideGraph(const Rect& frame, const Rect& graphRect)
{
    return frame.minX() < 0 || frame.minY() < 0 || frame.maxX() > graphRect.maxX()
        || frame.maxY() > graphRect.maxY();
}

Rect DotPlotGeometry::barFrame(double barLength, double lineWidth)
{
    return Rect(-barLength / 2, -lineWidth / 2, barLength, lineWidth);
}

double DotPlotGeometry::barY(double statistic, double min, double max, double height,
                             double lineWidth)
{
    return (statistic - min) * height / (max - min) - lineWidth / 2;
}
