#pragma once
// Descriptive statistics and box values of one category. Stateless. Values that are not
// finite (NaN, infinities) are left out by descriptives, variancesFromValues, quartiles and
// boxValues: they have no place in a sum or an order.
#include "stats/BoxValuesDict.h"
#include "stats/DescriptivesDict.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class MyDescriptives {
public:
    struct Variances {
        double varianceP = 0.0, variance = 0.0, stdevP = 0.0, stdev = 0.0;
    };
    struct VarianceSummary {
        int64_t n = 0;
        std::optional<double> mean, varianceP, variance, stdevP, stdev;
    };
    struct Quartiles {
        double median = 0.0, q1 = 0.0, q3 = 0.0;
        double lowerWhisker = 0.0, upperWhisker = 0.0;
        std::vector<double> outliers;  // ascending
    };
    struct Moments {
        std::optional<double> skP, sk, kuP, ku;
    };
    struct BoxValues {
        BoxValuesDict dict;
        std::vector<double> outliers;  // ascending; empty for "scatter"
    };

    // Sum of the values / n (n is the argument, not the count).
    double mean(const std::vector<double>& values, int64_t n) const;
    // Divisors n and n - 1.
    Variances variances(const std::vector<double>& values, int64_t n, double mean) const;
    VarianceSummary variancesFromValues(const std::vector<double>& values) const;
    // The summary of the finite values times 2^exponent (UnitScale::exponentOf their extremes):
    // a mean and standard deviation that keep all their bits whatever the values' own scale,
    // where those of subnormal values have few.
    struct ScaledSummary {
        VarianceSummary summary;
        int exponent = 0;
    };
    ScaledSummary scaledVariancesFromValues(const std::vector<double>& values) const;
    // The median of the first n values, which must be ascending; NaN when n < 1.
    double median(const std::vector<double>& sorted, int64_t n) const;
    // Tukey's hinges with 1.5 x IQR fences, values in any order; empty without values.
    std::optional<Quartiles> quartiles(const std::vector<double>& values) const;
    // sk needs n >= 3, ku n >= 4; a result that is not finite is absent.
    Moments skewKurt(const std::vector<double>& values, int64_t n, double mean, double stdevP,
                     double stdev) const;
    // (n, statistics) of values in any order.
    std::pair<int64_t, DescriptivesDict> descriptives(const std::vector<double>& values) const;
    // Values ascending; graphType "scatter" gives mean and median, any other the box.
    BoxValues boxValues(const std::vector<double>& sortedValues, const QString& graphType) const;

    static std::vector<double> finiteValues(const std::vector<double>& values);

    // Of finite values times `scale` (a power of two), by compensated sums: the mean, the mean
    // of the deviations from it (its rounding error), and the sum of squared deviations from
    // the exact mean.
    struct Centre {
        double mean = 0.0, shift = 0.0, squares = 0.0;
    };
    static Centre centreOf(const std::vector<double>& finite, double scale = 1.0);

private:
    struct Centred {
        Centre centre;
        bool allEqual = false;
    };
    // equal: every value is the same (the caller knows it from the order or the extremes).
    Centred centre(const std::vector<double>& finite, bool equal, double scale) const;
    VarianceSummary summary(const std::vector<double>& finite, const Centred& centred) const;
    // x finite, ascending and not empty.
    Quartiles quartilesOfAscending(const std::vector<double>& x) const;
};
