// The dot plot laid out by the generator over several series and groups: one dot view per
// value in its own column, every dot inside its container, passes that create nothing and
// move nothing, switches that come back to where they started, the bars, the range alert;
// and rendered offscreen at four pixels a point, where the ink of dots and bars lands.
#include "PlotLayoutFixture.h"
#include "platform/Dialogs.h"
#include "views/MyStorageItem.h"
#include <gtest/gtest.h>
#include <cmath>
#include <random>

namespace {
const QList<QStringList> kLevels = {{"g1", "g2", "g3"}, {"s1", "s2", "s3"}};
const QString kRangeAlert = "Some objects (dots or bars) are outside the rectangle of the graph.";
// Archived when used: the archiver needs the application's set-up.
QByteArray red() { return KeyedArchive::archiveColor(Color::rgb(1, 0, 0)); }

// Normal values on a grid of halves (ties), 0 to 150 of them; one column is empty.
std::vector<double> randomValues(const QString& tag)
{
    std::mt19937 rng(unsigned(qHash(tag)));
    std::normal_distribution<double> normal(50, 12);
    std::vector<double> v(tag == "g2\ts3" ? 0 : std::uniform_int_distribution<int>(1, 150)(rng));
    for (double& x : v)
        x = std::clamp(std::round(normal(rng) * 2) / 2, 1.0, 99.0);
    return v;
}

QString dotName(int series) { return QString("dot\ts%1").arg(series + 1); }

struct DotPlotStep : ::testing::Test {
    ScopedScriptedDialogs dialogs;
    std::unique_ptr<FrameLayout> g = dotPlot(kLevels, randomValues);
    void SetUp() override
    {
        // Wide columns so that the lanes stay inside.
        g->set({"graphProperties", "graphRect", "columnWidth"}, "150");
        g->layout();
    }
    const MyViewManager& vm() const { return *g->vm; }
    // Every bar shown, centred on the median or the mean of its column.
    void expectBarsOn(bool median) const
    {
        EXPECT_TRUE(vm().viewVisible.value(MyViewManager::kBars));
        for (const MySimpleView* bar : vm().viewsDict.value(MyViewManager::kBars)) {
            const BoxValuesDict d = vm().graphDescriptives.value(bar->superviewName.section('\t', 1));
            EXPECT_NEAR(bar->frame().midY(), (median ? *d.median : *d.mean) * 2, 1e-9) << bar->superviewName;
            EXPECT_EQ(bar->frame(), Rect(-60, bar->frame().origin.y, 120, 4));
            EXPECT_TRUE(bar->isVisible());
        }
    }
};

TEST_F(DotPlotStep, EveryValueOneDotInItsOwnColumn)
{
    QSet<QString> seen;
    for (int s = 0; s < 3; ++s) {
        // Centres by column; the axis 0..100 over 200 points puts a value at twice its height.
        QHash<QString, std::vector<double>> centres;
        for (const MySimpleView* dot : vm().viewsDict.value(dotName(s))) {
            centres[dot->superviewName].push_back(dot->frame().origin.y - dot->boundsOrigin().y);
            const MyView* c = vm().viewDict.value(dot->superviewName);
            EXPECT_TRUE(c && c->bounds().containsRect(dot->frame())) << dot->superviewName;
        }
        for (const QString& group : kLevels[0]) {
            const QString tag = group + "\t" + kLevels[1][s], column = MyViewManager::columnViewName(tag);
            std::vector<double> want, got = centres.take(column);
            for (double v : vm().values.value(tag))
                want.push_back(v * 2);
            std::sort(got.begin(), got.end());
            EXPECT_EQ(got, want) << tag;
            EXPECT_FALSE(seen.contains(column)) << "a column used by two series";
            seen.insert(column);
        }
        EXPECT_TRUE(centres.isEmpty()) << "series " << s << " has dots in another series' column";
    }
    EXPECT_FALSE(vm().hasPendingAlert());
}

TEST_F(DotPlotStep, SwitchesComeBackToTheSameFrames)
{
    const Frames before = framesOf(vm());
    // A second full pass creates and moves nothing.
    g->layoutRow({});
    EXPECT_EQ(framesOf(vm()), before);
    // Shape to glyph and back, for the second series.
    g->change({"dotsProperties", "1", "dotType"}, qint64(6));
    EXPECT_FALSE(vm().viewVisible.value(dotName(1)));
    EXPECT_TRUE(vm().storageItemDict.value(dotName(1))->visible);
    g->change({"dotsProperties", "1", "dotType"}, qint64(1));
    EXPECT_TRUE(vm().viewVisible.value(dotName(1)));
    EXPECT_FALSE(vm().storageItemDict.value(dotName(1))->visible);
    // Linear to logarithmic and back.
    g->setLogarithmic(true);
    g->setLogarithmic(false);
    EXPECT_EQ(framesOf(vm()).of(before), before);
}

TEST_F(DotPlotStep, AppearanceChangesKeepEveryCentre)
{
    // A colour moves nothing; another shape with another box moves each dot by the change
    // of the box, so that its centre stays.
    const Frames before = framesOf(vm());
    g->change({"dotsProperties", "0", "fillColor"}, red());
    EXPECT_EQ(framesOf(vm()), before);
    EXPECT_EQ(vm().viewColors.value(dotName(0)).fillColor, QColor(Qt::red));
    g->change({"dotsProperties", "0", "dotType"}, qint64(3));
    const Rect box = vm().dotSizeOrigins.value(dotName(0));
    ASSERT_NE(box.size, before.frames.value(vm().viewsDict.value(dotName(0)).first()).size);
    for (const MySimpleView* dot : vm().viewsDict.value(dotName(0))) {
        const Rect old = before.frames.value(dot);
        const Point o = before.origins.value(dot);
        EXPECT_EQ(dot->frame().origin.x - dot->boundsOrigin().x, old.origin.x - o.x);
        EXPECT_EQ(dot->frame().origin.y - dot->boundsOrigin().y, old.origin.y - o.y);
        EXPECT_EQ(dot->frame().size, box.size);
    }
}

TEST_F(DotPlotStep, BarsHiddenByOneRuleWithoutMoving)
{
    // Mean bars, then median bars, on every column with values, centred on the statistic.
    const QVector<MySimpleView*> bars = vm().viewsDict.value(MyViewManager::kBars);
    EXPECT_EQ(bars.size(), 8);
    expectBarsOn(false);
    // Bars show only with a type, a length and a width; whatever hides them also takes
    // them out of the columns' extent, and a negative type is a median bar in both.
    for (const auto& [key, off, on] : {std::tuple<QString, QVariant, QVariant>{"barType", qint64(0), qint64(2)},
                                       {"barLength", "0", "0.8"}, {"lineWidth", "0", "4"}}) {
        const Frames shown = framesOf(vm());
        g->change({"graphProperties", "bars", key}, off);
        EXPECT_FALSE(vm().viewVisible.value(MyViewManager::kBars)) << key;
        for (const MySimpleView* bar : bars)
            EXPECT_EQ(bar->frame(), shown.frames.value(bar)) << key;
        // Bars 1.5 columns long would reach outside the graph; hidden, they do not count.
        if (key != "barLength") {
            g->change({"graphProperties", "bars", "barLength"}, "1.5");
            g->change({"graphProperties", "bars", "barLength"}, "0.8");
        }
        g->change({"graphProperties", "bars", key}, on);
        EXPECT_TRUE(vm().viewVisible.value(MyViewManager::kBars)) << key;
    }
    expectBarsOn(true);
    EXPECT_FALSE(vm().hasPendingAlert());
    g->change({"graphProperties", "bars", "barType"}, qint64(-1));
    expectBarsOn(true);
    g->change({"graphProperties", "bars", "barLength"}, "1.5");
    EXPECT_EQ(g->vm->takePendingAlert(), kRangeAlert);
}

TEST(DotPlotRange, OneAlertPerPassForAllColumnsOutside)
{
    ScopedScriptedDialogs dialogs;
    // 30 columns, every one with a value above the axis.
    auto g = dotPlot({QString("c0 c1 c2 c3 c4 c5 c6 c7 c8 c9 d0 d1 d2 d3 d4 d5 d6 d7 d8 d9 e0 e1 e2 e3 e4 e5 e6 e7 e8 e9").split(' ')},
                     [](const QString&) { return std::vector<double>{50, 120}; });
    // Noted for the windows to show, never shown inside the pass.
    g->layout();
    EXPECT_EQ(g->vm->takePendingAlert(), kRangeAlert);
    g->layoutRow({});
    EXPECT_EQ(g->vm->takePendingAlert(), kRangeAlert);
    // A change that places no dots view raises nothing.
    g->change({"dotsProperties", "0", "fillColor"}, red());
    EXPECT_FALSE(g->vm->hasPendingAlert());
    EXPECT_TRUE(dialogs.dialogs.alerts.isEmpty());
}

TEST(DotPlotRange, LevelWithoutValuesDrawsNothing)
{
    ScopedScriptedDialogs dialogs;
    auto g = dotPlot({{"a", "b"}, {}}, [](const QString&) { return std::vector<double>{1, 2}; });
    ASSERT_TRUE(g->settings.value("dotsProperties").toList().isEmpty());
    g->layout();
    EXPECT_TRUE(g->vm->columnRects.isEmpty());
    // The steps reached directly with no series count no groups.
    const Frames views = framesOf(*g->vm);
    g->generator.dotsViewWithSettings(g->settings, 0, g->vm.get());
    g->generator.dotRectWithSettings(g->settings, {}, 0, "dot\ta", 0, 0, -1, g->root.get(), g->vm.get());
    g->generator.boxesViewWithSettings(g->settings, 0, g->vm.get());
    EXPECT_EQ(framesOf(*g->vm), views);
    EXPECT_TRUE(g->vm->columnRects.isEmpty());
}

// Value settings that leave some values without a place on the axis (a logarithmic axis from
// 0, an axis without height, an axis 1e-9 wide, settings of the wrong kind): those dots, shape
// and glyph, are hidden and out of their column's extent, every view stays within the drawing
// range, the page renders and the user is told; a drawable axis brings back the first frames.
TEST(DotPlotRange, DotsWithoutAPlaceAreLeftOutUntilTheAxisHasOne)
{
    ScopedScriptedDialogs dialogs;
    // Series a as shapes, b as glyphs.
    auto g = dotPlot({{"a", "b"}}, [](const QString& tag) {
        return tag == "a" ? std::vector<double>{0, 5, 50} : std::vector<double>{10, 20, 20};
    });
    g->set({"dotsProperties", "1", "dotType"}, qint64(6));
    g->layout();
    const QVariantMap plain = g->settings.value("valueSettings").toMap();
    const Frames first = framesOf(*g->vm);
    auto shown = [&] {
        int n = 0;
        for (const MySimpleView* v : g->vm->viewsDict.value("dot\ta"))
            n += v->isVisible();
        for (const MySimpleTextView* v : g->vm->textViewsDict.value("dot\tb"))
            n += v->isVisible();
        return n;
    };
    ASSERT_EQ(shown(), 6);
    auto with = [&](const QVariantMap& changes) {
        QVariantMap m = plain;
        m.insert(changes);
        return m;
    };
    const QVariantList logLabels{"1", "10", "100"};
    const struct {
        const char* name;
        QVariantMap valueSettings;
        int shown;
    } cases[] = {
        {"logarithmic from 0", with({{"logarithmic", true}}), 0},
        // 0 has no logarithm; 5, 50, 10, 20, 20 are inside.
        {"logarithmic over 0", with({{"min", "1"}, {"logarithmic", true}, {"scaleStrings", logLabels}}), 5},
        {"min equals max", with({{"min", "100"}}), 0},
        {"logarithmic min equals max", with({{"min", "100"}, {"logarithmic", true}}), 0},
        // 200 points for 1e-9: only 0 is within reach.
        {"1e-9 wide", with({{"max", "0.000000001"}, {"partition", qint64(1)}, {"scaleStrings", QVariantList{"0", "0.000000001"}}}), 1},
        {"wrong kinds", with({{"min", QVariantList{}}, {"max", 100.0}, {"logarithmic", "yes"}}), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g->vm->takePendingAlert();
        g->change({"valueSettings"}, c.valueSettings);
        EXPECT_EQ(shown(), c.shown);
        EXPECT_TRUE(allGeometryPlaceable(*g->vm));
        EXPECT_FALSE(g->render().isNull());
        EXPECT_EQ(g->vm->takePendingAlert(), kRangeAlert);
        g->change({"valueSettings"}, plain);
        EXPECT_EQ(shown(), 6);
        EXPECT_EQ(framesOf(*g->vm).of(first), first);
    }
}

TEST(DotPlotBars, FollowTheStatisticsOfTheAxisInUse)
{
    // Column a has a mean on the plain axis only, b on the logarithmic axis only.
    ScopedScriptedDialogs dialogs;
    auto g = dotPlot({{"a", "b"}}, [](const QString&) { return std::vector<double>{10, 10, 100}; });
    for (BoxValuesDict* d : {&g->data.graphLogDescriptives["a"], &g->data.graphDescriptives["b"]})
        d->mean = d->median = std::nullopt;
    g->layout();
    auto barOf = [&](const QString& tag) -> MySimpleView* {
        for (MySimpleView* bar : g->vm->viewsDict.value(MyViewManager::kBars))
            if (bar->superviewName == MyViewManager::columnViewName(tag))
                return bar;
        return nullptr;
    };
    ASSERT_TRUE(barOf("a"));
    EXPECT_FALSE(barOf("b"));
    const Rect plainA = barOf("a")->frame();
    EXPECT_EQ(plainA.midY(), 80);

    g->setLogarithmic(true);
    ASSERT_TRUE(barOf("b"));
    EXPECT_TRUE(barOf("b")->isVisible());
    // Log axis 0..2 over 200 points; the mean of the logs of 10, 10, 100 is 4/3.
    EXPECT_NEAR(barOf("b")->frame().midY(), 400.0 / 3, 1e-9);
    EXPECT_EQ(barOf("b")->frame().size, plainA.size);
    EXPECT_FALSE(barOf("a")->isVisible());

    g->setLogarithmic(false);
    EXPECT_TRUE(barOf("a")->isVisible());
    EXPECT_EQ(barOf("a")->frame(), plainA);
    EXPECT_FALSE(barOf("b")->isVisible());
}

// The red ink of the page, in points: its middle must lie within half a point of (x, y)
// (graph coordinates, y up). Returns its larger side.
double expectRedInkAt(const FrameLayout& g, double x, double y)
{
    const QImage page = g.render();
    const QRect ink = inkOf(page, closeTo(Qt::red));
    EXPECT_FALSE(ink.isEmpty());
    const QPoint origin = g.pixelOf(page, 0, 0);
    const double k = FrameLayout::kScale;
    EXPECT_NEAR((ink.left() + ink.width() / 2.0 - origin.x()) / k, x, 0.5);
    EXPECT_NEAR((origin.y() - (ink.top() + ink.height() / 2.0)) / k, y, 0.5);
    return std::max(ink.width(), ink.height()) / k;
}

// One red dot at `value` without bars; a glyph of `glyphSize` when one is given.
std::unique_ptr<FrameLayout> redDot(double value, const char* glyphSize = nullptr)
{
    auto g = dotPlot({{"a"}}, [=](const QString&) { return std::vector<double>{value}; });
    for (const char* key : {"fillColor", "lineColor"})
        g->set({"dotsProperties", "0", key}, red());
    if (glyphSize) {
        g->set({"dotsProperties", "0", "dotType"}, qint64(6));
        g->set({"dotsProperties", "0", "dotSize"}, glyphSize);
        g->set({"dotsProperties", "0", "dotAttr"},
               KeyedArchive::archiveAttributes(TextAttributes{AppDelegate::systemFont(12), Color::rgb(1, 0, 0)}));
    }
    g->set({"graphProperties", "bars", "barType"}, qint64(0));
    g->layout();
    return g;
}

TEST(PlotRender, DotAtTheAxisMaximumSitsOnTheTopEdge)
{
    ScopedScriptedDialogs dialogs;
    auto g = redDot(100);
    EXPECT_NEAR(expectRedInkAt(*g, g->vm->baseXs[0], 200), 6, 0.5);
}

TEST(PlotRender, GlyphDotInkCentredOnItsValue)
{
    ScopedScriptedDialogs dialogs;
    auto g = redDot(50, "12");
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
    g->set({"graphProperties", "bars", "barColor"}, KeyedArchive::archiveColor(Color::rgb(0, 0, 1)));
    g->layout();
    for (const char* when : {"first layout", "after glyph dots and back"}) {
        // Dots shown again after the bars (a round trip through glyph dots) still go below them.
        if (when[0] == 'a') {
            g->change({"dotsProperties", "0", "dotType"}, qint64(6));
            g->change({"dotsProperties", "0", "dotType"}, qint64(0));
        }
        const QImage page = g->render().convertToFormat(QImage::Format_ARGB32);
        for (int column = 0; column < 2; ++column)
            for (double dx : {0.0, -12.0, 12.0}) {
                const double x = g->vm->baseXs[column] + dx;
                EXPECT_EQ(QColor(page.pixel(g->pixelOf(page, x, 100))), QColor(Qt::blue)) << when << " " << dx;
                // Above the 4-point bar the dot still shows.
                EXPECT_EQ(QColor(page.pixel(g->pixelOf(page, x, 102.5))), QColor(Qt::red)) << when << " " << dx;
            }
    }
}
} // namespace
