// The statistics table of an analysis: which tag and options each row stands for, the value
// of each cell, and the table copied as tab-separated text.
#include "document/Document.h"
#include "platform/NumberText.h"
#include "platform/PropertyList.h"
#include "views/MyViewManager.h"
#include "windows/MyWindowController.h"
#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

namespace {

const QString kNA = QStringLiteral("N/A");

// A property-list number (integer or real, not a boolean).
bool isNumber(const QVariant& v)
{
    const QString kind = PropertyList::kindOf(v);
    return kind == QLatin1String("integer") || kind == QLatin1String("real");
}

bool flag(const QVariantMap& settings, const char* key) { return settings.value(QLatin1String(key)).toBool(); }

// "%f" unless it would show no significant digit of a value that is not 0: a p value or a
// variance below 5e-7 then keeps its digits in exponent form.
QString realText(double v)
{
    const QString fixed = NumberText::format("%f", v);
    if (v == 0 || !std::isfinite(v))
        return fixed;
    for (QChar c : fixed)
        if (c >= u'1' && c <= u'9')
            return fixed;
    return NumberText::format("%.6g", v);
}

// Ascending, each index once, only those below `end`.
QList<int> ascending(QList<int> indexes, qint64 end)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(), [end](int i) { return i < 0 || i >= end; }),
                  indexes.end());
    return indexes;
}

} // namespace

const QStringList& MyViewManager::statsColumnIdentifiers()
{
    static const QStringList ids{"tag", "num",      "min", "max", "mean",          "median",    "variance",
                                 "stdev", "sk", "ku", "statisticName", "statistic", "p"};
    return ids;
}

const QStringList& MyViewManager::statsColumnTitles()
{
    static const QStringList titles{"Category", "Num",      "Minimum",  "Maximum", "Average",   "Median", "Variance",
                                    "StDev",    "Skewness", "Kurtosis", "Name",    "Statistic", "p"};
    return titles;
}

QVariantMap MyViewManager::statsRecord() const
{
    if (!myDoc || !myWindowCont)
        return {};
    const qint64 id = myWindowCont->graphID;
    return id >= 0 && id < myDoc->stats.size() ? myDoc->stats.at(id) : QVariantMap();
}

bool MyViewManager::isLogarithmic() const
{
    if (!myDoc || !myWindowCont)
        return false;
    const qint64 id = myWindowCont->graphID;
    if (id < 0 || id >= myDoc->graphSettings.size())
        return false;
    return myDoc->graphSettings.at(id).value("valueSettings").toMap().value("logarithmic").toBool();
}

qint64 MyViewManager::statsRowCount() const
{
    const QVariantMap settings = statsRecord().value("settings").toMap();
    return nameTags.size() + (flag(settings, "showSingle") ? singleTags.size() : 0) + (flag(settings, "showAll") ? 1 : 0);
}

MyViewManager::StatsOptions MyViewManager::statsOptions(qint64 row) const
{
    const QVariantMap settings = statsRecord().value("settings").toMap();
    const qint64 names = nameTags.size();
    if (row >= 0 && row < names)
        return {nameTags.at(row), flag(settings, "unbiased"), flag(settings, "stats")};
    // Every row past the name rows and the shown single rows is the all-data row.
    if (row >= names && flag(settings, "showSingle") && row < names + singleTags.size())
        return {singleTags.at(row - names), flag(settings, "singleUnbiased"), flag(settings, "singleStats")};
    return {QString(), flag(settings, "allUnbiased"), flag(settings, "allStats")};
}

QStringList MyViewManager::statsRowKeys() const
{
    const QVariantMap settings = statsRecord().value("settings").toMap();
    QStringList keys;
    keys.reserve(statsRowCount());
    // A single tag may be spelt as a category's tag: the kind tells them apart.
    for (const QString& tag : nameTags)
        keys << u'c' + tag;
    if (flag(settings, "showSingle"))
        for (const QString& tag : singleTags)
            keys << u's' + tag;
    if (flag(settings, "showAll"))
        keys << QStringLiteral("a");
    return keys;
}

