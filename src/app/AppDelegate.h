#pragma once
// The one application-wide object: engines, settings descriptions, defaults, the shared alert.
#include "app/TableTextCodec.h"
#include "platform/Dialogs.h"
#include "platform/Geometry.h"
#include "platform/Resources.h"
#include <QStringList>
#include <QVariantMap>
#include <QVector>
#include <memory>
#include <optional>

class MyNorm2;
class MyDescriptives;
class MyShapiro;
class MyKolmogorov;
class GraphLayoutSteps;
class MySettingController;

// A stored settings dictionary brought to a template's key set.
struct DictUpdate {
    QVariantMap dict;
    bool changed = false;
};

// A stored list of settings dictionaries brought to a template list.
struct DictListUpdate {
    QVariantList list;
    bool changed = false;
};

// Graph settings of an older document brought to the current key layout.
struct GraphSettingsUpdate {
    QVariantMap settings;
    bool changed = false;
};

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
    // The graph generator's layout steps (made at start-up, not owned here).
    GraphLayoutSteps* ourGraphGenerator = nullptr;
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

    // Start-up. ---------------------------------------------------------------------------

    // Makes the normal-distribution and descriptive-statistics engines, owned by the
    // delegate, and connects them to ourNorm and ourDescriptives. False (and *error) when
    // an engine cannot be made (its resource is missing or broken).
    bool createEngines(QString* error = nullptr);
    // The start-up sequence: screen frame, configRes.plist, the two test engines, built-in
    // defaults, user defaults (with the update alert). False (and *error, a sentence for the
    // user) when start-up cannot go on: no screen, a configRes.plist with missing or
    // misshapen keys, an engine missing.
    bool applicationWillFinishLaunching(QString* error = nullptr);
    // The application's start: createEngines unless engines are connected already, then
    // applicationWillFinishLaunching; a failure is shown through the shared alert.
    bool finishLaunching();

    // The steps, callable on their own.
    // Takes the three tables of a configRes.plist dictionary. An invalid or non-dictionary
    // value leaves them as they are (true); a dictionary lacking a key, or with a value of
    // the wrong shape, changes nothing and gives false with *error.
    bool loadConfigRes(const QVariant& resource, QString* error = nullptr);
    // Every appDefault* field.
    void makeAppDefaults();
    // Every default* field from the store, each group brought up to its built-in twin; the
    // shared alert says so once when any group changed. Returns whether one did.
    bool loadUserDefaults(const DefaultsStore& store);

    // Where start-up reads from when set (tests; a profile of its own).
    std::optional<QVariant> configResSource;
    std::optional<DefaultsStore> defaultsSource;

    // The font that built-in text attributes use, at the given size. A fixed family that
    // ships with the application's fonts, so defaults do not vary between machines.
    static FontSpec systemFont(double size);

    // Settings upgrade. ---------------------------------------------------------------------

    // The stored dictionary itself when its key set equals the template's; otherwise a new
    // dictionary of exactly the template's keys, stored values kept, changed true.
    static DictUpdate updateDict(const QVariantMap& stored, const QVariantMap& templateDict);
    // Element-wise updateDict; never shorter than the template (missing elements come from
    // it, changed true); longer lists are matched against the template from the start again.
    static DictListUpdate updateDictArray(const QVariantList& stored, const QVariantList& templateList);
    // Brings graph settings of an older document to the current key layout against the
    // user's defaults ("scatter": "dotsProperties" and "bars", else "boxesProperties" and
    // "boxes"). Misshapen or missing groups are replaced from the defaults (changed true);
    // "valueSettings" comes from the data, so a missing one stays missing.
    GraphSettingsUpdate updateGraphSettings(const QVariantMap& settings, const QString& graphType) const;

    // Table text codec. ---------------------------------------------------------------------
    TableData arrayFromStringWithString(const QString& text, const QString& delimiter) const;
    QString stringFromArray(const TableData& columns) const;

private:
    QStringList m_validVersions{"4.0", "4.1", "4.11"};
    QString m_curVersion{"4.11"};

    // The engines the delegate made; the public pointers are what everyone reads.
    std::unique_ptr<MyNorm2> m_norm;
    std::unique_ptr<MyDescriptives> m_descriptives;
    std::unique_ptr<MyShapiro> m_shapiro;
    std::unique_ptr<MyKolmogorov> m_kolmogorov;
};
