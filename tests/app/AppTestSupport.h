#pragma once
// Shared by the app tests: dictionary edits, the update message, the default groups by store key.
#include "app/AppDelegate.h"

#include <QVariantMap>
#include <gtest/gtest.h>

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
#define VLB_GROUP(key, Name) {key, builtIn ? d.appDefault##Name : d.default##Name}
    return {VLB_GROUP("columnSettings", ColumnSettings), VLB_GROUP("tableRowSettings", TableRowSettings),
            VLB_GROUP("background", Background),         VLB_GROUP("graphRect", GraphRect),
            VLB_GROUP("xAxis", XAxis),                   VLB_GROUP("categoryDict", CategoryDict),
            VLB_GROUP("yAxis", YAxis),                   VLB_GROUP("bar", Bar),
            VLB_GROUP("box", Box),                       VLB_GROUP("dots", Dots),
            VLB_GROUP("boxes", Boxes),                   VLB_GROUP("stats", Stats)};
#undef VLB_GROUP
}
