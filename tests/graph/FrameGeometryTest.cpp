#include "graph/DotShapes.h"
#include "graph/FrameGeometry.h"
#include <gtest/gtest.h>
#include <cmath>

using namespace FrameGeometry;

namespace {

void expectRectNear(const Rect& a, const Rect& b, double tol = 1e-9)
{
    EXPECT_NEAR(a.origin.x, b.origin.x, tol);
    EXPECT_NEAR(a.origin.y, b.origin.y, tol);
    EXPECT_NEAR(a.size.width, b.size.width, tol);
    EXPECT_NEAR(a.size.height, b.size.height, tol);
}

bool finite(const Line& l)
{
    return std::isfinite(l.start.x) && std::isfinite(l.start.y) && std::isfinite(l.offset.x)
        && std::isfinite(l.offset.y);
}

} // namespace

TEST(FrameGeometry, HorizontalGapsPutEachLevelsGapInFrontOfItsBlocks)
{
    const struct {
        QVector<qsizetype> counts;
        QVector<double> gaps;
        QVector<double> expected;
    } cases[] = {
        {{3}, {10}, {10, 0, 0, 10}},
        {{3}, {0}, {0, 0, 0, 0}},
        {{2, 3}, {10, 5}, {10, 0, 0, 5, 0, 0, 10}},
        {{2, 2, 2}, {8, 4, 2}, {8, 0, 2, 0, 4, 0, 2, 0, 8}},
        {{2, 0}, {10, 5}, {10}},     // the last level has no represents: no columns
        {{0, 3}, {10, 5}, {10}},     // nor when an outer level has none
        {{1}, {2.5}, {2.5, 2.5}},
        {{}, {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(horizontalGaps(c.gaps, c.counts), c.expected) << c.counts.size();
}

TEST(FrameGeometry, GraphRectangleAndColumnCentres)
{
    const struct {
        QVector<double> gaps;
        double lw, height;
        std::optional<double> columnWidth;
        double graphRectWidth;
        QVector<double> baseXs;
        Rect graphRect, rGraphRect, frame;
    } cases[] = {
        // Built-in values, one level of three with gap 10.
        {{10, 0, 0, 10}, 1, 200, 75, 0, {47.5, 122.5, 197.5}, {0, 0, 245, 200}, {-0.5, -0.5, 246, 201}, {-6, -6, 257, 212}},
        // The stored total width shared by the columns gives the same.
        {{10, 0, 0, 10}, 1, 200, std::nullopt, 245, {47.5, 122.5, 197.5}, {0, 0, 245, 200}, {-0.5, -0.5, 246, 201}, {-6, -6, 257, 212}},
        {{0, 0, 0, 0}, 0, 200, 75, 0, {37.5, 112.5, 187.5}, {0, 0, 225, 200}, {0, 0, 225, 200}, {-6, -6, 237, 212}},
        {{0, 0}, 12, 100, 50, 0, {25}, {0, 0, 50, 100}, {-6, -6, 62, 112}, {-6, -6, 62, 112}},
        {{0, 0}, 13, 100, 50, 0, {25}, {0, 0, 50, 100}, {-6.5, -6.5, 63, 113}, {-6.5, -6.5, 63, 113}},
        {{0, 0}, 20, 100, 50, 0, {25}, {0, 0, 50, 100}, {-10, -10, 70, 120}, {-10, -10, 70, 120}},
        {{7}, 1, 200, 75, 0, {}, {0, 0, 7, 200}, {-0.5, -0.5, 8, 201}, {-6, -6, 19, 212}},
    };
    for (const auto& c : cases) {
        const auto g = graphRect(c.gaps, c.lw, c.height, c.columnWidth, c.graphRectWidth);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->baseXs, c.baseXs);
        EXPECT_EQ(g->graphRect, c.graphRect);
        EXPECT_EQ(g->rGraphRect, c.rGraphRect);
        EXPECT_EQ(g->frame, c.frame);
    }
    EXPECT_FALSE(graphRect({}, 1, 200, 75, 0));
}

TEST(FrameGeometry, XAxisLineAndTicksUnderColumnCentres)
{
    const QVector<double> xs{47.5, 122.5, 197.5};
    const struct {
        double aw, tl, tw;
        Rect extent, frame;
        QVector<Line> lines;
    } cases[] = {
        {1, 6, 1, {0, -6, 245, 6.5}, {-0.5, -8, 246, 8.5},
         {{{0, 0}, {245, 0}, 1}, {{47.5, 0}, {0, -6}, 1}, {{122.5, 0}, {0, -6}, 1}, {{197.5, 0}, {0, -6}, 1}}},
        {0, 6, 2, {0, -6, 245, 6}, {-0.5, -8, 246, 8},
         {{{47.5, 0}, {0, -6}, 2}, {{122.5, 0}, {0, -6}, 2}, {{197.5, 0}, {0, -6}, 2}}},
        {2, 0, 1, {0, 0, 245, 1}, {-0.5, -2, 246, 3}, {{{0, 0}, {245, 0}, 2}}},
        {1, 6, 0, {0, -6, 245, 6.5}, {-0.5, -8, 246, 8.5}, {{{0, 0}, {245, 0}, 1}}},
        {0, 0, 1, {0, 0, 245, 0}, {-0.5, -2, 246, 2}, {}},
    };
    for (const auto& c : cases) {
        const AxisLayout a = xAxis(245, xs, c.aw, c.tl, c.tw);
        EXPECT_EQ(a.extent, c.extent);
        EXPECT_EQ(a.frame, c.frame);
        EXPECT_EQ(a.lines, c.lines);
    }
}

TEST(FrameGeometry, YAxisTicksAtTheirValues)
{
    const struct {
        double h, aw, tl, tw, min, max;
        bool log;
        QVector<double> values;
        QVector<double> tickYs;   // in order; the axis line comes first when aw > 0
        bool axisLine;
    } cases[] = {
        {200, 1, 6, 1, 0, 100, false, {0, 50, 100}, {0, 100, 200}, true},
        {300, 1, 6, 1, 1, 1000, true, {1, 10, 100, 1000}, {0, 100, 200, 300}, true},
        {200, 1, 6, 1, 0, 100, false, {150}, {300}, true},
        {200, 1, 6, 1, 0, 100, false, {}, {}, true},
        {200, 0, 6, 1, 0, 100, false, {50, 50}, {100, 100}, false},
        {200, 1, 0, 1, 0, 100, false, {50}, {}, true},
        // No finite place: the tick is left out, the axis line stays.
        {200, 1, 6, 1, 0, 100, true, {1, 10}, {}, true},
        {200, 1, 6, 1, -5, 100, true, {1, 10}, {}, true},
        {200, 1, 6, 1, 1, 100, true, {-1, 0, 10}, {100}, true},
        {200, 1, 6, 1, 5, 5, false, {5, 6}, {}, true},
        {200, 1, 6, 1, 5, 5, true, {5}, {}, true},
    };
    for (const auto& c : cases) {
        const AxisLayout a = yAxis(c.h, c.aw, c.tl, c.tw, c.values, c.min, c.max, c.log);
        QVector<Line> expected;
        if (c.axisLine)
            expected.append({{0, 0}, {0, c.h}, c.aw});
        for (double y : c.tickYs)
            expected.append({{0, y}, {-c.tl, 0}, c.tw});
        ASSERT_EQ(a.lines.size(), expected.size()) << c.min << " " << c.max << " " << c.log;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(finite(a.lines[i]));
            EXPECT_NEAR(a.lines[i].start.y, expected[i].start.y, 1e-9);
            EXPECT_EQ(a.lines[i].offset, expected[i].offset);
            EXPECT_EQ(a.lines[i].width, expected[i].width);
        }
    }
    const AxisLayout a = yAxis(200, 1, 6, 1, {}, 0, 100, false);
    EXPECT_EQ(a.extent, Rect(-6, -0.5, 6.5, 201));
    EXPECT_EQ(a.frame, Rect(-8, -0.5, 8.5, 201));
}

TEST(FrameGeometry, ScaleTextFramesBesideTheirTicks)
{
    const struct {
        double v, min, max;
        bool log;
        double height;
        Size size;
        double distance;
        std::optional<Rect> frame;
    } cases[] = {
        {50, 0, 100, false, 200, {20, 17}, 10, Rect(-30, 91.5, 20, 17)},
        {100, 1, 1000, true, 300, {24, 17}, 10, Rect(-34, 191.5, 24, 17)},
        {0, 0, 100, false, 200, {10, 17}, 10, Rect(-20, -8.5, 10, 17)},
        {100, 0, 100, false, 200, {30, 17}, 0, Rect(-30, 191.5, 30, 17)},
        {150, 0, 100, false, 200, {30, 17}, 0, Rect(-30, 291.5, 30, 17)},
        {10, 0, 100, true, 200, {20, 17}, 10, std::nullopt},
        {-1, 1, 100, true, 200, {20, 17}, 10, std::nullopt},
        {5, 5, 5, false, 200, {20, 17}, 10, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto f = scaleTextFrame(c.v, c.min, c.max, c.log, c.height, c.size, c.distance);
        ASSERT_EQ(f.has_value(), c.frame.has_value()) << c.v;
        if (f)
            expectRectNear(*f, *c.frame);
    }
}

TEST(FrameGeometry, CategoryRowsUnderTheAxis)
{
    const QVector<double> xs{37.5, 112.5, 187.5, 262.5, 337.5, 412.5};
    const RowLevel outer{4, 2, {{20, 17}, {22, 17}}};
    const RowLevel inner{4, 3, {{10, 17}, {12, 15}, {14, 17}}};
    const RowPlacement p = categoryRows(xs, 6, {outer, inner});
    EXPECT_EQ(p.bottoms, (QVector<double>{-48, -27}));
    EXPECT_EQ(p.frames[0][0], (QVector<Rect>{{102.5, -48, 20, 17}}));
    EXPECT_EQ(p.frames[0][1], (QVector<Rect>{{326.5, -48, 22, 17}}));
    EXPECT_EQ(p.frames[1][0], (QVector<Rect>{{32.5, -27, 10, 17}, {257.5, -27, 10, 17}}));
    EXPECT_EQ(p.frames[1][1], (QVector<Rect>{{106.5, -27, 12, 15}, {331.5, -27, 12, 15}}));
    EXPECT_EQ(p.extent, Rect(32.5, -48, 387, 38));

    // A text of zero size is not placed and leaves its neighbours and the next row alone; an
    // empty row still takes its gap.
    const RowPlacement z = categoryRows(xs, 6, {{4, 2, {}}, {4, 3, {{10, 17}, {0, 0}, {14, 17}}}});
    EXPECT_TRUE(z.frames[1][1].isEmpty());
    EXPECT_EQ(z.frames[1][2].size(), 2);
    EXPECT_EQ(z.bottoms, (QVector<double>{-31, -27}));

    // Positions beyond the last whole group are not used.
    const RowPlacement g = categoryRows({10, 20, 30, 40, 50}, 0, {{0, 1, {{2, 2}}}, {0, 2, {{2, 2}, {2, 2}}}});
    EXPECT_EQ(g.frames[1][0].size(), 2);
    EXPECT_EQ(g.frames[0][0], (QVector<Rect>{{14, -4, 2, 2}, {34, -4, 2, 2}}));

    EXPECT_EQ(categoryRows(xs, 6, {}).extent, Rect());
}

TEST(FrameGeometry, CategoryWithoutRepresentsPlacesNothingBelowIt)
{
    // The inner level lost its represents: nothing to centre on, and the outer row has no
    // places either.
    const RowPlacement p = categoryRows({37.5, 112.5}, 6, {{4, 2, {{20, 17}, {20, 17}}}, {4, 0, {}}});
    EXPECT_TRUE(p.frames[1].isEmpty());
    EXPECT_TRUE(p.frames[0][0].isEmpty());
    EXPECT_TRUE(p.frames[0][1].isEmpty());
    EXPECT_EQ(p.extent, Rect());
}

TEST(FrameGeometry, NameTagsInColumnOrder)
{
    EXPECT_EQ(nameTags({{"male", "female"}, {"young", "middle", "old"}}),
              (QStringList{"male\tyoung", "male\tmiddle", "male\told", "female\tyoung", "female\tmiddle", "female\told"}));
    EXPECT_EQ(nameTags({{"a", "b", "c"}}), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(nameTags({{"a", "b"}, {}}), QStringList());
    EXPECT_EQ(nameTags({{"a", "b"}, {"m"}, {"x", "y", "z"}}).size(), 6);
    EXPECT_EQ(nameTags({{"a", "b"}, {"m"}, {"x", "y", "z"}})[4], "b\tm\ty");
    EXPECT_EQ(nameTags({{""}, {"x"}}), QStringList{"\tx"});
    EXPECT_EQ(nameTags({}), QStringList());
    EXPECT_EQ(repetitions({2, 3, 4}), (QVector<qsizetype>{1, 2, 6}));
}

TEST(FrameGeometry, TitleTurnedLeftOfTheScale)
{
    const double left = -30, gap = 4, height = 200;
    const Size size{50, 20};
    const struct {
        double degrees;
        Rect text, required;
    } cases[] = {
        {90, {-34, 75, 50, 20}, {-54, 75, 20, 50}},
        {0, {-84, 90, 50, 20}, {-84, 90, 50, 20}},
        {-90, {-54, 125, 50, 20}, {-54, 75, 20, 50}},
        {270, {-54, 125, 50, 20}, {-54, 75, 20, 50}},
    };
    for (const auto& c : cases) {
        const TitlePlacement t = yTitle(size, c.degrees, left, gap, height);
        expectRectNear(t.textRect, c.text);
        expectRectNear(t.requiredRect, c.required);
    }
    // Any angle: the rotated box ends the gap left of the edge.
    const TitlePlacement t = yTitle(size, 45, left, gap, height);
    EXPECT_DOUBLE_EQ(t.requiredRect.maxX(), left - gap);
    EXPECT_NEAR(t.requiredRect.midY(), height / 2, 1e-9);

    EXPECT_EQ(titleLeftEdge({}, 6), -6);
    EXPECT_EQ(titleLeftEdge({{-30, 0, 20, 17}, {-50, 0, 0, 17}, {-34, 10, 24, 17}}, 6), -34);
    EXPECT_EQ(titleLeftEdge({{-30, 0, 0, 17}}, 6), 0);
}

TEST(DotShapes, OutlinesOfTheSixTypes)
{
    // s = 6, w = 1, corners to four decimals.
    const struct {
        qint64 type;
        Rect rect;
        QVector<Point> corners;
    } cases[] = {
        {1, {-3, -3, 6, 6}, {{-2.5, -2.5}, {2.5, -2.5}, {2.5, 2.5}, {-2.5, 2.5}}},
        {2, {-3, -3, 6, 6}, {{0, -2.2929}, {2.2929, 0}, {0, 2.2929}, {-2.2929, 0}}},
        {3, {-3, -3.4641, 6, 6.9282}, {{0, 2.4641}, {-2.1340, -1.2321}, {2.1340, -1.2321}}},
        {4, {-3, -3.4641, 6, 6.9282}, {{0, -2.4641}, {2.1340, 1.2321}, {-2.1340, 1.2321}}},
        {5, {-3, -3.1544, 6, 6.3088},
         {{0, 1.5364}, {-0.3449, 0.4748}, {-1.4612, 0.4748}, {-0.5581, -0.1813}, {-0.9030, -1.2429}, {0, -0.5868},
          {0.9030, -1.2429}, {0.5581, -0.1813}, {1.4612, 0.4748}, {0.3449, 0.4748}}},
    };
    for (const auto& c : cases) {
        const DotShape d = DotShape::make(c.type, 6, 1);
        EXPECT_EQ(d.kind, DotShape::Polygon);
        EXPECT_EQ(d.lineWidth, 1);
        expectRectNear(d.rect, c.rect, 1e-4);
        ASSERT_EQ(d.corners.size(), c.corners.size()) << c.type;
        for (qsizetype i = 0; i < c.corners.size(); ++i) {
            EXPECT_NEAR(d.corners[i].x, c.corners[i].x, 1e-4) << c.type << " " << i;
            EXPECT_NEAR(d.corners[i].y, c.corners[i].y, 1e-4) << c.type << " " << i;
        }
    }
    const DotShape circle = DotShape::make(0, 6, 1);
    EXPECT_EQ(circle.kind, DotShape::Oval);
    EXPECT_EQ(circle.oval, Rect(-2.5, -2.5, 5, 5));
    EXPECT_EQ(circle.rect, Rect(-3, -3, 6, 6));
    for (qint64 type : {6, 100, -1}) {
        const DotShape none = DotShape::make(type, 6, 2);
        EXPECT_EQ(none.kind, DotShape::None);
        EXPECT_EQ(none.rect, Rect());
        EXPECT_EQ(none.lineWidth, 2);
    }
    // Without a stroke the outline is the nominal shape itself.
    EXPECT_EQ(DotShape::make(0, 6, 0).oval, Rect(-3, -3, 6, 6));
    EXPECT_NEAR(DotShape::make(3, 6, 0).corners[0].y, 6 * std::sqrt(3.0) / 3, 1e-12);
    EXPECT_NEAR(DotShape::make(2, 6, 0).corners[1].x, 3, 1e-12);
}
