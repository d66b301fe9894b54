#include "analysis/MyGraphSettingsRepair.h"
#include "app/AppDelegate.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MyOutlineTexts.h"
#include "platform/NumberText.h"
#include "platform/PropertyList.h"
#include <QHash>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

bool isDict(const QVariant& v) { return v.typeId() == QMetaType::QVariantMap; }
bool isList(const QVariant& v) { return v.typeId() == QMetaType::QVariantList; }
bool isText(const QVariant& v) { return v.typeId() == QMetaType::QString; }

bool isDictList(const QVariant& v)
{
    if (!isList(v))
        return false;
    for (const QVariant& e : v.toList())
        if (!isDict(e))
            return false;
    return true;
}

// What the settings keeper and the layout need of the category list.
bool isCategoryList(const QVariant& v)
{
    if (!isDictList(v))
        return false;
    for (const QVariant& c : v.toList()) {
        const QVariantMap category = c.toMap();
        if (!isText(category.value("categoryTitle")) || !isDictList(category.value("represents")))
            return false;
        for (const QVariant& r : category.value("represents").toList())
            if (!isText(r.toMap().value("origName")))
                return false;
    }
    return true;
}

// The kind of a value as far as a setting goes; integers and reals are one kind here: both
// are numbers to the layout. Told by type, without texts: it runs for every value.
enum class Kind { Other, Text, Number, Flag, Data, Dict, List };
Kind kindOf(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QString: return Kind::Text;
    case QMetaType::Bool: return Kind::Flag;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double: return Kind::Number;
    case QMetaType::QByteArray: return Kind::Data;
    case QMetaType::QVariantMap: return Kind::Dict;
    case QMetaType::QVariantList: return Kind::List;
    default: return Kind::Other;
    }
}

// Whether a settings tree can hold the value: property-list values throughout, numbers
// finite. Walked in place, without copying what it holds.
bool holdable(const QVariant& v)
{
    switch (kindOf(v)) {
    case Kind::Dict: {
        const QVariantMap& map = *static_cast<const QVariantMap*>(v.constData());
        return std::all_of(map.cbegin(), map.cend(), holdable);
    }
    case Kind::List: {
        const QVariantList& list = *static_cast<const QVariantList*>(v.constData());
        return std::all_of(list.cbegin(), list.cend(), holdable);
    }
    case Kind::Number:
        return v.typeId() != QMetaType::Double || std::isfinite(v.toDouble());
    case Kind::Other:
        return MyConfigItem::buildable(v);   // what else the tree may take, it says itself
    default:
        return true;
    }
}

// Settings rows as the outline describes them, one per key path, made once: the checks of a
// typed value read the row's bounds and its parent.
class Rows {
public:
    Rows() : m_root(std::make_unique<MyConfigRootItem>(nullptr)) {}
    ~Rows()
    {
        // Children first: each row knows its parent.
        for (auto it = m_rows.rbegin(); it != m_rows.rend(); ++it)
            it->reset();
    }

    const MyConfigItem* row(const QStringList& keys)
    {
        MyConfigItem* parent = m_root.get();
        QString path;
        for (const QString& key : keys) {
            path += (path.isEmpty() ? QString() : QStringLiteral("\t")) + key;
            auto it = m_byPath.constFind(path);
            if (it == m_byPath.constEnd()) {
                m_rows.push_back(std::make_unique<MyConfigItem>(key, QString(), QStringLiteral("dict"), parent, 0));
                it = m_byPath.insert(path, m_rows.back().get());
            }
            parent = *it;
        }
        return parent;
    }

private:
    std::unique_ptr<MyConfigRootItem> m_root;
    std::vector<std::unique_ptr<MyConfigItem>> m_rows;
    QHash<QString, MyConfigItem*> m_byPath;
};

