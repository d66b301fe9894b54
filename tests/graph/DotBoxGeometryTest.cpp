#include "graph/BoxGeometry.h"
#include "graph/DotPlotGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
using G = DotPlotGeometry;

TEST(DotPlotGeometry, ValueAxes)
{
    const G::ValueAxis lin = G::valueAxis(0, 50, 200, false);
    EXPECT_EQ(lin.scale, 4);
    const G::ValueAxis log = G::valueAxis(1, 1000, 200, true);
    EXPECT_EQ(log.axisMin, 0);
    EXPECT_EQ(log.axisMax, 3);
    EXPECT_EQ(log.scale, 200.0 / 3);
}

// Worked by hand: (column rectangle, bar length, base x, graph rectangle) -> frame, outside.
struct DotsViewCase {
    const char* name;
    Rect column;
    double barLength, baseX;
    Rect frame;
    bool outside;
};

const DotsViewCase dotsViewCases[] = {
    {"dotsOnly", Rect(-9, 3, 18, 40), 0, 37.5, Rect(28.5, 3, 18, 40), false},
    {"barWiderThanDots", Rect(-9, 3, 18, 40), 60, 37.5, Rect(7.5, 3, 60, 40), false},
    {"noValuesBarStrip", Rect(), 60, 37.5, Rect(7.5, 0, 60, 1), false},
    {"noValuesNoBar", Rect(), 0, 37.5, Rect(37.5, 0, 0, 0), false},
    {"barReachesLeftEdge", Rect(-9, 3, 18, 40), 80, 37.5, Rect(-2.5, 3, 80, 40), true},
    {"dotsOnTheEdgesAreInside", Rect(-37.5, 0, 75, 200), 0, 37.5, Rect(0, 0, 75, 200), false},
    {"dotAboveTheTop", Rect(-3, 150, 6, 51), 0, 37.5, Rect(34.5, 150, 6, 51), true},
    {"dotBelowTheBottom", Rect(-3, -1, 6, 6), 0, 37.5, Rect(34.5, -1, 6, 6), true},
    {"rightEdge", Rect(-3, 10, 6, 6), 0, 74, Rect(71, 10, 6, 6), true},
};

class DotsViewFrames : public ::testing::TestWithParam<DotsViewCase> {};

TEST_P(DotsViewFrames, ContentFrameAndRange)
{
    const DotsViewCase& c = GetParam();
    const Rect graph(0, 0, 75, 200);
    const Rect content = G::dotsViewContent(c.column, c.barLength);
    const Rect frame = content.offsetBy(c.baseX, 0);
    EXPECT_EQ(frame, c.frame);
    EXPECT_EQ(G::outsideGraph(frame, graph), c.outside);
}

