// Save and open of a 100,000-row x 20-column document, and the memory that typed cells with
// their undo steps add to it.
#include "app/AppDelegate.h"
#include "document/Document.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 20;

AppDelegate& delegate()
{
    static AppDelegate d;
    d.defaultColumnSettings = {{"width", "70"}};
    return d;
}

std::unique_ptr<Document> bigDocument()
{
    auto doc = std::make_unique<Document>(&delegate());
    QRandomGenerator rng(1);
    for (int c = 0; c < kColumns; ++c) {
        QStringList column;
        column.reserve(kRows + 1);
        column.append(QStringLiteral("Column%1").arg(c + 1));
        for (int r = 0; r < kRows; ++r)
            column.append(c % 5 == 4 ? QStringLiteral("group%1").arg(rng.bounded(10))
                                     : QString::number(rng.bounded(100000) / 100.0));
        doc->tableData.append(column);
        doc->columnSettings.append(delegate().defaultColumnSettings);
        doc->columnCounter.append(0);
    }
    doc->setTableData();
    doc->historyOfTableData.reset(doc->tableData);
    doc->historyOfColumnSettings = {doc->columnSettings};
    doc->historyOfColumnCounter = {doc->columnCounter};
    return doc;
}

double residentMB()
{
    malloc_trim(0);
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_SaveDocument(benchmark::State& state)
{
    auto doc = bigDocument();
    QTemporaryDir temp;
    int n = 0;
    for (auto _ : state) {
        const QString path = temp.filePath(QStringLiteral("d%1.vlbdoc").arg(n++));
        QDir().mkpath(path);
        if (!doc->writePackage(path, SaveKind::Save, nullptr))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenDocument(benchmark::State& state)
{
    QTemporaryDir temp;
    const QString path = temp.filePath("d.vlbdoc");
    QDir().mkpath(path);
    bigDocument()->writePackage(path, SaveKind::Save, nullptr);
    for (auto _ : state) {
        Document doc(&delegate());
        if (!doc.readPackage(path, nullptr))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(doc.tableMatrix);
    }
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

// One typed cell inside the table: the block write and its undo step.
void BM_TypedCell(benchmark::State& state)
{
    auto doc = bigDocument();
    QRandomGenerator rng(3);
    for (auto _ : state) {
        const int column = 1 + rng.bounded(kColumns), row = 1 + rng.bounded(kRows);
        doc->modifyTableWithArray({{QString::number(rng.bounded(1000))}}, column, row, false, false);
        doc->setTableDataWithSettingsWithSettings(false, 1, "Input");
    }
}
BENCHMARK(BM_TypedCell)->Unit(benchmark::kMillisecond)->Iterations(100);

// Memory added by 100 typed cells at random places, each with its undo step.
void BM_MemoryOf100TypedCells(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = bigDocument();
        QRandomGenerator rng(4);
        const double before = residentMB();
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i) {
            const int column = 1 + rng.bounded(kColumns), row = 1 + rng.bounded(kRows);
            doc->modifyTableWithArray({{QStringLiteral("typed%1").arg(i)}}, column, row, false, false);
            doc->setTableDataWithSettingsWithSettings(false, 1, "Input");
        }
        state.PauseTiming();
        state.counters["addedMB"] = residentMB() - before;
        state.counters["storedCells"] = double(doc->historyOfTableData.storedCells());
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MemoryOf100TypedCells)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