class Checker {
public:
    // Whether the outline would take value at keys, given the default it stands for.
    bool usable(const QStringList& keys, const QVariant& value, const QVariant& fallback)
    {
        return kindOf(value) == kindOf(fallback) && usableIn(m_rows.row(keys), value);
    }
    // The same with the row already found; the kind already compared.
    const MyConfigItem* rowOf(const QStringList& keys) { return m_rows.row(keys); }
    bool usableIn(const MyConfigItem* row, const QVariant& value)
    {
        const Kind kind = kindOf(value);
        if (kind == Kind::Data)
            return MyOutlineTexts::allowData(value.toByteArray(), row);
        if (kind == Kind::Text)
            return MyOutlineTexts::allowString(value.toString(), row);
        if (kind == Kind::Number && value.typeId() != QMetaType::Double)
            return MyOutlineTexts::allowInt(value.toLongLong(), row);
        if (kind == Kind::Number) {
            const double v = value.toDouble();
            return std::isfinite(v) && (!row->minVal || v >= *row->minVal) && (!row->maxVal || v <= *row->maxVal);
        }
        return true;
    }
    // The dot type of a series as the layout reads it. An outlier series takes "dotType" as a
    // number or a decimal string; a dot series takes a number, and without one its "type",
    // which older writers may have stored as text. Either way within the row's bounds.
    bool usableDotType(const MyConfigItem* row, const QVariantMap& series, bool dotSeries)
    {
        const QVariant dotType = series.value(QStringLiteral("dotType"));
        if (kindOf(dotType) == Kind::Number)
            return usableIn(row, dotType);
        const QVariant typed = dotSeries ? series.value(QStringLiteral("type")) : dotType;
        if (kindOf(typed) == Kind::Number)
            return usableIn(row, typed);
        return isText(typed) && NumberText::isWholeNumber(typed.toString())
            && usableIn(row, NumberText::doubleValue(typed.toString()));
    }

private:
    Rows m_rows;
};

} // namespace

