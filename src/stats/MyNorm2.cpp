#include "stats/MyNorm2.h"

#include "stats/StatsResource.h"
#include "stats/VectorState.h"

#include <QVariantList>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {
const QString kResourceName = QStringLiteral("NormRes2.plist");

// Beyond this distance from 0 the density underflows to 0 in double precision, so an
// integration stops there with the same result.
constexpr double kDensityVanishes = 40.0;

// Largest count of fine steps that still fits a 64-bit integer comfortably.
constexpr double kMaxSteps = 4.0e18;

// Fine steps walked beyond the table before giving up.
constexpr int64_t kMaxTailSteps = 300000000;
}

MyNorm2::MyNorm2()
    : MyNorm2(StatsResource::dictionary(kResourceName))
{
}

MyNorm2::MyNorm2(const QVariantMap& resource)
{
    StatsResource::require(kResourceName, problemWith(resource));
    load(resource);
}

QString MyNorm2::problemWith(const QVariantMap& resource)
{
    for (const char* key : {"step", "resStep", "resLimit"}) {
        const QVariant v = resource.value(QLatin1String(key));
        if (!StatsResource::isNumber(v) || !std::isfinite(v.toDouble()) || v.toDouble() <= 0.0)
            return QStringLiteral("\"%1\" must be a positive number").arg(QLatin1String(key));
    }
    const double step = resource.value("step").toDouble();
    const double resStep = resource.value("resStep").toDouble();
    const double resLimit = resource.value("resLimit").toDouble();
    const double fine = std::round(resStep / step);
    if (fine < 1.0 || fine > 1e9 || std::abs(fine * step - resStep) > 1e-9 * resStep)
        return QStringLiteral("\"resStep\" must be a whole multiple of \"step\"");
    const double count = std::round(resLimit / resStep) + 1.0;
    if (count > 1e8)
        return QStringLiteral("\"resLimit\" / \"resStep\" is too large");

    const QVariant normsValue = resource.value("norms");
    if (normsValue.typeId() != QMetaType::QVariantList)
        return QStringLiteral("\"norms\" must be an array of numbers");
    const QVariantList norms = normsValue.toList();
    if (double(norms.size()) != count)
        return QStringLiteral("\"norms\" holds %1 values, the grid needs %2")
            .arg(norms.size())
            .arg(qint64(count));
    double previous = 0.0;
    for (qsizetype i = 0; i < norms.size(); ++i) {
        if (!StatsResource::isNumber(norms[i]))
            return QStringLiteral("\"norms\" value %1 is not a number").arg(i);
        const double v = norms[i].toDouble();
        if (i == 0 ? v != 1.0 : !(v >= 0.0 && v < previous))
            return QStringLiteral("\"norms\" must start at 1 and decrease strictly (value %1)").arg(i);
        previous = v;
    }
    return {};
}

void MyNorm2::load(const QVariantMap& resource)
{
    m_step = resource.value("step").toDouble();
    m_resStep = resource.value("resStep").toDouble();
    m_resLimit = resource.value("resLimit").toDouble();
    const QVariantList norms = resource.value("norms").toList();
    m_norms.clear();
    m_norms.reserve(size_t(norms.size()));
    for (const QVariant& v : norms)
        m_norms.push_back(v.toDouble());
    m_numRes = std::llround(m_resStep / m_step);
    m_topStep = m_step * topVal;
    m_top2Step = m_topStep + m_topStep;
}

double MyNorm2::density(double v) const
{
    return topVal * std::exp(-0.5 * v * v);
}

double MyNorm2::cumlativeMedial(double x1, double x2) const
{
    if (!std::isfinite(x1) || !std::isfinite(x2))
        return std::numeric_limits<double>::quiet_NaN();
    // Outside +-kDensityVanishes every term is 0: clamping changes nothing but keeps the
    // step count finite.
    x1 = std::clamp(x1, -kDensityVanishes, kDensityVanishes);
    x2 = std::clamp(x2, -kDensityVanishes, kDensityVanishes);
    const double span = (x2 - x1) / m_step;
    if (!(std::abs(span) < kMaxSteps))
        return std::numeric_limits<double>::quiet_NaN();
    const int64_t k = std::llround(span);
    const double xk = double(k) * m_step + x1;
    if (k < 1)
        return (x2 - xk) * (density(xk) + density(x2));

    double sum = 0.0;
    for (int64_t i = 1; i < k; ++i) {
        const double v = x1 + double(i) * m_step;
        const double term = std::exp(-0.5 * v * v);
        // Moving away from 0 the terms only shrink: once one underflows, the rest add 0.
        if (term == 0.0 && x1 >= 0.0)
            return m_topStep * std::exp(-0.5 * x1 * x1) + m_top2Step * sum;
        sum += term;
    }
    double result = m_topStep * std::exp(-0.5 * x1 * x1);
    result += m_top2Step * sum;
    result += m_step * density(xk);
    result += (x2 - xk) * (density(xk) + density(x2));
    return result;
}

