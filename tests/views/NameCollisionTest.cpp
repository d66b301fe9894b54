// Titles are the user's: a column title, a category value or a tag may spell a fixed view
// name or another element's name. Each element keeps its own record, statistics and view.
#include "FakeGenerator.h"
#include "analysis/AnalysisTestSupport.h"
#include "analysis/MyAnalysisBuilder.h"
#include "stats/MyDescriptives.h"

// A data column titled "Sex_male" beside the value male of Sex: two single tags, two counts,
// one text.
TEST(NameCollision, ADataTitleAndACategoryTagKeepTheirOwnStatistics)
{
    const MyDescriptives engine;
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = analysis(&root, "scatter", {{"Sex_male", {1.0, 2.0, 3.0, 4.0}}},
                                 {{"Sex", {"male", "female", "male", "female"}}}, false);
    const auto d = MyAnalysisBuilder(engine).analysisFromSelection(a);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->singleTags.size(), 3);
    EXPECT_EQ(QSet<QString>(d->singleTags.begin(), d->singleTags.end()).size(), 3) << "three keys";

    MyViewManager vm(*d, nullptr, nullptr);
    // Worked by hand: the column has 4 values; male rows 0 and 2 hold 1 and 3; female 2 and 4.
    const QList<std::pair<QString, qint64>> expected{{"Sex_male", 4}, {"Sex_male", 2}, {"Sex_female", 2}};
    for (int i = 0; i < 3; ++i) {
        const QString& tag = vm.singleTags[i];
        EXPECT_EQ(vm.representedValue(tag, "tag", true, false, false).toString(), expected[i].first) << i;
        EXPECT_EQ(vm.representedValue(tag, "num", true, false, false).toLongLong(), expected[i].second) << i;
    }
    EXPECT_DOUBLE_EQ(vm.representedValue(vm.singleTags[0], "mean", true, false, false).toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(vm.representedValue(vm.singleTags[1], "mean", true, false, false).toDouble(), 2.0);
}

// Columns named "graphView" and "graphProperties" + "background" (two levels) get
// containers of their own: the graph's fixed containers stay where they are and draw.
TEST(NameCollision, ColumnsNamedLikeFixedViewsGetTheirOwnContainers)
{
    FakeGraph graph({"graphView", "graphProperties\tbackground"});
    MyViewManager& vm = *graph.vm;
    MyView* background = vm.viewDict.value(MyViewManager::kBackground);
    MyView* graphView = vm.viewDict.value(MyViewManager::kGraphView);
    EXPECT_TRUE(dynamic_cast<MyOutputView*>(graphView));
    EXPECT_EQ(graphView->superview(), background);
    EXPECT_EQ(background->superview(), vm.viewDict.value(MyViewManager::kRootView));
    MyView* graphRect = vm.viewDict.value(MyViewManager::kGraphRect);
    ASSERT_EQ(graphRect->subviews().size(), 2);
    for (GraphItem* column : graphRect->subviews()) {
        EXPECT_NE(column, graphView);
        EXPECT_NE(column, background);
        EXPECT_EQ(column->subviews().size(), 4) << "three dots and a bar";
    }
    EXPECT_EQ(vm.viewColors.value(MyViewManager::kBackground).fillColor, QColor(255, 255, 240));
}
