// The boxplot laid out by the generator: every element of a box where its statistics put it
// (worked by hand: axis 0..100 over 200 points, box 37.5 wide), outliers once each on the
// centre line, a box without values, and the switch to a logarithmic axis and back with
// boxes that are empty in one of the two tables.
#include "PlotLayoutFixture.h"
#include "platform/Dialogs.h"
#include "views/MyStorageItem.h"
#include <gtest/gtest.h>

namespace {
const QList<QStringList> kLevels = {{"g1", "g2"}, {"s1", "s2"}};

BoxStats plainStats(const QString& tag)
{
    if (tag == "g2\ts2")
        return {};
    return {30, 20, 40, 5, 70, tag == "g1\ts1" ? std::vector<double>{80, 90, 90} : std::vector<double>{}};
}

// On the logarithmic axis g1/s2 has no values and g2/s2 has.
BoxStats logStats(const QString& tag)
{
    if (tag == "g1\ts2")
        return {};
    if (tag == "g2\ts2")
        return {1.25, 1.125, 1.375, 1.0, 1.5, {}};
    return {1.5, 1.25, 1.75, 1.0, 1.875, {1.9375}};
}

struct BoxPlotStep : ::testing::Test {
    ScopedScriptedDialogs dialogs;
    std::unique_ptr<FrameLayout> g = boxPlot(kLevels, plainStats, logStats);
    void SetUp() override { g->layout(); }
    const MyViewManager& vm() const { return *g->vm; }
    const MySimpleView* element(const QString& name) const { return vm().viewsDict.value(name).value(0, nullptr); }
    // Member views of a shared group that sit in the column of tag.
    QVector<const MySimpleView*> inColumn(const QString& group, const QString& tag) const
    {
        QVector<const MySimpleView*> out;
        for (const MySimpleView* v : vm().viewsDict.value(group))
            if (v->superviewName == MyViewManager::columnViewName(tag))
                out << v;
        return out;
    }
    QVector<Rect> framesIn(const QString& group, const QString& tag) const
    {
        QVector<Rect> out;
        for (const MySimpleView* v : inColumn(group, tag))
            out << v->frame();
        return out;
    }
    bool shown(const QString& name) const { return element(name) && vm().viewVisible.value(name) && element(name)->isVisible(); }
};

TEST_F(BoxPlotStep, ElementsWhereTheStatisticsPutThem)
{
    const QString tag = "g1\ts1";
    // Box q1..q3 (40..80) grown by half its line of 1; whiskers 10..40 and 80..140.
    EXPECT_EQ(element("box\ts1\n" + tag)->frame(), Rect(-19.25, 39.5, 38.5, 41));
    EXPECT_EQ(element("whisker\ts1\nlower\n" + tag)->frame(), Rect(-0.5, 10, 1, 30));
    EXPECT_EQ(element("whisker\ts1\nupper\n" + tag)->frame(), Rect(-0.5, 80, 1, 60));
    // Marks 8 by 1, centred on the whisker ends.
    ASSERT_EQ(framesIn("minMax\ts1", tag), (QVector<Rect>{{-4, 9.5, 8, 1}, {-4, 139.5, 8, 1}}));
    EXPECT_EQ(inColumn("minMax\ts1", tag)[0]->boundsOrigin(), (Point{-4, -0.5}));
    // Median line 4 thick at 60.
    EXPECT_EQ(framesIn(MyViewManager::kMedian, tag), QVector<Rect>{Rect(-18.75, 58, 37.5, 4)});
    // Outliers 80, 90, 90 once each on the centre line, 6-point circles.
    std::vector<double> centres;
    for (const MySimpleView* dot : inColumn("dot\ts1", tag)) {
        EXPECT_EQ(dot->frame().midX(), 0);
        centres.push_back(dot->frame().midY());
    }
    std::sort(centres.begin(), centres.end());
    EXPECT_EQ(centres, (std::vector<double>{160, 180, 180}));
    EXPECT_TRUE(inColumn("dot\ts1", "g2\ts1").isEmpty());
    // The container covers it all, centred on the column.
    const Rect column(-19.25, 9.5, 38.5, 183 - 9.5);
    EXPECT_EQ(vm().columnRects.value(tag), column);
    EXPECT_EQ(containerOf(vm(), tag)->frame(), column.offsetBy(vm().baseXs[0], 0));
    EXPECT_EQ(containerOf(vm(), tag)->boundsOrigin(), column.origin);
}

TEST_F(BoxPlotStep, BoxWithoutValuesHasTheZeroRectangle)
{
    EXPECT_EQ(vm().columnRects.value("g2\ts2"), Rect());
    EXPECT_EQ(containerOf(vm(), "g2\ts2")->frame(), Rect(vm().baseXs[3], 0, 0, 0));
    EXPECT_FALSE(vm().viewsDict.contains("box\ts2\ng2\ts2"));
    EXPECT_TRUE(inColumn("minMax\ts2", "g2\ts2").isEmpty());
    EXPECT_TRUE(inColumn(MyViewManager::kMedian, "g2\ts2").isEmpty());
}

TEST_F(BoxPlotStep, AxisSwitchWithBoxesEmptyInOneTable)
{
    const Frames plain = framesOf(vm());
    // A second full pass creates and moves nothing.
    g->layoutRow({});
    EXPECT_EQ(framesOf(vm()), plain);
    g->setLogarithmic(true);
    // Log axis 0..2 over 200 points. The box empty on the plain axis gets its views now.
    EXPECT_TRUE(shown("box\ts2\ng2\ts2"));
    EXPECT_EQ(element("box\ts2\ng2\ts2")->frame(), Rect(-19.25, 112, 38.5, 26));
    // Its marks join the series' marks already shown.
    ASSERT_EQ(inColumn("minMax\ts2", "g2\ts2").size(), 2);
    for (const MySimpleView* mark : inColumn("minMax\ts2", "g2\ts2"))
        EXPECT_EQ(mark->superview(), containerOf(vm(), "g2\ts2"));
    EXPECT_EQ(element("box\ts2\ng2\ts2")->superview(), containerOf(vm(), "g2\ts2"));
    ASSERT_EQ(framesIn(MyViewManager::kMedian, "g2\ts2").size(), 1);
    EXPECT_EQ(framesIn(MyViewManager::kMedian, "g2\ts2")[0].midY(), 125);
    // The box empty on the log axis leaves no element behind at its plain place.
    for (const char* name : {"box\ts2\ng1\ts2", "whisker\ts2\nlower\ng1\ts2", "whisker\ts2\nupper\ng1\ts2"})
        EXPECT_FALSE(shown(name)) << name;
    for (const QString& group : {QString("minMax\ts2"), MyViewManager::kMedian})
        for (const MySimpleView* v : inColumn(group, "g1\ts2"))
            EXPECT_FALSE(v->isVisible()) << group;
    EXPECT_EQ(vm().columnRects.value("g1\ts2"), Rect());
    // Outliers of the other axis kind are hidden, this kind's placed.
    EXPECT_FALSE(vm().viewVisible.value("dot\ts1"));
    EXPECT_TRUE(vm().viewVisible.value("dot\tlogarithmic\ts1"));
    ASSERT_EQ(framesIn("dot\tlogarithmic\ts1", "g1\ts1").size(), 1);
    EXPECT_EQ(framesIn("dot\tlogarithmic\ts1", "g1\ts1")[0].midY(), 193.75);

    g->setLogarithmic(false);
    EXPECT_FALSE(shown("box\ts2\ng2\ts2"));
    for (const MySimpleView* v : inColumn(MyViewManager::kMedian, "g2\ts2"))
        EXPECT_FALSE(v->isVisible());
    EXPECT_TRUE(shown("box\ts2\ng1\ts2"));
    for (const MySimpleView* v : inColumn("minMax\ts2", "g1\ts2"))
        EXPECT_TRUE(v->isVisible());
    // Everything made on the plain axis is back where it was.
    EXPECT_EQ(framesOf(vm()).of(plain), plain);
}

TEST_F(BoxPlotStep, GlyphOutliersAndBackToShapes)
{
    const auto shapes = inColumn("dot\ts1", "g1\ts1");
    g->change({"boxesProperties", "0", "dotType"}, qint64(6));
    EXPECT_FALSE(vm().viewVisible.value("dot\ts1"));
    const std::shared_ptr<MyStorageItem> item = vm().storageItemDict.value("dot\ts1");
    ASSERT_TRUE(item && item->visible);
    const QList<MySimpleTextView*> glyphs = item->textStorage->textViews();
    ASSERT_EQ(glyphs.size(), 3);
    const Rect box = vm().dotSizeOrigins.value("dot\ts1");
    std::vector<double> tops;
    for (const MySimpleTextView* v : glyphs) {
        EXPECT_EQ(v->frame().size, box.size);
        tops.push_back(v->frame().origin.y - box.origin.y);
    }
    std::sort(tops.begin(), tops.end());
    EXPECT_EQ(tops, (std::vector<double>{160, 180, 180}));
    g->change({"boxesProperties", "0", "dotType"}, qint64(0));
    EXPECT_TRUE(vm().viewVisible.value("dot\ts1"));
    EXPECT_FALSE(item->visible);
    EXPECT_EQ(inColumn("dot\ts1", "g1\ts1"), shapes);
}
} // namespace