std::optional<MyGraphSettingsRepair::Result> MyGraphSettingsRepair::repaired(
    const AppDelegate& app, const QVariantMap& stored, const QString& graphType,
    const std::function<std::optional<QVariantMap>()>& fresh, bool fillMissing)
{
    const bool scatter = graphType == QLatin1String("scatter");
    const QString seriesKey = scatter ? QStringLiteral("dotsProperties") : QStringLiteral("boxesProperties");
    const QString fifthKey = scatter ? QStringLiteral("bars") : QStringLiteral("boxes");

    std::optional<std::optional<QVariantMap>> made;
    auto anew = [&]() -> const std::optional<QVariantMap>& {
        if (!made)
            made = fresh ? fresh() : std::nullopt;
        return *made;
    };

    Result out;
    out.settings = stored;
    QVariantMap& s = out.settings;
    // A part of the wrong shape is taken from new settings of the analysis.
    auto renew = [&](QVariantMap& in, const QStringList& keys) -> bool {
        const auto& made = anew();
        if (!made)
            return false;
        QVariant v = *made;
        for (const QString& k : keys)
            v = v.toMap().value(k);
        in.insert(keys.last(), v);
        out.rebuilt << keys.join(' ');
        return true;
    };
    const struct { const char* key; bool (*shape)(const QVariant&); } roots[] = {
        {"graphTitle", isText}, {"valueSettings", isDict}, {"categoryDicts", isCategoryList}, {nullptr, isDictList},
        {"graphProperties", isDict}};
    for (const auto& r : roots) {
        const QString key = r.key ? QString::fromLatin1(r.key) : seriesKey;
        if (!r.shape(s.value(key)) && !renew(s, {key}))
            return std::nullopt;
    }
    QVariantMap properties = s.value("graphProperties").toMap();
    const std::pair<QString, const QVariantMap*> groups[] = {
        {"background", &app.defaultBackground}, {"graphRect", &app.defaultGraphRect}, {"xAxis", &app.defaultXAxis},
        {"yAxis", &app.defaultYAxis}, {fifthKey, scatter ? &app.defaultBar : &app.defaultBox}};
    for (const auto& [key, _] : groups)
        if (!isDict(properties.value(key))) {
            const auto& made = anew();
            if (!made)
                return std::nullopt;
            properties.insert(key, made->value("graphProperties").toMap().value(key));
            out.rebuilt << "graphProperties " + key;
        }

    // Values, each against the default it would take were it missing. Groups are copied only
    // when something in them changes: a boxplot may have a hundred thousand series.
    Checker checker;
    QHash<QString, const MyConfigItem*> rows;   // of the group being mended, by key
    // name gives the group's name in the message, made only when something is mended.
    auto mend = [&](const QVariant& stored, const QStringList& rowKeys, const std::function<QString()>& name,
                    const QVariantMap& defaults, const QStringList& fixed) -> std::optional<QVariantMap> {
        auto rowOf = [&](const QString& key) {
            auto row = rows.constFind(key);
            if (row == rows.constEnd())
                row = rows.insert(key, checker.rowOf(rowKeys + QStringList{key}));
            return *row;
        };
        const QVariantMap group = stored.toMap();
        const bool series = rowKeys.first() == seriesKey;
        std::optional<QVariantMap> changed;
        // Keys the defaults lack are no settings of the group: they are left as they are.
        for (auto fallback = defaults.cbegin(); fallback != defaults.cend(); ++fallback) {
            const QString& key = fallback.key();
            if (!fixed.isEmpty() && fixed.contains(key))
                continue;
            const auto it = group.constFind(key);
            if (series && key == QLatin1String("dotType")) {
                // Read in more than one form: what the layout can draw is kept as it is.
                if (checker.usableDotType(rowOf(key), group, scatter) || (it == group.cend() && !fillMissing))
                    continue;
            } else if (it == group.cend()) {
                if (!fillMissing)
                    continue;
            } else if (kindOf(it.value()) == kindOf(*fallback) && checker.usableIn(rowOf(key), it.value())) {
                continue;
            }
            if (!changed)
                changed = group;
            changed->insert(key, *fallback);
            out.repaired << name() + key;
        }
        return changed;
    };
    for (const auto& [groupKey, defaults] : groups) {
        const QString key = groupKey;   // clang 14 cannot capture a structured binding
        rows.clear();
        if (auto group = mend(properties.value(key), {"graphProperties", key}, [&] { return "graphProperties " + key + ' '; },
                              *defaults, {}))
            properties.insert(key, *group);
    }
    s.insert("graphProperties", properties);

    auto mendList = [&](const QString& listKey, const std::function<const QVariantMap*(qsizetype)>& defaultsAt,
                        const QStringList& fixed) {
        const QVariantList list = s.value(listKey).toList();
        std::optional<QVariantList> changed;
        rows.clear();
        const QStringList listRow{listKey, QString()};
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QVariantMap* defaults = defaultsAt(i);
            if (!defaults)
                continue;
            // Named as the settings outline names the element, where it has a title.
            auto name = [&] {
                const QString title = MyOutlineTexts::elementTitle(listKey + '\t', i, app.configResString);
                return title.isEmpty() ? QStringLiteral("%1 %2 ").arg(listKey).arg(i + 1) : title + ' ';
            };
            if (auto one = mend(list.at(i), listRow, name, *defaults, fixed)) {
                if (!changed)
                    changed = list;
                (*changed)[i] = *one;
            }
        }
        if (changed)
            s.insert(listKey, *changed);
    };
    mendList("categoryDicts", [&](qsizetype) { return &app.defaultCategoryDict; }, {"categoryTitle", "represents"});
    const QVariantList& seriesDefaults = scatter ? app.defaultDots : app.defaultBoxes;
    QVector<QVariantMap> seriesTemplates;
    for (const QVariant& d : seriesDefaults)
        seriesTemplates.append(d.toMap());
    mendList(seriesKey,
             [&](qsizetype i) { return seriesTemplates.isEmpty() ? nullptr : &seriesTemplates[i % seriesTemplates.size()]; },
             {});

    // The axis scale has no default of its own: one value that cannot be used and the whole
    // scale is made anew from the values, so that its ends, steps and labels agree.
    const QVariantMap values = s.value("valueSettings").toMap();
    bool scaleUsable = true;
    for (auto it = values.cbegin(); it != values.cend() && scaleUsable; ++it) {
        const QStringList keys{"valueSettings", it.key()};
        if (it.key() == QLatin1String("scaleStrings")) {
            scaleUsable = isList(it.value());
            for (const QVariant& label : it.value().toList())
                scaleUsable = scaleUsable && checker.usable(keys + QStringList{""}, label, QString());
        } else if (it.key() == QLatin1String("logarithmic")) {
            scaleUsable = kindOf(it.value()) == Kind::Flag;
        } else if (it.key() == QLatin1String("partition")) {
            // A count, stored as a number or, by older writers, as text; -1 for an axis
            // whose labels were all deleted.
            const bool number = kindOf(it.value()) == Kind::Number;
            scaleUsable = MyOutlineTexts::hasNoLabels(values)
                || ((number || isText(it.value())) && checker.usable(keys, it.value(), it.value()));
        } else if (it.key() == QLatin1String("min") || it.key() == QLatin1String("max")) {
            scaleUsable = checker.usable(keys, it.value(), QString());
        }
    }
    if (!scaleUsable) {
        const auto& made = anew();
        if (!made)
            return std::nullopt;
        s.insert("valueSettings", made->value("valueSettings"));
        out.repaired << QStringLiteral("valueSettings");
    }

    // Whatever is left that no settings tree can hold (a date, a number that is not finite
    // deep inside) leaves nothing to keep: the settings are made anew as a whole.
    if (!holdable(s)) {
        const auto& made = anew();
        if (!made)
            return std::nullopt;
        out = Result{*made, {}, {QString()}};
    }
    return out;
}
