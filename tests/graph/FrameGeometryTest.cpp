// Frame, dots view, bar and outlier geometry from numbers: the worked examples of each step
// as one table, plus the places where a value or a category has no finite place.
#include "graph/BoxGeometry.h"
#include "graph/DotPlotGeometry.h"
#include "graph/DotShapes.h"
#include "graph/FrameGeometry.h"
#include "graph/MyGraphGenerator.h"
#include <QPainterPath>
#include <gtest/gtest.h>
#include <cmath>

using namespace FrameGeometry;

namespace {
void expectNear(const Rect& a, const Rect& b, double tol = 1e-9)
{
    EXPECT_NEAR(a.origin.x, b.origin.x, tol);
    EXPECT_NEAR(a.origin.y, b.origin.y, tol);
    EXPECT_NEAR(a.size.width, b.size.width, tol);
    EXPECT_NEAR(a.size.height, b.size.height, tol);
}
} // namespace

TEST(FrameGeometry, HorizontalGapsAndGraphRectangle)
{
    const struct { QVector<qsizetype> counts; QVector<double> gaps, expected; } gapCases[] = {
        {{3}, {0}, {0, 0, 0, 0}},             {{2, 3}, {10, 5}, {10, 0, 0, 5, 0, 0, 10}},
        {{2, 2, 2}, {8, 4, 2}, {8, 0, 2, 0, 4, 0, 2, 0, 8}},
        {{2, 0}, {10, 5}, {10}},              {{0, 3}, {10, 5}, {10}},   // a level without represents: no columns
        {{}, {}, {}},
    };
    for (const auto& c : gapCases)
        EXPECT_EQ(horizontalGaps(c.gaps, c.counts), c.expected);

    const struct { QVector<double> gaps; double lw; std::optional<double> columnWidth; double totalWidth; QVector<double> baseXs;
        Rect graphRect, rGraphRect, frame; } rectCases[] = {
        {{10, 0, 0, 10}, 1, {}, 245, {47.5, 122.5, 197.5}, {0, 0, 245, 200}, {-0.5, -0.5, 246, 201}, {-6, -6, 257, 212}},
        {{0, 0, 0, 0}, 0, 75, 0, {37.5, 112.5, 187.5}, {0, 0, 225, 200}, {0, 0, 225, 200}, {-6, -6, 237, 212}},
        {{0, 0}, 13, 50, 0, {25}, {0, 0, 50, 200}, {-6.5, -6.5, 63, 213}, {-6.5, -6.5, 63, 213}},
        {{7}, 20, 75, 0, {}, {0, 0, 7, 200}, {-10, -10, 27, 220}, {-10, -10, 27, 220}},
    };
    for (const auto& c : rectCases) {
        const auto g = graphRect(c.gaps, c.lw, 200, c.columnWidth, c.totalWidth);
        ASSERT_TRUE(g);
        EXPECT_EQ(std::tuple(g->baseXs, g->graphRect, g->rGraphRect, g->frame), std::tuple(c.baseXs, c.graphRect, c.rGraphRect, c.frame));
    }
    EXPECT_FALSE(graphRect({}, 1, 200, 75, 0));
}

TEST(FrameGeometry, XAxisTicksUnderColumnCentres)
{
    const struct { double aw, tl, tw; Rect extent, frame; QVector<Line> lines; } cases[] = {
        {1, 6, 1, {0, -6, 245, 6.5}, {-0.5, -8, 246, 8.5},
         {{{0, 0}, {245, 0}, 1}, {{47.5, 0}, {0, -6}, 1}, {{122.5, 0}, {0, -6}, 1}, {{197.5, 0}, {0, -6}, 1}}},
        {0, 6, 2, {0, -6, 245, 6}, {-0.5, -8, 246, 8}, {{{47.5, 0}, {0, -6}, 2}, {{122.5, 0}, {0, -6}, 2}, {{197.5, 0}, {0, -6}, 2}}},
        {2, 0, 1, {0, 0, 245, 1}, {-0.5, -2, 246, 3}, {{{0, 0}, {245, 0}, 2}}},
        {0, 6, 0, {0, -6, 245, 6}, {-0.5, -8, 246, 8}, {}},
    };
    for (const auto& c : cases) {
        const AxisLayout a = xAxis(245, {47.5, 122.5, 197.5}, c.aw, c.tl, c.tw);
        EXPECT_EQ(std::tuple(a.extent, a.frame, a.lines), std::tuple(c.extent, c.frame, c.lines));
    }
}

