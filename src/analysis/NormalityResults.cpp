#include "analysis/NormalityResults.h"
#include "app/AppDelegate.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyShapiro.h"
#include "stats/StatsResource.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

const QString NormalityResults::kDigest = QStringLiteral("valuesDigest");

namespace {

quint64 mix(quint64 x)
{
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// (statistic, p) when the result holds both as finite numbers; none for an empty result or a
// test that failed on its numbers.
std::optional<std::pair<double, double>> numbersOf(const QVariantMap& result)
{
    const QVariant statistic = result.value(QStringLiteral("statistic")), p = result.value(QStringLiteral("p"));
    if (!StatsResource::isNumber(statistic) || !StatsResource::isNumber(p) || !std::isfinite(statistic.toDouble())
        || !std::isfinite(p.toDouble()))
        return std::nullopt;
    return std::pair{statistic.toDouble(), p.toDouble()};
}

// The same test within what another machine's rounding could make of it.
bool sameResult(const QVariantMap& a, const QVariantMap& b)
{
    const auto x = numbersOf(a), y = numbersOf(b);
    if (!x || !y)
        return !x && !y;
    auto near = [](double u, double v) { return std::abs(u - v) <= 1e-9 * std::max(std::abs(u), std::abs(v)); };
    return near(x->first, y->first) && near(x->second, y->second);
}

} // namespace

QVariantMap NormalityResults::tested(AppDelegate& app, const std::vector<double>& values, bool logarithmic)
{
    std::vector<double> logarithms;
    if (logarithmic) {
        logarithms.reserve(values.size());
        for (double v : values) {
            if (!(v > 0) || !std::isfinite(v))
                return {};
            logarithms.push_back(std::log10(v));
        }
    }
    const std::vector<double>& tested = logarithmic ? logarithms : values;
    const size_t n = tested.size();
    std::optional<NormalityResult> r;
    if (n > 5000 && app.kolmogorov)
        r = app.kolmogorov->ksTest(tested, QStringLiteral("norms"));
    else if (n >= 3 && app.shapiro)
        r = app.shapiro->shapiroWilkTest(tested);
    if (!r)
        return {};
    return {{QStringLiteral("statistic"), r->statistic}, {QStringLiteral("p"), r->p}, {kDigest, digest(values)}};
}

QString NormalityResults::digest(const std::vector<double>& values)
{
    // An analysis's values come ascending; others are sorted first.
    std::vector<double> sorted;
    const std::vector<double>* ascending = &values;
    if (!std::is_sorted(values.begin(), values.end())) {
        sorted = values;
        std::sort(sorted.begin(), sorted.end());
        ascending = &sorted;
    }
    // One multiply a value, so that an open checking many stored results is not slower.
    quint64 h = mix(values.size());
    for (double v : *ascending) {
        // -0 and 0 are one value to a test, and may stand in either order.
        if (v == 0)
            v = 0;
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        h = (h ^ bits) * 0x100000001b3ULL;
    }
    h = mix(h);
    return QStringLiteral("%1").arg(h, 16, 16, QLatin1Char('0'));
}

bool NormalityResults::refresh(AppDelegate& app, QVariantMap& record, const QHash<QString, std::vector<double>>& values)
{
    bool changed = false;
    QHash<QString, QString> digests;   // a tag's values are the same in both modes
    for (const bool logarithmic : {false, true}) {
        const QString key = logarithmic ? QStringLiteral("logStats") : QStringLiteral("stats");
        QVariantMap results = record.value(key).toMap();
        bool changedHere = false;
        for (auto it = results.begin(); it != results.end(); ++it) {
            const auto found = values.constFind(it.key());
            if (found == values.constEnd() || it.value().typeId() != QMetaType::QVariantMap)
                continue;
            const QVariantMap stored = it.value().toMap();
            // Fewer than three values have no test: their empty result stands as it is.
            if (stored.isEmpty() && found->size() < 3)
                continue;
            const QVariant storedDigest = stored.value(kDigest);
            if (storedDigest.isValid()) {
                auto known = digests.find(it.key());
                if (known == digests.end())
                    known = digests.insert(it.key(), digest(*found));
                if (storedDigest.toString() == *known)
                    continue;
            }
            const QVariantMap fresh = tested(app, *found, logarithmic);
            // An earlier version's result (no digest) that still holds is kept as it was written.
            if (!storedDigest.isValid() && sameResult(stored, fresh))
                continue;
            it.value() = fresh;
            changedHere = true;
        }
        if (changedHere) {
            record.insert(key, results);
            changed = true;
        }
    }
    return changed;
}
