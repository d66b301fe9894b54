#pragma once
// The one application-wide object: engines, settings descriptions, defaults, the shared alert.
#include "platform/Dialogs.h"
#include "platform/Geometry.h"
#include <QStringList>
#include <QVariantMap>
#include <QVector>

class MyNorm2;
class MyDescriptives;
class MyShapiro;
class MyKolmogorov;
class MyGraphGenerator;
class MySettingController;

// The table as columns of strings; element 0 of each column is its title.
using TableData = QVector<QStringList>;

class AppDelegate {
public:
    AppDelegate();
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The running application's delegate (set by the constructor, cleared by the destructor).
    static AppDelegate* shared();

    // Engines: the first three are connected before launching, the others made at start-up.
    MyNorm2* ourNorm = nullptr;
    MyDescriptives* ourDescriptives = nullptr;
    MyGraphGenerator* ourGraphGenerator = nullptr;
    MyShapiro* shapiro = nullptr;
    MyKolmogorov* kolmogorov = nullptr;

    // From "configRes.plist": row descriptions by key path, display strings by key path,
    // layout step name to bit.
    QVariantMap configResOutlineItem;
    QVariantMap configResString;
    QVariantMap configIndexDict;

    const QStringList& validVersions() const { return m_validVersions; }
    const QString& curVersion() const { return m_curVersion; }

    MySettingController* settingCont = nullptr;

    QVariantMap defaultColumnSettings;
    QVariantMap defaultTableRowSettings;
    QVariantMap appDefaultColumnSettings;
    QVariantMap appDefaultTableRowSettings;
    QVariantMap defaultBackground, defaultGraphRect, defaultXAxis, defaultCategoryDict, defaultYAxis, defaultBar, defaultBox;
    QVariantList defaultDots, defaultBoxes;
    QVariantMap defaultStats;
    QVariantMap appDefaultBackground, appDefaultGraphRect, appDefaultXAxis, appDefaultCategoryDict, appDefaultYAxis, appDefaultBar, appDefaultBox;
    QVariantList appDefaultDots, appDefaultBoxes;
    QVariantMap appDefaultStats;

    Alert alert;
    Rect mainscreenFrame;

    // Table text codec.
    TableData arrayFromStringWithString(const QString& text, const QString& delimiter) const;
    QString stringFromArray(const TableData& columns) const;

private:
    QStringList m_validVersions{"4.0", "4.1", "4.11"};
    QString m_curVersion{"4.11"};
};
