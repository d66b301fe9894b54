// Selection frames on the graph window's screen: clicks and double clicks on dots, bars,
// boxes, whiskers and min/max marks (members that their column draws) show and clear the frames of their group by
// themselves, with no other repaint: after each click, once the event loop has run, the
// window shows what a fresh paint of it shows, and the cyan of the frames lies on the
// selected group and on the graph container only. Frames on screen when a click clears the
// selection (the window was repainted whole since they were set) go with it.
#include "AnalysisFixture.h"
#include "views/GraphSceneView.h"

namespace {

// The frames' cyan, also where a thin element's frame covers only part of a pixel.
bool isCyan(QRgb p)
{
    return qAlpha(p) > 200 && qGreen(p) > 150 && qBlue(p) > 150 && std::abs(qGreen(p) - qBlue(p)) < 60
           && qRed(p) < std::min(qGreen(p), qBlue(p)) - 60;
}

int cyanIn(const QImage& image, const QRect& area)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += isCyan(image.pixel(x, y));
    return n;
}

} // namespace

class SelectionFrames : public AnalysisFixture {
protected:
    MyWindowController* g = nullptr;
    MyViewManager* vm = nullptr;

    void open(const QString& graphType)
    {
        // Heights 162 to 178 of both sexes, 30 values a column: no element lies on an axis.
        QByteArray table = "Height,Sex\n";
        for (int i = 0; i < 60; ++i)
            table += QByteArray::number(162 + i % 17) + (i % 2 ? ",M" : ",F") + "\n";
        import(table);
        makeAnalysis("Heights", {"Height"}, {"Sex"}, graphType);
        g = doc->graphWindowConts.last();
        vm = g->viewManager;
        front(g);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(g->window()));
    }
    QGraphicsView* view() const { return g->sceneView(); }
    QRect inViewport(const GraphItem* item) const
    {
        const Rect b = item->bounds();
        return view()->mapFromScene(item->mapToScene(QRectF(b.origin.x, b.origin.y, b.width(), b.height())))
            .boundingRect();
    }
    // A viewport point where the item is the topmost item; null when there is none.
    QPoint pointOn(const GraphItem* item) const
    {
        const QRect r = inViewport(item);
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (const QList<QGraphicsItem*> hit = view()->items(QPoint(x, y)); !hit.isEmpty() && hit.first() == item)
                    return {x, y};
        return {};
    }
    // The first member of the first shown group whose name starts with prefix that a click
    // reaches; the group's name.
    std::pair<QString, MySimpleView*> reachable(const QString& prefix) const
    {
        for (const auto& [name, members] : vm->viewsDict)
            if (name.startsWith(prefix) && vm->viewVisible.value(name))
                for (MySimpleView* m : members)
                    if (!pointOn(m).isNull())
                        return {name, m};
        return {};
    }
    void click(const QPoint& at, int count)
    {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, at, apart());
        if (count == 2) {
            QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, at);
        }
    }
    // What the screen shows of the graph's view.
    QImage shown() const
    {
        const QImage window = view()->screen()->grabWindow(g->window()->winId()).toImage();
        const QRect area(view()->viewport()->mapTo(g->window(), QPoint(0, 0)), view()->viewport()->size());
        return window.copy(area).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    // The view painted afresh, whole, in its present state.
    QImage fresh() const
    {
        return view()->viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }

    // Clicks the steps given, one after the other; after each, once the event loop has run,
    // the screen shows the fresh paint, with cyan on every member of the selected group and
    // nowhere but there and on the graph container's frame.
    struct Step {
        const char* what;
        QPoint at;
        int clicks;
        QStringList selected;
        // The whole window repainted before the click, as when it is uncovered: frames are on
        // screen whatever an earlier step left.
        bool repaintedBefore = false;
    };
    void run(const std::vector<Step>& steps)
    {
        for (const Step& s : steps) {
            SCOPED_TRACE(s.what);
            ASSERT_FALSE(s.at.isNull());
            if (s.repaintedBefore) {
                view()->viewport()->update();
                const QImage whole = fresh();
                ASSERT_TRUE(QTest::qWaitFor([&] { return shown() == whole; }, 5000));
            }
            click(s.at, s.clicks);
            ASSERT_EQ(vm->selectedViews, s.selected);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            const QImage wanted = fresh();
            EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == wanted; }, 5000)) << "the screen shows the selection";
            const QImage screen = shown();

            QRegion allowed;
            int framedMembers = 0;
            for (const auto& [name, members] : vm->viewsDict) {
                if (!vm->viewSelected.value(name))
                    continue;
                for (MySimpleView* m : members) {
                    if (!m->isVisible() || !m->scene())
                        continue;
                    const QRect r = inViewport(m).adjusted(-1, -1, 1, 1);
                    allowed += r;
                    EXPECT_GT(cyanIn(screen, r), 0) << "a frame on " << name.toStdString();
                    ++framedMembers;
                }
            }
            EXPECT_EQ(framedMembers > 0, s.selected.size() > 1) << "a group is framed";
            const QRect graph = inViewport(vm->viewDict.value(MyViewManager::kGraphView));
            if (s.selected.contains(MyViewManager::kGraphView))
                allowed += QRegion(graph.adjusted(-1, -1, 1, 1)) - QRegion(graph.adjusted(3, 3, -3, -3));
            int stray = 0;
            for (const QRect& r : QRegion(screen.rect()) - allowed)
                stray += cyanIn(screen, r);
            EXPECT_EQ(stray, 0) << "cyan outside the selection";
            EXPECT_EQ(cyanIn(screen, graph.adjusted(-1, -1, 1, 1)) > 0, s.selected.contains(MyViewManager::kGraphView));
        }
    }
    QPoint onBackground() const { return pointOn(vm->viewDict.value(MyViewManager::kBackground)); }
};

TEST_F(SelectionFrames, DotsAndBarsShowAndClearTheirFrames)
{
    open("scatter");
    const auto [dots, dot] = reachable("dot\t");
    const auto [bars, bar] = reachable(MyViewManager::kBars);
    ASSERT_TRUE(dot && bar);
    const QString gv = MyViewManager::kGraphView;
    run({
        {"dot once", pointOn(dot), 1, {gv}},
        {"dot twice", pointOn(dot), 2, {gv, dots}},
        {"bar once", pointOn(bar), 1, {gv}, true},
        {"bar twice", pointOn(bar), 2, {gv, bars}},
        {"dot twice again", pointOn(dot), 2, {gv, dots}},
        {"background once", onBackground(), 1, {}, true},
    });
}

TEST_F(SelectionFrames, BoxesWhiskersAndMarksShowAndClearTheirFrames)
{
    open("boxplot");
    const auto [boxes, box] = reachable("box\t");
    const auto [whiskers, whisker] = reachable("whisker\t");
    const auto [marks, mark] = reachable("minMax\t");
    ASSERT_TRUE(box && whisker && mark) << bool(box) << bool(whisker) << bool(mark);

    const QString gv = MyViewManager::kGraphView;
    run({
        {"box once", pointOn(box), 1, {gv}},
        {"box twice", pointOn(box), 2, {gv, boxes}},
        {"box once again", pointOn(box), 1, {gv}, true},
        {"box twice again", pointOn(box), 2, {gv, boxes}},
        {"whisker twice", pointOn(whisker), 2, {gv, whiskers}},
        {"min/max mark twice", pointOn(mark), 2, {gv, marks}},
        {"background once", onBackground(), 1, {}, true},
    });
}
