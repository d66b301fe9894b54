#include "analysis/MyGraphSettingsKeeper.h"
#include "outline/MyConfigItem.h"
#include "platform/NumberText.h"

namespace {

bool isList(const QVariant& v) { return v.typeId() == QMetaType::QVariantList; }
bool isMap(const QVariant& v) { return v.typeId() == QMetaType::QVariantMap; }

QString seriesKey(const QString& graphType)
{
    return graphType == QLatin1String("scatter") ? QStringLiteral("dotsProperties") : QStringLiteral("boxesProperties");
}

// The stored category dictionary at the row's category position (element 1 of its indexes).
std::optional<QVariantMap> storedCategory(const MyConfigItem* row, const QVariantMap& stored)
{
    if (!row || row->indexes.size() < 2 || !isList(stored.value("categoryDicts")))
        return std::nullopt;
    const QVariantList categories = stored.value("categoryDicts").toList();
    const qint64 p = row->indexes[1];
    if (p < 0 || p >= categories.size() || !isMap(categories[p]))
        return std::nullopt;
    return categories[p].toMap();
}

std::optional<QString> origNameOf(const QVariant& entry)
{
    const QVariant name = entry.toMap().value("origName");
    if (!isMap(entry) || name.typeId() != QMetaType::QString)
        return std::nullopt;
    return name.toString();
}

} // namespace

std::optional<QVariantList> MyGraphSettingsKeeper::fixedDotsOrBoxesProperties(
    const std::optional<QVariantList>& properties, const QString& graphType, const QVariantMap& stored)
{
    const QVariant s = stored.value(seriesKey(graphType));
    if (!isList(s))
        return std::nullopt;
    const QVariantList current = s.toList();
    if (!properties)
        return current;
    QVariantList g = *properties;
    const qsizetype n = current.size();
    if (g.size() > n)
        g.resize(n);
    for (qsizetype i = g.size(); i < n; ++i)
        g.append(current[i]);
    return g;
}

std::optional<QVariantList> MyGraphSettingsKeeper::fixedRepresents(const QVariantList& represents,
                                                                   const MyConfigItem* row, const QVariantMap& stored)
{
    const std::optional<QVariantMap> category = storedCategory(row, stored);
    if (!category || !isList(category->value("represents")))
        return std::nullopt;
    const QVariantList current = category->value("represents").toList();
    QStringList storedNames;
    for (const QVariant& s : current) {
        const auto name = origNameOf(s);
        if (!name)
            return std::nullopt;
        storedNames << *name;
    }
    QVariantList kept;
    QStringList keptNames;
    for (const QVariant& g : represents) {
        const auto name = origNameOf(g);
        if (!name)
            return std::nullopt;
        // One entry per value: a second proposal for a value would push a stored one out.
        if (storedNames.contains(*name) && !keptNames.contains(*name)) {
            kept << g;
            keptNames << *name;
        }
    }
    if (kept.size() < current.size()) {
        for (int i = 0; i < current.size(); ++i)
            if (!keptNames.contains(storedNames[i]))
                kept << current[i];
    }
    return kept;
}

std::optional<QVariantMap> MyGraphSettingsKeeper::fixedCategoryDict(const QVariantMap& categoryDict,
                                                                    const MyConfigItem* row, const QVariantMap& stored)
{
    const std::optional<QVariantMap> current = storedCategory(row, stored);
    if (!current)
        return std::nullopt;
    QVariantMap r = categoryDict;
    if (categoryDict.value("categoryTitle") == current->value("categoryTitle")) {
        const MyConfigItem* representsRow = row->childTitle("represents");
        if (!isList(categoryDict.value("represents")))
            return std::nullopt;
        const auto fixed = fixedRepresents(categoryDict.value("represents").toList(), representsRow ? representsRow : row,
                                           stored);
        if (!fixed)
            return std::nullopt;
        r["represents"] = *fixed;
    } else {
        r["categoryTitle"] = current->value("categoryTitle");
        r["represents"] = current->value("represents");
    }
    return r;
}

std::optional<QVariantList> MyGraphSettingsKeeper::fixedCategoryDicts(const QVariantList& categoryDicts,
                                                                      const MyConfigItem* row, const QVariantMap& stored)
{
    if (!row || !isList(stored.value("categoryDicts")))
        return std::nullopt;
    const QVariantList current = stored.value("categoryDicts").toList();
    const QList<MyConfigItem*> rows = row->configChildren();
    if (rows.size() < current.size())
        return std::nullopt;
    QVariantList out;
    for (int i = 0; i < current.size(); ++i) {
        if (i < categoryDicts.size()) {
            if (!isMap(categoryDicts[i]))
                return std::nullopt;
            const auto fixed = fixedCategoryDict(categoryDicts[i].toMap(), rows[i], stored);
            if (!fixed)
                return std::nullopt;
            out << *fixed;
        } else {
            out << current[i];
        }
    }
    return out;
}

std::pair<QVariant, MyConfigItem*> MyGraphSettingsKeeper::viewSizeFromPageLayout(const QVariant& value,
                                                                                 MyConfigItem* row, double pageWidth,
                                                                                 double pageHeight)
{
    if (!row)
        return {value, row};
    const QString t = row->title;
    if (t == QLatin1String("viewWidth") || t == QLatin1String("viewHeight") || t == QLatin1String("color"))
        return {value, row};
    auto pageBackground = [&](const QVariant& color) {
        return QVariantMap{{"color", color},
                           {"followPageLayout", true},
                           {"viewWidth", NumberText::realString(pageWidth)},
                           {"viewHeight", NumberText::realString(pageHeight)}};
    };
    if (t == QLatin1String("followPageLayout")) {
        MyConfigItem* parent = row->configParent();
        const MyConfigItem* color = parent ? parent->childTitle("color") : nullptr;
        if (value.typeId() != QMetaType::Bool || !value.toBool() || !color)
            return {value, row};
        return {pageBackground(color->object()), parent};
    }
    const QVariantMap d = value.toMap();
    if (!isMap(value) || d.value("followPageLayout").typeId() != QMetaType::Bool || !d.value("followPageLayout").toBool()
        || !d.contains("color"))
        return {value, row};
    return {pageBackground(d.value("color")), row};
}
