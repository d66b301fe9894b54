// Dot lanes: the worked cases, and properties over random columns with ties for three dot
// sizes (one dot per value at its value, no overlap, offsets in half spacings, mirror
// symmetry, the ordered lane search equal to the plain scan).
#include "graph/DotLanes.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {
// A dot given by its coordinate and the horizontal offset of its centre.
struct Dot { double y, x; bool operator==(const Dot&) const = default; };
std::ostream& operator<<(std::ostream& os, const Dot& d) { return os << d.y << "@" << d.x; }

Rect centredBox(double size) { return Rect(-size / 2, -size / 2, size, size); }

// Worked by hand with spacing 2 and the dot box (-1, -1, 2, 2).
// Dots in result order.
struct Worked { const char* name; std::vector<double> coordinates; double spacing; std::vector<Dot> dots; };

const Worked workedCases[] = {
    {"oneValue", {5}, 2, {{5, 0}}}, {"twoApart", {0, 3}, 2, {{0, 0}, {3, 0}}},
    {"twoCloseLargerLeft", {0, 1}, 2, {{1, -1}, {0, 1}}},
    {"threeInOneCluster", {0, 1, 1.5}, 2, {{1.5, 0}, {1, -2}, {0, 2}}},
    {"fiveEqual", {3, 3, 3, 3, 3}, 2, {{3, 0}, {3, -2}, {3, 2}, {3, -4}, {3, 4}}},
    {"fourEqualHalfLanes", {3, 3, 3, 3}, 2, {{3, -1}, {3, 1}, {3, -3}, {3, 3}}},
    {"sevenInARow", {0, 1, 2, 3, 4, 5, 6}, 2, {{6, 0}, {3, 0}, {0, 0}, {5, -2}, {4, 2}, {2, -2}, {1, 2}}},
    {"fiveInARowTailInHalfLane", {0, 1, 2, 3, 4}, 2, {{4, 0}, {3, -2}, {2, 2}, {1, -1}, {0, 1}}},
    {"twoGroupsMirrored", {0, 1, 10, 11}, 2, {{0, 1}, {1, -1}, {11, -1}, {10, 1}}},
    {"zeroSpacingAllCentred", {0, 0, 1, 1}, 0, {{0, 0}, {0, 0}, {1, 0}, {1, 0}}}, {"noValues", {}, 2, {}},
    // The tail's new half lane lies beside full lane 0 and must start behind its dots.
    {"halfLaneBesideLastFullLane", {0, 0, 0, 0.5, 2}, 2, {{2, 0}, {0.5, -2}, {0, 2}, {0, -5}, {0, 5}}},
};

void PrintTo(const Worked& w, std::ostream* os) { *os << w.name; }

class DotLanesWorked : public ::testing::TestWithParam<Worked> {};

TEST_P(DotLanesWorked, PlacesEveryDot)
{
    const Worked& w = GetParam();
    const Rect box(-1, -1, 2, 2);
    const DotLanes::Result r = DotLanes::dotRectsForCoordinates(w.coordinates, box, w.spacing);
    std::vector<Dot> dots;
    for (const Rect& rect : r.rects)
        dots.push_back({rect.origin.y - box.origin.y, rect.origin.x - box.origin.x});
    EXPECT_EQ(dots, w.dots);
    Rect expectedUnion;
    for (const Dot& d : w.dots)
        expectedUnion = expectedUnion.united(box.offsetBy(d.x, d.y));
    EXPECT_EQ(r.unionRect, expectedUnion);
}

