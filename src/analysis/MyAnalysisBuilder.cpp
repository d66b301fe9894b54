#include "analysis/MyAnalysisBuilder.h"
#include "app/AppDelegate.h"
#include "outline/MySelectorItem.h"
#include "stats/MyDescriptives.h"
#include "stats/VectorState.h"
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace {

// One level of categories: names and, parallel to them, positions into the pooled list.
struct Level {
    QStringList names;
    std::vector<std::vector<qint64>> lists;
};

QVariantMap representEntry(const MySelectorItem* item)
{
    return {{"origName", item->title}, {"represent", item->message}};
}

struct Picked {
    std::vector<double> values;   // ascending
    std::vector<double> logs;     // their base-10 logarithms, in the same order
};

// An unsigned integer that orders as the double does; -0.0 counts as 0.0.
uint64_t sortKey(double v)
{
    const uint64_t bits = std::bit_cast<uint64_t>(v + 0.0);
    return (bits >> 63) ? ~bits : bits | (uint64_t(1) << 63);
}

// The positions of the present, finite values, ordered by value and equal values by
// position. A stable radix sort on sortKey: a comparison sort of the whole pool took a
// quarter of the analysis' build time.
std::vector<qint64> orderByValue(const std::vector<std::optional<double>>& pooled)
{
    std::vector<uint64_t> keys;
    std::vector<qint64> order;
    keys.reserve(pooled.size());
    order.reserve(pooled.size());
    for (size_t i = 0; i < pooled.size(); ++i)
        if (pooled[i] && std::isfinite(*pooled[i])) {
            keys.push_back(sortKey(*pooled[i]));
            order.push_back(qint64(i));
        }
    constexpr int kBits = 11;
    constexpr uint64_t kMask = (uint64_t(1) << kBits) - 1;
    std::vector<uint64_t> keysOut(keys.size());
    std::vector<qint64> orderOut(order.size());
    std::vector<size_t> start(kMask + 2);
    for (int shift = 0; shift < 64; shift += kBits) {
        std::fill(start.begin(), start.end(), 0);
        for (uint64_t k : keys)
            ++start[((k >> shift) & kMask) + 1];
        // A digit that all keys share leaves the order as it is.
        if (std::find(start.begin(), start.end(), keys.size()) != start.end())
            continue;
        std::partial_sum(start.begin(), start.end(), start.begin());
        for (size_t i = 0; i < keys.size(); ++i) {
            const size_t to = start[(keys[i] >> shift) & kMask]++;
            keysOut[to] = keys[i];
            orderOut[to] = order[i];
        }
        keys.swap(keysOut);
        order.swap(orderOut);
    }
    return order;
}

// The pooled values in ascending order once, so that the values of every group of a
// partition (each position in at most one group) come out sorted in one pass over the
// pool instead of one sort per group.
class SortedPool {
public:
    SortedPool(const std::vector<std::optional<double>>& pooled, bool withLogs) : m_withLogs(withLogs)
    {
        m_order = orderByValue(pooled);
        m_values.reserve(m_order.size());
        for (qint64 i : m_order)
            m_values.push_back(*pooled[size_t(i)]);
        if (withLogs) {
            VectorState::clearUpper();
            m_logs.reserve(m_values.size());
            for (double v : m_values)
                m_logs.push_back(std::log10(v));
        }
    }

    Picked all() const { return {m_values, m_logs}; }

    // The values of each group, owner[p] naming the group of position p (-1 for none).
    // owner is read once, in rank order; the lists are sized first and then filled
    // through plain pointers.
    std::vector<Picked> split(const std::vector<int>& owner, size_t groups) const
    {
        std::vector<int> groupOf(m_order.size());
        std::vector<size_t> sizes(groups, 0);
        for (size_t r = 0; r < m_order.size(); ++r) {
            const int g = owner[size_t(m_order[r])];
            groupOf[r] = g;
            if (g >= 0)
                ++sizes[size_t(g)];
        }
        std::vector<Picked> out(groups);
        std::vector<double*> values(groups), logs(groups);
        for (size_t g = 0; g < groups; ++g) {
            out[g].values.resize(sizes[g]);
            values[g] = out[g].values.data();
            if (m_withLogs) {
                out[g].logs.resize(sizes[g]);
                logs[g] = out[g].logs.data();
            }
        }
        for (size_t r = 0; r < groupOf.size(); ++r) {
            const int g = groupOf[r];
            if (g < 0)
                continue;
            *values[size_t(g)]++ = m_values[r];
            if (m_withLogs)
                *logs[size_t(g)]++ = m_logs[r];
        }
        return out;
    }

    // The values of groups whose positions may overlap or repeat, group by group.
    std::vector<Picked> pickEach(const std::vector<std::vector<qint64>>& groups, size_t pooledSize) const
    {
        std::vector<qint64> rankOf(pooledSize, -1);
        for (size_t r = 0; r < m_order.size(); ++r)
            rankOf[size_t(m_order[r])] = qint64(r);
        std::vector<Picked> out;
        out.reserve(groups.size());
        for (const auto& positions : groups) {
            std::vector<qint64> ranks;
            ranks.reserve(positions.size());
            for (qint64 p : positions)
                if (p >= 0 && size_t(p) < rankOf.size() && rankOf[size_t(p)] >= 0)
                    ranks.push_back(rankOf[size_t(p)]);
            std::sort(ranks.begin(), ranks.end());
            Picked& picked = out.emplace_back();
            picked.values.reserve(ranks.size());
            for (qint64 r : ranks) {
                picked.values.push_back(m_values[size_t(r)]);
                if (m_withLogs)
                    picked.logs.push_back(m_logs[size_t(r)]);
            }
        }
        return out;
    }

private:
    bool m_withLogs;
    std::vector<qint64> m_order;    // positions by ascending value
    std::vector<double> m_values;   // values in that order
    std::vector<double> m_logs;
};

// Which group each position belongs to; empty when a position is in two groups.
std::vector<int> ownersOf(const std::vector<std::vector<qint64>>& groups, size_t pooledSize)
{
    std::vector<int> owner(pooledSize, -1);
    for (size_t g = 0; g < groups.size(); ++g)
        for (qint64 p : groups[g]) {
            int& o = owner[size_t(p)];
            if (o >= 0)
                return {};
            o = int(g);
        }
    return owner;
}

// Splits every list of the level by the group each position belongs to (owner[p], -1 for
// none), keeping the order of positions: one pass per list, whatever the number of groups.
Level crossed(const Level& previous, const std::vector<int>& owner, const QStringList& groupNames, bool alwaysTab)
{
    Level next;
    const size_t groups = size_t(groupNames.size());
    next.names.reserve(previous.names.size() * groupNames.size());
    next.lists.reserve(previous.lists.size() * groups);
    for (int i = 0; i < previous.names.size(); ++i) {
        const QString& p = previous.names[i];
        std::vector<std::vector<qint64>> buckets(groups);
        for (qint64 pos : previous.lists[size_t(i)]) {
            const int o = owner[size_t(pos)];
            if (o >= 0)
                buckets[size_t(o)].push_back(pos);
        }
        for (size_t g = 0; g < groups; ++g) {
            next.names << ((p.isEmpty() && !alwaysTab) ? groupNames[int(g)] : p + '\t' + groupNames[int(g)]);
            next.lists.push_back(std::move(buckets[g]));
        }
    }
    return next;
}

// The same split when one position may belong to several groups (repeated values in a
// hand-made selection): one filter per group.
Level crossedOverlapping(const Level& previous, const std::vector<std::vector<qint64>>& groups,
                         const QStringList& groupNames, size_t pooledSize)
{
    Level next;
    const size_t n = groups.size();
    next.names.resize(previous.names.size() * qsizetype(n));
    next.lists.resize(previous.lists.size() * n);
    std::vector<char> mark(pooledSize, 0);
    for (size_t g = 0; g < n; ++g) {
        for (qint64 pos : groups[g])
            mark[size_t(pos)] = 1;
        for (int i = 0; i < previous.names.size(); ++i) {
            const QString& p = previous.names[i];
            std::vector<qint64>& out = next.lists[size_t(i) * n + g];
            for (qint64 pos : previous.lists[size_t(i)])
                if (mark[size_t(pos)])
                    out.push_back(pos);
            next.names[qsizetype(size_t(i) * n + g)] = p.isEmpty() ? groupNames[int(g)] : p + '\t' + groupNames[int(g)];
        }
        for (qint64 pos : groups[g])
            mark[size_t(pos)] = 0;
    }
    return next;
}

} // namespace

