// The table text codec on a 100,000-row x 20-column table (about 20 MB of text).
#include "app/TableTextCodec.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 20;

const TableData& bigTable()
{
    static const TableData table = [] {
        QRandomGenerator random(42);
        TableData columns(kColumns);
        for (int c = 0; c < kColumns; ++c) {
            columns[c].reserve(kRows + 1);
            columns[c].append(QStringLiteral("column %1").arg(c));
            for (int r = 0; r < kRows; ++r) {
                // Mostly numbers of about ten characters, now and then a text with a comma.
                if (random.bounded(50) == 0)
                    columns[c].append(QStringLiteral("Smith, J%1").arg(r % 10));
                else
                    columns[c].append(QString::number(random.bounded(1000000) / 1000.0, 'f', 5));
            }
        }
        return columns;
    }();
    return table;
}

void BM_WriteTable(benchmark::State& state)
{
    const TableData& table = bigTable();
    qint64 bytes = 0;
    for (auto _ : state) {
        QString text = TableTextCodec::write(table);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["chars"] = double(bytes);
    state.SetBytesProcessed(state.iterations() * bytes * 2);
}
BENCHMARK(BM_WriteTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadTable(benchmark::State& state)
{
    const QString text = TableTextCodec::write(bigTable());
    for (auto _ : state) {
        TableData columns = TableTextCodec::read(text, QStringLiteral("Auto"));
        benchmark::DoNotOptimize(columns);
    }
    state.counters["chars"] = double(text.size());
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_ReadTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
