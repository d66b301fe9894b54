// The dots view of a column with its bar strip and the range test, the bars, and where an
// outlier dot's centre lands; every row worked by hand.
#include "graph/BoxGeometry.h"
#include "graph/DotPlotGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
using G = DotPlotGeometry;

// (column rectangle, bar length, base x) -> frame in a graph rectangle 75 by 200, outside.
struct DotsViewCase {
    const char* name;
    Rect column;
    double barLength, baseX;
    Rect frame;
    bool outside;
};

const double nan = std::nan("");
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
    {"notANumberIsNeverOutside", Rect(nan, nan, 6, 6), 0, 0, Rect(nan, nan, 6, 6), false},
};

class DotsViewFrames : public ::testing::TestWithParam<DotsViewCase> {};

TEST_P(DotsViewFrames, ContentFrameAndRange)
{
    const DotsViewCase& c = GetParam();
    const Rect frame = G::dotsViewContent(c.column, c.barLength).offsetBy(c.baseX, 0);
    if (std::isfinite(c.frame.origin.x)) {
        EXPECT_EQ(frame, c.frame);
    }
    EXPECT_EQ(G::outsideGraph(frame, Rect(0, 0, 75, 200)), c.outside);
}

INSTANTIATE_TEST_SUITE_P(Cases, DotsViewFrames, ::testing::ValuesIn(dotsViewCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DotPlotGeometry, BarsByOneRuleCentredOnTheStatistic)
{
    struct Row { qint64 type; double length, width; bool shown; };
    for (const Row& r : {Row{1, 60, 4, true}, Row{2, 60, 4, true}, Row{-1, 60, 4, true}, Row{0, 60, 4, false},
                         Row{1, 0, 4, false}, Row{1, 60, 0, false}})
        EXPECT_EQ(G::barsShown(r.type, r.length, r.width), r.shown) << r.type << " " << r.length << " " << r.width;
    // Column 75, length 0.8, width 4, axis 0..100 over 200, mean 25; log 1..1000 over 300,
    // a log mean of 2.
    EXPECT_EQ(G::barFrame(75 * 0.8, 4), Rect(-30, -2, 60, 4));
    EXPECT_EQ(G::barY(25, 0, 100, 200, 4), 48);
    EXPECT_EQ(G::barY(2, 0, 3, 300, 4), 198);
}

TEST(BoxGeometry, OutlierCentreOnTheValueWhateverTheDotBox)
{
    // Boxes that are not centred on the dot (a glyph's, or a shape measured tightly).
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
