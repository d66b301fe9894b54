// Clicks and double clicks on the graph, through a real graphics view: what is selected, the
// settings row revealed, the selection frames drawn and the view that takes the focus.
#include "EditFixture.h"
#include "views/MyView.h"

class Selection : public EditFixture {
protected:
    Graph* g = nullptr;
    QString dotName;
    QVector<MySimpleView*> dots;
    QString dotRow;   // the chain of the dots' settings row, as the outline gets it

    void SetUp() override
    {
        EditFixture::SetUp();
        addTwoGraphs();
        g = graphs[0].get();
        showScene(*g);
        // The first dot group the dot plot shows, with the members a click can reach.
        MyViewManager& vm = *g->vm;
        for (const auto& [name, members] : vm.viewsDict)
            if (name.startsWith("dot\t") && vm.viewVisible.value(name)) {
                dotName = name;
                for (MySimpleView* member : members) {
                    const Rect b = member->bounds();
                    const QPoint centre = sceneView->mapFromScene(member->mapToScene(QPointF(b.midX(), b.midY())));
                    if (!sceneView->items(centre).isEmpty() && sceneView->items(centre).first() == member)
                        dots << member;
                }
                break;
            }
        ASSERT_GE(dots.size(), 2);
        MyConfigItem* r = vm.itemsDict.value(dotName);
        ASSERT_NE(r, nullptr);
        dotRow = chainText(g->root->outlineItemsWithItem(r));
    }
    // Cyan pixels of the selection frame inside the view's frame on the page.
    int framePixels(GraphItem* item)
    {
        const QImage page = drawnImage(*g->vm);
        const Rect b = item->bounds();
        const QRect r = item->mapRectToItem(g->vm->viewDict.value(MyViewManager::kBackground),
                                            QRectF(b.origin.x, b.origin.y, b.width(), b.height())).toAlignedRect();
        // Page y runs up, image rows down.
        return countNear(page, QColor(0, 255, 255), QRect(r.left(), page.height() - 1 - r.bottom(), r.width(), r.height()));
    }
};

TEST_F(Selection, ClicksSelectRevealAndFocus)
{
    MyViewManager& vm = *g->vm;
    MyView* yAxis = vm.viewDict.value(MyViewManager::kYAxis);
    MyView* background = vm.viewDict.value(MyViewManager::kBackground);
    MyView* graphView = vm.viewDict.value(MyViewManager::kGraphView);
    struct Case {
        const char* what;
        GraphItem* target;
        int clicks;
        QStringList selected;
        QString revealed;   // "" none
        GraphItem* focus;
    };
    const std::vector<Case> cases{
        {"dot once", dots[1], 1, {"graphView"}, "", graphView},
        {"dot twice", dots[1], 2, {"graphView", dotName}, dotRow, graphView},
        {"y axis twice", yAxis, 2, {"graphView", MyViewManager::kYAxis},
         "graphProperties > graphProperties/yAxis", graphView},
        {"y axis once", yAxis, 1, {"graphView"}, "", graphView},
        {"background twice", background, 2, {}, "graphProperties > graphProperties/background", background},
        {"background once", background, 1, {}, "", background},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.revealed.clear();
        click(c.target, c.clicks);
        EXPECT_EQ(vm.selectedViews, c.selected);
        EXPECT_EQ(log.revealed, c.revealed.isEmpty() ? QStringList() : QStringList{c.revealed});
        EXPECT_EQ(vm.scene()->focusItem(), c.focus);
        // Frames: the group's members and a selected container, nothing else.
        const bool dotSelected = c.selected.contains(dotName);
        EXPECT_EQ(vm.viewSelected.value(dotName), dotSelected);
        for (MySimpleView* dot : dots)
            EXPECT_EQ(framePixels(dot) > 0, dotSelected);
        EXPECT_EQ(yAxis->selected, c.selected.contains(MyViewManager::kYAxis));
        EXPECT_EQ(graphView->selected, c.selected.contains(MyViewManager::kGraphView));
    }
}

// A double click on an element without a settings row, or whose row has gone from the
// tree, still selects it; no row is revealed.
TEST_F(Selection, ElementWithoutALiveRowStillSelects)
{
    MyViewManager& vm = *g->vm;
    vm.itemsDict.remove(dotName);
    click(dots[0], 2);
    EXPECT_EQ(vm.selectedViews, QStringList({"graphView", dotName}));
    EXPECT_TRUE(log.revealed.isEmpty());
    // A clicked name the tree no longer has a row for is not followed either.
    vm.itemsDict.insert(dotName, reinterpret_cast<MyConfigItem*>(quintptr(0x10)));
    click(dots[0], 2);
    EXPECT_TRUE(log.revealed.isEmpty());
    vm.itemsDict.remove(dotName);
}
