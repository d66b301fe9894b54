// Opening documents whose analyses are large or many, through the document machinery as the
// application opens them (every analysis rebuilt with its windows and its graph laid out):
//   - rows x 2 with one dot plot of both columns (2 * rows dots); target at 10^6 rows: 2 s and
//     at most 250 bytes per dot above the table alone;
//   - rows x 20 with 20 analyses (10 dot plots, 10 boxplots, each one column by a group
//     column); target at 10^6 rows: within 4 GB;
//   - n analyses of a table of 100 rows; target at 5,000: 3 s;
//   - one boxplot of n categories (two values each); target at 10^5: 2 s;
//   - rows x 20 with 20 analyses whose normality tests are stored (every category and all
//     data): no slower than the same analyses without; with results an earlier version
//     stored (no digest of their values), tested again once.
// The first, smallest argument of each is the smoke run of the test suite.
#include "ProcessMemory.h"
#include "common/LoadTable.h"
#include "BenchApp.h"
#include "WidgetsBenchMain.h"
#include "analysis/MyDocumentAnalyses.h"
#include "analysis/NormalityResults.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MySelectorRootItem.h"
#include "platform/Dialogs.h"
#include "platform/DocumentController.h"
#include "platform/PropertyList.h"
#include "views/MyViewManager.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QMap>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <functional>
#include <malloc.h>
#include <memory>

namespace {

struct App : BenchApp {
    Document* newDocument(const TableData& table)
    {
        auto* doc = static_cast<Document*>(controller->newDocument());
        loadTable(*doc, table);
        return doc;
    }

    static void press(Document* doc, MyOutlineItem* item, const QVariant& value, int column)
    {
        MyWindowController* main = doc->baseWindowCont;
        main->outlineViewSetObjectValue(main->docOlV, value, QString::number(column), item);
    }
    // A new analysis of the data columns by the categorizing columns, drawn as "Graph" does.
    static void addAnalysis(Document* doc, const QList<int>& data, const QList<int>& categorizing, bool boxplot)
    {
        MyWindowController* main = doc->baseWindowCont;
        main->addNewAnalysis();
        auto* root = static_cast<MySelectorRootItem*>(main->rootItem);
        MySelectorItem* analysis = root->selectorChildAt(root->childCount() - 1);
        auto add = [&](int group, int column) {
            main->docTV->selectionModel()->select(main->docTV->model()->index(column, 0),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            press(doc, analysis->selectorChildAt(group), QVariant(), 2);
        };
        for (int c : data)
            add(1, c);
        for (int c : categorizing)
            add(2, c);
        if (boxplot)
            press(doc, analysis->selectorChildAt(0), QStringLiteral("boxplot"), 1);
        press(doc, analysis, QVariant(), 4);
    }
    void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The package of a document made by make, saved once and kept for the whole run.
    QString package(const QString& name, const std::function<void(App&, Document*&)>& make)
    {
        const QString path = dir.filePath(name + QStringLiteral(".vlbdoc"));
        if (QFile::exists(path))
            return path;
        Document* doc = nullptr;
        make(*this, doc);
        controller->saveAs(doc, path);
        controller->closeDocument(doc);
        settle();
        return path;
    }
};

App& app() { return fixtureUntilExit<App>(); }

// Numbers of three decimals from a fixed sequence, so every run sees the same table.
QString number(qint64 r, int c)
{
    const quint64 h = quint64(r) * 2654435761u + quint64(c) * 40503u;
    return QString::number(double(h % 1'000'000) / 1000.0, 'f', 3);
}

struct Opened {
    double seconds = 0, peakAddedMB = 0, keptMB = 0;
    qsizetype graphs = -1;
};

// Opens the package, timed, with the memory it takes while open and after; closed untimed.
Opened openTimed(benchmark::State& state, const QString& path)
{
    App& a = app();
    Opened o;
    state.PauseTiming();
    a.settle();
    restartPeak();
    const double before = statusMB("VmRSS:");
    state.ResumeTiming();
    auto* doc = static_cast<Document*>(a.controller->openDocument(path));
    state.PauseTiming();
    o.peakAddedMB = statusMB("VmHWM:") - before;
    o.keptMB = statusMB("VmRSS:") - before;
    if (doc) {
        o.graphs = doc->graphWindowConts.size();
        a.controller->closeDocument(doc);
    }
    a.settle();
    state.ResumeTiming();
    return o;
}

// Runs the open loop; a wrong count of graphs is reported (with the timer running, as the
// library requires after an error) and ends the benchmark.
void openLoop(benchmark::State& state, const QString& path, qsizetype graphs, double tableMB = 0, double dots = 0)
{
    Opened o;
    for (auto _ : state) {
        o = openTimed(state, path);
        if (o.graphs != graphs) {
            state.SkipWithError("the analyses were not rebuilt");
            return;
        }
    }
    state.counters["peakAddedMB"] = o.peakAddedMB;
    state.counters["keptMB"] = o.keptMB;
    if (dots > 0) {
        state.counters["tableMB"] = tableMB;
        state.counters["bytesPerDotKept"] = (o.keptMB - tableMB) * 1048576.0 / dots;
        state.counters["bytesPerDotPeak"] = (o.peakAddedMB - tableMB) * 1048576.0 / dots;
    }
}

TableData twoColumns(qint64 rows)
{
    TableData table{{"a"}, {"b"}};
    for (qint64 r = 0; r < rows; ++r)
        for (int c = 0; c < 2; ++c)
            table[c] << number(r, c);
    return table;
}

void BM_OpenDotPlotOfTwoColumns(benchmark::State& state)
{
    App& a = app();
    const qint64 rows = state.range(0);
    const QString table = a.package(QStringLiteral("table%1").arg(rows), [&](App& a, Document*& doc) {
        doc = a.newDocument(twoColumns(rows));
    });
    const QString path = a.package(QStringLiteral("dots%1").arg(rows), [&](App& a, Document*& doc) {
        doc = a.newDocument(twoColumns(rows));
        App::addAnalysis(doc, {0, 1}, {}, false);
    });
    // The table alone, opened once before the timed loop, is what the dots are measured above.
    a.settle();
    restartPeak();
    const double before = statusMB("VmRSS:");
    auto* doc = static_cast<Document*>(a.controller->openDocument(table));
    const double tableMB = statusMB("VmRSS:") - before;
    if (doc)
        a.controller->closeDocument(doc);
    a.settle();
    openLoop(state, path, 1, tableMB, 2.0 * double(rows));
}
BENCHMARK(BM_OpenDotPlotOfTwoColumns)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// 19 columns of numbers and a group column of 20 values; analysis i takes column i % 19.
QString twentyAnalyses(qint64 rows)
{
    return app().package(QStringLiteral("twenty%1").arg(rows), [&](App& a, Document*& doc) {
        TableData table;
        for (int c = 0; c < 19; ++c)
            table << QStringList{QStringLiteral("d%1").arg(c)};
        table << QStringList{QStringLiteral("group")};
        for (qint64 r = 0; r < rows; ++r) {
            for (int c = 0; c < 19; ++c)
                table[c] << number(r, c);
            table[19] << QStringLiteral("g%1").arg(r % 20);
        }
        doc = a.newDocument(table);
        for (int i = 0; i < 20; ++i)
            App::addAnalysis(doc, {i % 19}, {19}, i % 2 == 1);
    });
}

void BM_OpenTwentyAnalysesOfTwentyColumns(benchmark::State& state)
{
    openLoop(state, twentyAnalyses(state.range(0)), 20);
}
BENCHMARK(BM_OpenTwentyAnalysesOfTwentyColumns)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The twenty analyses above with their normality tests stored; "earlier" strips the digests of
// their values from the package, as an earlier version wrote it.
void BM_OpenTwentyTestedAnalyses(benchmark::State& state)
{
    App& a = app();
    const qint64 rows = state.range(0);
    const bool earlier = state.range(1) != 0;
    const QString name = QStringLiteral("tested%1%2").arg(rows).arg(earlier ? "earlier" : "");
    const QString path = a.package(name, [&](App& a, Document*& doc) {
        doc = static_cast<Document*>(a.controller->openDocument(twentyAnalyses(rows)));
        for (MyWindowController* stats : doc->statsWindowConts)
            for (int tag : {2, 20, 22})
                stats->changeStats(tag, true);
    });
    if (earlier) {
        for (int i = 0; i < 20; ++i) {
            const QString file = path + QStringLiteral("/stats/stats%1.plist").arg(i);
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly))
                break;
            QVariantMap record = PropertyList::fromData(f.readAll()).toMap();
            f.close();
            for (const char* key : {"stats", "logStats"}) {
                QVariantMap results = record.value(key).toMap();
                for (auto it = results.begin(); it != results.end(); ++it) {
                    QVariantMap r = it.value().toMap();
                    r.remove(NormalityResults::kDigest);
                    it.value() = r;
                }
                record.insert(key, results);
            }
            if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                f.write(PropertyList::toXml(record));
        }
    }
    openLoop(state, path, 20);
}
BENCHMARK(BM_OpenTwentyTestedAnalyses)->Args({1000, 0})->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond)->Iterations(1);

