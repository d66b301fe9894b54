// The view manager record as it is made: analysis data kept as given, two transparent
// fixed containers, every other table empty.
#include "views/MyBaseView.h"
#include "views/MyStorageItem.h"
#include "views/MyView.h"
#include "views/MyViewManager.h"
#include "views/OrderedMap.h"
#include <QGraphicsRectItem>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <set>

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

namespace {
// Views and plain items that note their end, so a teardown can be checked item by item.
std::multiset<const void*> g_ended;
struct EndingView : MyView {
    using MyView::MyView;
    ~EndingView() override { g_ended.insert(this); }
};
struct EndingItem : QGraphicsRectItem {
    ~EndingItem() override { g_ended.insert(this); }
};
}

// Random trees of views (on the graph's scene, detached, one on the scene by itself, some
// held by an item that is not the graph's), with plain items inside some views as an editor
// is: closing the graph ends every view and every item inside them exactly once, and leaves
// the outside item whole and empty.
TEST(ViewRecord, TeardownEndsEveryViewOnceAndNothingOutside)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        g_ended.clear();
        auto outside = std::make_unique<QGraphicsRectItem>();
        std::vector<const void*> made;
        {
            auto vm = std::make_unique<MyViewManager>(MyAnalysisData(), nullptr, nullptr);
            vm->installRootView(new MyBaseView());
            std::vector<MyView*> views{vm->viewDict.value(MyViewManager::kRootView)};
            const int n = 5 + int(rng() % 60);
            for (int i = 0; i < n; ++i) {
                auto* v = new EndingView(Rect(0, 0, 4, 4), {}, QString::number(i), {}, vm.get());
                made.push_back(v);
                switch (rng() % 6) {
                case 0:   // detached
                    break;
                case 1:
                    v->setParentItem(outside.get());
                    break;
                case 2:
                    vm->scene()->addItem(v);
                    break;
                default:
                    views[rng() % views.size()]->addSubview(v);
                }
                if (rng() % 4 == 0) {
                    auto* item = new EndingItem();
                    item->setParentItem(v);
                    made.push_back(item);
                }
                views.push_back(v);
            }
        }
        EXPECT_EQ(g_ended, std::multiset<const void*>(made.begin(), made.end())) << "seed " << seed;
        EXPECT_TRUE(outside->childItems().isEmpty()) << "seed " << seed;
    }
}
