#include "stats/AscendingValues.h"

#include "stats/MyDescriptives.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {
// Below this size a comparison sort is as fast and needs no buffers.
constexpr size_t kSpreadFrom = 256;
// Buckets this small are finished by insertion; larger ones (clusters) by comparisons.
constexpr uint32_t kInsertionUpTo = 24;
constexpr size_t kSample = 256;

void insertionSort(double* first, double* last)
{
    for (double* i = first + 1; i < last; ++i) {
        const double v = *i;
        double* j = i;
        for (; j > first && v < j[-1]; --j)
            *j = j[-1];
        *j = v;
    }
}
}

bool AscendingValues::finiteAndAscending(const std::vector<double>& values)
{
    for (size_t i = 0; i < values.size(); ++i)
        if (!std::isfinite(values[i]) || (i > 0 && values[i] < values[i - 1]))
            return false;
    return true;
}

const std::vector<double>& AscendingValues::of(const std::vector<double>& values, std::vector<double>& storage)
{
    if (finiteAndAscending(values))
        return values;
    storage = MyDescriptives::finiteValues(values);
    sort(storage);
    return storage;
}

void AscendingValues::sort(std::vector<double>& values)
{
    // Spread into about n / 2 buckets by value, then finish each bucket: samples fill the
    // buckets evenly enough that this takes a few passes, and a cluster costs no more than
    // sorting it by comparisons.
    const size_t n = values.size();
    if (n < kSpreadFrom) {
        std::sort(values.begin(), values.end());
        return;
    }
    // The buckets span a strided sample less its ends, so that a few far-out values share
    // the end buckets instead of squeezing all others into a few.
    std::array<double, kSample> sample;
    for (size_t i = 0; i < kSample; ++i)
        sample[i] = values[i * (n / kSample)];
    std::sort(sample.begin(), sample.end());
    double low = sample[1];
    double range = sample[kSample - 2] - low;
    if (!(range > 0.0) || !std::isfinite(range)) {
        const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
        low = *lo;
        range = *hi - low;
    }
    const size_t buckets = n / 2;
    if (!(range > 0.0) || !std::isfinite(range) || !std::isfinite(double(buckets) / range)) {
        // Equal values, a range beyond doubles (values near +-1.8e308), or one so small
        // (subnormal) that buckets per unit of value are beyond doubles too: the lowest value
        // would fall in bucket 0 times infinity.
        std::sort(values.begin(), values.end());
        return;
    }
    const double last = double(buckets - 1);
    const double scale = double(buckets) / range;
    std::vector<uint32_t> bucketOf(n);
    std::vector<uint32_t> start(buckets + 1, 0);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t b = uint32_t(std::clamp((values[i] - low) * scale, 0.0, last));
        bucketOf[i] = b;
        ++start[b + 1];
    }
    for (size_t b = 1; b <= buckets; ++b)
        start[b] += start[b - 1];
    std::vector<double> spread(n);
    {
        std::vector<uint32_t> next(start.begin(), start.end() - 1);
        for (size_t i = 0; i < n; ++i)
            spread[next[bucketOf[i]]++] = values[i];
    }
    for (size_t b = 0; b < buckets; ++b) {
        double* first = spread.data() + start[b];
        double* end = spread.data() + start[b + 1];
        if (end - first <= 1)
            continue;
        if (uint32_t(end - first) <= kInsertionUpTo)
            insertionSort(first, end);
        else
            std::sort(first, end);
    }
    values.swap(spread);
}
