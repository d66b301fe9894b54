#include "graph/BoxGeometry.h"
#include "views/GraphItem.h"

BoxGeometry::Elements BoxGeometry::elements(double q1, double q3, double boxMin, double boxMax,
                                            double axisMin, double scale, const Style& st)
{
    const auto y = [&](double v) { return (v - axisMin) * scale; };
    Elements e;
    e.box = Rect(-st.boxWidth / 2, y(q1), st.boxWidth, (q3 - q1) * scale);
    e.boxFrame = e.box.insetBy(-st.boxLineWidth / 2, -st.boxLineWidth / 2);
    e.lowerLength = (q1 - boxMin) * scale;
    e.upperLength = (boxMax - q3) * scale;
    e.lowerStart = {0, y(boxMin)};
    e.upperStart = {0, y(q3)};
    e.lowerWhisker = Rect(-st.whiskerWidth / 2, y(boxMin), st.whiskerWidth, e.lowerLength);
    e.upperWhisker = Rect(-st.whiskerWidth / 2, y(q3), st.whiskerWidth, e.upperLength);
    e.lowerMark = Rect(-st.markLength / 2, y(boxMin) - st.markWidth / 2, st.markLength, st.markWidth);
    e.upperMark = Rect(-st.markLength / 2, y(boxMax) - st.markWidth / 2, st.markLength, st.markWidth);
    e.columnRect = e.boxFrame.united(e.boxFrame)
                       .united(e.lowerWhisker)
                       .united(e.upperWhisker)
                       .united(e.lowerMark)
                       .united(e.upperMark);
    return e;
}

bool BoxGeometry::placeable(const Elements& e)
{
    for (const Rect& r : {e.box, e.boxFrame, e.lowerWhisker, e.upperWhisker, e.lowerMark, e.upperMark})
        if (!GraphItem::placeable(r))
            return false;
    return GraphItem::placeable(e.lowerLength) && GraphItem::placeable(e.upperLength);
}

Point BoxGeometry::markOrigin(const Style& st) { return {-st.markLength / 2, -st.markWidth / 2}; }

Rect BoxGeometry::medianFrame(double median, double boxWidth, double lineWidth, double axisMin,
                              double scale)
{
    return Rect(-boxWidth / 2, (median - axisMin) * scale - lineWidth / 2, boxWidth, lineWidth);
}

Point BoxGeometry::medianOrigin(double boxWidth, double lineWidth)
{
    return {-boxWidth / 2, -lineWidth / 2};
}

Rect BoxGeometry::outlierFrame(double value, const Rect& dotBox, double axisMin, double scale)
{
    return dotBox.offsetBy(0, (value - axisMin) * scale);
}

Point BoxGeometry::outlierOrigin(const Rect& dotBox) { return dotBox.origin; }
