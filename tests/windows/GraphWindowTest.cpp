// The graph and statistics windows of an analysis: one view manager shared by both, the
// fixed elements' settings rows, the frame views put together, and the graph drawn in the
// graph window's background view.
#include "AnalysisFixture.h"
#include "outline/MyConfigItem.h"
#include "views/MyBaseView.h"
#include "views/MyView.h"
#include <QGraphicsView>
#include <QImage>

namespace {

bool isInk(QRgb pixel)
{
    return qAlpha(pixel) > 128 && qGray(pixel) < 128;
}

} // namespace

class GraphWindow : public AnalysisFixture {
protected:
    void SetUp() override
    {
        AnalysisFixture::SetUp();
        import(kSampleTable);
    }
    // The rendered background view, and where a point of the graph's coordinates lands in it.
    static QImage render(MyWindowController* g) { return GraphItem::image(g->backgroundView); }
    static QPoint pixelOf(MyViewManager* vm, const QImage& page, double x, double y)
    {
        const MyView* background = vm->viewDict.value(MyViewManager::kBackground);
        const MyView* graph = vm->viewDict.value(MyViewManager::kGraphView);
        const double px = background->frame().origin.x + graph->frame().origin.x + x - graph->boundsOrigin().x;
        const double py = background->frame().origin.y + graph->frame().origin.y + y - graph->boundsOrigin().y;
        return QPoint(int(std::floor(px)), int(std::floor(page.height() - py)));
    }
};

TEST_F(GraphWindow, ShowsTheGraphOfItsAnalysis)
{
    const struct {
        const char* graphType;
        QString elementView;
        const char* elementRow;
    } cases[] = {{"scatter", MyViewManager::kBars, "bars"}, {"boxplot", MyViewManager::kMedian, "boxes"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.graphType);
        makeAnalysis(c.graphType, {"Height", "Weight"}, {"Sex"}, c.graphType);
        MyWindowController* g = doc->graphWindowConts.last();
        MyViewManager* vm = g->viewManager;
        ASSERT_TRUE(vm && g->window()->isVisible());
        EXPECT_EQ(doc->statsWindowConts.last()->viewManager, vm);

        // A click on a fixed element finds its row under "graphProperties"; the rows of the
        // series' elements follow them.
        QStringList rows;
        for (const auto& [name, row] : vm->itemsDict)
            rows << name + "=" + row->itemID;
        EXPECT_EQ(rows.mid(0, 5), QStringList({MyViewManager::kBackground + "=graphProperties\tbackground",
                                     MyViewManager::kGraphRect + "=graphProperties\tgraphRect",
                                     MyViewManager::kXAxis + "=graphProperties\txAxis",
                                     MyViewManager::kYAxis + "=graphProperties\tyAxis",
                                     c.elementView + "=graphProperties\t" + c.elementRow}));

        // Base view, background, graph view; the graph rectangle and both axes in the graph
        // view; each column's container in the graph rectangle.
        auto view = [vm](const QString& name) -> GraphItem* { return vm->viewDict.value(name); };
        EXPECT_EQ(vm->viewDict.value(MyViewManager::kRootView), g->backgroundView);
        EXPECT_EQ(g->backgroundView->subviews(), QList<GraphItem*>({view(MyViewManager::kBackground)}));
        EXPECT_EQ(view(MyViewManager::kGraphView)->superview(), view(MyViewManager::kBackground));
        // Above the texts the first layout attached, in this order.
        const QList<GraphItem*> frames{view(MyViewManager::kGraphRect), view(MyViewManager::kXAxis),
                                       view(MyViewManager::kYAxis)};
        QList<GraphItem*> placed = view(MyViewManager::kGraphView)->subviews();
        placed.removeIf([&](GraphItem* v) { return !frames.contains(v); });
        EXPECT_EQ(placed, frames);
        ASSERT_EQ(vm->nameTags.size(), 4);
        EXPECT_EQ(g->sceneView()->scene(), vm->scene());
        EXPECT_EQ(g->backgroundView->scene(), vm->scene());

        // The frame of the graph rectangle is drawn where the layout put it.
        const QImage page = render(g);
        const Rect r = vm->graphRect;
        EXPECT_TRUE(isInk(page.pixel(pixelOf(vm, page, r.origin.x, r.origin.y + r.height() / 2))));
        EXPECT_FALSE(isInk(page.pixel(pixelOf(vm, page, r.origin.x + r.width() / 2, r.maxY() + 40))));
    }
}
