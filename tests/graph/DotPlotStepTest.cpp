// The dot plot laid out by the generator over several series and groups: one dot view per
// value in its own column, every dot inside its container, passes that create nothing and
// move nothing, switches that come back to where they started, the bars, the range alert.
#include "PlotLayoutFixture.h"
#include "platform/Dialogs.h"
#include "views/MyStorageItem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {
const QList<QStringList> kLevels = {{"g1", "g2", "g3"}, {"s1", "s2", "s3"}};
const QString kRangeAlert = "Some objects (dots or bars) are outside the rectangle of the graph.";

// Normal values on a grid of halves (ties), 0 to 150 of them; one column is empty.
std::vector<double> randomValues(const QString& tag)
{
    if (tag == "g2\ts3")
        return {};
    std::mt19937 rng(unsigned(qHash(tag)));
    std::normal_distribution<double> normal(50, 12);
    std::vector<double> v(std::uniform_int_distribution<int>(1, 150)(rng));
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
            ASSERT_TRUE(c);
            EXPECT_TRUE(c->bounds().containsRect(dot->frame())) << dot->superviewName.toStdString();
        }
        for (int group = 0; group < 3; ++group) {
            const QString tag = kLevels[0][group] + "\t" + kLevels[1][s];
            const QString column = MyViewManager::columnViewName(tag);
            std::vector<double> want, got = centres.take(column);
            for (double v : vm().values.value(tag))
                want.push_back(v * 2);
            std::sort(got.begin(), got.end());
            EXPECT_EQ(got, want) << tag.toStdString();
            EXPECT_FALSE(seen.contains(column)) << "a column used by two series";
            seen.insert(column);
        }
        EXPECT_TRUE(centres.isEmpty()) << "series " << s << " has dots in another series' column";
    }
    EXPECT_TRUE(dialogs.dialogs.alerts.isEmpty());
}

TEST_F(DotPlotStep, SecondFullPassCreatesAndMovesNothing)
{
    const Frames before = framesOf(vm());
    g->layoutRow({});
    EXPECT_EQ(framesOf(vm()), before);
}

TEST_F(DotPlotStep, SwitchesComeBackToTheSameFrames)
{
    const Frames before = framesOf(vm());
    // Shape to glyph and back, for the second series.
    g->change({"dotsProperties", "1", "dotType"}, qint64(6));
    EXPECT_FALSE(vm().viewVisible.value(dotName(1)));
    EXPECT_TRUE(vm().storageItemDict.value(dotName(1))->visible);
    g->change({"dotsProperties", "1", "dotType"}, qint64(1));
    EXPECT_TRUE(vm().viewVisible.value(dotName(1)));
    EXPECT_FALSE(vm().storageItemDict.value(dotName(1))->visible);
    // Linear to logarithmic and back.
    g->change({"valueSettings", "min"}, "1");
    g->change({"valueSettings", "logarithmic"}, true);
    g->change({"valueSettings", "logarithmic"}, false);
    g->change({"valueSettings", "min"}, "0");
    const Frames after = framesOf(vm());
    for (auto it = before.frames.cbegin(); it != before.frames.cend(); ++it) {
        EXPECT_EQ(after.frames.value(it.key()), it.value());
        EXPECT_EQ(after.origins.value(it.key()), before.origins.value(it.key()));
    }
}

