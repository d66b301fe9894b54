// Drawing a graph of many small path views: n dots in 300 groups (one group per column,
// each column a container of the graph rectangle), made, attached by setViews, then drawn
// into a PDF or an image. Target, creation plus PDF: at most 1.1 times BM_QtFloorPdf, a bare
// QPdfWriter drawing the same paths in the same run. Taking the graph down (as closing its
// document does): 100,000 dots under 50 ms, 1,000,000 under 500 ms.
#include "views/GraphItem.h"
#include "views/MyBaseView.h"
#include "views/MyOutputView.h"
#include "views/MyViewManager.h"
#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>

namespace {
constexpr int kGroups = 300;

struct Graph {
    std::unique_ptr<MyViewManager> vm = std::make_unique<MyViewManager>(MyAnalysisData(), nullptr, nullptr);
    MyOutputView* background = nullptr;

    explicit Graph(int dots, bool onScene = false)
    {
        const double width = 2.0 * kGroups + 40;
        background = new MyOutputView(Rect(0, 0, width, 440), {0, 0}, MyViewManager::kBackground,
                                      MyViewManager::kRootView, vm.get());
        vm->viewDict.insert(MyViewManager::kBackground, background);
        vm->viewColors.insert(MyViewManager::kBackground, {Qt::white, Qt::white});
        vm->viewBeziers.insert(MyViewManager::kBackground, {{BezierPath::bezierPathWithRect(background->bounds())}, {}});
        auto* rect = new MyView(Rect(20, 20, 2.0 * kGroups, 400), {0, 0}, MyViewManager::kGraphRect,
                                MyViewManager::kBackground, vm.get());
        vm->viewDict.insert(MyViewManager::kGraphRect, rect);
        background->addSubview(rect);
        for (int g = 0; g < kGroups; ++g) {
            const QString column = MyViewManager::columnViewName(QString::number(g));
            auto* c = new MyView(Rect(2.0 * g, 0, 2, 400), {-1, 0}, column, MyViewManager::kGraphRect, vm.get());
            vm->viewDict.insert(column, c);
            rect->addSubview(c);
            const QString group = "dot\t" + QString::number(g);
            vm->viewBezier.insert(group, BezierPath::bezierPathWithOvalInRect(Rect(-1.5, -1.5, 3, 3)));
            vm->viewColors.insert(group, {Qt::red, Qt::black});
            vm->viewVisible.insert(group, true);
            vm->viewSelected.insert(group, false);
            // As a dot step makes a group: one name, the members in order, one table entry.
            QVector<MySimpleView*> members;
            members.reserve(dots / kGroups + 1);
            for (int i = g; i < dots; i += kGroups) {
                const double y = 2 + (i / kGroups * 7) % 396;
                members << new MySimpleView(group, column, vm.get(), Rect(-2, y - 2, 4, 4), {-2, -2});
            }
            vm->viewsDict.insert(group, std::move(members));
        }
        vm->setViews();
        if (onScene) {
            // As a graph window holds it: the tree on the graph's scene.
            vm->installRootView(new MyBaseView());
            vm->viewDict.value(MyViewManager::kRootView)->addSubview(background);
            // Shown: the event loop has run once.
            QCoreApplication::processEvents();
        }
    }
};

// Each iteration makes a graph and draws it; taking it down again is not timed.
void BM_CreateAndPdf(benchmark::State& state)
{
    qint64 bytes = 0;
    for (auto _ : state) {
        auto graph = std::make_unique<Graph>(int(state.range(0)));
        bytes = GraphItem::pdfData(graph->background).size();
        benchmark::DoNotOptimize(bytes);
        state.PauseTiming();
        graph.reset();
        state.ResumeTiming();
    }
    state.counters["pdfBytes"] = double(bytes);
}
BENCHMARK(BM_CreateAndPdf)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The floor: the same page, paths and pens written by QPdfWriter alone, no views.
void BM_QtFloorPdf(benchmark::State& state)
{
    const int dots = int(state.range(0));
    const double width = 2.0 * kGroups + 40;
    qint64 bytes = 0;
    for (auto _ : state) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(72);
            writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
            writer.setPageSize(QPageSize(QSizeF(width, 440), QPageSize::Point, QString(), QPageSize::ExactMatch));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
            QPainter painter(&writer);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            QTransform page;
            page.translate(0, 440);
            page.scale(1, -1);
            painter.setTransform(page);
            painter.setPen(QPen(Qt::white, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            painter.setBrush(Qt::white);
            painter.drawRect(QRectF(0, 0, width, 440));
            QPainterPath dot;
            dot.addEllipse(QRectF(-1.5, -1.5, 3, 3));
            QPen pen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
            pen.setMiterLimit(10);
            // One path operation per dot, filled and stroked, as a dot view draws it.
            painter.setPen(pen);
            painter.setBrush(Qt::red);
            for (int g = 0; g < kGroups; ++g) {
                for (int i = g; i < dots; i += kGroups) {
                    const double y = 2 + (i / kGroups * 7) % 396;
                    painter.setTransform(QTransform::fromTranslate(20 + 2.0 * g + 1, 20 + y) * page);
                    painter.drawPath(dot);
                }
            }
        }
        bytes = data.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["pdfBytes"] = double(bytes);
}
BENCHMARK(BM_QtFloorPdf)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CreateAndImage(benchmark::State& state)
{
    for (auto _ : state) {
        auto graph = std::make_unique<Graph>(int(state.range(0)));
        benchmark::DoNotOptimize(GraphItem::image(graph->background).constBits());
        state.PauseTiming();
        graph.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateAndImage)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The parts on their own. bytesPerDot: the heap a graph holds, over its dots.
void BM_Create(benchmark::State& state)
{
    double perDot = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        auto graph = std::make_unique<Graph>(int(state.range(0)));
        state.PauseTiming();
        perDot = double(mallinfo2().uordblks - before) / double(state.range(0));
        graph.reset();
        state.ResumeTiming();
    }
    state.counters["bytesPerDot"] = perDot;
}
BENCHMARK(BM_Create)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Pdf(benchmark::State& state)
{
    Graph graph(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(GraphItem::pdfData(graph.background).size());
}
BENCHMARK(BM_Pdf)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The page that holds everything the graph draws, found before export, the package's PDF
// and print draw it: a walk over every view. Target: under a tenth of BM_Pdf of the same
// graph.
void BM_PageRect(benchmark::State& state)
{
    Graph graph(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(graph.background->pageRect());
}
BENCHMARK(BM_PageRect)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Taking a drawn graph down: its view manager, scene and every view, as a closed document
// or graph window does.
void BM_Close(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto graph = std::make_unique<Graph>(int(state.range(0)), true);
        benchmark::DoNotOptimize(GraphItem::image(graph->background, 0.1).constBits());
        state.ResumeTiming();
        graph.reset();
    }
}
BENCHMARK(BM_Close)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);
}
