#include "PlotLayoutFixture.h"
#include "analysis/MyGraphSettingsBuilder.h"
#include "views/MyStorageItem.h"

#include <algorithm>
#include <cmath>
#include <numeric>

QStringList tagsOf(const QList<QStringList>& levels)
{
    QStringList tags{QString()};
    bool first = true;
    for (const QStringList& level : levels) {
        QStringList next;
        for (const QString& prefix : tags)
            for (const QString& name : level)
                next << (first ? name : prefix + "\t" + name);
        tags = next;
        first = false;
    }
    return tags;
}

std::unique_ptr<FrameLayout> dotPlot(const QList<QStringList>& levels,
                                     const std::function<std::vector<double>(const QString&)>& values)
{
    auto g = std::make_unique<FrameLayout>(levels);
    for (const QString& tag : tagsOf(levels)) {
        std::vector<double> v = values(tag);
        std::sort(v.begin(), v.end());
        BoxValuesDict d;
        d.scatter = true;
        BoxValuesDict logs = d;
        if (!v.empty()) {
            d.mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
            const size_t h = v.size() / 2;
            d.median = v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
            if (v.front() > 0) {
                std::vector<double> l;
                for (double x : v)
                    l.push_back(std::log10(x));
                logs.mean = std::accumulate(l.begin(), l.end(), 0.0) / double(l.size());
                logs.median = l.size() % 2 ? l[h] : (l[h - 1] + l[h]) / 2;
            }
        }
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
    const QVariantMap valueSettings = g->settings.value("valueSettings").toMap();
    g->settings = MyGraphSettingsBuilder::graphSettingsFromAnalysis(g->app, 500, 500, g->data);
    g->settings["valueSettings"] = valueSettings;
    auto dict = [](const BoxStats& s) {
        BoxValuesDict d;
        d.median = s.median;
        d.q1 = s.q1;
        d.q3 = s.q3;
        d.boxMin = s.boxMin;
        d.boxMax = s.boxMax;
        return d;
    };
    for (const QString& tag : tagsOf(levels)) {
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
    for (const auto& [name, item] : vm.storageItemDict)
        for (const MySimpleTextView* v : item->textStorage->textViews())
            add(v);
    return f;
}

qsizetype viewCount(const MyViewManager& vm) { return framesOf(vm).frames.size(); }

QRect inkOf(const QImage& image, QColor color)
{
    const QImage page = image.convertToFormat(QImage::Format_ARGB32);
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = QColor::fromRgba(line[x]);
            if (c.alpha() > 200 && std::abs(c.red() - color.red()) < 40 && std::abs(c.green() - color.green()) < 40
                && std::abs(c.blue() - color.blue()) < 40)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}
