#include "stats/MyKolmogorov.h"

#include "stats/AscendingValues.h"
#include "stats/MyDescriptives.h"
#include "stats/MyNorm2.h"
#include "stats/VectorState.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A Durbin matrix beyond this side would not fit in memory; the callers stay far below it.
constexpr int64_t kMaxDurbinSide = 4001;

// n! / n^n, as a product that neither overflows nor underflows before its end.
double factorialOverPower(int64_t n)
{
    double r = 1.0 / double(n);
    for (int64_t i = 2; i <= n; ++i)
        r *= double(i) / double(n);
    return r;
}
}

MyKolmogorov::MyKolmogorov(const MyDescriptives* descriptives, const MyNorm2* norms)
    : m_descriptives(descriptives)
    , m_norm(norms)
{
    for (size_t k = 0; k < m_lnFact.size(); ++k)
        m_lnFact[k] = std::lgamma(double(k) + 1.0);
}

double MyKolmogorov::logFact(int64_t n) const
{
    if (n < 0)
        return kNaN;
    if (n <= 30)
        return m_lnFact[size_t(n)];
    const double x = double(n) + 1.0;
    const double y = 1.0 / (x * x);
    return (x - 0.5) * std::log(x) - x + 0.91893853320467
        + (((-0.000595238095238 * y + 0.0007936500793651) * y - 0.0027777777777778) * y
           + 0.083333333333333)
        / x;
}

double MyKolmogorov::log1p(double x) const
{
    if (std::abs(x) > 0.1)
        return std::log(x + 1.0);
    double term = x;
    double sum = x;
    for (int s = 2; s <= 49; ++s) {
        term = -term * x;
        sum += term / double(s);
        if (std::abs(term) <= 1e-15 * std::abs(sum))
            break;
    }
    return sum;
}

std::vector<double> MyKolmogorov::matrixMultiply(const std::vector<double>& a1,
                                                 const std::vector<double>& a2, int64_t m) const
{
    // Row by row so the inner loop runs along contiguous memory; each element still sums
    // its products in increasing k.
    std::vector<double> c(size_t(m * m), 0.0);
    for (int64_t i = 0; i < m; ++i) {
        double* row = &c[size_t(i * m)];
        for (int64_t k = 0; k < m; ++k) {
            const double a = a1[size_t(i * m + k)];
            if (a == 0.0)
                continue;
            const double* b = &a2[size_t(k * m)];
            for (int64_t j = 0; j < m; ++j)
                row[j] += a * b[j];
        }
    }
    return c;
}

void MyKolmogorov::renormalizeMatrix(Matrix& matrix, int64_t m) const
{
    for (double& v : matrix.values)
        v *= iNorm;
    matrix.exponent += logNorm;
}

