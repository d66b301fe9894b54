#pragma once
// Stored graph settings checked as a document opens, so that a package made by hand or
// damaged elsewhere opens with a sound graph: parts of the wrong shape are made anew from the
// analysis, and values that are missing or that the settings outline would refuse (numbers out
// of their bounds or not numbers, colours and fonts that cannot be read, values of another
// kind) take the user's default, as a value missing from an older document does. A dot
// type stands in any form the layout reads (an older key, a decimal string).
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <optional>

class AppDelegate;

class MyGraphSettingsRepair {
public:
    struct Result {
        QVariantMap settings;
        // Values set to their defaults, by key path, series named as the settings outline
        // names them ("Dot Series 1 dotSize"; "categoryDicts 2 xTitleAttr": level 2, counted
        // from 1).
        QStringList repaired;
        // Parts of the wrong shape, made anew from the analysis ("graphProperties xAxis";
        // "" for the whole settings).
        QStringList rebuilt;
    };
    // The settings of an analysis of graphType, checked and mended; fresh makes new settings
    // from the analysis (asked only when a part must be made anew, and once). nullopt when a
    // part must be made anew and fresh makes none. With fillMissing a value that a group, a
    // series or a category lacks takes the user's default too; without it such values are
    // left to the upgrade of older documents, which fills them and says so in its own words.
    static std::optional<Result> repaired(const AppDelegate& app, const QVariantMap& stored, const QString& graphType,
                                          const std::function<std::optional<QVariantMap>()>& fresh,
                                          bool fillMissing);
};
