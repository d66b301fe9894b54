#include "analysis/MyGraphSettingsBuilder.h"
#include "analysis/MyAnalysisBuilder.h"
#include "analysis/MyAxisScale.h"
#include "app/AppDelegate.h"
#include "platform/NumberText.h"

std::optional<MyGraphSettingsBuilder::NewGraph> MyGraphSettingsBuilder::graphSettingsFromSelection(
    const AppDelegate& app, double pageWidth, double pageHeight, MySelectorItem* item, QString* error,
    MyAnalysisBuilder::NoValues noValues)
{
    std::optional<MyAnalysisData> analysis = MyAnalysisBuilder::analysisFromSelection(app, item, error, noValues);
    if (!analysis)
        return std::nullopt;
    NewGraph g;
    g.settings = graphSettingsFromAnalysis(app, pageWidth, pageHeight, *analysis);
    g.analysis = std::move(*analysis);
    return g;
}

QVariantMap MyGraphSettingsBuilder::graphSettingsFromAnalysis(const AppDelegate& app, double pageWidth,
                                                              double pageHeight, MyAnalysisData& analysis)
{
    QVariantMap background = app.defaultBackground;
    background["viewWidth"] = NumberText::realString(pageWidth);
    background["viewHeight"] = NumberText::realString(pageHeight);

    const QVariantMap valueSettings = MyAxisScale::defaultMinMax(analysis.minMax.size() >= 2 ? analysis.minMax[0] : 0.0,
                                                                 analysis.minMax.size() >= 2 ? analysis.minMax[1] : 1.0);

    QVariantList categoryDicts;
    for (QVariant& seed : analysis.categoryDicts) {
        QVariantMap c = seed.toMap();
        for (auto it = app.defaultCategoryDict.cbegin(); it != app.defaultCategoryDict.cend(); ++it)
            c[it.key()] = it.value();
        seed = c;
        categoryDicts << c;
    }

    const bool scatter = analysis.graphType == QLatin1String("scatter");
    // An empty user list would leave entries without a series: the built-in series stand in.
    QVariantList defaults = scatter ? app.defaultDots : app.defaultBoxes;
    if (defaults.isEmpty())
        defaults = scatter ? app.appDefaultDots : app.appDefaultBoxes;
    const qsizetype n = analysis.representLists.isEmpty() ? 0 : analysis.representLists.last().size();
    QVariantList series;
    for (qsizetype i = 0; i < n && !defaults.isEmpty(); ++i)
        series << defaults[i % defaults.size()];

    QVariantMap graphProperties{{"background", background},
                                {"graphRect", app.defaultGraphRect},
                                {"xAxis", app.defaultXAxis},
                                {"yAxis", app.defaultYAxis}};
    if (scatter)
        graphProperties["bars"] = app.defaultBar;
    else
        graphProperties["boxes"] = app.defaultBox;

    QVariantMap settings{{"graphTitle", analysis.title},
                         {"categoryDicts", categoryDicts},
                         {"graphProperties", graphProperties},
                         {"valueSettings", valueSettings}};
    settings[scatter ? "dotsProperties" : "boxesProperties"] = series;
    return settings;
}
