#pragma once
// A sample brought to the order of 1 by a power of two. The normality tests, skewness and
// kurtosis do not depend on the scale of the values, but their sums of squares do: values near
// 1e-300 square to 0 and values near 1e300 to infinity. A power of two changes no digit of a
// value, so sums of the scaled sample are those of the original with unlimited range.
#include <vector>

class UnitScale {
public:
    // e such that 2^e times the largest magnitude of the finite values lies in [1, 2); 0 when
    // there is no value other than 0.
    static int exponentOf(const std::vector<double>& finite);
    // The same for a largest magnitude (finite, not negative).
    static int exponentOf(double largest);
    // The finite values times 2^exponentOf, in `storage`; `finite` itself when that is 1.
    static const std::vector<double>& of(const std::vector<double>& finite, std::vector<double>& storage);
};