std::vector<double> MyAnalysisBuilder::statsFromValues(const std::vector<std::optional<double>>& values)
{
    std::vector<double> out;
    out.reserve(values.size());
    for (const auto& v : values)
        if (v && std::isfinite(*v))
            out.push_back(*v);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<double> MyAnalysisBuilder::valuesFromColumn(const std::vector<std::optional<double>>& pooled,
                                                        const std::vector<qint64>& positions)
{
    std::vector<std::optional<double>> picked;
    picked.reserve(positions.size());
    for (qint64 p : positions)
        if (p >= 0 && size_t(p) < pooled.size())
            picked.push_back(pooled[size_t(p)]);
    return statsFromValues(picked);
}

std::optional<MyAnalysisData> MyAnalysisBuilder::analysisFromSelection(const AppDelegate& app, MySelectorItem* item,
                                                                       QString* error, NoValues noValues)
{
    if (!app.ourDescriptives) {
        if (error)
            *error = QStringLiteral("No statistics engine");
        return std::nullopt;
    }
    return MyAnalysisBuilder(*app.ourDescriptives).analysisFromSelection(item, error, noValues);
}

QString MyAnalysisBuilder::structureError(const MySelectorItem* item)
{
    if (!item)
        return QStringLiteral("No analysis");
    const MySelectorItem* dataGroup = item->childTitle("DataColumns");
    if (!item->childTitle("graphType") || !dataGroup || !item->childTitle("Categorizing"))
        return QStringLiteral("The analysis lacks its graph type, data columns or categorizing columns");
    const QList<MySelectorItem*> dataColumns = dataGroup->selectorChildren();
    if (dataColumns.isEmpty())
        return QStringLiteral("At least one data column is required");
    for (const MySelectorItem* column : dataColumns)
        if (!column->selectorChildAt(0))
            return QStringLiteral("A data column has no values");
    return QString();
}

std::optional<MyAnalysisData> MyAnalysisBuilder::analysisFromSelection(MySelectorItem* item, QString* error,
                                                                       NoValues noValues) const
{
    auto fail = [error](const QString& message) -> std::optional<MyAnalysisData> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    // Every refusal comes before the analysis is marked as drawn: refused, it stays exactly
    // as it was, still being edited. The selection check refuses these cases first with the
    // same texts; they reach here only from a damaged analysis.
    if (const QString structure = structureError(item); !structure.isEmpty())
        return fail(structure);
    MySelectorItem* graphTypeItem = item->childTitle("graphType");
    MySelectorItem* dataGroup = item->childTitle("DataColumns");
    MySelectorItem* catGroup = item->childTitle("Categorizing");
    const QList<MySelectorItem*> dataColumns = dataGroup->selectorChildren();
    bool anyValue = false;
    for (MySelectorItem* column : dataColumns)
        anyValue = anyValue || MySelectorItem::validValueCount(column->selectorChildAt(0)->data2) > 0;
    if (!anyValue && noValues == NoValues::Refused)
        return fail(QStringLiteral("No valid values in this column"));

    item->editting = false;
    for (MySelectorItem* c : {graphTypeItem, dataGroup, catGroup})
        c->editting = false;

    MyAnalysisData d;
    d.graphType = graphTypeItem->message;
    d.title = item->title;
    const bool dataFirst = dataGroup->index() < catGroup->index();

    // Data columns, pooled one after another.
    std::vector<std::optional<double>> pooled;
    std::vector<qint64> starts, lengths;
    QVariantList dataReps;
    QStringList dataNames;
    for (MySelectorItem* column : dataColumns) {
        column->editting = false;
        MySelectorItem* rep = column->selectorChildAt(0);
        rep->editting = false;
        dataReps << representEntry(rep);
        dataNames << rep->title;
        starts.push_back(qint64(pooled.size()));
        lengths.push_back(rep->data2.size());
        pooled.insert(pooled.end(), rep->data2.begin(), rep->data2.end());
    }
    // Either every category gets its logarithmic entries or none does; without any value
    // every one gets them (empty), so that a stored logarithmic axis finds its tables.
    bool withLogs = true;
    for (const auto& v : pooled)
        if (v && std::isfinite(*v))
            withLogs = withLogs && *v > 0;
    const SortedPool pool(pooled, withLogs);
    // Each list is described as it is kept, so no table is searched for it again; a key kept
    // twice ends with the statistics of its last list, as its values do.
    auto keep = [&](const QString& key, Picked picked) {
        auto [count, stats] = m_engine.descriptives(picked.values);
        d.numbers.insert(key, count);
        d.descriptives.insert(key, stats);
        if (withLogs)
            d.logDescriptives.insert(key, m_engine.descriptives(picked.logs).second);
        d.values.emplace(key, std::move(picked.values));
    };
    // The values of each group, in one pass when no position is in two groups.
    // owner is ownersOf(groups).
    auto groupValues = [&](const std::vector<std::vector<qint64>>& groups, const std::vector<int>& owner) {
        if (!owner.empty() || groups.empty())
            return pool.split(owner, groups.size());
        return pool.pickEach(groups, pooled.size());
    };

    {
        Picked all = pool.all();
        if (!all.values.empty())
            d.minMax = {all.values.front(), all.values.back()};
        keep(QString(), std::move(all));
    }

    std::vector<int> columnOf(pooled.size(), -1);
    std::vector<std::vector<qint64>> ranges;
    for (size_t j = 0; j < starts.size(); ++j) {
        std::fill(columnOf.begin() + starts[j], columnOf.begin() + starts[j] + lengths[j], int(j));
        std::vector<qint64> range(static_cast<size_t>(lengths[j]));
        std::iota(range.begin(), range.end(), starts[j]);
        ranges.push_back(std::move(range));
    }
    {
        std::vector<Picked> perColumn = pool.split(columnOf, starts.size());
        for (size_t j = 0; j < starts.size(); ++j) {
            keep(dataNames[int(j)], std::move(perColumn[j]));
            d.singleTags << dataNames[int(j)];
        }
    }
    const QVariantMap dataSeed{{"categoryTitle", "dataColumns"}, {"represents", dataReps}};

    Level level;
    if (dataFirst) {
        level.names = dataNames;
        level.lists = std::move(ranges);
        d.categoryDicts << dataSeed;
        d.representLists << dataReps;
    } else {
        level.names = QStringList{QString()};
        std::vector<qint64> everything(pooled.size());
        std::iota(everything.begin(), everything.end(), qint64(0));
        level.lists.push_back(std::move(everything));
    }

    for (MySelectorItem* column : catGroup->selectorChildren()) {
        column->editting = false;
        const QString t = column->title;
        QVariantList reps;
        QStringList valueNames;
        std::vector<std::vector<qint64>> expanded;
        for (MySelectorItem* value : column->selectorChildren()) {
            value->editting = false;
            if (value->type != QLatin1String("YES"))
                continue;
            reps << representEntry(value);
            valueNames << value->title;
            // Row r of the value is position start(j) + r in every data column j.
            std::vector<qint64> positions;
            positions.reserve(size_t(value->data1.size()) * starts.size());
            for (size_t j = 0; j < starts.size(); ++j)
                for (qint64 r : value->data1)
                    if (r >= 0 && r < lengths[j])
                        positions.push_back(starts[j] + r);
            expanded.push_back(std::move(positions));
        }
        const std::vector<int> owner = ownersOf(expanded, pooled.size());
        std::vector<Picked> perValue = groupValues(expanded, owner);
        for (int v = 0; v < valueNames.size(); ++v) {
            // A data column titled "Sex_male" and the value male of Sex would share one
            // record: the later tag gets a key of its own and keeps its text for display.
            const QString text = t + '_' + valueNames[v];
            QString tag = text;
            for (int n = 2; d.numbers.contains(tag); ++n)
                tag = text + QChar(0x1F) + QString::number(n);
            if (tag != text)
                d.tagTexts.insert(tag, text);
            keep(tag, std::move(perValue[size_t(v)]));
            d.singleTags << tag;
        }
        level = !owner.empty() || expanded.empty() ? crossed(level, owner, valueNames, false)
                                                   : crossedOverlapping(level, expanded, valueNames, pooled.size());
        d.categoryDicts << QVariantMap{{"categoryTitle", "c_" + t}, {"represents", reps}};
        d.representLists << reps;
    }

    if (!dataFirst) {
        level = crossed(level, columnOf, dataNames, true);
        d.categoryDicts << dataSeed;
        d.representLists << dataReps;
    }

    d.categoryNames = level.names;
    // Every key once: the categories, the single tags and the whole. Sized up front, the
    // tables are not rehashed while a column of many values fills them.
    const qsizetype keys = level.names.size() + d.singleTags.size() + 1;
    d.values.reserve(keys);
    d.numbers.reserve(keys);
    d.descriptives.reserve(keys);
    d.graphDescriptives.reserve(level.names.size());
    d.outliers.reserve(level.names.size());
    if (withLogs) {
        d.logDescriptives.reserve(keys);
        d.graphLogDescriptives.reserve(level.names.size());
        d.logOutliers.reserve(level.names.size());
    }
    std::vector<Picked> perCategory = groupValues(level.lists, ownersOf(level.lists, pooled.size()));
    for (int i = 0; i < level.names.size(); ++i) {
        const QString& k = level.names[i];
        Picked& picked = perCategory[size_t(i)];
        MyDescriptives::BoxValues box = m_engine.boxValues(picked.values, d.graphType);
        d.graphDescriptives.insert(k, box.dict);
        d.outliers.emplace(k, std::move(box.outliers));
        if (withLogs) {
            MyDescriptives::BoxValues logBox = m_engine.boxValues(picked.logs, d.graphType);
            d.graphLogDescriptives.insert(k, logBox.dict);
            d.logOutliers.emplace(k, std::move(logBox.outliers));
        }
        keep(k, std::move(picked));
    }
    return d;
}