std::vector<int64_t> MyKolmogorov::halvingChain(int64_t n)
{
    std::vector<int64_t> chain{n};
    while (chain.back() >= 4)
        chain.push_back(chain.back() / 2);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

MyKolmogorov::Matrix MyKolmogorov::matrixPower(const Matrix& a, int64_t m,
                                               const std::vector<int64_t>& chain) const
{
    const size_t centre = size_t((m / 2) * m + m / 2);
    Matrix v = a;
    // v = left * v, the scales adding up; left may be v itself.
    const auto multiplyBy = [&](const Matrix& left) {
        v.values = matrixMultiply(left.values, v.values, m);
        v.exponent += left.exponent;
        if (v.values[centre] > norm)
            renormalizeMatrix(v, m);
    };
    for (int64_t c : chain) {
        multiplyBy(v);
        if (c % 2 == 1)
            multiplyBy(a);
    }
    return v;
}

double MyKolmogorov::durbinMatrix(double d, int64_t n) const
{
    if (std::isnan(d) || n < 1)
        return kNaN;
    if (n == 1)
        return std::clamp(2.0 * d - 1.0, 0.0, 1.0);
    const double nd = double(n) * d;
    if (!(nd < double(kMaxDurbinSide / 2)))
        return kNaN;
    const int64_t k = int64_t(nd) + 1;
    const int64_t m = 2 * k - 1;
    const double h = double(k) - nd;
    Matrix hm;
    hm.values.assign(size_t(m * m), 0.0);
    auto at = [&hm, m](int64_t i, int64_t j) -> double& { return hm.values[size_t(i * m + j)]; };
    for (int64_t i = 0; i < m; ++i)
        for (int64_t j = 0; j < m; ++j)
            at(i, j) = i - j + 1 >= 0 ? 1.0 : 0.0;
    for (int64_t i = 0; i < m; ++i) {
        at(i, 0) -= std::pow(h, double(i + 1));
        at(m - 1, i) -= std::pow(h, double(m - i));
    }
    if (2.0 * h - 1.0 > 0.0)
        at(m - 1, 0) += std::pow(2.0 * h - 1.0, double(m));
    for (int64_t i = 0; i < m; ++i)
        for (int64_t j = 0; j < m; ++j)
            for (int64_t g = 1; g <= i - j + 1; ++g)
                at(i, j) /= double(g);
    Matrix q = matrixPower(hm, m, halvingChain(n));
    double s = q.values[size_t((k - 1) * m + k - 1)];
    int64_t e = q.exponent;
    for (int64_t i = 1; i <= n; ++i) {
        s = s * double(i) / double(n);
        if (s < iNorm) {
            s *= norm;
            e -= logNorm;
        }
    }
    return s * std::pow(10.0, double(e));
}

double MyKolmogorov::pomeranz(double d, int64_t n) const
{
    const int64_t last = 2 * n + 2;
    const double t = double(n) * d;
    const int64_t l = int64_t(std::floor(t));
    const double z = t - double(l);
    std::vector<double> a(size_t(last + 1), 0.0);
    std::vector<int64_t> floors(size_t(last + 1), 0);
    std::vector<int64_t> ceils(size_t(last + 1), 0);
    for (int64_t i = 1; i <= last; ++i) {
        const bool even = i % 2 == 0;
        if (z > 0.5) {
            floors[size_t(i)] = even ? i / 2 - 2 - l : i / 2 - 1 - l;
            ceils[size_t(i)] = even ? i / 2 + l : i / 2 + 1 + l;
        } else if (z > 0.0) {
            floors[size_t(i)] = i / 2 - 1 - l;
            ceils[size_t(i)] = i == 1 ? 1 + l : i / 2 + l;
        } else {
            floors[size_t(i)] = even ? i / 2 - 1 - l : i / 2 - l;
            ceils[size_t(i)] = even ? i / 2 - 1 + l : i / 2 + l;
        }
    }
    a[2] = std::min(z, std::ceil(t) - t);
    a[3] = 1.0 - a[2];
    for (int64_t i = 4; i <= 2 * n + 1; ++i)
        a[size_t(i)] = a[size_t(i - 2)] + 1.0;
    a[size_t(last)] = double(n);

    const size_t width = size_t(n + 2);
    const double widths[3] = {2.0 * a[2] / double(n), (1.0 - 2.0 * a[2]) / double(n), a[2] / double(n)};
    std::vector<std::vector<double>> hs(4, std::vector<double>(width, 0.0));
    for (int s = 0; s < 3; ++s) {
        hs[size_t(s)][0] = 1.0;
        for (size_t j = 1; j < width; ++j)
            hs[size_t(s)][j] = widths[s] * hs[size_t(s)][j - 1] / double(j);
    }
    hs[3][0] = 1.0;

    const int renormBits = 350;
    const double renorm = std::ldexp(1.0, renormBits);
    std::vector<double> oldRow(width, 0.0);
    std::vector<double> newRow(width, 0.0);
    oldRow[1] = renorm;
    int64_t counter = 1;
    for (int64_t i = 2; i <= last; ++i) {
        const int64_t jlow = std::max<int64_t>(1, floors[size_t(i)] + 2);
        const int64_t jup = std::min<int64_t>(n + 1, ceils[size_t(i)]);
        const int64_t klow = std::max<int64_t>(1, floors[size_t(i - 1)] + 2);
        const int64_t kup0 = ceils[size_t(i - 1)];
        const double w = (a[size_t(i)] - a[size_t(i - 1)]) / double(n);
        int s = 3;
        for (int r = 0; r < 4; ++r) {
            if (std::abs(w - hs[size_t(r)][1]) <= 1e-15) {
                s = r;
                break;
            }
        }
        const std::vector<double>& hrow = hs[size_t(s)];
        double smallest = renorm;
        for (int64_t j = jlow; j <= jup; ++j) {
            double sum = 0.0;
            for (int64_t k = std::min(kup0, j); k >= klow; --k)
                sum += oldRow[size_t(k)] * hrow[size_t(j - k)];
            newRow[size_t(j)] = sum;
            smallest = std::min(smallest, sum);
        }
        if (smallest < 1e-280) {
            for (int64_t j = jlow; j <= jup; ++j)
                newRow[size_t(j)] *= renorm;
            ++counter;
        }
        std::swap(oldRow, newRow);
    }
    const double r = logFact(n) - double(counter) * renormBits * std::numbers::ln2 + std::log(oldRow[size_t(n + 1)]);
    return r >= 0.0 ? 1.0 : std::exp(r);
}

double MyKolmogorov::pelzGood(double d, int64_t n) const
{
    const int jmax = 20;
    const double eps = 1e-10;
    const double c = 2.5066282746310007;
    const double c2 = 1.2533141373155001;
    const double pi2 = std::numbers::pi * std::numbers::pi;
    const double pi4 = pi2 * pi2;
    const double rootN = std::sqrt(double(n));
    const double nd = double(n);
    const double z = rootN * d;
    const double z2 = z * z;
    const double z4 = z2 * z2;
    const double z6 = z4 * z2;
    const double w = pi2 / (2.0 * z2);

    double term = 1.0;
    double sum = 0.0;
    for (int j = 0; j <= jmax && term > eps * sum; ++j) {
        const double ti = j + 0.5;
        term = std::exp(-ti * ti * w);
        sum += term;
    }
    sum *= c / z;

    // The remaining sums stop on |term| <= eps |partial sum| (the fourth on the plain values).
    auto series = [&](int first, bool absolute, auto termAt) {
        double t = 1.0;
        double tom = 0.0;
        for (int j = first; j <= jmax && (absolute ? std::abs(t) > eps * std::abs(tom) : t > eps * tom); ++j) {
            t = termAt(double(j));
            tom += t;
        }
        return tom;
    };
    sum += series(0, true, [&](double j) {
               const double ti = j + 0.5;
               return (pi2 * ti * ti - z2) * std::exp(-ti * ti * w);
           })
        * c2 / (rootN * 3.0 * z4);
    sum += series(0, true, [&](double j) {
               const double ti = j + 0.5;
               return (6.0 * z6 + 2.0 * z4 + pi2 * (2.0 * z4 - 5.0 * z2) * ti * ti
                       + pi4 * (1.0 - 2.0 * z2) * ti * ti * ti * ti)
                   * std::exp(-ti * ti * w);
           })
        * c2 / (nd * 36.0 * z * z6);
    sum -= series(1, false, [&](double j) { return pi2 * j * j * std::exp(-j * j * w); })
        * c2 / (nd * 18.0 * z * z2);
    sum += series(0, true, [&](double j) {
               const double q = (j + 0.5) * (j + 0.5);
               return (-30.0 * z6 - 90.0 * z6 * z2 + pi2 * (135.0 * z4 - 96.0 * z6) * q
                       + pi4 * (212.0 * z4 - 60.0 * z2) * q * q + pi2 * pi4 * q * q * q * (5.0 - 30.0 * z2))
                   * std::exp(-q * w);
           })
        * c2 / (rootN * nd * 3240.0 * z4 * z6);
    sum += series(1, true, [&](double j) {
               const double q = j * j;
               return (3.0 * pi2 * q * z2 - pi4 * q * q) * std::exp(-q * w);
           })
        * c2 / (rootN * nd * 108.0 * z6);
    return sum;
}

double MyKolmogorov::exactNearZero(double d, int64_t n) const
{
    const double t = 2.0 * double(n) * d - 1.0;
    if (n <= nExact)
        return factorialOverPower(n) * std::pow(t, double(n));
    return std::exp(logFact(n) + double(n) * std::log(t / double(n)));
}

bool MyKolmogorov::seriesTooCoarse(double w, int64_t n) const
{
    // The Pelz-Good series errs by about c / n^2, with |c| up to 0.07 for n d^2 below 1.45
    // and up to 0.012 above (measured against the exact distribution). Below these sizes
    // that could reach 1e-9, and the Durbin matrix is still cheap enough.
    return n <= (w < 1.45 ? nSeriesClose : nSeriesFar);
}

double MyKolmogorov::ksCdf(double d, int64_t n) const
{
    if (std::isnan(d) || n < 1)
        return kNaN;
    const double nd = double(n);
    const double w = nd * d * d;
    if (d <= 1.0 / (2.0 * nd))
        return 0.0;
    if (d >= 1.0 || w >= 18.0)
        return 1.0;
    if (d >= 1.0 - 1.0 / nd)
        return 1.0 - 2.0 * std::pow(1.0 - d, nd);
    if (d <= 1.0 / nd)
        return exactNearZero(d, n);
    if (n > nExact) {
        // Far enough out, the upper tail is the more accurate side; both then add up to 1.
        if (w >= 2.65)
            return 1.0 - ksFbar(d, n);
        if ((w * d * nd <= 7.0 && n <= nKolmo) || seriesTooCoarse(w, n))
            return durbinMatrix(d, n);
        return pelzGood(d, n);
    }
    if (w < 0.754693)
        return durbinMatrix(d, n);
    if (w < 4.0)
        return pomeranz(d, n);
    return 1.0 - ksFbar(d, n);
}

double MyKolmogorov::ksPlusBarUpper(double d, int64_t n) const
{
    if (std::isnan(d) || n < 1)
        return kNaN;
    const double nd = double(n);
    if (n > 200000) {
        const double t = 6.0 * nd * d + 1.0;
        const double z = t * t / (18.0 * nd);
        const double v = 1.0 - (2.0 * z * z - 4.0 * z - 1.0) / (18.0 * nd);
        if (v <= 0.0)
            return 0.0;
        return std::min(1.0, v * std::exp(-z));
    }
    const double eps = 1e-12;
    int64_t jmax = int64_t(nd * (1.0 - d));
    if (1.0 - d - double(jmax) / nd <= 0.0)
        --jmax;
    const int64_t jdiv = n > 3000 ? 2 : 3;
    int64_t j = jmax / jdiv + 1;
    double logCom = logFact(n) - logFact(j) - logFact(n - j);
    const double startLogCom = logCom;
    double sum = 0.0;
    auto termAt = [&](int64_t jj, double lc) {
        const double q = double(jj) / nd + d;
        return std::exp(lc + double(jj - 1) * std::log(q) + double(n - jj) * log1p(-q));
    };
    while (j <= jmax) {
        const double t = termAt(j, logCom);
        sum += t;
        logCom += std::log(double(n - j) / double(j + 1));
        if (t <= sum * eps)
            break;
        ++j;
    }
    j = jmax / jdiv;
    logCom = startLogCom + std::log(double(j + 1) / double(n - j));
    while (j > 0) {
        const double t = termAt(j, logCom);
        sum += t;
        logCom += std::log(double(j) / double(n - j + 1));
        if (t <= sum * eps)
            break;
        --j;
    }
    return d * sum + std::exp(nd * log1p(-d));
}

double MyKolmogorov::ksFbar(double d, int64_t n) const
{
    if (std::isnan(d) || n < 1)
        return kNaN;
    const double nd = double(n);
    const double w = nd * d * d;
    if (w >= 370.0 || d >= 1.0)
        return 0.0;
    if (w <= 0.0274 || d <= 0.5 / nd)
        return 1.0;
    if (n != 1 && d > 1.0 / nd && d < 1.0 - 1.0 / nd) {
        if (n <= nExact) {
            if (w < 4.0)
                return 1.0 - ksCdf(d, n);
            return 2.0 * ksPlusBarUpper(d, n);
        }
        if (w < 2.65)
            return 1.0 - ksCdf(d, n);
        // Twice the one-sided tail counts the samples that leave the band on both sides
        // twice; their share tends to 2 exp(-8 n d^2), about 1e-9 at n d^2 = 2.65.
        return std::max(0.0, 2.0 * ksPlusBarUpper(d, n) - 2.0 * std::exp(-8.0 * w));
    }
    return 1.0 - ksCdf(d, n);
}

NormalityResult MyKolmogorov::ksStatistic(const std::vector<double>& u) const
{
    return statisticOf(int64_t(u.size()), [&u](size_t k) { return u[k]; });
}

NormalityResult MyKolmogorov::ksNormalStatistic(const std::vector<double>& sortedValues, double mean,
                                                double sd, double scale) const
{
    VectorState::clearUpper();
    std::vector<double> storage;
    const std::vector<double>& x = AscendingValues::of(sortedValues, storage);
    return statisticOf(int64_t(x.size()),
                       [&](size_t k) { return m_norm->normsDist((x[k] * scale - mean) / sd); });
}

std::optional<NormalityResult> MyKolmogorov::ksTest(const std::vector<double>& values,
                                                    const QString& name) const
{
    if (name != QLatin1String("norms"))
        return std::nullopt;
    VectorState::clearUpper();
    std::vector<double> storage;
    const std::vector<double>& x = AscendingValues::of(values, storage);
    // The values are standardised where they are brought to the order of 1 (a power of two,
    // exact), with the mean and standard deviation of the values there: so Dn, free of scale,
    // is the same near 1e-318 or 1e300 as near 1. In the values' own units a subnormal
    // standard deviation has few bits, and Dn drifted in the 5th digit.
    const MyDescriptives::ScaledSummary scaled = m_descriptives->scaledVariancesFromValues(x);
    const MyDescriptives::VarianceSummary& s = scaled.summary;
    if (s.n < 2)
        return NormalityResult{0.0, 1.0};
    // Equal values fit no normal distribution: no result rather than a made-up one.
    if (x.front() == x.back() || !s.mean || !s.stdev || !(*s.stdev > 0.0))
        return std::nullopt;
    return ksNormalStatistic(x, *s.mean, *s.stdev, std::ldexp(1.0, scaled.exponent));
}
