#include "stats/MyNorm2.h"

#include "stats/StatsResource.h"

#include <QVariantList>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

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
    derive();
}

void MyNorm2::derive()
{
    m_inverseResStep = 1.0 / m_resStep;
    m_inverseStep = 1.0 / m_step;
    m_onGrid = m_step / 10000.0;
    // Arguments from here on round to an index past the table.
    m_tableEnd = m_norms.empty() ? 0.0 : (double(m_norms.size() - 1) + 0.5) * m_resStep;
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

namespace {
// Over a stretch of length u from t the density changes by the factor exp(-t s - s^2 / 2).
// Its Taylor series gives the integral over the stretch to full precision while t u and u
// are small, as within one interval of the table: no integration loop, and no exponential
// beyond the density at t.
struct Stretch {
    double integral;  // of exp(-t s - s^2 / 2) for s from 0 to u
    double factor;    // exp(-t u - u^2 / 2)
};

// 1 / k for k < 66, so that the series' loop multiplies instead of dividing.
constexpr std::array<double, 66> kReciprocals = [] {
    std::array<double, 66> r{};
    for (size_t k = 1; k < r.size(); ++k)
        r[k] = 1.0 / double(k);
    return r;
}();

// Sum of c[k] v^k for k = 0 to 8, in a tree of products rather than one long chain.
double poly8(const double (&c)[9], double v, double v2, double v4)
{
    const double low = (c[0] + c[1] * v) + (c[2] + c[3] * v) * v2;
    const double high = (c[4] + c[5] * v) + (c[6] + c[7] * v) * v2;
    return low + (high + c[8] * v4) * v4;
}

[[gnu::always_inline]] inline Stretch stretch(double t, double u)
{
    const double v = -t * u;
    const double w = u * u;
    if (std::abs(v) <= 0.01 && w <= 1e-7) {
        // exp(v s / u) (1 - s^2 / 2 + s^4 / 8) integrated term by term; every term dropped is
        // below 1e-18 of the result.
        static constexpr double e0[9] = {1.0, 1.0, 1.0 / 2, 1.0 / 6, 1.0 / 24, 1.0 / 120, 1.0 / 720,
                                         1.0 / 5040, 1.0 / 40320};
        static constexpr double e1[9] = {1.0, 1.0 / 2, 1.0 / 6, 1.0 / 24, 1.0 / 120, 1.0 / 720, 1.0 / 5040,
                                         1.0 / 40320, 1.0 / 362880};
        const double v2 = v * v;
        const double v4 = v2 * v2;
        const double squares = 1.0 / 3 + v * (1.0 / 4 + v * (1.0 / 10 + v * (1.0 / 36 + v * (1.0 / 168))));
        const double fourth = 1.0 / 5 + v * (1.0 / 6);
        const double integral = poly8(e1, v, v2, v4) - 0.5 * w * squares + 0.125 * w * w * fourth;
        return {u * integral, poly8(e0, v, v2, v4) * (1.0 - 0.5 * w + 0.125 * w * w)};
    }
    // Longer stretches (coarser tables): the series with Hermite coefficients, to its end.
    double before = 1.0;
    double term = v;
    double factor = 1.0 + term;
    double integral = 1.0 + 0.5 * term;
    for (size_t k = 1; k + 2 < kReciprocals.size(); ++k) {
        const double next = (v * term - w * before) * kReciprocals[k + 1];
        before = term;
        term = next;
        factor += term;
        integral += term * kReciprocals[k + 2];
        if (std::abs(term) + std::abs(before) <= 1e-17 * std::abs(factor))
            break;
    }
    return {u * integral, factor};
}

// Acklam's rational approximation of the lower-tail quantile (relative error about 1e-9):
// it finds the table interval and the fine step at once, the table then decides.
double roughQuantile(double p)
{
    static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02, -2.759285104469687e+02,
                                   1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02,
                                   6.680131188771972e+01,  -1.328068155288572e+01};
    static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                                   -2.549732539343734e+00, 4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                                   3.754408661907416e+00};
    if (p < 0.02425) {
        const double r = std::sqrt(-2.0 * std::log(p));
        return (((((c[0] * r + c[1]) * r + c[2]) * r + c[3]) * r + c[4]) * r + c[5])
            / ((((d[0] * r + d[1]) * r + d[2]) * r + d[3]) * r + 1.0);
    }
    const double s = p - 0.5;
    const double r = s * s;
    return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * s
        / (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1.0);
}
}

double MyNorm2::normsDist(double x) const
{
    if (x == 0.0)
        return 0.5;
    if (std::isnan(x) || m_norms.empty())
        return std::numeric_limits<double>::quiet_NaN();
    // A probability is never negative, whatever a hand-made table holds.
    const double tail = std::max(twoSidedTail(std::abs(x)), 0.0);
    return x > 0.0 ? 1.0 - tail * 0.5 : tail * 0.5;
}