// Ticks stand at their values; a value without a finite place (a logarithmic axis at or
// below 0, ends that meet) gets none, and the axis line stays.
TEST(FrameGeometry, YAxisTicksAndScaleTextFrames)
{
    const struct { double h, aw, tl, min, max; bool log; QVector<double> values, tickYs; } cases[] = {
        {200, 1, 6, 0, 100, false, {0, 50, 100, 150}, {0, 100, 200, 300}}, {200, 0, 6, 0, 100, false, {50, 50}, {100, 100}},
        {300, 1, 6, 1, 1000, true, {1, 10, 100, 1000}, {0, 100, 200, 300}}, {200, 1, 0, 0, 100, false, {50}, {}},
        {200, 1, 6, 0, 100, true, {1, 10}, {}}, {200, 1, 6, 1, 100, true, {-1, 0, 10}, {100}}, {200, 1, 6, 5, 5, false, {5, 6}, {}},
    };
    for (const auto& c : cases) {
        const AxisLayout a = yAxis(c.h, c.aw, c.tl, 1, c.values, c.min, c.max, c.log);
        QVector<Line> expected;
        if (c.aw > 0)
            expected.append({{0, 0}, {0, c.h}, c.aw});
        for (double y : c.tickYs)
            expected.append({{0, y}, {-c.tl, 0}, 1});
        ASSERT_EQ(a.lines.size(), expected.size()) << c.min << " " << c.max << " " << c.log;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(a.lines[i].start.y, expected[i].start.y, 1e-9);
            EXPECT_EQ(a.lines[i].offset, expected[i].offset);
        }
    }
    const AxisLayout a = yAxis(200, 1, 6, 1, {}, 0, 100, false);
    EXPECT_EQ(a.extent, Rect(-6, -0.5, 6.5, 201));
    EXPECT_EQ(a.frame, Rect(-8, -0.5, 8.5, 201));

    const struct { double v, min, max; bool log; double height; Size size; std::optional<Rect> frame; } texts[] = {
        {50, 0, 100, false, 200, {20, 17}, Rect(-30, 91.5, 20, 17)}, {100, 1, 1000, true, 300, {24, 17}, Rect(-34, 191.5, 24, 17)},
        {150, 0, 100, false, 200, {30, 17}, Rect(-40, 291.5, 30, 17)}, {10, 0, 100, true, 200, {20, 17}, std::nullopt},
        {5, 5, 5, false, 200, {20, 17}, std::nullopt},
    };
    for (const auto& c : texts) {
        const auto f = scaleTextFrame(c.v, c.min, c.max, c.log, c.height, c.size, 10);
        ASSERT_EQ(f.has_value(), c.frame.has_value()) << c.v;
        if (f)
            expectNear(*f, *c.frame);
    }
}

TEST(FrameGeometry, CategoryRowsUnderTheAxis)
{
    const QVector<double> xs{37.5, 112.5, 187.5, 262.5, 337.5, 412.5};
    const RowPlacement p = categoryRows(xs, 6, {{4, 2, {{20, 17}, {22, 17}}}, {4, 3, {{10, 17}, {0, 0}, {14, 15}}}});
    EXPECT_EQ(p.bottoms, (QVector<double>{-48, -27}));
    EXPECT_EQ(p.frames[0][0], (QVector<Rect>{{102.5, -48, 20, 17}}));
    EXPECT_EQ(p.frames[1][0], (QVector<Rect>{{32.5, -27, 10, 17}, {257.5, -27, 10, 17}}));
    EXPECT_TRUE(p.frames[1][1].isEmpty());   // a text of zero size is not placed
    EXPECT_EQ(p.frames[1][2], (QVector<Rect>{{180.5, -27, 14, 15}, {405.5, -27, 14, 15}}));
    EXPECT_EQ(p.extent, Rect(32.5, -48, 387, 38));
    // Positions beyond the last whole group are not used; an empty row still takes its gap.
    const RowPlacement g = categoryRows({10, 20, 30, 40, 50}, 0, {{3, 1, {}}, {0, 2, {{2, 2}, {2, 2}}}});
    EXPECT_EQ(g.frames[1][0], (QVector<Rect>{{9, -2, 2, 2}, {29, -2, 2, 2}}));
    EXPECT_EQ(g.bottoms[0], -5);
    EXPECT_EQ(categoryRows(xs, 6, {}).extent, Rect());
}

