#pragma once
// The geometry of a graph's frame and axes, from numbers to rectangles and lines, in the
// coordinates of the graph container: origin at the lower left of the graph rectangle,
// y up. The layout steps read the settings, call these and write the results.
#include "platform/Geometry.h"
#include <QStringList>
#include <QVector>
#include <optional>

namespace FrameGeometry {

// A straight line from `start` to start + offset, stroked `width` wide.
struct Line {
    Point start;
    Point offset;
    double width = 0;
    bool operator==(const Line& o) const { return start == o.start && offset == o.offset && width == o.width; }
};

// Space in front of every column and after the last one, P + 1 entries for P columns. A
// level's gap goes in front of each of its blocks of columns, the outermost level winning
// where blocks of several levels start together; the first level's gap also closes the row.
// gaps and counts are per category level, outermost first. Empty when there is no level.
QVector<double> horizontalGaps(const QVector<double>& gaps, const QVector<qsizetype>& counts);

// The number of columns: the product of the represent counts.
qsizetype columnCount(const QVector<qsizetype>& counts);

struct GraphRectLayout {
    QVector<double> baseXs;   // centre of every column
    Rect graphRect;           // (0, 0, W, H)
    Rect rGraphRect;          // with the outer half of the stroke
    Rect frame;               // the view's frame; its bounds origin is the frame's origin
};
// columnWidth: the stored column width, or none to share graphRectWidth among the columns.
// None when there are no gaps (not even the closing one).
std::optional<GraphRectLayout> graphRect(const QVector<double>& horizontalGaps, double lineWidth, double height,
                                         std::optional<double> columnWidth, double graphRectWidth);

struct AxisLayout {
    Rect extent;          // what the axis needs (rXRect, rYRect)
    Rect frame;           // the view's frame; its bounds origin is the frame's origin
    QVector<Line> lines;  // the axis line first, then the ticks
};
AxisLayout xAxis(double width, const QVector<double>& baseXs, double axisWidth, double tickLength, double tickWidth);

// Height of a value on the axis from 0 (min) to height (max); none where it has no finite
// place (a logarithmic axis at or below 0, or ends that meet).
std::optional<double> tickY(double value, double min, double max, bool logarithmic, double height);
// The same as a fraction of the axis height.
std::optional<double> axisFraction(double value, double min, double max, bool logarithmic);

// Ticks stand only where the value has a finite place; the axis line is always drawn.
AxisLayout yAxis(double height, double axisWidth, double tickLength, double tickWidth, const QVector<double>& values,
                 double min, double max, bool logarithmic);

// Frame of a scale text of the given size, its right edge `distance` left of the axis and
// its middle at the value's height; none where the value has no finite place.
std::optional<Rect> scaleTextFrame(double value, double min, double max, bool logarithmic, double graphHeight,
                                    Size size, double distance);

// One category level as its row of texts needs it.
struct RowLevel {
    double verticalGap = 0;
    qsizetype representCount = 0;
    QVector<Size> sizes;   // one per represent; a zero size is not placed
};
struct RowPlacement {
    // Per level (in the order given), per represent: one frame per repetition of the text,
    // empty for a text that is not placed.
    QVector<QVector<QVector<Rect>>> frames;
    QVector<double> bottoms;   // per level: the row's bottom edge (NaN for a level without a row)
    Rect extent;               // the union of all frames, the zero rect when none
};
// Rows under the x axis, the last level nearest. A level without represents places nothing
// and leaves the rows below it without positions.
RowPlacement categoryRows(const QVector<double>& baseXs, double tickLength, const QVector<RowLevel>& levels);

// How often each level's texts are shown: 1 for the first level, then the product of the
// represent counts of the levels before.
QVector<qsizetype> repetitions(const QVector<qsizetype>& counts);

// Every combination of one name per level, the last level varying fastest, joined by tabs.
QStringList nameTags(const QVector<QStringList>& namesPerLevel);

// Left edge of the room left of the y axis: the union of the scale text frames, or the
// tick ends when there are none.
double titleLeftEdge(const QVector<Rect>& scaleTextRects, double tickLength);

struct TitlePlacement {
    Rect textRect;       // the unrotated frame; rotation turns it about its origin
    Rect requiredRect;   // bounding box of the rotated title
};
// The title of the given size turned by `degrees`, its rotated box `gap` left of `leftEdge`
// and centred on half the graph's height.
TitlePlacement yTitle(Size size, double degrees, double leftEdge, double gap, double graphHeight);

} // namespace FrameGeometry