double MyNorm2::twoSidedTail(double a) const
{
    if (!(a < m_tableEnd)) {
        // Past the table the tail is far below the table's last value: erfc gives it (0
        // soon after), where integrating from the end would take up to 630,000 steps.
        return std::erfc(a * std::numbers::sqrt2 * 0.5);
    }
    // The nearest grid point, halves away from zero (a >= 0).
    const int64_t i = int64_t(a * m_inverseResStep + 0.5);
    const double t = double(i) * m_resStep;
    const double u = a - t;
    const double grid = m_norms[size_t(i)];
    if (std::abs(u) < m_onGrid)
        return grid;
    return grid - 2.0 * density(t) * stretch(t, u).integral;
}

double MyNorm2::normInv(double p) const
{
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
    if (!(m_norms.back() < q))
        return sign * beyondTable(m_norms.back() - q);
    const double rough = -roughQuantile(0.5 * q);
    const size_t i = firstAtOrBelow(q, rough);
    if (m_norms[i] == q)
        return sign * m_resStep * double(i);
    return sign * withinInterval(i, q, rough);
}

size_t MyNorm2::firstAtOrBelow(double q, double rough) const
{
    // The interval of the rough quantile is nearly always the one; else widen the search
    // until it brackets q.
    const size_t count = m_norms.size();
    const size_t guess = size_t(std::clamp(rough * m_inverseResStep, 0.0, double(count - 2))) + 1;
    if (m_norms[guess - 1] > q && m_norms[guess] <= q)
        return guess;
    size_t lo = guess - 1;
    size_t hi = guess + 1;
    for (size_t width = 1; lo > 0 && m_norms[lo] <= q; width *= 2)
        lo = lo > width ? lo - width : 0;
    for (size_t width = 1; hi < count && m_norms[hi] > q; width *= 2)
        hi = std::min(count, hi + width);
    const auto it = std::lower_bound(m_norms.begin() + lo, m_norms.begin() + hi, q, std::greater<double>());
    return size_t(it - m_norms.begin());
}

double MyNorm2::withinInterval(size_t i, double q, double rough) const
{
    // The trapezoid walk over fine points from the grid point whose table value lies farther
    // from q, in closed form: twice the trapezoid sum over k fine steps is the integral plus
    // its Euler-Maclaurin term h^2/12 (f'(end) - f'(start)); the next term is below 1e-19
    // of it. The stopping step and the interpolation within it are the walk's.
    const size_t j = i - 1;
    const bool upward = (q - m_norms[j]) <= (m_norms[i] - q);
    const double m = upward ? m_norms[j] - q : q - m_norms[i];
    const int64_t origin = m_numRes * int64_t(upward ? j : i);
    const double z0 = m_step * double(origin);
    const double t = upward ? z0 : -z0;
    const double h = m_step;
    const double f0 = density(z0);
    // Twice the trapezoid sum over k fine steps, and the density at the k-th fine point.
    struct Point {
        double sum, density;
    };
    const auto walked = [&](int64_t k) {
        const double u = h * double(k);
        const Stretch s = stretch(t, u);
        return Point{2.0 * f0 * (s.integral + h * h / 12.0 * (t - (t + u) * s.factor)), f0 * s.factor};
    };
    // The density one fine step further on from the k-th point.
    const auto nextDensity = [&](int64_t k, double density) {
        const double w = (t + h * double(k)) * h + 0.5 * h * h;
        return density * (w < 1e-3 ? 1.0 - w * (1.0 - w * (0.5 - w * (1.0 / 6.0 - w / 24.0))) : std::exp(-w));
    };
    // The walk stops at the first k whose sum reaches m, its last step adding h f(k - 1) +
    // h f(k): start next to the rough quantile and let the sums decide.
    const double reach = (upward ? rough - z0 : z0 - rough) * m_inverseStep;
    int64_t k = std::clamp<int64_t>(int64_t(std::max(reach, 0.0)) + 1, 1, m_numRes);
    Point start = walked(k - 1);
    while (k > 1 && start.sum >= m)
        start = walked(--k - 1);
    double before = start.sum;
    double f = start.density;
    double next = nextDensity(k - 1, f);
    double sum = before + (h * f + h * next);
    while (sum < m && k < m_numRes) {
        before = sum;
        f = next;
        next = nextDensity(k, f);
        sum = before + (h * f + h * next);
        ++k;
    }
    // Table rounding can leave the whole interval a hair short of m: the quantile is then
    // the far grid point itself (not the middle of the interval).
    if (sum < m)
        return h * double(upward ? origin + m_numRes : origin - m_numRes);
    if (upward)
        return h * (double(origin + k) + (m - sum) / (sum - before));
    return h * (double(origin - k) + (sum - m) / (sum - before));
}

double MyNorm2::beyondTable(double m) const
{
    // Walk outward from resLimit; rare (p below the table's last tail, 1.4e-316 in the
    // shipped one) and bounded by the density's underflow.
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
            return m_resLimit + 5.0;
    } while (sum < m && k < kMaxTailSteps);
    if (sum < m)
        return m_resLimit + 5.0;
    return m_resLimit + m_step * (double(k) + (m - sum) / (sum - before));
}
