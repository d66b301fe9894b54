#pragma once
// The standard normal distribution from a table of two-sided tail probabilities on a grid,
// refined by integrating the density between grid points: in closed form by its Taylor
// series for the distribution function, as the trapezoid walk over fine steps for the
// quantile.
#include <QString>
#include <QVariantMap>
#include <cstdint>
#include <vector>

class MyNorm2 {
public:
    // Loads ":/NormRes2.plist". Throws std::runtime_error with a readable message when the
    // resource is missing or does not hold a usable table.
    MyNorm2();
    // From the parsed resource dictionary ("norms", "step", "resStep", "resLimit").
    // Throws std::runtime_error as above.
    explicit MyNorm2(const QVariantMap& resource);

    static constexpr double topVal = 0.3989422804014327;  // density at 0
    // 2^63, standing for an infinite quantile.
    static constexpr double infiniteQuantile = 9.223372036854776e18;

    double step() const { return m_step; }
    void setStep(double v) { m_step = v; derive(); }
    double resStep() const { return m_resStep; }
    void setResStep(double v) { m_resStep = v; derive(); }
    double resLimit() const { return m_resLimit; }
    void setResLimit(double v) { m_resLimit = v; }
    int64_t numRes() const { return m_numRes; }
    void setNumRes(int64_t v) { m_numRes = v; }
    double topStep() const { return m_topStep; }
    void setTopStep(double v) { m_topStep = v; }
    double top2Step() const { return m_top2Step; }
    void setTop2Step(double v) { m_top2Step = v; }
    const std::vector<double>& norms() const { return m_norms; }
    void setNorms(std::vector<double> v) { m_norms = std::move(v); derive(); }

    // Twice the integral of the density from x1 to x2 (trapezoid rule, stride step()).
    double cumlativeMedial(double x1, double x2) const;
    // P(Z <= x). Below 0 the lower tail itself, so that P(Z > z) asked as normsDist(-z)
    // keeps its digits however small it is.
    double normsDist(double x) const;
    // z with P(Z <= z) = p; +-infiniteQuantile outside (0, 1).
    double normInv(double p) const;

    // Why a resource dictionary cannot be used; empty when it can.
    static QString problemWith(const QVariantMap& resource);

private:
    void load(const QVariantMap& resource);
    // The values that the hot paths would otherwise divide for, after any field change.
    void derive();
    double density(double v) const;
    // 2 P(Z > a) for a >= 0.
    double twoSidedTail(double a) const;
    // The first table index whose tail is at or below q (norms[last] < q < 1), searched from
    // the rough |quantile|.
    size_t firstAtOrBelow(double q, double rough) const;
    // |quantile| for the two-sided tail q between norms[i - 1] and norms[i].
    double withinInterval(size_t i, double q, double rough) const;
    // |quantile| past the table, m = norms[last] - q.
    double beyondTable(double m) const;

    double m_step = 1e-8;
    double m_resStep = 0.0001;
    double m_resLimit = 0.0;
    int64_t m_numRes = 10000;
    double m_topStep = 0.0;
    double m_top2Step = 0.0;
    std::vector<double> m_norms;
    double m_inverseResStep = 10000.0;
    double m_inverseStep = 1e8;
    double m_onGrid = 1e-12;
    double m_tableEnd = 0.0;
};
