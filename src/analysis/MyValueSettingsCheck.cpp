#include "analysis/MyValueSettingsCheck.h"
#include "analysis/MyAxisScale.h"
#include "platform/NumberText.h"
#include <cmath>

namespace {

ValueSettingsResult refused() { return {ValueSettingsResult::Refused, {}}; }
ValueSettingsResult passed(const QVariant& v) { return {ValueSettingsResult::Passed, v}; }
ValueSettingsResult replaced(QVariantMap vs, const QStringList& labels)
{
    QVariantList strings;
    for (const QString& s : labels)
        strings << s;
    vs["scaleStrings"] = strings;
    vs["partition"] = qint64(labels.size() - 1);
    return {ValueSettingsResult::Replaced, vs};
}

bool isInteger(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

bool isStringList(const QVariant& v, QStringList* out)
{
    if (v.typeId() != QMetaType::QVariantList && v.typeId() != QMetaType::QStringList)
        return false;
    out->clear();
    for (const QVariant& e : v.toList()) {
        if (e.typeId() != QMetaType::QString)
            return false;
        *out << e.toString();
    }
    return true;
}

int shownDecimals(const QString& text, const ScaleTextRules& rules)
{
    const int p = rules.precisionOf(text);
    return p < 0 ? -p : 0;
}

// Decimals that print v to within a relative 1e-12, at least `from`, at most `upTo`.
int decimalsFor(double v, int from, int upTo)
{
    int g = from;
    const double tol = 1e-12 * std::max(1.0, std::fabs(v));
    while (g < upTo && std::fabs(NumberText::doubleValue(MyAxisScale::fixedText(v, g)) - v) > tol)
        ++g;
    return g;
}

// An axis needs finite ends some way apart: an infinite end or ends that meet leave no room
// to place a value between them.
bool drawable(double min, double max) { return std::isfinite(min) && std::isfinite(max) && min < max; }

} // namespace

ScaleTextRules ScaleTextRules::plain()
{
    ScaleTextRules r;
    r.valueOf = [](const QString& t) { return NumberText::doubleValue(t); };
    r.precisionOf = [](const QString& t) {
        // Digits after the point of the leading number, less its exponent.
        int i = 0;
        while (i < t.size() && t[i].isSpace())
            ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        while (i < t.size() && t[i].isDigit())
            ++i;
        int decimals = 0;
        if (i < t.size() && t[i] == '.') {
            ++i;
            while (i < t.size() && t[i].isDigit()) {
                ++i;
                ++decimals;
            }
        }
        int exponent = 0;
        if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
            int pos = 0;
            const QString rest = t.mid(i + 1);
            double e = 0;
            if (NumberText::scanDouble(rest, &e, &pos) && !rest.left(pos).contains('.'))
                exponent = int(e);
        }
        return exponent - decimals;
    };
    r.showsText = [](const QString& t) { return !t.trimmed().isEmpty(); };
    return r;
}

namespace {
ScaleTextRules& installedRules()
{
    static ScaleTextRules rules = ScaleTextRules::plain();
    return rules;
}
} // namespace

const ScaleTextRules& ScaleTextRules::installed() { return installedRules(); }

void ScaleTextRules::install(const ScaleTextRules& rules) { installedRules() = rules; }

QStringList MyValueSettingsCheck::labelsForPartition(qint64 n, const QString& minText, const QString& maxText,
                                                     const ScaleTextRules& rules)
{
    if (n < 0 || n > 10000)
        return {};
    if (n == 0)
        return {maxText};
    if (n == 1)
        return {minText, maxText};
    const double minVal = rules.valueOf(minText), maxVal = rules.valueOf(maxText);
    const double d = (maxVal - minVal) / double(n);
    if (!(d > 0) || !std::isfinite(d))
        return {};
    int k = MyAxisScale::powerOfTen(d);
    const int minDecimals = shownDecimals(minText, rules);
    if (n == 2) {
        // The middle label needs at most one digit more than the ends show.
        const double mid = (minVal + maxVal) * 0.5;
        const int base = std::max(k < 0 ? -k : 0, minDecimals);
        const int upTo = std::max({base, minDecimals, shownDecimals(maxText, rules)}) + 1;
        return {minText, MyAxisScale::fixedText(mid, decimalsFor(mid, base, upTo)), maxText};
    }
    const double u = MyAxisScale::tenTo(k);
    double step;
    int stepDecimals = k < 0 ? -k : 0;
    if (d < 2 * u)
        step = u;
    else if (d < 2.5 * u)
        step = 2 * u;
    else if (d < 5 * u) {
        step = 2.5 * u;
        stepDecimals = k < 1 ? 1 - k : 0;
    } else
        step = 5 * u;
    const int decimals = std::max(stepDecimals, minDecimals);
    QStringList labels;
    for (qint64 i = 0; i <= n; ++i)
        labels << MyAxisScale::fixedText(minVal + double(i) * step, decimals);
    return labels;
}