INSTANTIATE_TEST_SUITE_P(Cases, DotLanesWorked, ::testing::ValuesIn(workedCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A value whose coordinate is not finite or lies beyond the drawing range has no place: it
// keeps a rectangle (the dot box, at the end of the list) but stays out of the layout and the
// column's extent, and the others are laid out as if it were not there. Worked by hand.
TEST(DotLanes, DotsWithoutAPlace)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        std::vector<double> values;
        bool logarithmic;
        double axisMin, scale, spacing;
        std::vector<double> placed;   // the coordinates laid out
        bool allPlaceable;
    } cases[] = {
        // Log 1..1000 over 30 points: 10 a decade; -1 and 0 have no logarithm.
        {"log of 0 and below", {-1, 0, 10, 1000}, true, 0, 10, 2, {10, 30}, false},
        // An axis whose max equals its min: every value at infinity or NaN.
        {"axis without height", {1, 2, 3}, false, 2, inf, 2, {}, false},
        // Linear 0..1e-9 over 200 points: 170 lands 3.4e13 points up.
        {"axis 1e-9 wide", {0, 1e-9, 170}, false, 0, 200 / 1e-9, 2, {0, 200}, false},
        {"spacing not a number", {1, 2}, false, 0, 1, nan, {}, true},
        // Three equal values: the centre dot stays, the lane pair lies 1e7 points out.
        {"lanes beyond the range", {5, 5, 5}, false, 0, 1, 1e7, {5}, true},
        {"all in range", {1, 2, 50}, false, 0, 2, 2, {2, 4, 100}, true},
    };
    const Rect box = centredBox(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DotLanes::Result r = DotLanes::dotRectsForValues(c.values, c.logarithmic, box, c.spacing, c.axisMin, c.scale);
        ASSERT_EQ(r.rects.size(), c.values.size());
        ASSERT_EQ(r.placed, c.placed.size());
        const DotLanes::Result alone = DotLanes::dotRectsForCoordinates(c.placed, box, 2);
        Rect extent;
        for (size_t i = 0; i < r.rects.size(); ++i) {
            if (i < r.placed) {
                EXPECT_EQ(r.rects[i].origin.y, alone.rects[i].origin.y) << i;
                extent = extent.united(r.rects[i]);
            } else {
                EXPECT_EQ(r.rects[i], std::isfinite(c.spacing) ? box : Rect()) << i;
            }
        }
        EXPECT_EQ(r.unionRect, extent);
        EXPECT_EQ(DotLanes::allPlaceable(c.values, c.logarithmic, c.axisMin, c.scale), c.allPlaceable);
    }
}

// Random ascending columns with ties, on a grid of quarters so that every sum is exact.
struct Column { std::vector<double> values; double axisMin, scale; };

