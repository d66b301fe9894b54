#pragma once
// Shared by the app tests: dictionary edits, the update message, the default groups by store key.
#include "app/AppDelegate.h"

#include <QVariantMap>

inline const QString kUpdated = QStringLiteral("Your default Settings were automatically updated.");

inline QVariantMap withValue(QVariantMap dict, const QString& key, const QVariant& value)
{
    dict.insert(key, value);
    return dict;
}

inline QVariantMap without(QVariantMap dict, const QString& key)
{
    dict.remove(key);
    return dict;
}

// The delegate's default groups under their store keys: the user's, or the built-in ones.
inline QVariantMap defaultGroups(const AppDelegate& d, bool builtIn)
{
    return {
        {"columnSettings", builtIn ? d.appDefaultColumnSettings : d.defaultColumnSettings},
        {"tableRowSettings", builtIn ? d.appDefaultTableRowSettings : d.defaultTableRowSettings},
        {"background", builtIn ? d.appDefaultBackground : d.defaultBackground},
        {"graphRect", builtIn ? d.appDefaultGraphRect : d.defaultGraphRect},
        {"xAxis", builtIn ? d.appDefaultXAxis : d.defaultXAxis},
        {"categoryDict", builtIn ? d.appDefaultCategoryDict : d.defaultCategoryDict},
        {"yAxis", builtIn ? d.appDefaultYAxis : d.defaultYAxis},
        {"bar", builtIn ? d.appDefaultBar : d.defaultBar},
        {"box", builtIn ? d.appDefaultBox : d.defaultBox},
        {"dots", builtIn ? d.appDefaultDots : d.defaultDots},
        {"boxes", builtIn ? d.appDefaultBoxes : d.defaultBoxes},
        {"stats", builtIn ? d.appDefaultStats : d.defaultStats},
    };
}