INSTANTIATE_TEST_SUITE_P(Cases, DotsViewFrames, ::testing::ValuesIn(dotsViewCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DotPlotGeometry, NotANumberIsNeverOutside)
{
    const double nan = std::nan("");
    EXPECT_FALSE(G::outsideGraph(Rect(nan, nan, 6, 6), Rect(0, 0, 75, 200)));
}

TEST(DotPlotGeometry, OneRuleForShowingBars)
{
    struct Row { qint64 type; double length, width; bool shown; };
    const Row rows[] = {{1, 60, 4, true}, {2, 60, 4, true}, {-1, 60, 4, true},
                        {0, 60, 4, false}, {1, 0, 4, false}, {1, 60, 0, false}};
    for (const Row& r : rows)
        EXPECT_EQ(G::barsShown(r.type, r.length, r.width), r.shown) << r.type << " " << r.length << " " << r.width;
}

TEST(DotPlotGeometry, BarsCentredOnTheStatistic)
{
    // Column 75, bar length 0.8, line width 4, axis 0..100 over 200, mean 25.
    EXPECT_EQ(G::barFrame(75 * 0.8, 4), Rect(-30, -2, 60, 4));
    EXPECT_EQ(G::barY(25, 0, 100, 200, 4), 48);
    EXPECT_EQ(G::barY(0, 0, 100, 200, 4) + 2, 0);
    EXPECT_EQ(G::barY(100, 0, 100, 200, 4) + 2, 200);
    // Log axis 1..1000 over 300: a log mean of 2.
    EXPECT_EQ(G::barY(2, 0, 3, 300, 4), 198);
    // Shorter and thicker bars keep their centre: frame origin moves with the bounds origin.
    const Rect placed(-30, 48, 60, 4);
    for (const auto& [length, width, expected] :
         {std::tuple{0.4 * 75, 4.0, Rect(-15, 48, 30, 4)}, std::tuple{0.8 * 75, 8.0, Rect(-30, 46, 60, 8)}}) {
        const Rect b = G::barFrame(length, width);
        const Rect moved(placed.origin.x + b.origin.x - (-30), placed.origin.y + b.origin.y - (-2),
                         b.size.width, b.size.height);
        EXPECT_EQ(moved, expected);
    }
}

TEST(BoxGeometry, OneBoxByHand)
{
    // q1 20, q3 40, whisker ends 5 and 70, axis from 0 at 2 points a unit; box 37.5 wide with
    // a line of 1, whiskers 1 wide, marks 10 by 2.
    const BoxGeometry::Style st{37.5, 1, 1, 10, 2};
    const BoxGeometry::Elements e = BoxGeometry::elements(20, 40, 5, 70, 0, 2, st);
    EXPECT_EQ(e.box, Rect(-18.75, 40, 37.5, 40));
    EXPECT_EQ(e.boxFrame, Rect(-19.25, 39.5, 38.5, 41));
    EXPECT_EQ(e.lowerWhisker, Rect(-0.5, 10, 1, 30));
    EXPECT_EQ(e.upperWhisker, Rect(-0.5, 80, 1, 60));
    EXPECT_EQ(e.lowerStart, (Point{0, 10}));
    EXPECT_EQ(e.lowerLength, 30);
    EXPECT_EQ(e.upperStart, (Point{0, 80}));
    EXPECT_EQ(e.upperLength, 60);
    EXPECT_EQ(e.lowerMark, Rect(-5, 9, 10, 2));
    EXPECT_EQ(e.upperMark, Rect(-5, 139, 10, 2));
    EXPECT_EQ(e.columnRect, Rect(-19.25, 9, 38.5, 132));
    EXPECT_EQ(BoxGeometry::markOrigin(st), (Point{-5, -1}));

    // Whisker ends on the quartiles: zero-height whiskers add nothing.
    const BoxGeometry::Elements flat = BoxGeometry::elements(20, 40, 20, 40, 0, 2, st);
    EXPECT_EQ(flat.lowerWhisker.size.height, 0);
    EXPECT_EQ(flat.columnRect, Rect(-19.25, 39, 38.5, 42));
}

TEST(BoxGeometry, MedianLines)
{
    EXPECT_EQ(BoxGeometry::medianFrame(50, 37.5, 4, 0, 2), Rect(-18.75, 98, 37.5, 4));
    EXPECT_EQ(BoxGeometry::medianOrigin(37.5, 4), (Point{-18.75, -2}));
    // Log axis 1..1000 over 200: a median of 100 lies 133.3 points up.
    const G::ValueAxis log = G::valueAxis(1, 1000, 200, true);
    EXPECT_NEAR(BoxGeometry::medianFrame(2, 37.5, 4, log.axisMin, log.scale).midY(), 133.333, 1e-3);
}

TEST(BoxGeometry, OutlierCentreOnTheValueWhateverTheDotBox)
{
    // A box that is not centred on the dot (a glyph's, or a shape measured tightly).
    for (const Rect& box : {Rect(-3, -3, 6, 6), Rect(-3, -2, 6, 7.5), Rect(-1, -4, 5, 3)}) {
        const Rect frame = BoxGeometry::outlierFrame(30, box, 10, 2);
        const Point origin = BoxGeometry::outlierOrigin(box);
        // The view's point (0, 0) lies at frame origin - bounds origin in the container.
        EXPECT_EQ(frame.origin.x - origin.x, 0);
        EXPECT_EQ(frame.origin.y - origin.y, 40);
        EXPECT_EQ(frame.size, box.size);
    }
}
}