TEST_F(DotPlotStep, AppearanceChangesKeepEveryCentre)
{
    // A colour moves nothing; another shape with another box moves each dot by the change
    // of the box, so that its centre stays.
    const Frames before = framesOf(vm());
    g->change({"dotsProperties", "0", "fillColor"}, KeyedArchive::archiveColor(Color::rgb(1, 0, 0)));
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

TEST_F(DotPlotStep, BarsCentredOnTheStatistic)
{
    for (const bool median : {false, true}) {
        if (median)
            g->change({"graphProperties", "bars", "barType"}, qint64(2));
        const QVector<MySimpleView*> bars = vm().viewsDict.value(MyViewManager::kBars);
        EXPECT_EQ(bars.size(), 8);   // every column with values
        for (const MySimpleView* bar : bars) {
            const QString tag = bar->superviewName.section('\t', 1);
            const BoxValuesDict d = vm().graphDescriptives.value(tag);
            const double statistic = median ? *d.median : *d.mean;
            EXPECT_NEAR(bar->frame().midY(), statistic * 2, 1e-9) << tag.toStdString();
            EXPECT_EQ(bar->frame(), Rect(-60, bar->frame().origin.y, 120, 4));
            EXPECT_TRUE(bar->isVisible());
        }
    }
}

TEST_F(DotPlotStep, BarsHiddenByOneRuleWithoutMoving)
{
    // Bars show only with a type, a length and a width; whatever hides them also takes
    // them out of the columns' extent, and a negative type is a median bar in both.
    const Frames shown = framesOf(vm());
    const QVector<MySimpleView*> bars = vm().viewsDict.value(MyViewManager::kBars);
    struct Row {
        const char* key;
        QVariant off, on;
    };
    for (const Row& r : {Row{"barType", qint64(0), qint64(1)}, Row{"barLength", "0", "0.8"}, Row{"lineWidth", "0", "4"}}) {
        g->change({"graphProperties", "bars", r.key}, r.off);
        EXPECT_FALSE(vm().viewVisible.value(MyViewManager::kBars)) << r.key;
        for (const MySimpleView* bar : bars)
            EXPECT_EQ(bar->frame(), shown.frames.value(bar)) << r.key;
        // Bars 1.5 columns long would reach outside the graph; hidden, they do not count.
        if (r.key != QString("barLength")) {
            g->change({"graphProperties", "bars", "barLength"}, "1.5");
            g->change({"graphProperties", "bars", "barLength"}, "0.8");
        }
        g->change({"graphProperties", "bars", r.key}, r.on);
        EXPECT_TRUE(vm().viewVisible.value(MyViewManager::kBars)) << r.key;
    }
    EXPECT_TRUE(dialogs.dialogs.alerts.isEmpty());
    g->change({"graphProperties", "bars", "barType"}, qint64(-1));
    EXPECT_TRUE(vm().viewVisible.value(MyViewManager::kBars));
    for (const MySimpleView* bar : bars)
        EXPECT_NEAR(bar->frame().midY(), *vm().graphDescriptives.value(bar->superviewName.section('\t', 1)).median * 2,
                    1e-9);
    g->change({"graphProperties", "bars", "barLength"}, "1.5");
    EXPECT_EQ(dialogs.dialogs.alerts, QStringList{kRangeAlert});
}

TEST(DotPlotRange, OneAlertPerPassForAllColumnsOutside)
{
    ScopedScriptedDialogs dialogs;
    // 30 columns, every one with a value above the axis.
    auto g = dotPlot({QString("c0 c1 c2 c3 c4 c5 c6 c7 c8 c9 d0 d1 d2 d3 d4 d5 d6 d7 d8 d9 e0 e1 e2 e3 e4 e5 e6 e7 e8 e9").split(' ')}, [](const QString&) { return std::vector<double>{50, 120}; });
    g->layout();
    EXPECT_EQ(dialogs.dialogs.alerts, QStringList{kRangeAlert});
    g->layoutRow({});
    EXPECT_EQ(dialogs.dialogs.alerts, (QStringList{kRangeAlert, kRangeAlert}));
    // A change that places no dots view raises nothing.
    g->change({"dotsProperties", "0", "fillColor"}, KeyedArchive::archiveColor(Color::rgb(1, 0, 0)));
    EXPECT_EQ(dialogs.dialogs.alerts.size(), 2);
}

TEST(DotPlotRange, LevelWithoutValuesDrawsNothing)
{
    ScopedScriptedDialogs dialogs;
    auto g = dotPlot({{"a", "b"}, {}}, [](const QString&) { return std::vector<double>{1, 2}; });
    ASSERT_TRUE(g->settings.value("dotsProperties").toList().isEmpty());
    g->layout();
    EXPECT_TRUE(g->vm->columnRects.isEmpty());
    // The steps reached directly with no series count no groups.
    const qsizetype views = viewCount(*g->vm);
    g->generator.dotsViewWithSettings(g->settings, 0, g->vm.get());
    g->generator.dotRectWithSettings(g->settings, {}, 0, "dot\ta", 0, 0, -1, g->root.get(), g->vm.get());
    g->generator.boxesViewWithSettings(g->settings, 0, g->vm.get());
    EXPECT_EQ(viewCount(*g->vm), views);
    EXPECT_TRUE(g->vm->columnRects.isEmpty());
}

TEST(DotPlotBars, FollowTheStatisticsOfTheAxisInUse)
{
    // Column a has a mean on the plain axis only, b on the logarithmic axis only.
    ScopedScriptedDialogs dialogs;
    auto g = dotPlot({{"a", "b"}}, [](const QString&) { return std::vector<double>{10, 10, 100}; });
    BoxValuesDict none;
    none.scatter = true;
    g->data.graphLogDescriptives["a"] = none;
    g->data.graphDescriptives["b"] = none;
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

    g->change({"valueSettings", "min"}, "1");
    g->change({"valueSettings", "logarithmic"}, true);
    ASSERT_TRUE(barOf("b"));
    EXPECT_TRUE(barOf("b")->isVisible());
    // Log axis 0..2 over 200 points; the mean of the logs of 10, 10, 100 is 4/3.
    EXPECT_NEAR(barOf("b")->frame().midY(), 400.0 / 3, 1e-9);
    EXPECT_EQ(barOf("b")->frame().size, plainA.size);
    EXPECT_FALSE(barOf("a")->isVisible());

    g->change({"valueSettings", "logarithmic"}, false);
    g->change({"valueSettings", "min"}, "0");
    EXPECT_TRUE(barOf("a")->isVisible());
    EXPECT_EQ(barOf("a")->frame(), plainA);
    EXPECT_FALSE(barOf("b")->isVisible());
}
}
