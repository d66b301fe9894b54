// Dot plots rendered offscreen at four pixels a point: where the ink of dots and bars lands
// on the page, and what lies on top.
#include "PlotLayoutFixture.h"
#include "platform/Dialogs.h"

#include <gtest/gtest.h>

namespace {
// Archived when used: the archiver needs the application's set-up.
QByteArray red() { return KeyedArchive::archiveColor(Color::rgb(1, 0, 0)); }
QByteArray blue() { return KeyedArchive::archiveColor(Color::rgb(0, 0, 1)); }

// The middle of an ink box in graph coordinates (points, y up).
QPointF inkCentre(const FrameLayout& g, const QImage& page, const QRect& ink)
{
    const QPoint origin = g.pixelOf(page, 0, 0);
    const double k = FrameLayout::kScale;
    return {(ink.left() + ink.width() / 2.0 - origin.x()) / k, (origin.y() - (ink.top() + ink.height() / 2.0)) / k};
}

TEST(PlotRender, DotAtTheAxisMaximumSitsOnTheTopEdge)
{
    ScopedScriptedDialogs dialogs;
    auto g = dotPlot({{"a"}}, [](const QString&) { return std::vector<double>{100}; });
    g->set({"dotsProperties", "0", "fillColor"}, red());
    g->set({"dotsProperties", "0", "lineColor"}, red());
    g->set({"graphProperties", "bars", "barType"}, qint64(0));
    g->layout();
    const QImage page = g->render();
    const QRect ink = inkOf(page, Qt::red);
    ASSERT_FALSE(ink.isEmpty());
    const QPointF c = inkCentre(*g, page, ink);
    EXPECT_NEAR(c.x(), g->vm->baseXs[0], 0.5);
    EXPECT_NEAR(c.y(), 200, 0.5);
    EXPECT_NEAR(ink.height() / FrameLayout::kScale, 6, 0.5);
}

TEST(PlotRender, GlyphDotInkCentredOnItsValue)
{
    ScopedScriptedDialogs dialogs;
    auto g = dotPlot({{"a"}}, [](const QString&) { return std::vector<double>{50}; });
    g->set({"dotsProperties", "0", "dotType"}, qint64(6));
    g->set({"dotsProperties", "0", "dotSize"}, "12");
    g->set({"dotsProperties", "0", "dotAttr"},
           KeyedArchive::archiveAttributes(TextAttributes{AppDelegate::systemFont(12), Color::rgb(1, 0, 0)}));
    g->set({"graphProperties", "bars", "barType"}, qint64(0));
    g->layout();
    const QImage page = g->render();
    const QRect ink = inkOf(page, Qt::red);
    ASSERT_FALSE(ink.isEmpty());
    const QPointF c = inkCentre(*g, page, ink);
    EXPECT_NEAR(c.x(), g->vm->baseXs[0], 0.5);
    EXPECT_NEAR(c.y(), 100, 0.5);
    // The glyph's larger side is the dot size.
    EXPECT_NEAR(std::max(ink.width(), ink.height()) / FrameLayout::kScale, 12, 1);
}

TEST(PlotRender, BarsLieOnTopOfTheDots)
{
    ScopedScriptedDialogs dialogs;
    // Nine equal values: dots across the middle of the column, the mean bar through them.
    auto g = dotPlot({{"a", "b"}}, [](const QString&) { return std::vector<double>(9, 50); });
    for (const char* series : {"0", "1"}) {
        g->set({"dotsProperties", series, "dotType"}, qint64(0));
        g->set({"dotsProperties", series, "fillColor"}, red());
        g->set({"dotsProperties", series, "lineColor"}, red());
    }
    g->set({"graphProperties", "bars", "barColor"}, blue());
    g->layout();
    auto check = [&](const char* when) {
        const QImage page = g->render().convertToFormat(QImage::Format_ARGB32);
        for (int column = 0; column < 2; ++column) {
            const double x = g->vm->baseXs[column];
            for (double dx : {0.0, -12.0, 12.0}) {
                EXPECT_EQ(QColor(page.pixel(g->pixelOf(page, x + dx, 100))), QColor(Qt::blue)) << when << " " << dx;
                // Above the 4-point bar the dot still shows.
                EXPECT_EQ(QColor(page.pixel(g->pixelOf(page, x + dx, 102.5))), QColor(Qt::red)) << when << " " << dx;
            }
        }
    };
    check("first layout");
    // Dots shown again after the bars (a round trip through glyph dots) still go below them.
    g->change({"dotsProperties", "0", "dotType"}, qint64(6));
    g->change({"dotsProperties", "0", "dotType"}, qint64(0));
    check("after glyph dots and back");
}
}