double MyNorm2::normsDist(double x) const
{
    VectorState::clearUpper();
    if (x == 0.0)
        return 0.5;
    if (std::isnan(x) || m_norms.empty())
        return std::numeric_limits<double>::quiet_NaN();
    const double a = std::min(std::abs(x), std::max(kDensityVanishes, m_resLimit));
    const int64_t i = std::llround((a > m_resLimit ? m_resLimit : a) / m_resStep);
    const double t = double(i) * m_resStep;
    double tail = m_norms[size_t(i)];
    if (!(std::abs(t - a) < m_step / 10000.0)) {
        const double s = t > a ? 1.0 : -1.0;
        tail += s * cumlativeMedial(std::min(t, a), std::max(t, a));
    }
    // The trapezoid rule overestimates the far tail a little; a probability is never negative.
    tail = std::max(tail, 0.0);
    return x > 0.0 ? 1.0 - tail * 0.5 : tail * 0.5;
}

double MyNorm2::normInv(double p) const
{
    VectorState::clearUpper();
    if (std::isnan(p))
        return std::numeric_limits<double>::quiet_NaN();
    if (p >= 1.0)
        return infiniteQuantile;
    if (p <= 0.0)
        return -infiniteQuantile;
    if (p == 0.5)
        return 0.0;
    if (m_norms.empty())
        return std::numeric_limits<double>::quiet_NaN();
    const double sign = p > 0.5 ? 1.0 : -1.0;
    const double q = p > 0.5 ? 2.0 - 2.0 * p : 2.0 * p;
    const double last = m_norms.back();

    if (last < q) {
        // The table decreases strictly: the first entry at or below q by binary search.
        const auto it = std::lower_bound(m_norms.begin(), m_norms.end(), q, std::greater<double>());
        const int64_t i = it - m_norms.begin();
        if (*it == q)
            return sign * m_resStep * double(i);
        const int64_t j = i - 1;
        // Walk from the grid point whose table value lies farther from q.
        const bool upward = (q - m_norms[size_t(j)]) <= (m_norms[size_t(i)] - q);
        const double m = upward ? m_norms[size_t(j)] - q : q - m_norms[size_t(i)];
        const int64_t origin = upward ? m_numRes * j : m_numRes * i;
        const double direction = upward ? 1.0 : -1.0;
        const double z0 = m_step * double(origin);
        double previousTerm = m_topStep * std::exp(-0.5 * z0 * z0);
        double before = 0.0;
        double sum = 0.0;
        int64_t k = 0;
        while (sum < m && k < m_numRes) {
            ++k;
            const double xk = m_step * (double(origin) + direction * double(k));
            const double term = m_topStep * std::exp(-0.5 * xk * xk);
            before = sum;
            sum += previousTerm + term;
            previousTerm = term;
        }
        if (sum < m)
            return sign * m_step * double(m_numRes * i - m_numRes / 2);
        if (upward)
            return sign * m_step * (double(origin + k) + (m - sum) / (sum - before));
        return sign * m_step * (double(origin - k) + (sum - m) / (sum - before));
    }

    // Beyond the table: walk outward from resLimit.
    const double m = last - q;
    double previousTerm = m_topStep * std::exp(-0.5 * m_resLimit * m_resLimit);
    double before = 0.0;
    double sum = 0.0;
    int64_t k = 0;
    do {
        ++k;
        const double xk = m_resLimit + double(k) * m_step;
        const double term = m_topStep * std::exp(-0.5 * xk * xk);
        before = sum;
        sum += previousTerm + term;
        previousTerm = term;
        // Once the density has underflowed the sum stays put: the walk would run out.
        if (term == 0.0 && sum < m)
            return sign * (m_resLimit + 5.0);
    } while (sum < m && k < kMaxTailSteps);
    if (sum < m)
        return sign * (m_resLimit + 5.0);
    return sign * (m_resLimit + m_step * (double(k) + (m - sum) / (sum - before)));
}
