#pragma once
// The finite values of a sample in ascending order, as every engine needs them. The analysis
// builder hands its lists over sorted already: those are used as they are, neither copied
// nor sorted again.
#include <vector>

class AscendingValues {
public:
    // `values` itself when it is finite and ascending, else its finite values sorted into
    // `storage`, which is then returned.
    static const std::vector<double>& of(const std::vector<double>& values, std::vector<double>& storage);
    static bool finiteAndAscending(const std::vector<double>& values);
    // Sorts finite values ascending: spread into buckets by value, then each bucket sorted,
    // several times faster than comparisons alone for thousands of values.
    static void sort(std::vector<double>& values);
};
