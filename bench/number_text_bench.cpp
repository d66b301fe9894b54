// Number text on table-sized inputs: reading a column of 100,000 cells and writing values.
#include "platform/NumberText.h"

#include <QRandomGenerator>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

const QStringList& cells()
{
    static const QStringList list = [] {
        QRandomGenerator random(42);
        QStringList out;
        for (int i = 0; i < 100000; ++i)
            out << QString::number(random.bounded(1000000) / 1000.0, 'f', 5);
        return out;
    }();
    return list;
}

void BM_ScanColumn(benchmark::State& state)
{
    for (auto _ : state) {
        double sum = 0;
        for (const QString& cell : cells()) {
            double v = 0;
            if (NumberText::scanDouble(cell, &v))
                sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * cells().size());
}
BENCHMARK(BM_ScanColumn)->Unit(benchmark::kMillisecond);

void BM_FixedColumn(benchmark::State& state)
{
    for (auto _ : state) {
        qsizetype length = 0;
        for (int i = 0; i < 100000; ++i)
            length += NumberText::fixed(i * 0.37, 6).size();
        benchmark::DoNotOptimize(length);
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_FixedColumn)->Unit(benchmark::kMillisecond);

void BM_RealStringColumn(benchmark::State& state)
{
    for (auto _ : state) {
        qsizetype length = 0;
        for (int i = 0; i < 100000; ++i)
            length += NumberText::realString(i * 0.37).size();
        benchmark::DoNotOptimize(length);
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_RealStringColumn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
