#pragma once
// Kolmogorov-Smirnov test of normality for large samples, with the p value P(Dn >= d) of
// the two-sided statistic after Simard and L'Ecuyer: Durbin matrix, Pomeranz recursion,
// Pelz-Good series and Smirnov's one-sided upper tail, chosen by n and n d^2.
#include "stats/NormalityResult.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class MyDescriptives;
class MyNorm2;

class MyKolmogorov {
public:
    // Keeps both engines (not owned); they must outlive this one.
    MyKolmogorov(const MyDescriptives* descriptives, const MyNorm2* norms);

    // A square m x m matrix in row-major order, standing for values x 10^exponent.
    struct Matrix {
        std::vector<double> values;
        int64_t exponent = 0;
    };

    const int64_t nExact = 500;
    const int64_t nKolmo = 100000;
    // Above nExact and up to these sizes the Durbin matrix also stands in for the series:
    // for n d^2 < 1.45 and for 1.45 <= n d^2 < 2.65.
    const int64_t nSeriesClose = 9000;
    const int64_t nSeriesFar = 4000;
    const double norm = 1e140;
    const double iNorm = 1e-140;
    const int64_t logNorm = 140;
    const std::array<double, 31>& lnFact() const { return m_lnFact; }
    const MyDescriptives* ourDescriptives() const { return m_descriptives; }
    const MyNorm2* ourNorm() const { return m_norm; }

    // ln(n!).
    double logFact(int64_t n) const;
    // ln(1 + x), accurate for small x.
    double log1p(double x) const;
    std::vector<double> matrixMultiply(const std::vector<double>& a1, const std::vector<double>& a2,
                                       int64_t m) const;
    void renormalizeMatrix(Matrix& matrix, int64_t m) const;
    // A^n along the halving chain of n (n >= 2).
    Matrix matrixPower(const Matrix& a, int64_t m, const std::vector<int64_t>& chain) const;
    static std::vector<int64_t> halvingChain(int64_t n);
    // P(Dn < d), n >= 2.
    double durbinMatrix(double d, int64_t n) const;
    // P(Dn <= d).
    double ksCdf(double d, int64_t n) const;
    // P(Dn+ >= d).
    double ksPlusBarUpper(double d, int64_t n) const;
    // P(Dn >= d).
    double ksFbar(double d, int64_t n) const;

    // Dn of distribution-function values in ascending order (at least one), and its p.
    NormalityResult ksStatistic(const std::vector<double>& u) const;
    // mean and sd are those of the values times scale, a power of two: the values are
    // standardised as (x scale - mean) / sd.
    NormalityResult ksNormalStatistic(const std::vector<double>& sortedValues, double mean, double sd,
                                      double scale = 1.0) const;
    // Values in any order; the only distribution name is "norms". No result for another
    // name or for values that are all equal; (0, 1) for fewer than two values.
    std::optional<NormalityResult> ksTest(const std::vector<double>& values, const QString& name) const;

private:
    // Dn of the n distribution-function values uAt(0) ... uAt(n - 1), ascending, and its p:
    // both sides of each step of the empirical distribution function.
    template <class ValueAt>
    NormalityResult statisticOf(int64_t n, ValueAt uAt) const
    {
        if (n == 0)
            return {0.0, 1.0};
        const double nd = double(n);
        double dn = 0.0;
        for (int64_t k = 1; k <= n; ++k) {
            const double v = uAt(size_t(k - 1));
            dn = std::max({dn, double(k) / nd - v, v - double(k - 1) / nd});
        }
        return {dn, ksFbar(dn, n)};
    }

    double pomeranz(double d, int64_t n) const;
    double pelzGood(double d, int64_t n) const;
    double exactNearZero(double d, int64_t n) const;
    bool seriesTooCoarse(double w, int64_t n) const;

    std::array<double, 31> m_lnFact{};
    const MyDescriptives* m_descriptives;
    const MyNorm2* m_norm;
};