Column randomColumn(std::mt19937& rng, bool oneCluster, double spacing)
{
    auto uniform = [&rng](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    const int n = uniform(1, 160), top = uniform(1, 40 * n);
    Column c{{}, uniform(-8, 8) * 0.5, oneCluster ? 1 : uniform(1, 4) * 0.5};
    // One cluster: steps below the spacing (ties included) over several spacings.
    for (double v = 0; int(c.values.size()) < n; c.values.push_back(v))
        v = oneCluster ? v + std::max(0, uniform(-int(2 * spacing), int(4 * spacing) - 1)) * 0.25 : uniform(0, top) * 0.25;
    std::sort(c.values.begin(), c.values.end());
    return c;
}

class DotLanesRandom : public ::testing::TestWithParam<double> {};

TEST_P(DotLanesRandom, EveryValueOneDotNoOverlap)
{
    const double size = GetParam(), spacing = size;
    const Rect box = centredBox(size);
    std::mt19937 rng(unsigned(size * 1000));
    int centreAndFull = 0, halfOnly = 0, centreFullAndHalf = 0;
    for (int round = 0; round < 600; ++round) {
        SCOPED_TRACE(round);
        const bool oneCluster = round % 2 == 0;
        const Column c = randomColumn(rng, oneCluster, spacing);
        const DotLanes::Result r = DotLanes::dotRectsForValues(c.values, false, box, spacing, c.axisMin, c.scale);
        ASSERT_EQ(r.rects.size(), c.values.size());
        std::vector<double> want, got;
        for (double v : c.values)
            want.push_back((v - c.axisMin) * c.scale);
        Rect all;
        bool centre = false, full = false, half = false;
        for (const Rect& rect : r.rects) {
            EXPECT_EQ(rect.size, box.size);
            got.push_back(rect.origin.y - box.origin.y);
            const double steps = (rect.origin.x - box.origin.x) / (spacing / 2);
            ASSERT_EQ(steps, std::round(steps)) << "offset not a multiple of half a spacing";
            const long k = std::lround(std::abs(steps));
            (k == 0 ? centre : k % 2 ? half : full) = true;
            all = all.united(rect);
        }
        std::sort(got.begin(), got.end());
        ASSERT_EQ(got, want);
        EXPECT_EQ(r.unionRect, all);
        for (size_t i = 0; i < r.rects.size(); ++i)
            for (size_t j = i + 1; j < r.rects.size(); ++j) {
                const Rect &a = r.rects[i], &b = r.rects[j];   // interiors disjoint
                ASSERT_FALSE(a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY())
                    << "dots " << i << " and " << j;
            }
        if (oneCluster && c.values.size() > 1) {
            centreAndFull += centre && full && !half;
            halfOnly += half && !centre && !full;
            centreFullAndHalf += centre && full && half;
        }
    }
    // The single-cluster columns went through all three layouts.
    EXPECT_GT(centreAndFull, 10);
    EXPECT_GT(halfOnly, 10);
    EXPECT_GT(centreFullAndHalf, 10);
}

TEST_P(DotLanesRandom, DownwardIsTheMirrorOfUpward)
{
    const double size = GetParam();
    std::mt19937 rng(unsigned(size * 7));
    for (int round = 0; round < 300; ++round) {
        const Column c = randomColumn(rng, true, size);
        std::vector<double> mirrored;
        for (auto v = c.values.rbegin(); v != c.values.rend(); ++v)
            mirrored.push_back(-*v);
        const std::vector<Rect> down = DotLanes::columnDotLayout(c.values, -1, centredBox(size), size);
        std::vector<Rect> up;
        for (const Rect& r : down)
            up.push_back(Rect(-r.maxX(), -r.maxY(), r.size.width, r.size.height));
        ASSERT_EQ(DotLanes::columnDotLayout(mirrored, 1, centredBox(size), size), up) << "round " << round;
    }
}

TEST_P(DotLanesRandom, OrderedSearchAgreesWithTheScan)
{
    // Pairs in order along the direction, lanes ending behind the first pair.
    const double size = GetParam();
    std::mt19937 rng(unsigned(size * 13));
    std::uniform_int_distribution<int> back(0, 12);
    for (int round = 0; round < 300; ++round) {
        const double d = round % 2 ? 1.0 : -1.0, laneOffset = round % 4 < 2 ? 1.0 : 0.5;
        std::vector<double> pairs = randomColumn(rng, round % 3 != 0, size).values;
        pairs.resize(pairs.size() & ~size_t(1));
        DotLanes::LaneState start;
        for (int j = std::uniform_int_distribution<int>(0, 6)(rng); j > 0; --j) {
            start.forward.push_back(d * (pairs.empty() ? 0 : pairs.front()) - d * back(rng) * 0.25);
            start.backward.push_back(d * (pairs.empty() ? 0 : pairs.front()) - d * back(rng) * 0.25);
        }
        for (double& x : pairs)
            x *= d;
        DotLanes::LaneState fastLanes = start, scanLanes = start;
        std::vector<Rect> fast, scan;
        DotLanes::dotLanePlacement(pairs, fastLanes, centredBox(size), size, d, laneOffset, fast);
        DotLanes::dotLanePlacementByScan(pairs, scanLanes, centredBox(size), size, d, laneOffset, scan);
        ASSERT_EQ(fast, scan) << "round " << round;
        ASSERT_EQ(fastLanes.forward, scanLanes.forward);
        ASSERT_EQ(fastLanes.backward, scanLanes.backward);
    }
}

INSTANTIATE_TEST_SUITE_P(DotSizes, DotLanesRandom, ::testing::Values(1.0, 2.0, 6.0));
} // namespace
