#include "stats/MyShapiro.h"

#include "stats/AscendingValues.h"
#include "stats/MyDescriptives.h"
#include "stats/MyNorm2.h"
#include "stats/StatsResource.h"
#include "stats/UnitScale.h"
#include "stats/VectorState.h"

#include <QVariantList>
#include <algorithm>
#include <cmath>

namespace {
const QString kResourceName = QStringLiteral("Shapiro.plist");
// For three values the weights are exact: -1/sqrt(2) on the outer pair.
const std::vector<double> kThree{-0.7071067811865476};

double polynomial(const double (&c)[5], double u)
{
    return u * (c[0] + u * (c[1] + u * (c[2] + u * (c[3] + u * c[4]))));
}
}

MyShapiro::MyShapiro(MyNorm2* norms)
    : MyShapiro(norms, StatsResource::dictionary(kResourceName))
{
}

MyShapiro::MyShapiro(MyNorm2* norms, const QVariantMap& resource)
    : m_norm(norms)
{
    QString problem;
    std::optional<CoefficientTable> table = tableFrom(resource, &problem);
    StatsResource::require(kResourceName, problem);
    m_coefficients = std::move(*table);
    m_coefficients.emplace(3, kThree);
}

std::optional<MyShapiro::CoefficientTable> MyShapiro::tableFrom(const QVariantMap& resource,
                                                                QString* problem)
{
    CoefficientTable table;
    for (auto it = resource.begin(); it != resource.end(); ++it) {
        bool ok = false;
        const qint64 n = it.key().toLongLong(&ok);
        if (!ok || n < 2 || QString::number(n) != it.key()) {
            *problem = QStringLiteral("key \"%1\" is not a sample size").arg(it.key());
            return std::nullopt;
        }
        if (it.value().typeId() != QMetaType::QVariantList || it.value().toList().size() != n / 2) {
            *problem = QStringLiteral("size %1 needs an array of %2 coefficients").arg(n).arg(n / 2);
            return std::nullopt;
        }
        std::vector<double> a;
        for (const QVariant& v : it.value().toList()) {
            if (!StatsResource::isNumber(v) || !(v.toDouble() < 0.0) || !std::isfinite(v.toDouble())) {
                *problem = QStringLiteral("size %1 has a coefficient that is not a negative number").arg(n);
                return std::nullopt;
            }
            a.push_back(v.toDouble());
        }
        table.emplace(n, std::move(a));
    }
    return table;
}

QVariantMap MyShapiro::resourceFrom(const CoefficientTable& table)
{
    QVariantMap map;
    for (const auto& [n, a] : table) {
        QVariantList list;
        for (double v : a)
            list << v;
        map.insert(QString::number(n), list);
    }
    return map;
}

std::vector<double> MyShapiro::computeCoefficients(int64_t n) const
{
    if (n < 2)
        return {};
    const int64_t h = n / 2;
    std::vector<double> m(static_cast<size_t>(h));
    double summ2 = 0.0;
    for (int64_t i = 0; i < h; ++i) {
        m[size_t(i)] = m_norm->normInv((double(i) + 0.625) / (double(n) + 0.25));
        summ2 += m[size_t(i)] * m[size_t(i)];
    }
    summ2 *= 2.0;
    const double u = 1.0 / std::sqrt(double(n));
    static constexpr double c1[5] = {-0.221157, 0.147981, 2.07119, -4.434685, 2.706056};
    static constexpr double c2[5] = {-0.042981, 0.293762, 1.752461, -5.682633, 3.582633};
    std::vector<double> a(static_cast<size_t>(h));
    a[0] = m[0] / std::sqrt(summ2) + polynomial(c1, u);
    if (n <= 3)
        return a;
    int64_t first = 1;
    double phi = 0.0;
    if (n <= 5) {
        phi = (summ2 - 2.0 * m[0] * m[0]) / (1.0 - 2.0 * a[0] * a[0]);
    } else {
        a[1] = m[1] / std::sqrt(summ2) + polynomial(c2, u);
        phi = (summ2 - 2.0 * m[0] * m[0] - 2.0 * m[1] * m[1]) / (1.0 - 2.0 * a[0] * a[0] - 2.0 * a[1] * a[1]);
        first = 2;
    }
    const double root = std::sqrt(phi);
    for (int64_t i = first; i < h; ++i)
        a[size_t(i)] = m[size_t(i)] / root;
    return a;
}

const std::vector<double>& MyShapiro::coefficient(int64_t n)
{
    auto it = m_coefficients.find(n);
    if (it == m_coefficients.end())
        it = m_coefficients.emplace(n, computeCoefficients(n)).first;
    return it->second;
}

std::optional<NormalityResult> MyShapiro::shapiroWilkTest(const std::vector<double>& values)
{
    VectorState::clearUpper();
    std::vector<double> storage;
    const std::vector<double>& x = AscendingValues::of(values, storage);
    const int64_t n = int64_t(x.size());
    if (n < 3)
        return NormalityResult{1.0, 1.0};
    if (x.front() == x.back())
        return std::nullopt;
    const std::vector<double>& a = coefficient(n);
    // W is free of scale: its sums run over the values brought to the order of 1, where they
    // neither underflow nor overflow.
    const double scale = UnitScale::factorOf(x.front(), x.back());
    const MyDescriptives::Centre centre = MyDescriptives::centreOf(x, scale);
    double b = 0.0;
    for (int64_t i = 0; i < n / 2; ++i)
        b += (x[size_t(i)] * scale - x[size_t(n - 1 - i)] * scale) * a[size_t(i)];
    const double ss = centre.squares;
    if (!std::isfinite(ss) || !std::isfinite(b) || !(ss > 0.0))
        return std::nullopt;
    const double w = b * b / ss;
    if (w >= 1.0)
        return NormalityResult{1.0, 1.0};
    if (n == 3) {
        const double p = 1.909859317102744 * (std::asin(std::sqrt(w)) - 1.0471975511965976);
        return NormalityResult{w, std::max(p, 0.0)};
    }
    const double w1 = std::log(1.0 - w);
    const double nd = double(n);
    double y = w1;
    double mu = 0.0;
    double sigma = 0.0;
    if (n <= 11) {
        const double gamma = 0.459 * nd - 2.273;
        if (w1 >= gamma)
            return NormalityResult{w, 0.0};
        y = -std::log(gamma - w1);
        mu = 0.544 - 0.39978 * nd + 0.025054 * nd * nd - 0.0006714 * nd * nd * nd;
        sigma = std::exp(1.3822 - 0.77857 * nd + 0.062767 * nd * nd - 0.0020322 * nd * nd * nd);
    } else {
        const double l = std::log(nd);
        mu = -1.5861 - 0.31082 * l - 0.083751 * l * l + 0.0038915 * l * l * l;
        sigma = std::exp(-0.4803 - 0.082676 * l + 0.0030302 * l * l);
    }
    const double z = (y - mu) / sigma;
    // The upper tail directly: 1 - P(Z <= z) would lose every p below 1e-16 to rounding.
    return NormalityResult{w, m_norm->normsDist(-z)};
}
