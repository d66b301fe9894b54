// Clicks and double clicks on the graph, through a real graphics view: what is selected, the
// settings row revealed, the selection frames drawn and the view that takes the focus.
#include "EditFixture.h"
#include "views/MyView.h"
#include <QApplication>
#include <QGraphicsView>
#include <QTest>

class Selection : public EditFixture {
protected:
    std::unique_ptr<QGraphicsView> view;
    Graph* g = nullptr;
    QString dotName = "dot\tWeight\ta";
    QVector<MySimpleView*> dots;

    void SetUp() override
    {
        EditFixture::SetUp();
        addTwoGraphs();
        g = graphs[0].get();
        // A dot group as the dot steps make it: two members sharing one name and path.
        MyViewManager& vm = *g->vm;
        for (const Rect& frame : {Rect(20, 40, 10, 10), Rect(20, 80, 10, 10)}) {
            auto* dot = new MySimpleView(dotName, MyViewManager::kGraphRect, &vm, frame, Point(-5, -5));
            dots << dot;
        }
        vm.viewsDict.insert(dotName, dots);
        vm.viewVisible.insert(dotName, true);
        vm.viewSelected.insert(dotName, false);
        vm.viewBezier.insert(dotName, BezierPath::bezierPathWithOvalInRect(Rect(-4, -4, 8, 8)));
        vm.viewColors.insert(dotName, {Qt::black, Qt::black});
        vm.itemsDict.insert(dotName, row(*g, {"dotsProperties", "0"}));
        vm.setViews();

        view = std::make_unique<QGraphicsView>(vm.scene());
        view->resize(900, 900);
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
    void TearDown() override
    {
        view.reset();
        EditFixture::TearDown();
    }

    // A point of the viewport where item is the topmost view.
    QPoint pointOn(GraphItem* item)
    {
        const Rect b = item->bounds();
        for (int i = 1; i < 20; ++i)
            for (int j = 1; j < 20; ++j) {
                const QPointF local(b.origin.x + b.width() * i / 20, b.origin.y + b.height() * j / 20);
                const QPoint p = view->mapFromScene(item->mapToScene(local));
                const QList<QGraphicsItem*> under = view->items(p);
                if (!under.isEmpty() && under.first() == item)
                    return p;
            }
        ADD_FAILURE() << "no place to click on the view";
        return {};
    }
    static int apart() { return QApplication::doubleClickInterval() + 50; }
    void click(GraphItem* item, int count)
    {
        const QPoint p = pointOn(item);
        // A double click is a click, then a second press reported as a double click, and
        // its release.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, p, apart());
        if (count == 2) {
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, p);
        }
    }
    // Cyan pixels of the selection frame inside the view's frame on the page.
    int framePixels(GraphItem* item)
    {
        const QImage page = drawnImage(*g->vm);
        const QRectF onPage = item->mapRectToItem(g->vm->viewDict.value(MyViewManager::kBackground),
                                                  QRectF(item->bounds().origin.x, item->bounds().origin.y,
                                                         item->bounds().width(), item->bounds().height()));
        int n = 0;
        const QRect r = onPage.toAlignedRect();
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y) {
                const int py = page.height() - 1 - y;
                if (x < 0 || py < 0 || x >= page.width() || py >= page.height())
                    continue;
                const QColor c = page.pixelColor(x, py);
                n += c.alpha() > 200 && c.red() < 60 && c.green() > 200 && c.blue() > 200;
            }
        return n;
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
        {"dot twice", dots[1], 2, {"graphView", dotName}, "dotsProperties > dotsProperties/", graphView},
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
