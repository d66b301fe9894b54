#include "PlotLayoutFixture.h"
#include "analysis/MyGraphSettingsBuilder.h"
#include "graph/FrameGeometry.h"
#include "views/MyStorageItem.h"
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
// Mean and median of sorted values, after f.
void putStatistics(BoxValuesDict& d, std::vector<double> v, double (*f)(double))
{
    std::transform(v.begin(), v.end(), v.begin(), f);
    const size_t h = v.size() / 2;
    d.mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
    d.median = v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}
} // namespace

std::unique_ptr<FrameLayout> dotPlot(const QList<QStringList>& levels,
                                     const std::function<std::vector<double>(const QString&)>& values)
{
    auto g = std::make_unique<FrameLayout>(levels);
    for (const QString& tag : FrameGeometry::nameTags(levels)) {
        std::vector<double> v = values(tag);
        std::sort(v.begin(), v.end());
        BoxValuesDict d, logs;
        d.scatter = logs.scatter = true;
        if (!v.empty())
            putStatistics(d, v, [](double x) { return x; });
        if (!v.empty() && v.front() > 0)
            putStatistics(logs, v, [](double x) { return std::log10(x); });
        g->data.values.insert(tag, v);
        g->data.graphDescriptives.insert(tag, d);
        g->data.graphLogDescriptives.insert(tag, logs);
        g->data.outliers.insert(tag, {});
        g->data.logOutliers.insert(tag, {});
    }
    return g;
}

std::unique_ptr<FrameLayout> boxPlot(const QList<QStringList>& levels, const std::function<BoxStats(const QString&)>& plain,
                                     const std::function<BoxStats(const QString&)>& logarithmic)
{
    auto g = std::make_unique<FrameLayout>(levels);
    g->data.graphType = "boxplot";
    const QVariant valueSettings = g->settings.value("valueSettings");
    g->settings = MyGraphSettingsBuilder::graphSettingsFromAnalysis(g->app, 500, 500, g->data);
    g->settings["valueSettings"] = valueSettings;
    auto dict = [](const BoxStats& s) { return BoxValuesDict{false, {}, s.median, s.q1, s.q3, s.boxMin, s.boxMax}; };
    for (const QString& tag : FrameGeometry::nameTags(levels)) {
        const BoxStats p = plain(tag), l = logarithmic(tag);
        g->data.graphDescriptives.insert(tag, dict(p));
        g->data.graphLogDescriptives.insert(tag, dict(l));
        g->data.outliers.insert(tag, p.outliers);
        g->data.logOutliers.insert(tag, l.outliers);
        g->data.values.insert(tag, {});
    }
    return g;
}

MyView* containerOf(const MyViewManager& vm, const QString& tag)
{
    return vm.viewDict.value(MyViewManager::columnViewName(tag));
}

Frames framesOf(const MyViewManager& vm)
{
    Frames f;
    auto add = [&f](const GraphItem* v) {
        f.frames.insert(v, v->frame());
        f.origins.insert(v, v->boundsOrigin());
    };
    for (const auto& [name, view] : vm.viewDict)
        add(view);
    for (const auto& [name, views] : vm.viewsDict)
        for (const MySimpleView* v : views)
            add(v);
    auto items = vm.scalesStorageItem;
    for (const auto& [name, item] : vm.storageItemDict)
        items << item;
    for (const auto& item : items)
        for (const MySimpleTextView* v : item->textStorage->textViews())
            add(v);
    return f;
}

Frames Frames::of(const Frames& other) const
{
    Frames f;
    for (auto it = other.frames.cbegin(); it != other.frames.cend(); ++it) {
        f.frames.insert(it.key(), frames.value(it.key()));
        f.origins.insert(it.key(), origins.value(it.key()));
    }
    return f;
}