TEST(FrameGeometry, CategoryWithoutRepresentsPlacesNothingBelowIt)
{
    const RowPlacement p = categoryRows({37.5, 112.5}, 6, {{4, 2, {{20, 17}, {20, 17}}}, {4, 0, {}}});
    EXPECT_TRUE(p.frames[0][0].isEmpty() && p.frames[0][1].isEmpty());
    EXPECT_EQ(p.extent, Rect());
}

TEST(FrameGeometry, TitleTurnedLeftOfTheScale)
{
    const struct { double degrees; Rect text, required; } cases[] = {
        {90, {-34, 75, 50, 20}, {-54, 75, 20, 50}}, {0, {-84, 90, 50, 20}, {-84, 90, 50, 20}},
        {-90, {-54, 125, 50, 20}, {-54, 75, 20, 50}},
    };
    for (const auto& c : cases) {
        const TitlePlacement t = yTitle({50, 20}, c.degrees, -30, 4, 200);
        expectNear(t.textRect, c.text);
        expectNear(t.requiredRect, c.required);
    }
    const TitlePlacement t = yTitle({50, 20}, 45, -30, 4, 200);
    EXPECT_DOUBLE_EQ(t.requiredRect.maxX(), -34);
    EXPECT_EQ(titleLeftEdge({}, 6), -6);
    EXPECT_EQ(titleLeftEdge({{-30, 0, 20, 17}, {-50, 0, 0, 17}, {-34, 10, 24, 17}}, 6), -34);
}

TEST(DotShapes, OutlinesOfTheSixTypes)
{
    // s = 6, w = 1, to four decimals.
    const struct { qint64 type; Rect rect; QVector<Point> corners; } cases[] = {
        {1, {-3, -3, 6, 6}, {{-2.5, -2.5}, {2.5, -2.5}, {2.5, 2.5}, {-2.5, 2.5}}},
        {2, {-3, -3, 6, 6}, {{0, -2.2929}, {2.2929, 0}, {0, 2.2929}, {-2.2929, 0}}},
        {3, {-3, -3.4641, 6, 6.9282}, {{0, 2.4641}, {-2.1340, -1.2321}, {2.1340, -1.2321}}},
        {4, {-3, -3.4641, 6, 6.9282}, {{0, -2.4641}, {2.1340, 1.2321}, {-2.1340, 1.2321}}},
        {5, {-3, -3.1544, 6, 6.3088},
         {{0, 1.5364}, {-0.3449, 0.4748}, {-1.4612, 0.4748}, {-0.5581, -0.1813}, {-0.9030, -1.2429}, {0, -0.5868},
          {0.9030, -1.2429}, {0.5581, -0.1813}, {1.4612, 0.4748}, {0.3449, 0.4748}}},
    };
    // The generator's dot paths follow these outlines.
    const MyGraphGenerator g;
    for (const auto& c : cases) {
        const DotShape d = DotShape::make(c.type, 6, 1);
        expectNear(d.rect, c.rect, 1e-4);
        const auto [path, pathRect] = g.dotBezierPath(c.type, 6, 1);
        EXPECT_EQ(pathRect, d.rect);
        ASSERT_EQ(d.corners.size(), c.corners.size()) << c.type;
        for (qsizetype i = 0; i < c.corners.size(); ++i) {
            EXPECT_NEAR(d.corners[i].x, c.corners[i].x, 1e-4) << c.type << " " << i;
            EXPECT_NEAR(d.corners[i].y, c.corners[i].y, 1e-4) << c.type << " " << i;
        }
        if (c.type == 5) {
            EXPECT_EQ(path.painterPath().elementAt(3), QPointF(d.corners[3].x, d.corners[3].y));
        }
    }
    EXPECT_EQ(DotShape::make(0, 6, 1).oval, Rect(-2.5, -2.5, 5, 5));
    EXPECT_EQ(DotShape::make(0, 6, 0).oval, Rect(-3, -3, 6, 6));
    EXPECT_EQ(g.dotBezierPath(0, 6, 1).first.bounds(), Rect(-2.5, -2.5, 5, 5));
    for (qint64 type : {6, -1, 9})
        EXPECT_EQ(DotShape::make(type, 6, 2).kind, DotShape::None);
    // Other types are empty paths with the line width.
    const auto [none, noneRect] = g.dotBezierPath(9, 6, 2);
    EXPECT_TRUE(none.isEmpty() && none.lineWidth() == 2 && noneRect == Rect());
}

