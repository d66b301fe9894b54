#include "analysis/MyAxisScale.h"
#include "platform/NumberText.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

struct Step {
    double p;
    int decimals;
};

int decimalsOf(int k) { return k < 0 ? -k : 0; }

// A step of 1, 2, 2.5 or 5 times a power of ten (or the next power) near d; a d on a shared
// bound takes the smaller step.
Step niceStep(double d)
{
    const int k = MyAxisScale::powerOfTen(d);
    const double u = MyAxisScale::tenTo(k);
    if (d >= u && d <= 1.5 * u)
        return {u, decimalsOf(k)};
    if (d >= 1.5 * u && d <= 2.25 * u)
        return {2 * u, decimalsOf(k)};
    if (d >= 2.25 * u && d <= 3.75 * u)
        return {2.5 * u, k <= 0 ? 1 - k : 0};
    if (d >= 3.75 * u && d <= 7.5 * u)
        return {5 * u, decimalsOf(k)};
    return {MyAxisScale::tenTo(k + 1), decimalsOf(k + 1)};
}

QVariantMap scaleMap(const QString& minText, const QString& maxText, const QStringList& labels)
{
    QVariantList strings;
    for (const QString& s : labels)
        strings << s;
    QVariantMap m;
    m["logarithmic"] = false;
    m["min"] = minText;
    m["max"] = maxText;
    m["partition"] = qint64(labels.size() - 1);
    m["scaleStrings"] = strings;
    return m;
}

// The rounded scale for a < b with both finite, or an empty map when the numbers run out of
// range (ends near the largest double).
QVariantMap roundedScale(double a, double b)
{
    double d = (b - a) / 3;
    if (!std::isfinite(d))
        d = b / 3 - a / 3;
    if (!(d > 0) || !std::isfinite(d))
        return {};
    const Step s = niceStep(d);
    const double p = s.p;

    double lo = a - std::fmod(a, p);
    if (a < 0)
        lo -= p;
    double hi = b - std::fmod(b, p);
    if (b >= 0)
        hi += p;
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(p))
        return {};
    // The printed ends must still enclose the data.
    for (int i = 0; i < 2 && NumberText::doubleValue(MyAxisScale::fixedText(lo, s.decimals)) > a; ++i)
        lo -= p;
    for (int i = 0; i < 2 && NumberText::doubleValue(MyAxisScale::fixedText(hi, s.decimals)) < b; ++i)
        hi += p;

    const double count = std::round((hi - lo) / p);
    if (!(count >= 1) || count > 1000)
        return {};
    const int n = int(count);
    QStringList labels;
    // The last label is the max itself: lo + n * p may miss hi by an ulp, which prints
    // differently when the ends are huge.
    for (int i = 0; i <= n; ++i)
        labels << MyAxisScale::fixedText(i == n ? hi : lo + i * p, s.decimals);
    return scaleMap(MyAxisScale::fixedText(lo, s.decimals), MyAxisScale::fixedText(hi, s.decimals), labels);
}

} // namespace

int MyAxisScale::powerOfTen(double d)
{
    int k = int(std::floor(std::log10(d)));
    if (tenTo(k) > d)
        --k;
    else if (tenTo(k + 1) <= d)
        ++k;
    return k;
}

double MyAxisScale::tenTo(int k)
{
    // No decimal point, so the locale plays no part; strtod rounds correctly, subnormal
    // powers included, and gives 0 or infinity out of range as pow does.
    char text[16];
    std::snprintf(text, sizeof text, "1e%d", k);
    return std::strtod(text, nullptr);
}

QString MyAxisScale::fixedText(double value, int decimals)
{
    QString text = NumberText::fixed(value, decimals < 0 ? 0 : decimals);
    if (text.startsWith('-')) {
        bool allZero = true;
        for (int i = 1; i < text.size() && allZero; ++i)
            allZero = text[i] == '0' || text[i] == '.';
        if (allZero)
            text.remove(0, 1);
    }
    return text;
}

QVariantMap MyAxisScale::defaultMinMax(const QVariantList& minMax)
{
    if (minMax.size() < 2)
        return defaultMinMax(0.0, 1.0);
    return defaultMinMax(minMax[0].toDouble(), minMax[1].toDouble());
}

QVariantMap MyAxisScale::defaultMinMax(double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0;
        high = 1;
    }
    if (low > high)
        std::swap(low, high);
    if (high - low <= 1e-12 * std::max(std::fabs(low), std::fabs(high))) {
        // One value (or ends closer than labels can tell apart) sits inside its scale
        // rather than on an end.
        const double v = low / 2 + high / 2;
        const double w = v == 0 ? 0.5 : std::fabs(v) / 3;
        const double a = low, b = high;
        low = a - w;
        high = b + w;
        if (!(low < a) || !(high > b)) {   // w too small to move a tiny value
            low = a - std::fabs(a) - 1e-300;
            high = b + std::fabs(b) + 1e-300;
        }
        // Beyond the largest double an end would read "inf": the data's own end stays.
        low = std::max(low, -std::numeric_limits<double>::max());
        high = std::min(high, std::numeric_limits<double>::max());
    }
    QVariantMap m = roundedScale(low, high);
    if (m.isEmpty()) {
        // Ends too large to round: the data's own ends as the only two labels.
        const QString lo = NumberText::format("%.17g", low), hi = NumberText::format("%.17g", high);
        m = scaleMap(lo, hi, {lo, hi});
    }
    return m;
}
