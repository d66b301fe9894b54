#include "graph/DotLanes.h"
#include "views/GraphItem.h"

#include <algorithm>
#include <cmath>
#include <functional>

struct DotLanes::Scratch {
    std::vector<double> ordered;  // the cluster, largest first when laid out downwards
    std::vector<double> pairs;
    std::vector<size_t> anchors;
    LaneState lanes, derived;
};

double DotLanes::coordinate(double value, bool logarithmic, double axisMin, double scale)
{
    return ((logarithmic ? std::log10(value) : value) - axisMin) * scale;
}

DotLanes::Result DotLanes::dotRectsForValues(std::span<const double> values, bool logarithmic,
                                             const Rect& dotBox, double spacing, double axisMin,
                                             double scale)
{
    std::vector<double> coordinates(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        coordinates[i] = coordinate(values[i], logarithmic, axisMin, scale);
    return dotRectsForCoordinates(coordinates, dotBox, spacing);
}

bool DotLanes::allPlaceable(std::span<const double> values, bool logarithmic, double axisMin, double scale)
{
    return values.empty()
        || (GraphItem::placeable(coordinate(values.front(), logarithmic, axisMin, scale))
            && GraphItem::placeable(coordinate(values.back(), logarithmic, axisMin, scale)));
}

DotLanes::Result DotLanes::dotRectsForCoordinates(std::span<const double> all, const Rect& dotBox,
                                                  double spacing)
{
    Result result;
    if (all.empty())
        return result;
    result.rects.reserve(all.size());
    // Only dots with a place take part in the layout: one without would join a cluster and
    // push its neighbours aside. A dot box or spacing that is not finite places nothing.
    std::vector<double> kept;
    const bool boxOk = GraphItem::placeable(dotBox) && std::isfinite(spacing);
    if (boxOk) {
        kept.reserve(all.size());
        for (double y : all)
            if (GraphItem::placeable(y))
                kept.push_back(y);
    }
    const std::span<const double> c(kept);
    const size_t total = c.size();
    Scratch scratch;
    size_t begin = 0;
    while (begin < total) {
        size_t end = begin + 1;
        // A difference that is not a number keeps the cluster going.
        while (end < total && !(c[end] - c[end - 1] >= spacing))
            ++end;
        const size_t len = end - begin;
        // A cluster whose middle lies below the column's middle goes up, any other down.
        const int direction = 2 * begin + len < total ? 1 : -1;
        layoutCluster(c.subspan(begin, len), direction, dotBox, spacing, scratch, result.rects);
        begin = end;
    }
    // Lanes far out (a huge spacing) have no place either; such dots go to the end.
    const auto firstOff = std::stable_partition(result.rects.begin(), result.rects.end(),
                                                [](const Rect& r) { return GraphItem::placeable(r); });
    result.placed = size_t(firstOff - result.rects.begin());
    const Rect off = boxOk ? dotBox : Rect();
    std::fill(firstOff, result.rects.end(), off);
    result.rects.resize(all.size(), off);
    Rect u;
    for (size_t i = 0; i < result.placed; ++i)
        u = i == 0 ? result.rects[i].united(result.rects[i]) : u.united(result.rects[i]);
    result.unionRect = u;
    return result;
}

std::vector<Rect> DotLanes::columnDotLayout(std::span<const double> coordinates, int direction,
                                            const Rect& dotBox, double spacing)
{
    std::vector<Rect> out;
    if (coordinates.empty())
        return out;
    Scratch scratch;
    layoutCluster(coordinates, direction, dotBox, spacing, scratch, out);
    return out;
}

void DotLanes::layoutCluster(std::span<const double> coordinates, int direction,
                             const Rect& dotBox, double s, Scratch& scratch,
                             std::vector<Rect>& out)
{
    const double fx = dotBox.origin.x, fy = dotBox.origin.y;
    const double fw = dotBox.size.width, fh = dotBox.size.height;
    const size_t n = coordinates.size();
    if (n == 1) {
        out.emplace_back(fx, coordinates[0] + fy, fw, fh);
        return;
    }
    std::vector<double>& v = scratch.ordered;
    v.assign(coordinates.begin(), coordinates.end());
    if (direction <= 0)
        std::reverse(v.begin(), v.end());

    // Centre dots: index 0, then every first candidate at least s from the previous one,
    // candidates an odd distance after it, so that the values between pair up.
    std::vector<size_t>& anchors = scratch.anchors;
    anchors.assign(1, 0);
    if (n >= 4) {
        double ref = v[0];
        size_t k = 3;
        while (k < n) {
            if (std::abs(v[k] - ref) >= s) {
                anchors.push_back(k);
                ref = v[k];
                k += 3;
            } else {
                k += 2;
            }
        }
    }
    const size_t l = anchors.size();
    const double d = direction > 0 ? 1.0 : -1.0;
    LaneState& lanes = scratch.lanes;
    lanes.forward.clear();
    lanes.backward.clear();
    std::vector<double>& pairs = scratch.pairs;
    pairs.clear();

    // Centre dots of v[0, stop), the others into the pair list.
    auto splitUntil = [&](size_t stop) {
        size_t a = 0;
        for (size_t i = 0; i < stop; ++i) {
            if (a < l && anchors[a] == i) {
                out.emplace_back(fx, v[i] + fy, fw, fh);
                ++a;
            } else {
                pairs.push_back(v[i]);
            }
        }
    };

    if ((n - l) % 2 == 0) {
        splitUntil(n);
        dotLanePlacement(pairs, lanes, dotBox, s, d, 1.0, out);
    } else if (n % 2 == 0) {
        dotLanePlacement(v, lanes, dotBox, s, d, 0.5, out);
    } else {
        // Centre dots and full lanes up to the last anchor, half lanes from it on. A half
        // lane lies between full lanes j-1 and j, so it starts behind the later dot of the
        // two; the one past the last full lane still has full lane n-1 beside it.
        const size_t last = anchors.back();
        splitUntil(last);
        dotLanePlacement(pairs, lanes, dotBox, s, d, 1.0, out);
        LaneState& h = scratch.derived;
        const size_t count = lanes.forward.size();
        h.forward.resize(count == 0 ? 0 : count + 1);
        h.backward.resize(h.forward.size());
        const auto later = [d](double a, double b) { return d > 0 ? std::max(a, b) : std::min(a, b); };
        for (size_t j = 0; j < count; ++j) {
            h.forward[j] = j == 0 ? lanes.forward[0] : later(lanes.forward[j - 1], lanes.forward[j]);
            h.backward[j] = j == 0 ? lanes.backward[0] : later(lanes.backward[j - 1], lanes.backward[j]);
        }
        if (count > 0) {
            h.forward[count] = lanes.forward[count - 1];
            h.backward[count] = lanes.backward[count - 1];
        }
        dotLanePlacement(std::span<const double>(v).subspan(last), h, dotBox, s, d, 0.5, out);
    }
}

namespace {
void appendPair(std::vector<Rect>& out, const Rect& box, double p, double q, size_t lane,
                double laneOffset, double direction, double spacing)
{
    const double o = (double(lane) + laneOffset) * (direction * spacing);
    out.emplace_back(box.origin.x + o, p + box.origin.y, box.size.width, box.size.height);
    out.emplace_back(box.origin.x - o, q + box.origin.y, box.size.width, box.size.height);
}

// True when the pairs come in order along the direction, after every lane's last dot, and
// everything is finite: then a lane that accepts a pair accepts every later one until it is
// used, which the ordered search relies on.
bool inOrder(std::span<const double> pairs, const DotLanes::LaneState& lanes, double spacing,
             double direction)
{
    if (!std::isfinite(spacing) || (direction != 1.0 && direction != -1.0))
        return false;
    const size_t n = pairs.size() & ~size_t(1);
    for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(pairs[i]) || (i > 0 && direction * pairs[i] < direction * pairs[i - 1]))
            return false;
    }
    for (const std::vector<double>* track : {&lanes.forward, &lanes.backward}) {
        for (double x : *track) {
            if (!std::isfinite(x) || (n > 0 && direction * x > direction * pairs[0]))
                return false;
        }
    }
    return true;
}
}

