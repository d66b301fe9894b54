#pragma once
// The first settings of an analysis's graph: its data, an axis scale from its value range,
// and everything else copied from the user's defaults.
#include "analysis/MyAnalysisBuilder.h"
#include "analysis/MyAnalysisData.h"
#include <QVariantMap>
#include <optional>

class AppDelegate;
class MySelectorItem;

class MyGraphSettingsBuilder {
public:
    struct NewGraph {
        MyAnalysisData analysis;   // its categoryDicts completed like the settings'
        QVariantMap settings;      // the new GraphSettings
    };

    // For a view of pageWidth x pageHeight points. nullopt (and *error) when the analysis
    // cannot be built. An analysis without values (noValues Built) gets the axis of 0 to 1.
    static std::optional<NewGraph> graphSettingsFromSelection(
        const AppDelegate& app, double pageWidth, double pageHeight, MySelectorItem* item, QString* error = nullptr,
        MyAnalysisBuilder::NoValues noValues = MyAnalysisBuilder::NoValues::Refused);
    // The same from an analysis already built.
    static QVariantMap graphSettingsFromAnalysis(const AppDelegate& app, double pageWidth, double pageHeight,
                                                 MyAnalysisData& analysis);
};
