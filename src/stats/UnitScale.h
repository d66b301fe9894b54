#pragma once
// The power of two that brings a sample to the order of 1. The normality tests, skewness and
// kurtosis do not depend on the scale of the values, but their sums of squares do: values near
// 1e-300 square to 0 and values near 1e300 to infinity. A power of two changes no digit of a
// value, so sums of the scaled sample are those of the original with unlimited range.
class UnitScale {
public:
    // e such that 2^e times the larger magnitude of the sample's extremes (finite) lies in
    // [1, 2); 0 when both are 0. Below 2^-1022 it is 1023, the largest e whose 2^e is a double:
    // it takes the nonzero magnitudes of a subnormal sample exactly into [2^-51, 2), far enough
    // from the subnormals that squares and fourth powers of its deviations keep their bits.
    static int exponentOf(double lowest, double highest);
    // 2^exponentOf.
    static double factorOf(double lowest, double highest);
};
