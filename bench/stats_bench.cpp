// Speed of the statistics engines: normal distribution per call, Shapiro-Wilk at 5000
// values with and without stored coefficients, Kolmogorov-Smirnov up to a million values.
// Targets: normsDist under 40 ns a call; Shapiro-Wilk at 5000 values under 0.3 ms for a new
// size and under 0.12 ms for a size seen before; Kolmogorov-Smirnov under 10 ms at 10^5
// values and under 100 ms at 10^6, with 60 far-out values costing nothing extra.
// The "AfterStringHash" runs and the uncached Shapiro-Wilk start each test as the
// application does: after Qt has hashed a string, which leaves the AVX upper registers dirty.
#include "stats/AscendingValues.h"
#include "stats/MyDescriptives.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyNorm2.h"
#include "stats/MyShapiro.h"

#include <QHash>
#include <QString>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {
MyNorm2& norms()
{
    static MyNorm2 norm;
    return norm;
}

void hashAString()
{
    static QHash<QString, int> table;
    table.insert(QStringLiteral("category"), 1);
    benchmark::DoNotOptimize(table);
}

std::vector<double> normalSample(size_t n, unsigned seed)
{
    std::mt19937_64 gen(seed);
    std::normal_distribution<double> dist(50.0, 7.0);
    std::vector<double> v(n);
    for (double& x : v)
        x = dist(gen);
    return v;
}

// Start-up cost: reading and checking both resources.
void BM_LoadTables(benchmark::State& state)
{
    for (auto _ : state) {
        MyNorm2 norm;
        MyShapiro shapiro(&norm);
        benchmark::DoNotOptimize(shapiro.coefficientsRes().size());
    }
}
BENCHMARK(BM_LoadTables)->Unit(benchmark::kMillisecond);

// One call per iteration on arguments spread evenly over [low, high].
template <double (MyNorm2::*function)(double) const>
void perCall(benchmark::State& state, double low, double high)
{
    std::mt19937_64 gen(1);
    std::uniform_real_distribution<double> dist(low, high);
    std::vector<double> args(4096);
    for (double& a : args)
        a = dist(gen);
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize((norms().*function)(args[i++ & 4095]));
}

void BM_normsDist(benchmark::State& state) { perCall<&MyNorm2::normsDist>(state, -6.0, 6.0); }
BENCHMARK(BM_normsDist);


void BM_normInv(benchmark::State& state) { perCall<&MyNorm2::normInv>(state, 1e-9, 1.0 - 1e-9); }
BENCHMARK(BM_normInv);

void BM_ShapiroWilk5000Cached(benchmark::State& state)
{
    MyShapiro engine(&norms());
    const std::vector<double> v = normalSample(5000, 3);
    engine.coefficient(5000);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.shapiroWilkTest(v));
}
BENCHMARK(BM_ShapiroWilk5000Cached)->Unit(benchmark::kMicrosecond);

void BM_ShapiroWilk5000Uncached(benchmark::State& state)
{
    MyShapiro engine(&norms());
    const MyShapiro::CoefficientTable stored = engine.coefficientsRes();
    const std::vector<double> v = normalSample(5000, 4);
    for (auto _ : state) {
        state.PauseTiming();
        engine.setCoefficientsRes(stored);
        hashAString();
        state.ResumeTiming();
        benchmark::DoNotOptimize(engine.shapiroWilkTest(v));
    }
}
BENCHMARK(BM_ShapiroWilk5000Uncached)->Unit(benchmark::kMicrosecond);

void kolmogorovSmirnov(benchmark::State& state, std::vector<double> v, bool afterHash)
{
    static const MyDescriptives descriptives;
    const MyKolmogorov engine(&descriptives, &norms());
    for (auto _ : state) {
        if (afterHash)
            hashAString();
        benchmark::DoNotOptimize(engine.ksTest(v, "norms"));
    }
}

void BM_KolmogorovSmirnov(benchmark::State& state)
{
    kolmogorovSmirnov(state, normalSample(size_t(state.range(0)), 5), false);
}
BENCHMARK(BM_KolmogorovSmirnov)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// As the analysis builder hands the values over: ascending.
void BM_KolmogorovSmirnovSorted(benchmark::State& state)
{
    std::vector<double> v = normalSample(size_t(state.range(0)), 5);
    std::sort(v.begin(), v.end());
    kolmogorovSmirnov(state, std::move(v), false);
}
BENCHMARK(BM_KolmogorovSmirnovSorted)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// 60 values 200 standard deviations out, 40 of the fitted ones, where the normal
// distribution function once integrated for milliseconds a call.
void BM_KolmogorovSmirnovFarOut(benchmark::State& state)
{
    std::vector<double> v = normalSample(size_t(state.range(0)), 5);
    for (size_t i = 0; i < 60; ++i)
        v[i * 97] = 50.0 + (i % 2 ? 1400.0 : -1400.0);
    kolmogorovSmirnov(state, std::move(v), false);
}
BENCHMARK(BM_KolmogorovSmirnovFarOut)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SortAscending(benchmark::State& state)
{
    const std::vector<double> v = normalSample(size_t(state.range(0)), 6);
    for (auto _ : state) {
        std::vector<double> copy = v;
        AscendingValues::sort(copy);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_SortAscending)->Arg(5000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The costliest p values: the Durbin matrix at the largest sizes and n d^2 it still serves.
void BM_KolmogorovDurbinLargest(benchmark::State& state)
{
    static const MyDescriptives descriptives;
    const MyKolmogorov engine(&descriptives, &norms());
    const int64_t n = state.range(0);
    const double d = std::sqrt(double(state.range(1)) / 100.0 / double(n));
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.ksFbar(d, n));
}
BENCHMARK(BM_KolmogorovDurbinLargest)->Args({4000, 264})->Args({9000, 144})->Unit(benchmark::kMillisecond);

void BM_KolmogorovSmirnovAfterStringHash(benchmark::State& state)
{
    kolmogorovSmirnov(state, normalSample(size_t(state.range(0)), 5), true);
}
BENCHMARK(BM_KolmogorovSmirnovAfterStringHash)->Arg(100000)->Unit(benchmark::kMillisecond);
}

BENCHMARK_MAIN();
