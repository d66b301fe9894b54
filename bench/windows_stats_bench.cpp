// The statistics window of an analysis of 300 categories and 100,000 values: opened and its
// normality tests switched on (the tests of every category run), and all its rows copied.
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "stats/MyDescriptives.h"
#include "views/MyViewManager.h"
#include "windows/MyStatsTableView.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QMainWindow>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

constexpr int kCategories = 300;
constexpr int kValues = 100000;

struct Analysis {
    AppDelegate delegate;
    std::unique_ptr<Document> doc;
    std::unique_ptr<MyWindowController> graphCont;
    std::unique_ptr<MyViewManager> vm;
};

// Sizes from 183 to 483 around the mean of 333, values normal around 50 (all positive).
Analysis& analysis()
{
    static Analysis a;
    static bool once = [] {
        a.delegate.defaultsSource = DefaultsStore();
        a.delegate.finishLaunching();
        a.doc = std::make_unique<Document>(&a.delegate);
        a.graphCont = std::make_unique<MyWindowController>(QStringLiteral("GraphWindowD"));
        MyAnalysisData d;
        d.graphType = QStringLiteral("scatter");
        QRandomGenerator rng(3);
        std::vector<double> all;
        QStringList tags;
        int left = kValues;
        for (int i = 0; i < kCategories; ++i) {
            const int n = i + 1 == kCategories ? left : 183 + (i * 37) % 301;
            left -= n;
            std::vector<double> values(static_cast<size_t>(n));
            for (double& v : values) {
                const double u1 = 1.0 - rng.generateDouble(), u2 = rng.generateDouble();
                v = 50.0 + 10.0 * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
            }
            std::sort(values.begin(), values.end());
            const QString tag = QStringLiteral("group %1\tsite").arg(i + 1);
            tags << tag;
            all.insert(all.end(), values.begin(), values.end());
            d.values.insert(tag, std::move(values));
        }
        std::sort(all.begin(), all.end());
        d.values.insert(QString(), all);
        const MyDescriptives engine;
        for (auto it = d.values.cbegin(); it != d.values.cend(); ++it) {
            d.numbers.insert(it.key(), qint64(it.value().size()));
            d.descriptives.insert(it.key(), engine.descriptives(it.value()).second);
        }
        a.graphCont->myDoc = a.doc.get();
        a.graphCont->graphID = a.doc->appendAnalysis({{"valueSettings", QVariantMap{{"logarithmic", false}}}}, QString(),
                                                     a.doc->newStatsRecord());
        a.vm = std::make_unique<MyViewManager>(d, a.graphCont.get(), a.doc.get());
        a.vm->nameTags = tags;
        return true;
    }();
    (void)once;
    return a;
}

std::unique_ptr<MyWindowController> statsController(Analysis& a)
{
    auto c = std::make_unique<MyWindowController>(QStringLiteral("StatsWindowD"));
    c->myDoc = a.doc.get();
    c->graphID = a.graphCont->graphID;
    c->viewManager = a.vm.get();
    return c;
}

void BM_OpenWithNormalityTests(benchmark::State& state)
{
    Analysis& a = analysis();
    for (auto _ : state) {
        state.PauseTiming();
        a.doc->stats.last() = a.doc->newStatsRecord();
        state.ResumeTiming();

        auto c = statsController(a);
        c->window()->show();
        c->setStats();
        c->changeStats(2, true);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(c->docTV->model()->rowCount());
        state.counters["tested"] = double(a.doc->stats.last().value("stats").toMap().size());

        state.PauseTiming();
        c.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenWithNormalityTests)->Unit(benchmark::kMillisecond);

void BM_CopyAllRows(benchmark::State& state)
{
    Analysis& a = analysis();
    a.doc->stats.last() = a.doc->newStatsRecord();
    auto c = statsController(a);
    c->window()->show();
    c->changeStats(2, true);
    c->docTV->selectAll();
    for (auto _ : state)
        c->copy();
}
BENCHMARK(BM_CopyAllRows)->Unit(benchmark::kMillisecond);

}