// A hundred thousand categories: every box, whisker and container where its statistics and
// column put it. The series names are read once per pass; read once per series, this step
// took hours. Laid out without the settings tree and the category texts, which cost the
// most here and are not what this checks.
TEST(BoxPlotOfManyCategories, EveryBoxInItsColumn)
{
    ScopedScriptedDialogs dialogs;
    QStringList names;
    for (int i = 0; i < 100000; ++i)
        names << QStringLiteral("c%1").arg(i);
    auto g = boxPlot({names}, [](const QString&) { return BoxStats{30, 20, 40, 5, 70, {}}; },
                     [](const QString&) { return BoxStats{}; });
    qint64 steps = 0;
    for (auto it = g->app.configIndexDict.cbegin(); it != g->app.configIndexDict.cend(); ++it)
        if (it.key() != QLatin1String("xTexts"))
            steps |= it.value().toLongLong();
    g->vm = std::make_unique<MyViewManager>(g->data, nullptr, nullptr);
    g->vm->installRootView(new MyBaseView());
    g->vm->runLayout(steps, {}, {}, g->settings, nullptr);
    g->vm->placeContainers();

    const MyViewManager& vm = *g->vm;
    ASSERT_EQ(vm.baseXs.size(), names.size());
    const Rect column(-19.25, 9.5, 38.5, 140.5 - 9.5);
    int misplaced = 0;
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QString& tag = names[k];
        const MySimpleView* box = vm.viewsDict.value("box\t" + tag + "\n" + tag).value(0, nullptr);
        const MySimpleView* upper = vm.viewsDict.value("whisker\t" + tag + "\nupper\n" + tag).value(0, nullptr);
        const MyView* container = containerOf(vm, tag);
        misplaced += !box || box->frame() != Rect(-19.25, 39.5, 38.5, 41) || !upper
                     || upper->frame() != Rect(-0.5, 80, 1, 60) || vm.columnRects.value(tag) != column || !container
                     || container->frame() != column.offsetBy(vm.baseXs[k], 0);
    }
    EXPECT_EQ(misplaced, 0);
    EXPECT_EQ(vm.viewsDict.value(MyViewManager::kMedian).size(), names.size());
}

