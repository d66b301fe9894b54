#pragma once
// Shapiro-Wilk test of normality after Royston (AS R94): coefficients from normal quantiles
// with polynomial corrections, p from a normalising transformation of W.
#include "stats/NormalityResult.h"

#include <QVariantMap>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class MyNorm2;

class MyShapiro {
public:
    using CoefficientTable = std::map<int64_t, std::vector<double>>;

    // Loads the coefficient table from ":/Shapiro.plist". Throws std::runtime_error with a
    // readable message when the resource is missing or broken. `norms` is kept, not owned.
    explicit MyShapiro(MyNorm2* norms);
    // From the parsed resource dictionary: keys are sample sizes written as decimal
    // integers, values the n/2 coefficients of that size. Throws as above.
    MyShapiro(MyNorm2* norms, const QVariantMap& resource);

    const MyNorm2* ourNorm() const { return m_norm; }
    const CoefficientTable& coefficientsRes() const { return m_coefficients; }
    void setCoefficientsRes(CoefficientTable table) { m_coefficients = std::move(table); }

    // The n/2 coefficients for n values (all negative), computed once per size; empty for
    // n < 2.
    const std::vector<double>& coefficient(int64_t n);
    // The coefficients for n computed from the normal quantiles, without the table.
    std::vector<double> computeCoefficients(int64_t n) const;

    // (W, p) of values in any order. (1, 1) for fewer than three values; no result when all
    // values are equal (W would be 0 / 0).
    std::optional<NormalityResult> shapiroWilkTest(const std::vector<double>& values);

    // The table of a resource dictionary, or the reason it cannot be used.
    static std::optional<CoefficientTable> tableFrom(const QVariantMap& resource, QString* problem);
    // The resource dictionary of a table.
    static QVariantMap resourceFrom(const CoefficientTable& table);

private:
    const MyNorm2* m_norm;
    CoefficientTable m_coefficients;
};
