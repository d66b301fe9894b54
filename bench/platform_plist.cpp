// Reading a property list whose root holds one array of 150,000 reals (the size of the
// normal distribution table), in both formats, and a dictionary of 150,000 keys.
#include "platform/PropertyList.h"

#include <benchmark/benchmark.h>

namespace {

QVariantMap largeArray()
{
    QVariantList reals;
    reals.reserve(150000);
    for (int i = 0; i < 150000; ++i)
        reals << 1.0 / (i + 1);
    return {{"norms", reals}, {"step", 0.0001}};
}

QVariantMap largeDictionary()
{
    QVariantMap map;
    for (int i = 0; i < 150000; ++i)
        map.insert(QString::number(i), i);
    return map;
}

void read(benchmark::State& state, const QByteArray& data)
{
    for (auto _ : state) {
        const QVariant v = PropertyList::fromData(data);
        benchmark::DoNotOptimize(v);
        if (!v.isValid())
            state.SkipWithError("not read");
    }
}

void BM_ArrayBinary(benchmark::State& state) { read(state, PropertyList::toBinary(largeArray())); }
void BM_ArrayXml(benchmark::State& state) { read(state, PropertyList::toXml(largeArray())); }
void BM_DictionaryBinary(benchmark::State& state) { read(state, PropertyList::toBinary(largeDictionary())); }

} // namespace

BENCHMARK(BM_ArrayBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrayXml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DictionaryBinary)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