// A table of 100 rows (three columns of numbers and a group column of 5 values) with n
// analyses, every fourth a boxplot.
void BM_OpenManyAnalyses(benchmark::State& state)
{
    App& a = app();
    const int n = int(state.range(0));
    const QString path = a.package(QStringLiteral("many%1").arg(n), [&](App& a, Document*& doc) {
        TableData table{{"d0"}, {"d1"}, {"d2"}, {"group"}};
        for (int r = 0; r < 100; ++r) {
            for (int c = 0; c < 3; ++c)
                table[c] << number(r, c);
            table[3] << QStringLiteral("g%1").arg(r % 5);
        }
        doc = a.newDocument(table);
        for (int i = 0; i < n; ++i)
            App::addAnalysis(doc, {i % 3}, {3}, i % 4 == 3);
    });
    openLoop(state, path, n);
}
BENCHMARK(BM_OpenManyAnalyses)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One boxplot of a column by a group column of n values, two rows each.
void BM_OpenBoxplotOfManyCategories(benchmark::State& state)
{
    App& a = app();
    const qint64 n = state.range(0);
    const QString path = a.package(QStringLiteral("boxes%1").arg(n), [&](App& a, Document*& doc) {
        TableData table{{"value"}, {"group"}};
        for (qint64 r = 0; r < 2 * n; ++r) {
            table[0] << number(r, 0);
            table[1] << QStringLiteral("c%1").arg(r % n);
        }
        doc = a.newDocument(table);
        App::addAnalysis(doc, {0}, {1}, true);
    });
    openLoop(state, path, 1);
}
BENCHMARK(BM_OpenBoxplotOfManyCategories)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
