// Windows on a laptop's 1366 x 768 screen (the offscreen platform set to that size before
// the application starts).
#include "../AnalysisFixture.h"
#include "../StatsSwitchesFit.h"

namespace {
const bool kScreenSet = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VLB_TEST_DATA "/windows/screen-1366x768.json");
    return true;
}();
}

using SmallScreen = AnalysisFixture;

// Every window of a document with two analyses fits the screen's free area; each statistics
// window sits under its graph window without covering its plot, and every one of its columns
// can be reached; the second graph window does not open on top of the first.
TEST_F(SmallScreen, WindowsFitAndStatisticsLeaveThePlotFree)
{
    ASSERT_TRUE(kScreenSet);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(area.size(), QSize(1366, 768));
    QByteArray csv = "Sepal.Length,Petal.Width,Species\n";
    for (int i = 0; i < 60; ++i)
        csv += QByteArray::number(1000 + i * 9.7531, 'f', 4) + "," + QByteArray::number(i * 0.37, 'f', 2) + ","
               + (i % 3 == 0 ? "setosa" : i % 3 == 1 ? "versicolor" : "virginica") + "\n";
    import(csv);
    press(makeAnalysis("A", {"Sepal.Length", "Petal.Width"}, {"Species"}), 5);
    press(makeAnalysis("B", {"Sepal.Length"}, {"Species"}), 5);
    ASSERT_EQ(doc->graphWindowConts.size(), 2);
    QList<MyWindowController*> all{doc->baseWindowCont, doc->tableWindowCont};
    all += doc->graphWindowConts;
    all += doc->statsWindowConts;
    for (MyWindowController* c : all) {
        ASSERT_TRUE(c->window()->isVisible()) << qPrintable(c->window()->windowTitle());
        EXPECT_TRUE(area.contains(c->window()->frameGeometry())) << qPrintable(c->window()->windowTitle());
    }
    for (const auto* conts : {&doc->graphWindowConts, &doc->statsWindowConts})
        EXPECT_NE(conts->at(0)->window()->frameGeometry().topLeft(), conts->at(1)->window()->frameGeometry().topLeft());
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        QGraphicsView* plot = doc->graphWindowConts[i]->sceneView();
        const QRect plotOnScreen(plot->mapToGlobal(QPoint(0, 0)), plot->size());
        EXPECT_FALSE(doc->statsWindowConts[i]->window()->frameGeometry().intersects(plotOnScreen));
        EXPECT_GE(plot->height(), 300);
        auto* table = qobject_cast<QTableView*>(doc->statsWindowConts[i]->docTV);
        const int last = table->model()->columnCount() - 1;
        table->scrollTo(table->model()->index(0, last));
        const QRect cell = table->visualRect(table->model()->index(0, last));
        EXPECT_TRUE(table->viewport()->rect().contains(cell)) << cell.x() << "+" << cell.width();
    }
}

// The statistics window placed under its graph window on this screen, for few and many
// categories: it lies on the screen and its switches fit its drawer, whole and apart.
class SmallScreenSwitches : public AnalysisFixture, public ::testing::WithParamInterface<int> {};

TEST_P(SmallScreenSwitches, FitTheStatisticsDrawer)
{
    ASSERT_TRUE(kScreenSet);
    QByteArray csv = "v,g\n";
    for (int i = 0; i < 4 * GetParam(); ++i)
        csv += QByteArray::number(1 + i % 4 + i / 4) + ",g" + QByteArray::number(i / 4) + "\n";
    import(csv);
    press(makeAnalysis("A", {"v"}, {"g"}), 5);
    ASSERT_EQ(doc->statsWindowConts.size(), 1);
    MyWindowController* stats = doc->statsWindowConts[0];
    ASSERT_EQ(stats->docTV->model()->rowCount(), GetParam());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(stats->window()->frameGeometry()));
    EXPECT_TRUE(area.contains(doc->graphWindowConts[0]->window()->frameGeometry()));
    expectSwitchesFit(stats);
}

INSTANTIATE_TEST_SUITE_P(Categories, SmallScreenSwitches, ::testing::Values(1, 2, 40));

// Documents whose analyses of 1, 2 or 40 categories open with their statistics, the later
// ones cascaded: each graph window shows its plot (the graph rectangle) and its statistics
// window covers none of it.
class SmallScreenPlot : public AnalysisFixture, public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(SmallScreenPlot, InViewAndClearOfTheStatistics)
{
    ASSERT_TRUE(kScreenSet);
    const auto [documents, categories] = GetParam();
    QByteArray csv = "v,g\n";
    for (int i = 0; i < 4 * categories; ++i)
        csv += QByteArray::number(1 + i % 4 + i / 4) + ",g" + QByteArray::number(i / 4) + "\n";
    QList<Document*> docs;
    for (int d = 0; d < documents; ++d) {
        if (d > 0)
            doc = static_cast<Document*>(controller->newDocument());
        docs << doc;
        import(csv);
        press(makeAnalysis("A", {"v"}, {"g"}), 5);
    }
    QCoreApplication::processEvents();
    for (Document* d : docs) {
        MyWindowController* graph = d->graphWindowConts[0];
        QWidget* stats = d->statsWindowConts[0]->window();
        QGraphicsView* view = graph->sceneView();
        const QRect plot = view->mapFromScene(graph->viewManager->viewDict.value(MyViewManager::kGraphRect)->sceneBoundingRect())
                               .boundingRect();
        const QRect shown = plot & view->viewport()->rect();
        // A plot wider than the view fills it from its right edge; any other shows whole.
        EXPECT_EQ(shown.height(), plot.height());
        EXPECT_TRUE(shown.width() == plot.width() || (shown.right() == view->viewport()->rect().right() &&
                                                      shown.width() >= view->viewport()->width() / 2));
        EXPECT_FALSE(stats->frameGeometry().intersects(QRect(view->viewport()->mapToGlobal(shown.topLeft()), shown.size())));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(area.contains(graph->window()->frameGeometry()) && area.contains(stats->frameGeometry()));
    }
}

INSTANTIATE_TEST_SUITE_P(DocumentsAndCategories, SmallScreenPlot,
                         ::testing::Combine(::testing::Values(1, 2, 3), ::testing::Values(1, 2, 40)));