// (column rectangle, bar length, base x) -> frame in a graph rectangle 75 by 200, outside.
TEST(DotsViewFrames, ContentFrameAndRange)
{
    const double nan = std::nan("");
    const struct { const char* name; Rect column; double barLength, baseX; Rect frame; bool outside; } cases[] = {
        {"dotsOnly", Rect(-9, 3, 18, 40), 0, 37.5, Rect(28.5, 3, 18, 40), false},
        {"barWiderThanDots", Rect(-9, 3, 18, 40), 60, 37.5, Rect(7.5, 3, 60, 40), false},
        {"noValuesBarStrip", Rect(), 60, 37.5, Rect(7.5, 0, 60, 1), false},
        {"noValuesNoBar", Rect(), 0, 37.5, Rect(37.5, 0, 0, 0), false},
        {"dotsOnTheEdgesAreInside", Rect(-37.5, 0, 75, 200), 0, 37.5, Rect(0, 0, 75, 200), false},
        {"dotBelowTheBottom", Rect(-3, -1, 6, 6), 0, 37.5, Rect(34.5, -1, 6, 6), true},
        {"rightEdge", Rect(-3, 10, 6, 6), 0, 74, Rect(71, 10, 6, 6), true},
        {"notANumberIsNeverOutside", Rect(nan, nan, 6, 6), 0, 0, Rect(nan, nan, 6, 6), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Rect frame = DotPlotGeometry::dotsViewContent(c.column, c.barLength).offsetBy(c.baseX, 0);
        if (std::isfinite(c.frame.origin.x)) {
            EXPECT_EQ(frame, c.frame);
        }
        EXPECT_EQ(DotPlotGeometry::outsideGraph(frame, Rect(0, 0, 75, 200)), c.outside);
    }
}

TEST(DotPlotGeometry, BarsByOneRuleCentredOnTheStatistic)
{
    struct Row { qint64 type; double length, width; bool shown; };
    for (const Row& r : {Row{1, 60, 4, true}, Row{2, 60, 4, true}, Row{-1, 60, 4, true}, Row{0, 60, 4, false},
                         Row{1, 0, 4, false}, Row{1, 60, 0, false}})
        EXPECT_EQ(DotPlotGeometry::barsShown(r.type, r.length, r.width), r.shown) << r.type << " " << r.length << " " << r.width;
    // Column 75, length 0.8, width 4, axis 0..100 over 200, mean 25; log 1..1000 over 300,
    // a log mean of 2.
    EXPECT_EQ(DotPlotGeometry::barFrame(75 * 0.8, 4), Rect(-30, -2, 60, 4));
    EXPECT_EQ(DotPlotGeometry::barY(25, 0, 100, 200, 4), 48);
    EXPECT_EQ(DotPlotGeometry::barY(2, 0, 3, 300, 4), 198);
}

TEST(BoxGeometry, OutlierCentreOnTheValueWhateverTheDotBox)
{
    // Boxes that are not centred on the dot (a glyph's, or a shape measured tightly). The
    // view's point (0, 0) lies at frame origin - bounds origin in the container.
    for (const Rect& box : {Rect(-3, -3, 6, 6), Rect(-3, -2, 6, 7.5), Rect(-1, -4, 5, 3)}) {
        const Rect frame = BoxGeometry::outlierFrame(30, box, 10, 2);
        const Point origin = BoxGeometry::outlierOrigin(box);
        EXPECT_EQ(Rect(frame.origin.x - origin.x, frame.origin.y - origin.y, frame.size.width, frame.size.height),
                  Rect(0, 40, box.size.width, box.size.height));
    }
}