ValueSettingsResult MyValueSettingsCheck::adjustValueSettings(const QVariant& object, const QString& title,
                                                              int labelIndex, const QVariantMap& valueSettings,
                                                              double dataMin, double dataMax,
                                                              const ScaleTextRules& rules)
{
    const QString minText = valueSettings.value("min").toString();
    const QString maxText = valueSettings.value("max").toString();
    const double minVal = rules.valueOf(minText), maxVal = rules.valueOf(maxText);
    const bool logarithmic = valueSettings.value("logarithmic").toBool();
    QStringList labels;
    isStringList(valueSettings.value("scaleStrings"), &labels);
    auto allPositive = [&](const QStringList& texts) {
        for (const QString& t : texts)
            if (!(rules.valueOf(t) > 0))
                return false;
        return true;
    };

    if (title == "logarithmic") {
        if (object.typeId() != QMetaType::Bool)
            return refused();
        if (object.toBool() && !(minVal > 0 && maxVal > 0 && allPositive(labels)))
            return refused();
        return passed(object);
    }

    if (title == "valueSettings") {
        const QVariantMap pasted = object.toMap();
        if (object.typeId() != QMetaType::QVariantMap || pasted.value("min").typeId() != QMetaType::QString
            || pasted.value("max").typeId() != QMetaType::QString)
            return refused();
        const double newMin = rules.valueOf(pasted.value("min").toString());
        const double newMax = rules.valueOf(pasted.value("max").toString());
        if (newMin > dataMin || newMax < dataMax || !drawable(newMin, newMax))
            return refused();
        if (pasted.value("logarithmic").toBool()) {
            QStringList pastedLabels;
            isStringList(pasted.value("scaleStrings"), &pastedLabels);
            if (!(newMin > 0 && newMax > 0 && allPositive(pastedLabels)))
                return refused();
        }
        return passed(object);
    }

    if (title == "scaleStrings") {
        QStringList texts;
        if (!isStringList(object, &texts))
            return refused();
        for (const QString& t : texts) {
            const double v = rules.valueOf(t);
            if (!(v >= minVal && v <= maxVal))
                return refused();
            if (logarithmic && !(v > 0))
                return refused();
        }
        if (texts.size() - 1 == valueSettings.value("partition").toLongLong())
            return passed(object);
        return replaced(valueSettings, texts);
    }

    if (title == "partition") {
        if (!isInteger(object))
            return refused();
        const qint64 n = object.toLongLong();
        if (n == valueSettings.value("partition").toLongLong() || n < 0)
            return refused();
        const QStringList fresh = labelsForPartition(n, minText, maxText, rules);
        if (fresh.isEmpty() || (logarithmic && !allPositive(fresh)))
            return refused();
        return replaced(valueSettings, fresh);
    }

    // "min", "max" or one label.
    if (object.typeId() != QMetaType::QString)
        return refused();
    const QString text = object.toString();
    if (text.isEmpty() && title.isEmpty()) {
        // The only label may go too: the axis is then drawn without labels, "partition" -1.
        if (labelIndex < 0 || labelIndex >= labels.size())
            return refused();
        QStringList rest = labels;
        rest.removeAt(labelIndex);
        return replaced(valueSettings, rest);
    }
    double scanned = 0;
    if (!NumberText::scanDouble(text, &scanned) || !rules.showsText(text))
        return refused();
    const double v = rules.valueOf(text);
    if (title.isEmpty()) {
        if (v >= minVal && v <= maxVal && (!logarithmic || v > 0))
            return passed(object);
        return refused();
    }
    const bool isMin = title == "min";
    const double newMin = isMin ? v : minVal;
    const double newMax = isMin ? maxVal : v;
    if (newMin > dataMin || newMax < dataMax || !drawable(newMin, newMax))
        return refused();
    if (logarithmic && !(newMin > 0 && newMax > 0))
        return refused();
    QStringList kept;
    for (const QString& l : labels) {
        const double lv = rules.valueOf(l);
        if (lv >= newMin && lv <= newMax)
            kept << l;
    }
    if (kept.size() == labels.size())
        return passed(object);
    QVariantMap vs = valueSettings;
    vs[isMin ? "min" : "max"] = text;
    return replaced(vs, kept);
}
