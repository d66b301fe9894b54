// The graph and statistics windows of an analysis: one view manager shared by both, the
// fixed elements' settings rows, the frame views put together, and the graph drawn in the
// graph window's background view.
#include "AnalysisFixture.h"
#include "views/MyBaseView.h"

namespace {

// The values of the columns Height by M and F, Weight by M and F of the sample table, and
// their medians, read off the table by hand.
const QList<double> kColumnValues[] = {{170, 180, 175}, {160, 165}, {60, 80, 70}, {55}};
const double kMedians[] = {175, 162.5, 70, 55};

bool isInk(QRgb pixel) { return qAlpha(pixel) > 128 && qGray(pixel) < 128; }

// The subviews of a view that are among those given, in their order.
QList<GraphItem*> among(GraphItem* view, const QList<GraphItem*>& wanted)
{
    QList<GraphItem*> placed = view->subviews();
    placed.removeIf([&](GraphItem* v) { return !wanted.contains(v); });
    return placed;
}

} // namespace

using GraphWindow = AnalysisFixture;

TEST_F(GraphWindow, ShowsTheGraphOfItsAnalysis)
{
    import(kSampleTable);
    const struct { const char* graphType; QString elementView; const char* elementRow; } cases[] = {{"scatter", MyViewManager::kBars, "bars"}, {"boxplot", MyViewManager::kMedian, "boxes"}};
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
        // view (above the texts the first layout attached, in this order); each column's
        // container in the graph rectangle.
        auto view = [vm](const QString& name) -> GraphItem* { return vm->viewDict.value(name); };
        EXPECT_EQ(vm->viewDict.value(MyViewManager::kRootView), g->backgroundView);
        EXPECT_EQ(g->backgroundView->subviews(), QList<GraphItem*>({view(MyViewManager::kBackground)}));
        EXPECT_EQ(view(MyViewManager::kGraphView)->superview(), view(MyViewManager::kBackground));
        const QList<GraphItem*> frames{view(MyViewManager::kGraphRect), view(MyViewManager::kXAxis), view(MyViewManager::kYAxis)};
        EXPECT_EQ(among(view(MyViewManager::kGraphView), frames), frames);
        ASSERT_EQ(vm->nameTags.size(), 4);
        QList<GraphItem*> columns;
        for (const QString& tag : vm->nameTags)
            columns << view(MyViewManager::columnViewName(tag));
        EXPECT_EQ(among(view(MyViewManager::kGraphRect), columns), columns);
        EXPECT_EQ(g->sceneView()->scene(), vm->scene());
        EXPECT_EQ(g->backgroundView->scene(), vm->scene());

        // Drawn in the background view: the frame of the graph rectangle, and in each column
        // a dot at every value (dot plot) or the median line (boxplot) where the value axis
        // puts it, nothing far from the column's values.
        constexpr double scale = 2;
        const QImage page = GraphItem::image(g->backgroundView, scale);
        const MyView* background = vm->viewDict.value(MyViewManager::kBackground);
        const MyView* graph = vm->viewDict.value(MyViewManager::kGraphView);
        auto inkAt = [&](double x, double y) {
            const double px = background->frame().origin.x + graph->frame().origin.x + x - graph->boundsOrigin().x;
            const double py = background->frame().origin.y + graph->frame().origin.y + y - graph->boundsOrigin().y;
            return isInk(page.pixel(QPoint(int(std::floor(px * scale)), int(std::floor(page.height() - py * scale)))));
        };
        const Rect r = vm->graphRect;
        EXPECT_TRUE(inkAt(r.origin.x, r.origin.y + r.height() / 2));
        const double min = NumberText::doubleValue(dig(doc->graphSettings.last(), {"valueSettings", "min"}).toString());
        const double max = NumberText::doubleValue(dig(doc->graphSettings.last(), {"valueSettings", "max"}).toString());
        auto inkNear = [&](int column, double value, double reach) {
            for (double dx = -reach; dx <= reach; dx += 0.5)
                if (inkAt(vm->baseXs.value(column) + dx, r.origin.y + (value - min) / (max - min) * r.height()))
                    return true;
            return false;
        };
        const bool scatter = QString(c.graphType) == "scatter";
        for (int column = 0; column < 4; ++column) {
            for (double v : scatter ? kColumnValues[column] : QList<double>{kMedians[column]})
                EXPECT_TRUE(inkNear(column, v, scatter ? 12 : 0)) << "column " << column << " value " << v;
            EXPECT_FALSE(inkNear(column, 120, 12)) << "column " << column;
        }
    }
}
