// The layout driver: which steps run for which masks, the extent of "graphView" and its
// place in the background.
#include "FakeGenerator.h"
#include "document/Document.h"
#include "outline/MyConfigRootItem.h"
#include "windows/MyWindowController.h"

namespace {
qint64 bit(const char* step) { return qint64(1) << FakeGenerator::kSteps.indexOf(step); }
const qint64 kSign = std::numeric_limits<qint64>::min();   // bit 63
}

TEST(LayoutDriver, RunsTheStepsTheMaskSelects)
{
    struct Case {
        const char* what;
        qint64 mask;
        QString graphType;
        QStringList expected;       // steps in the order they ran
        qint64 titleRectFlag = 0;   // a flag for "yTitleTextRect" other than its own bit
    };
    const Case cases[] = {
        {"mask 0 runs nothing, not even the dots", 0, "scatter", {}},
        {"one step, then the dot plot", bit("yAxis"), "scatter", {"yAxis", "scatter"}},
        {"no shared bit still runs the boxplot", qint64(1) << 40, "boxplot", {"box"}},
        {"any other type is a boxplot", bit("graphRect"), "Scatter", {"graphRect", "box"}},
        {"two steps keep the driver's order", bit("scaleTexts") | bit("background"), "scatter",
         {"background", "scaleTexts", "scatter"}},
        {"every bit runs all in order", -1, "scatter", FakeGenerator::kSteps + QStringList{"scatter"}},
        {"a shared bit with the sign bit set in the AND never runs", -1, "scatter",
         FakeGenerator::kSteps.mid(0, 11) + QStringList{"scatter"}, kSign | bit("yTitleTextRect")},
        {"a shared bit without the sign bit runs", bit("yTitleTextRect"), "scatter", {"yTitleTextRect", "scatter"},
         kSign | bit("yTitleTextRect")},
        {"bit 63 alone never runs", kSign, "scatter", {"scatter"}, kSign},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppDelegate delegate;
        FakeGenerator g;
        if (c.titleRectFlag)
            g.configIndexDict.insert("yTitleTextRect", c.titleRectFlag);
        delegate.ourGraphGenerator = &g;
        MyAnalysisData data;
        data.graphType = c.graphType;
        MyViewManager vm(data, nullptr, nullptr);
        vm.runLayout(c.mask, {}, {}, {}, nullptr);
        EXPECT_EQ(g.calls, c.expected);
        EXPECT_EQ(vm.viewDict.contains(MyViewManager::kGraphView), !c.expected.isEmpty());
    }
}

// U = union of the non-empty extents; frame size U + 6; bounds origin U.origin - 3; x, y
// centre where the size fits the background, else 3.
TEST(LayoutDriver, SizesAndCentresTheGraphView)
{
    struct Case {
        const char* what;
        FakeGenerator::Extents extents;
        Rect frame;   // of "graphView", worked out by hand
        Point boundsOrigin;
    };
    const Case cases[] = {
        {"empty category texts and title add nothing; an empty scale rect neither",
         {Rect(0, 0, 200, 100), Rect(0, -20, 200, 20), Rect(), Rect(-30, 0, 30, 100),
          {Rect(-50, 90, 20, 10), Rect(0, 0, 0, 5)}, Rect(), Rect(-80, 0, 10, 100)},
         Rect(72, 87, 256, 126), Point{-53, -23}},
        {"a shown title adds the room it needs, not its own rectangle",
         {Rect(0, 0, 200, 100), Rect(0, -20, 200, 20), Rect(10, -40, 180, 20), Rect(-30, 0, 30, 100), {},
          Rect(-60, 30, 20, 40), Rect(-90, 0, 30, 100)},
         Rect(52, 77, 296, 146), Point{-93, -43}},
        {"wider and taller than the background: 3 from its origin", {Rect(0, 0, 500, 400), {}, {}, {}, {}, {}, {}},
         Rect(3, 3, 506, 406), Point{-3, -3}},
        {"exactly as wide as the background is not centred", {Rect(0, 0, 394, 100), {}, {}, {}, {}, {}, {}},
         Rect(3, 97, 400, 106), Point{-3, -3}},
        {"nothing at all: the margin alone", {}, Rect(197, 147, 6, 6), Point{-3, -3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppDelegate delegate;
        FakeGenerator g;
        g.ext = c.extents;
        delegate.ourGraphGenerator = &g;
        MyViewManager vm(MyAnalysisData(), nullptr, nullptr);
        vm.runLayout(-1, {}, {}, {}, nullptr);
        MyView* graphView = vm.viewDict.value(MyViewManager::kGraphView);
        ASSERT_TRUE(dynamic_cast<MyOutputView*>(graphView));
        EXPECT_EQ(graphView->frame(), c.frame);
        EXPECT_EQ(graphView->boundsOrigin(), c.boundsOrigin);
        EXPECT_EQ(graphView->superviewName, MyViewManager::kBackground);
        EXPECT_EQ(graphView->superview(), nullptr) << "the window set-up places it";

        // A later run reuses the view; a run with mask 0 changes nothing even when the
        // extents have changed since.
        vm.rGraphRect = Rect(0, 0, 1000, 1000);
        vm.runLayout(0, {}, {}, {}, nullptr);
        EXPECT_EQ(vm.viewDict.value(MyViewManager::kGraphView), graphView);
        EXPECT_EQ(graphView->frame(), c.frame);
        // A mask that selects no step still sizes from the stored extents.
        vm.runLayout(qint64(1) << 50, {}, {}, {}, nullptr);
        EXPECT_EQ(vm.viewDict.value(MyViewManager::kGraphView), graphView);
        EXPECT_GE(graphView->frame().size.width, 1006);
    }
}

// Through a graph window: the settings of the window's graph, its settings root, the row's
// keys and mask; a row with mask 0 changes nothing.
TEST(LayoutDriver, SetGraphWithOutlineItemTakesTheWindowsGraph)
{
    AppDelegate delegate;
    FakeGenerator g;
    delegate.ourGraphGenerator = &g;
    Document doc(&delegate);
    doc.graphSettings = {QVariantMap{{"graphTitle", "first"}}, QVariantMap{{"graphTitle", "second"}}};
    auto* window = new MyWindowController(QStringLiteral("GraphWindowD"));
    window->graphID = 1;
    MyConfigRootItem root(window);
    window->rootItem = &root;
    MyAnalysisData data;
    data.graphType = "scatter";
    QPointer<MyViewManager> vm = new MyViewManager(data, window, &doc);

    root.setIndex = 0;
    vm->setGraphWithOutlineItem(&root);
    EXPECT_TRUE(g.calls.isEmpty());
    root.setIndex = bit("xTexts");
    vm->setGraphWithOutlineItem(&root);
    EXPECT_EQ(g.calls, (QStringList{"xTexts", "scatter"}));
    EXPECT_EQ(g.lastSettings.value("graphTitle"), "second");
    EXPECT_EQ(g.lastMask, bit("xTexts"));

    // The graph window owns its view manager.
    delete window;
    EXPECT_TRUE(vm.isNull());
}