QVariant MyViewManager::representedValue(const QString& tag, const QString& columnIdentifier, bool unbiased,
                                         bool showStats, bool logarithmic) const
{
    if (columnIdentifier == QLatin1String("tag"))
        return tag.isEmpty() ? QStringLiteral("All Data") : tagText(tag);
    const auto count = numbers.constFind(tag);
    if (columnIdentifier == QLatin1String("num"))
        return count == numbers.constEnd() ? QVariant() : QVariant::fromValue<qint64>(*count);

    const bool statistic = columnIdentifier == QLatin1String("statistic") || columnIdentifier == QLatin1String("p");
    if (statistic || columnIdentifier == QLatin1String("statisticName")) {
        if (!showStats || count == numbers.constEnd())
            return {};
        if (*count <= 2)
            return kNA;
        if (!statistic)
            return *count > 5000 ? QStringLiteral("KS Dn:") : QStringLiteral("S-W W:");
        const QVariant results = statsRecord().value(logarithmic ? QStringLiteral("logStats") : QStringLiteral("stats"));
        if (results.typeId() != QMetaType::QVariantMap)
            return {};
        const QVariantMap all = results.toMap();
        const auto found = all.constFind(tag);
        if (found == all.constEnd() || found->typeId() != QMetaType::QVariantMap)
            return {};
        const QVariantMap result = found->toMap();
        if (result.isEmpty())
            return kNA;
        const QVariant value = result.value(columnIdentifier);
        if (!isNumber(value))
            return {};
        // A test that failed on its numbers (stored as nan by older versions) has no result.
        return std::isfinite(value.toDouble()) ? QVariant(value.toDouble()) : QVariant(kNA);
    }

    // A descriptive column: the population form unless unbiased.
    const QHash<QString, DescriptivesDict>& table = logarithmic ? logDescriptives : descriptives;
    const auto dict = table.constFind(tag);
    // Without an entry (logarithms of an analysis with values <= 0) there is no value.
    if (dict == table.constEnd())
        return kNA;
    QString key = columnIdentifier;
    if (!unbiased
        && (key == QLatin1String("variance") || key == QLatin1String("stdev") || key == QLatin1String("sk")
            || key == QLatin1String("ku")))
        key += u'P';
    const std::optional<double> value = dict->value(key);
    return value ? QVariant(*value) : QVariant(kNA);
}

QString MyViewManager::statsShownText(const QVariant& value, int position)
{
    if (position > 1 && isNumber(value))
        return NumberText::format("%.6g", value.toDouble());
    return position == 0 ? value.toString() : statsCellText(value, position);
}

QString MyViewManager::statsCellText(const QVariant& value, int position)
{
    if (!value.isValid())
        return QString();
    if (position == 0) {
        QString tag = value.toString();
        return tag.replace(u'\t', QStringLiteral(" - "));
    }
    if (!isNumber(value))
        return value.toString();
    if (position == 1)
        return NumberText::format("%d", value.toLongLong());
    return realText(value.toDouble());
}

std::optional<QString> MyViewManager::statsText(const QList<int>& selectedRows, const QList<int>& selectedColumns) const
{
    const qint64 rowCount = statsRowCount();
    const QStringList& ids = statsColumnIdentifiers();
    QList<int> rows = ascending(selectedRows, rowCount);
    QList<int> columns;
    QString text;
    if (!rows.isEmpty()) {
        for (int c = 0; c < ids.size(); ++c)
            columns << c;
    } else {
        columns = ascending(selectedColumns, ids.size());
        if (columns.isEmpty())
            return std::nullopt;
        QStringList titles;
        for (int c : columns)
            titles << statsColumnTitles().at(c);
        text = titles.join(u'\t') + u'\n';
        for (int r = 0; r < rowCount; ++r)
            rows << r;
    }
    const bool logarithmic = isLogarithmic();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const StatsOptions options = statsOptions(rows.at(i));
        for (qsizetype k = 0; k < columns.size(); ++k) {
            const int c = columns.at(k);
            text += statsCellText(representedValue(options.tag, ids.at(c), options.unbiased, options.showStats, logarithmic), c);
            if (k + 1 < columns.size())
                text += u'\t';
        }
        if (i + 1 < rows.size())
            text += u'\n';
    }
    return text;
}

void MyViewManager::copyStatsWithSelectedRowIndexes(const QList<int>& selectedRows, const QList<int>& selectedColumns) const
{
    const std::optional<QString> text = statsText(selectedRows, selectedColumns);
    if (text)
        QGuiApplication::clipboard()->setText(*text);
}