void DotLanes::dotLanePlacementByScan(std::span<const double> pairs, LaneState& lanes,
                                      const Rect& dotBox, double s, double d, double laneOffset,
                                      std::vector<Rect>& out)
{
    std::vector<double>& f = lanes.forward;
    std::vector<double>& b = lanes.backward;
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const double p = pairs[i], q = pairs[i + 1];
        size_t j = 0;
        while (j < f.size() && !(std::abs(q - b[j]) >= s && std::abs(p - f[j]) >= s))
            ++j;
        if (j < f.size()) {
            f[j] = p;
            b[j] = q;
        } else {
            f.push_back(p);
            b.push_back(q);
        }
        appendPair(out, dotBox, p, q, j, laneOffset, d, s);
    }
}

void DotLanes::dotLanePlacement(std::span<const double> pairs, LaneState& lanes,
                                const Rect& dotBox, double s, double d, double laneOffset,
                                std::vector<Rect>& out)
{
    if (pairs.size() < 2)
        return;
    if (!inOrder(pairs, lanes, s, d)) {
        dotLanePlacementByScan(pairs, lanes, dotBox, s, d, laneOffset, out);
        return;
    }
    // Measured along the direction (u = d x, exact), every distance to a lane's last dot
    // only grows. A lane waits for its backward track to fall s behind, then for its
    // forward track, then is ready; the first fit is the ready lane of lowest index.
    struct Entry {
        double key;
        size_t lane;
        bool operator>(const Entry& o) const { return key > o.key; }
    };
    std::vector<Entry> waitBackward, waitForward;
    std::vector<size_t> ready;
    std::vector<double>& f = lanes.forward;
    std::vector<double>& b = lanes.backward;
    const std::greater<Entry> minEntry;
    const std::greater<size_t> minLane;
    for (size_t j = 0; j < f.size(); ++j)
        waitBackward.push_back({d * b[j], j});
    std::make_heap(waitBackward.begin(), waitBackward.end(), minEntry);

    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const double p = pairs[i], q = pairs[i + 1];
        const double up = d * p, uq = d * q;
        while (!waitBackward.empty() && uq - waitBackward.front().key >= s) {
            const size_t j = waitBackward.front().lane;
            std::pop_heap(waitBackward.begin(), waitBackward.end(), minEntry);
            waitBackward.pop_back();
            waitForward.push_back({d * f[j], j});
            std::push_heap(waitForward.begin(), waitForward.end(), minEntry);
        }
        while (!waitForward.empty() && up - waitForward.front().key >= s) {
            ready.push_back(waitForward.front().lane);
            std::push_heap(ready.begin(), ready.end(), minLane);
            std::pop_heap(waitForward.begin(), waitForward.end(), minEntry);
            waitForward.pop_back();
        }
        size_t j;
        if (!ready.empty()) {
            j = ready.front();
            std::pop_heap(ready.begin(), ready.end(), minLane);
            ready.pop_back();
            f[j] = p;
            b[j] = q;
        } else {
            j = f.size();
            f.push_back(p);
            b.push_back(q);
        }
        waitBackward.push_back({uq, j});
        std::push_heap(waitBackward.begin(), waitBackward.end(), minEntry);
        appendPair(out, dotBox, p, q, j, laneOffset, d, s);
    }
}
