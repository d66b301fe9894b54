// The view manager record as it is made: analysis data kept as given, two transparent
// fixed containers, every other table empty.
#include "views/MyStorageItem.h"
#include "views/MyViewManager.h"
#include "views/OrderedMap.h"
#include <gtest/gtest.h>
#include <random>

TEST(ViewRecord, FreshRecordHoldsOnlyTheTwoClearContainers)
{
    MyAnalysisData d;
    d.graphType = "scatter";
    d.values = {{"", {1, 2, 3}}, {"a", {1, 2}}, {"b", {3}}};
    d.singleTags = {"a", "b"};
    MyViewManager vm(d, nullptr, nullptr);
    EXPECT_EQ(vm.graphType, "scatter");
    EXPECT_EQ(vm.values, d.values);
    EXPECT_EQ(vm.singleTags, d.singleTags);
    EXPECT_TRUE(vm.nameTags.isEmpty());

    ASSERT_EQ(vm.viewColors.keys(), (QStringList{"rootView", "graphView"}));
    for (const auto& [name, pair] : vm.viewColors) {
        EXPECT_EQ(pair.fillColor.alpha(), 0) << name.toStdString();
        EXPECT_EQ(pair.lineColor, pair.fillColor);
        EXPECT_EQ(pair.fillColor.rgb() & 0xffffff, 0xffffffu);
    }
    ASSERT_EQ(vm.viewBeziers.keys(), (QStringList{"rootView", "graphView"}));
    for (const auto& [name, pair] : vm.viewBeziers)
        EXPECT_TRUE(pair.closed.isEmpty() && pair.line.isEmpty());
    EXPECT_TRUE(vm.viewDict.isEmpty() && vm.viewBezier.isEmpty() && vm.viewsDict.isEmpty() && vm.itemsDict.isEmpty()
                && vm.storageItemDict.isEmpty() && vm.scalesStorageItem.isEmpty() && vm.selectedViews.isEmpty());
    EXPECT_TRUE(MyStorageItem(nullptr, nullptr, nullptr).visible);
}

// Random inserts, overwrites and removals against a plain list of keys in first-insert order.
TEST(ViewRecord, OrderedMapKeepsInsertionOrder)
{
    std::mt19937 rng(7);
    OrderedMap<QString, int> map;
    QStringList order;
    QHash<QString, int> expected;
    for (int step = 0; step < 2000; ++step) {
        const QString key = QString::number(rng() % 60);
        if (rng() % 4 == 0) {
            EXPECT_EQ(map.remove(key), order.removeOne(key));
            expected.remove(key);
        } else {
            const int v = int(rng() % 1000);
            map.insert(key, v);
            if (!order.contains(key))
                order << key;
            expected[key] = v;
        }
    }
    EXPECT_EQ(map.keys(), order);
    for (const QString& k : order)
        EXPECT_EQ(map.value(k, -1), expected.value(k));
}
