// setViews: what is attached where, in which order, and what stays as it is.
#include "FakeGenerator.h"

namespace {
struct Tree {
    MyViewManager vm{MyAnalysisData(), nullptr, nullptr};
    MyView* c = nullptr;
    QVector<MySimpleView*> dots, bars, medians;
    std::shared_ptr<MyStorageItem> text, scale;

    Tree()
    {
        vm.installRootView(new MyBaseView(Rect(0, 0, 100, 100)));
        vm.viewDict.insert("c", c = new MyView(Rect(0, 0, 100, 100), {}, "c", MyViewManager::kRootView, &vm));
        vm.viewDict.value(MyViewManager::kRootView)->addSubview(c);
        // Bars first in the tables: they still go in after the dots.
        bars = group(MyViewManager::kBars, 2);
        medians = group(MyViewManager::kMedian, 1);
        dots = group("dot\tA", 3);
        text = record("c_x\ta");
        scale = record("graphProperties\tyAxis\tscaleText");
        vm.storageItemDict.insert("c_x\ta", text);
        vm.scalesStorageItem << scale;
    }
    // A shown group of n views in container.
    QVector<MySimpleView*> group(const QString& name, int n, const QString& container = "c")
    {
        QVector<MySimpleView*> views;
        for (int i = 0; i < n; ++i)
            views << new MySimpleView(name, container, &vm, Rect(i, 0, 1, 1), {});
        vm.viewsDict.insert(name, views);
        vm.viewVisible.insert(name, true);
        return views;
    }
    std::shared_ptr<MyStorageItem> record(const QString& name)
    {
        auto* storage = new TextStorage(&vm);
        new MyTextView(Rect(0, 0, 10, 10), storage, name, "c", &vm);
        return std::make_shared<MyStorageItem>(storage, nullptr, nullptr);
    }
    GraphItem* textView(const std::shared_ptr<MyStorageItem>& r) { return r->textStorage->textViews().first(); }
    QList<GraphItem*> expectedFull()
    {
        QList<GraphItem*> out(dots.begin(), dots.end());
        out << textView(text) << textView(scale);
        out += QList<GraphItem*>(bars.begin(), bars.end());
        out << medians.first();
        return out;
    }
};
}

// Groups, then texts, then scale texts, then bars and median lines; a second run changes
// nothing; attached views are on the container's scene.
TEST(ViewTree, StacksBarsAndMediansAboveDotsAndTextsAndIsIdempotent)
{
    Tree t;
    t.vm.setViews();
    EXPECT_EQ(t.c->subviews(), t.expectedFull());
    EXPECT_EQ(t.dots.first()->scene(), t.vm.scene());
    t.vm.setViews();
    EXPECT_EQ(t.c->subviews(), t.expectedFull());
}

namespace {
struct FirstMemberCase {
    const char* what;
    bool shown;
    QVector<bool> attachedBefore;   // per dot
    QVector<bool> attachedAfter;
};
class FirstMember : public ::testing::TestWithParam<FirstMemberCase> {};
}

// A group counts as attached when its first member is; only the first is looked at.
TEST_P(FirstMember, DecidesForTheWholeGroup)
{
    const FirstMemberCase& k = GetParam();
    Tree t;
    t.vm.viewVisible.insert("dot\tA", k.shown);
    for (int i = 0; i < 3; ++i)
        if (k.attachedBefore[i])
            t.c->addSubview(t.dots[i]);
    t.vm.setViews();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(t.dots[i]->superview() != nullptr, k.attachedAfter[i]) << k.what << " dot " << i;
    if (!k.shown) {
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(t.dots[i]->scene() != nullptr, k.attachedAfter[i]) << "a detached view leaves the scene";
    }
}

INSTANTIATE_TEST_SUITE_P(Groups, FirstMember,
                         ::testing::Values(FirstMemberCase{"shown, all detached", true, {0, 0, 0}, {1, 1, 1}},
                                           FirstMemberCase{"shown, first attached", true, {1, 0, 0}, {1, 0, 0}},
                                           FirstMemberCase{"hidden, first attached", false, {1, 0, 1}, {0, 0, 0}},
                                           FirstMemberCase{"hidden, first detached", false, {0, 1, 1}, {0, 1, 1}}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// Hidden bars are detached each by itself, whichever is attached; shown again they go on top.
TEST(ViewTree, BarsAreTestedOneByOne)
{
    Tree t;
    t.vm.setViews();
    t.bars.first()->removeFromSuperview();
    t.vm.viewVisible.insert(MyViewManager::kBars, false);
    t.vm.setViews();
    for (MySimpleView* bar : t.bars)
        EXPECT_EQ(bar->superview(), nullptr);
    // A dot view made since goes in first; the bars come back above it.
    MySimpleView* late = t.group("dot\tB", 1).first();
    t.vm.viewVisible.insert(MyViewManager::kBars, true);
    t.vm.setViews();
    const QList<GraphItem*> subs = t.c->subviews();
    EXPECT_EQ(subs.mid(subs.size() - 3), (QList<GraphItem*>{late, t.bars[0], t.bars[1]}));
}

// A hidden text leaves with all its views; shown again it goes above what the container
// holds by then. A view whose container is unknown stays detached.
TEST(ViewTree, TextsFollowTheirRecordsAndUnknownContainersAreSkipped)
{
    Tree t;
    t.vm.setViews();
    auto* second = new MyTextView(Rect(), t.text->textStorage, "c_x\ta", "c", &t.vm);
    t.text->visible = false;
    t.vm.setViews();
    EXPECT_EQ(t.textView(t.text)->superview(), nullptr);
    EXPECT_EQ(second->superview(), nullptr);
    t.text->visible = true;
    t.vm.setViews();
    const QList<GraphItem*> subs = t.c->subviews();
    EXPECT_EQ(subs.mid(subs.size() - 2), (QList<GraphItem*>{t.textView(t.text), second}));

    // Nor does a view go inside its own subview.
    MyView* root = t.vm.viewDict.value(MyViewManager::kRootView);
    t.c->addSubview(root);
    EXPECT_EQ(root->superview(), nullptr);
    EXPECT_EQ(t.c->superview(), root);

    MySimpleView* stray = t.group("dot\tC", 1, "nowhere").first();
    t.vm.setViews();
    EXPECT_EQ(stray->superview(), nullptr);
}