// A value axis that gives the boxes no place (logarithmic from 0, or 1e-9 wide) hides every
// box, whisker, mark, median line and outlier and keeps every view within the drawing range;
// a drawable axis brings back the first frames.
TEST_F(BoxPlotStep, BoxesWithoutAPlaceAreLeftOut)
{
    const QVariantMap plain = g->settings.value("valueSettings").toMap();
    const Frames first = framesOf(vm());
    auto shownViews = [&] {
        int n = 0;
        for (const auto& [name, views] : vm().viewsDict)
            for (const MySimpleView* v : views)
                n += vm().viewVisible.value(name, true) && v->isVisible();
        return n;
    };
    const int all = shownViews();
    ASSERT_GT(all, 10);
    QVariantMap fromZero = plain, narrow = plain;
    fromZero.insert("logarithmic", true);
    narrow.insert({{"max", "0.000000001"}, {"partition", qint64(1)}, {"scaleStrings", QVariantList{"0", "0.000000001"}}});
    for (const QVariantMap& hostile : {fromZero, narrow}) {
        g->change({"valueSettings"}, hostile);
        EXPECT_EQ(shownViews(), 0);
        EXPECT_TRUE(allGeometryPlaceable(vm()));
        EXPECT_FALSE(g->render().isNull());
        g->change({"valueSettings"}, plain);
        EXPECT_EQ(shownViews(), all);
        EXPECT_EQ(framesOf(vm()).of(first), first);
    }
}
