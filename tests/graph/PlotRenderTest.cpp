// Dot plots rendered offscreen at four pixels a point: where the ink of dots and bars lands
// on the page, and what lies on top.
#include "PlotLayoutFixture.h"
#include "platform/Dialogs.h"

#include <gtest/gtest.h>

namespace {
// Archived when used: the archiver needs the application's set-up.
QByteArray red() { return KeyedArchive::archiveColor(Color::rgb(1, 0, 0)); }
QByteArray blue() { return KeyedArchive::archiveColor(Color::rgb(0, 0, 1)); }

// The red ink of the page, in points: its middle must lie within half a point of (x, y)
// (graph coordinates, y up). Returns its larger side.
double expectRedInkAt(const FrameLayout& g, double x, double y)
{
    const QImage page = g.render();
    const QRect ink = inkOf(page, Qt::red);
    EXPECT_FALSE(ink.isEmpty());
    const QPoint origin = g.pixelOf(page, 0, 0);
    const double k = FrameLayout::kScale;
    EXPECT_NEAR((ink.left() + ink.width() / 2.0 - origin.x()) / k, x, 0.5);
    EXPECT_NEAR((origin.y() - (ink.top() + ink.height() / 2.0)) / k, y, 0.5);
    return std::max(ink.width(), ink.height()) / k;
}

TEST(PlotRender, DotAtTheAxisMaximumSitsOnTheTopEdge)
{
    ScopedScriptedDialogs dialogs;
    auto g = dotPlot({{"a"}}, [](const QString&) { return std::vector<double>{100}; });
    g->set({"dotsProperties", "0", "fillColor"}, red());
    g->set({"dotsProperties", "0", "lineColor"}, red());
    g->set({"graphProperties", "bars", "barType"}, qint64(0));
    g->layout();
    EXPECT_NEAR(expectRedInkAt(*g, g->vm->baseXs[0], 200), 6, 0.5);
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
    // The glyph's larger side is the dot size.
    EXPECT_NEAR(expectRedInkAt(*g, g->vm->baseXs[0], 100), 12, 1);
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
