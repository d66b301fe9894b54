#pragma once
// Where the dots of one column go. Values become dot rectangles in the column's own
// coordinates (x 0 on the centre line, y 0 at the axis minimum, y up, points); values too
// close to stack are spread sideways into lanes beside the centre line, first fit, so that
// no two dots overlap.
#include "platform/Geometry.h"

#include <span>
#include <vector>

class DotLanes {
public:
    struct Result {
        // One per value. The first `placed` are the dots laid out, cluster by cluster, centre
        // dots first; the rest are values without a place (a coordinate or a lane that is not
        // finite or lies beyond GraphItem::kMaxCoordinate): the dot box at the origin, to be
        // left out of the drawing.
        std::vector<Rect> rects;
        size_t placed = 0;
        Rect unionRect;           // of the placed dots; the zero rectangle when there are none
    };
    // The coordinate of the last dot on each lane's forward and backward track.
    struct LaneState {
        std::vector<double> forward, backward;
    };

    // Height of a value above the axis minimum; on a logarithmic axis axisMin is a log10.
    static double coordinate(double value, bool logarithmic, double axisMin, double scale);
    // True when every value of an ascending column has a place on the axis (its two ends
    // do: the coordinate is monotonic in the value).
    static bool allPlaceable(std::span<const double> values, bool logarithmic, double axisMin, double scale);

    // All dots of a column whose values are ascending. dotBox is one dot's rectangle
    // relative to its centre; spacing the distance at which two centres count as apart.
    static Result dotRectsForValues(std::span<const double> values, bool logarithmic,
                                    const Rect& dotBox, double spacing, double axisMin,
                                    double scale);
    static Result dotRectsForCoordinates(std::span<const double> coordinates, const Rect& dotBox,
                                         double spacing);

    // One cluster of close coordinates, laid out from its largest value down when direction
    // is -1 (and mirrored), from its smallest up when +1.
    static std::vector<Rect> columnDotLayout(std::span<const double> coordinates, int direction,
                                             const Rect& dotBox, double spacing);

    // Puts the pairs (2i, 2i+1) of a pair list into the first lane whose tracks end at least
    // spacing away, or into a new lane; appends two rectangles per pair to out.
    static void dotLanePlacement(std::span<const double> pairs, LaneState& lanes,
                                 const Rect& dotBox, double spacing, double direction,
                                 double laneOffset, std::vector<Rect>& out);
    // The same by scanning every lane for every pair: the plain rule, used where the pairs
    // are not in order (non-finite coordinates) and as the reference of the faster search.
    static void dotLanePlacementByScan(std::span<const double> pairs, LaneState& lanes,
                                       const Rect& dotBox, double spacing, double direction,
                                       double laneOffset, std::vector<Rect>& out);

private:
    struct Scratch;
    static void layoutCluster(std::span<const double> coordinates, int direction,
                              const Rect& dotBox, double spacing, Scratch& scratch,
                              std::vector<Rect>& out);
};
