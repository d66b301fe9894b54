#include "app/AppDelegate.h"

#include "platform/KeyedArchive.h"
#include "stats/MyDescriptives.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyNorm2.h"
#include "stats/MyShapiro.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

AppDelegate* s_shared = nullptr;

QVariant text(const char* value)
{
    return QVariant(QString::fromUtf8(value));
}

QVariant integer(qint64 value)
{
    return QVariant(value);
}

// U+273A SIXTEEN POINTED ASTERISK: the glyph of glyph dots.
const QString kDotGlyph = QString(QChar(0x273A));

QByteArray attributeData(double fontSize, const Color& color)
{
    return KeyedArchive::archiveAttributes(TextAttributes{AppDelegate::systemFont(fontSize), color});
}

bool isDictionary(const QVariant& value)
{
    return value.typeId() == QMetaType::QVariantMap;
}

bool isList(const QVariant& value)
{
    return value.typeId() == QMetaType::QVariantList;
}

bool valuesAreAll(const QVariantMap& dict, int typeId)
{
    for (auto it = dict.cbegin(); it != dict.cend(); ++it)
        if (it.value().typeId() != typeId)
            return false;
    return true;
}

bool isListOfDictionaries(const QVariant& value)
{
    if (!isList(value))
        return false;
    for (const QVariant& element : value.toList())
        if (!isDictionary(element))
            return false;
    return true;
}

bool valuesAreDictionaries(const QVariantMap& dict)
{
    for (auto it = dict.cbegin(); it != dict.cend(); ++it)
        if (!isDictionary(it.value()))
            return false;
    return true;
}

// The stored group brought to the template's keys; anything but a dictionary is replaced by
// the template. Either way *changed is raised when the result differs in shape.
QVariantMap mergedGroup(const QVariant& stored, const QVariantMap& groupTemplate, bool& changed)
{
    if (!isDictionary(stored)) {
        changed = true;
        return groupTemplate;
    }
    DictUpdate merged = AppDelegate::updateDict(stored.toMap(), groupTemplate);
    changed = changed || merged.changed;
    return std::move(merged.dict);
}

QString describeProblem(const QVariantMap& resource)
{
    static const char* const keys[] = {"intoOutlineItem", "configResString", "configIndexDict"};
    for (const char* key : keys)
        if (!resource.contains(QLatin1String(key)))
            return QStringLiteral("the entry \"%1\" is missing.").arg(QLatin1String(key));
    const QVariant outline = resource.value(QStringLiteral("intoOutlineItem"));
    if (!isDictionary(outline) || !valuesAreDictionaries(outline.toMap()))
        return QStringLiteral("\"intoOutlineItem\" is not a dictionary of dictionaries.");
    const QVariant strings = resource.value(QStringLiteral("configResString"));
    bool stringsOk = isDictionary(strings) && valuesAreDictionaries(strings.toMap());
    if (stringsOk) {
        const QVariantMap rows = strings.toMap();
        for (auto it = rows.cbegin(); stringsOk && it != rows.cend(); ++it)
            stringsOk = valuesAreAll(it.value().toMap(), QMetaType::QString);
    }
    if (!stringsOk)
        return QStringLiteral("\"configResString\" is not a dictionary of dictionaries of strings.");
    const QVariant indexes = resource.value(QStringLiteral("configIndexDict"));
    bool indexesOk = isDictionary(indexes) && valuesAreAll(indexes.toMap(), QMetaType::LongLong);
    const QVariantMap bits = indexes.toMap();
    for (auto it = bits.cbegin(); indexesOk && it != bits.cend(); ++it)
        indexesOk = it.value().toLongLong() > 0;
    if (!indexesOk)
        return QStringLiteral("\"configIndexDict\" is not a dictionary of positive integers.");
    // The layout looks these up for every change; without one a step would never run again.
    static const char* const steps[] = {
        "background", "horizontalGaps", "graphRect", "xAxis", "xTexts", "nameTags", "xTextsRect",
        "yAxis", "scaleTexts", "scaleTextRects", "yTitleText", "yTitleTextRect",
        "xTextsAllCategories", "xTextAllRepresents", "dotObject", "dotRect", "dotAll", "dotsView",
        "barObjects", "barRects"};
    for (const char* step : steps)
        if (!bits.contains(QLatin1String(step)))
            return QStringLiteral("\"configIndexDict\" lacks the layout step \"%1\".").arg(QLatin1String(step));
    return QString();
}

} // namespace

AppDelegate::AppDelegate()
{
    s_shared = this;
}

AppDelegate::~AppDelegate()
{
    if (s_shared == this)
        s_shared = nullptr;
    // The test engines keep pointers to the other two: they go first.
    m_kolmogorov.reset();
    m_shapiro.reset();
}

AppDelegate* AppDelegate::shared()
{
    return s_shared;
}

FontSpec AppDelegate::systemFont(double size)
{
    // DejaVu Sans is installed with the application's fonts and has the dot glyph.
    FontSpec font;
    font.name = QStringLiteral("DejaVu Sans");
    font.size = size;
    return font;
}

// Start-up ----------------------------------------------------------------------------------

bool AppDelegate::createEngines(QString* error)
{
    try {
        m_norm = std::make_unique<MyNorm2>();
        m_descriptives = std::make_unique<MyDescriptives>();
    } catch (const std::exception& e) {
        if (error)
            *error = QStringLiteral("The statistics tables could not be loaded: %1").arg(QString::fromUtf8(e.what()));
        return false;
    }
    ourNorm = m_norm.get();
    ourDescriptives = m_descriptives.get();
    return true;
}

bool AppDelegate::applicationWillFinishLaunching(QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return fail(QStringLiteral("There is no screen to show the application on."));
    // The main screen's own corner is the origin of screen coordinates (y up), so only its
    // size matters.
    const QRect geometry = screen->geometry();
    mainscreenFrame = Rect(0, 0, geometry.width(), geometry.height());

    const QVariant resource = configResSource ? *configResSource : Resources::plist(QStringLiteral("configRes.plist"));
    if (!loadConfigRes(resource, error))
        return false;

    if (!ourNorm || !ourDescriptives)
        return fail(QStringLiteral("The statistics engines are missing."));
    try {
        m_shapiro = std::make_unique<MyShapiro>(ourNorm);
        m_kolmogorov = std::make_unique<MyKolmogorov>(ourDescriptives, ourNorm);
    } catch (const std::exception& e) {
        return fail(QStringLiteral("The statistics tables could not be loaded: %1").arg(QString::fromUtf8(e.what())));
    }
    shapiro = m_shapiro.get();
    kolmogorov = m_kolmogorov.get();

    makeAppDefaults();
    loadUserDefaults(defaultsSource ? *defaultsSource : DefaultsStore::load());
    return true;
}

bool AppDelegate::finishLaunching()
{
    QString error;
    const bool connected = (ourNorm && ourDescriptives) || createEngines(&error);
    if (connected && applicationWillFinishLaunching(&error))
        return true;
    alert.setMessageText(error);
    alert.runModal();
    return false;
}

bool AppDelegate::loadConfigRes(const QVariant& resource, QString* error)
{
    // A missing or unreadable resource leaves the tables empty; start-up goes on.
    if (!isDictionary(resource))
        return true;
    const QVariantMap dict = resource.toMap();
    const QString problem = describeProblem(dict);
    if (!problem.isEmpty()) {
        if (error)
            *error = QStringLiteral("The application's settings description \"configRes.plist\" is damaged: %1").arg(problem);
        return false;
    }
    configResOutlineItem = dict.value(QStringLiteral("intoOutlineItem")).toMap();
    configResString = dict.value(QStringLiteral("configResString")).toMap();
    configIndexDict = dict.value(QStringLiteral("configIndexDict")).toMap();
    return true;
}

// Built-in defaults -------------------------------------------------------------------------

void AppDelegate::makeAppDefaults()
{
    const Color seriesColors[] = {Color::rgb(1, 0, 0), Color::rgb(0, 0, 1), Color::rgb(0, 1, 0)};
    QByteArray seriesColorData[3];
    for (int i = 0; i < 3; ++i)
        seriesColorData[i] = KeyedArchive::archiveColor(seriesColors[i]);

    const Color black = Color::gray(0.0);
    const QByteArray attr12 = attributeData(12.0, black);
    const QByteArray attr11 = attributeData(11.0, black);
    const QByteArray clearWhiteData = KeyedArchive::archiveColor(Color::gray(1.0, 0.0));
    const QByteArray whiteData = KeyedArchive::archiveColor(Color::gray(1.0));
    const QByteArray blackData = KeyedArchive::archiveColor(black);

    appDefaultColumnSettings = {{"width", text("70")}};
    appDefaultTableRowSettings = {
        {"titleRowAttr", attr12},
        {"dataRowAttr", attr11},
        {"titleRowHeight", text("17.0")},
        {"dataRowHeight", text("17.0")},
    };
    appDefaultBackground = {
        {"color", whiteData},
        {"followPageLayout", true},
        {"viewWidth", text("500")},
        {"viewHeight", text("500")},
    };
    appDefaultGraphRect = {
        {"height", text("200")},
        {"columnWidth", text("75")},
        {"fillColor", clearWhiteData},
        {"lineColor", blackData},
        {"lineWidth", text("1")},
    };
    appDefaultXAxis = {
        {"lineColor", blackData},
        {"axisWidth", text("1")},
        {"tickLength", text("6")},
        {"tickWidth", text("1")},
    };
    appDefaultCategoryDict = {
        {"xTitleAttr", attributeData(14.0, black)},
        {"verticalGap", text("4")},
        {"horizontalGap", text("0")},
    };
    appDefaultYAxis = {
        {"lineColor", blackData},
        {"axisWidth", text("1")},
        {"tickLength", text("6")},
        {"tickWidth", text("1")},
        {"scaleVisible", true},
        {"scaleGap", text("4")},
        {"scaleTextAttr", attributeData(14.0, black)},
        {"titleVisible", false},
        {"titleGap", text("4")},
        {"titleText", QString("")},
        {"titleTextAttr", attributeData(18.0, black)},
        {"titleRotation", text("90")},
    };
    appDefaultBar = {
        {"barType", integer(1)},
        {"lineWidth", text("4")},
        {"barLength", text("0.8")},
        {"barColor", blackData},
    };
    appDefaultBox = {
        {"boxWidth", text("0.5")},
        {"boxLineWidth", text("1")},
        {"medianLineWidth", text("4")},
        {"medianLineColor", blackData},
        {"whiskerWidth", text("1")},
        {"minMaxLength", text("8")},
        {"minMaxWidth", text("1")},
    };

    appDefaultDots.clear();
    for (int i = 0; i < 7; ++i) {
        appDefaultDots.append(QVariantMap{
            {"dotType", integer(i)},
            {"betweenDots", text("1")},
            {"dotSize", text("6")},
            {"fillColor", seriesColorData[i % 3]},
            {"lineColor", blackData},
            {"lineWidth", text("1")},
            {"fontKey", kDotGlyph},
            {"dotAttr", attributeData(12.0, seriesColors[i % 3])},
        });
    }

    appDefaultBoxes.clear();
    for (int i = 0; i < 3; ++i) {
        appDefaultBoxes.append(QVariantMap{
            {"boxFillColor", seriesColorData[i]},
            {"boxLineColor", blackData},
            {"minMaxLineColor", blackData},
            {"dotType", integer(0)},
            {"dotSize", text("6")},
            {"dotFillColor", seriesColorData[i]},
            {"dotLineColor", blackData},
            {"dotLineWidth", text("1")},
            {"fontKey", kDotGlyph},
            {"dotAttr", attributeData(12.0, seriesColors[i])},
        });
    }

    appDefaultStats = {
        {"unbiased", true},
        {"stats", false},
        {"showSingle", false},
        {"singleUnbiased", true},
        {"singleStats", false},
        {"showAll", false},
        {"allUnbiased", true},
        {"allStats", false},
    };
}

// User defaults -----------------------------------------------------------------------------

bool AppDelegate::loadUserDefaults(const DefaultsStore& store)
{
    bool updated = false;

    // valueType: the type every value must have, or 0 for any.
    auto loadDict = [&](const char* key, int valueType, QVariantMap& field, const QVariantMap& builtIn) {
        const QVariant stored = store.value(QLatin1String(key));
        if (!isDictionary(stored) || (valueType != 0 && !valuesAreAll(stored.toMap(), valueType))) {
            field = builtIn;
            return;
        }
        DictUpdate update = updateDict(stored.toMap(), builtIn);
        field = std::move(update.dict);
        updated = updated || update.changed;
    };
    auto loadList = [&](const char* key, QVariantList& field, const QVariantList& builtIn) {
        const QVariant stored = store.value(QLatin1String(key));
        if (!isListOfDictionaries(stored)) {
            field = builtIn;
            return;
        }
        DictListUpdate update = updateDictArray(stored.toList(), builtIn);
        field = std::move(update.list);
        updated = updated || update.changed;
    };

    loadDict("columnSettings", QMetaType::QString, defaultColumnSettings, appDefaultColumnSettings);
    loadDict("tableRowSettings", 0, defaultTableRowSettings, appDefaultTableRowSettings);
    loadDict("background", 0, defaultBackground, appDefaultBackground);
    loadDict("graphRect", 0, defaultGraphRect, appDefaultGraphRect);
    loadDict("xAxis", 0, defaultXAxis, appDefaultXAxis);
    loadDict("categoryDict", 0, defaultCategoryDict, appDefaultCategoryDict);
    loadDict("yAxis", 0, defaultYAxis, appDefaultYAxis);
    loadDict("bar", 0, defaultBar, appDefaultBar);
    loadDict("box", 0, defaultBox, appDefaultBox);
    loadList("dots", defaultDots, appDefaultDots);
    loadList("boxes", defaultBoxes, appDefaultBoxes);
    loadDict("stats", QMetaType::Bool, defaultStats, appDefaultStats);

    if (updated) {
        alert.setMessageText(QStringLiteral("Your default Settings were automatically updated."));
        alert.runModal();
    }
    return updated;
}

DictUpdate AppDelegate::updateDict(const QVariantMap& stored, const QVariantMap& templateDict)
{
    // Both maps keep their keys sorted, so equal key sets walk in step.
    const bool sameKeys = stored.size() == templateDict.size()
        && std::equal(stored.keyBegin(), stored.keyEnd(), templateDict.keyBegin());
    if (sameKeys)
        return {stored, false};
    QVariantMap merged;
    for (auto it = templateDict.cbegin(); it != templateDict.cend(); ++it) {
        const auto found = stored.constFind(it.key());
        merged.insert(it.key(), found != stored.cend() ? found.value() : it.value());
    }
    return {merged, true};
}

DictListUpdate AppDelegate::updateDictArray(const QVariantList& stored, const QVariantList& templateList)
{
    const qsizetype n = stored.size();
    const qsizetype m = templateList.size();
    // Nothing to match against: the stored list stands.
    if (m == 0)
        return {stored, false};
    DictListUpdate result;
    if (n < m) {
        for (qsizetype i = 0; i < m; ++i)
            result.list.append(i < n ? QVariant(updateDict(stored[i].toMap(), templateList[i].toMap()).dict)
                                     : templateList[i]);
        result.changed = true;
        return result;
    }
    for (qsizetype i = 0; i < n; ++i) {
        DictUpdate element = updateDict(stored[i].toMap(), templateList[i % m].toMap());
        result.list.append(QVariant(std::move(element.dict)));
        result.changed = result.changed || element.changed;
    }
    return result;
}

// Graph settings upgrade --------------------------------------------------------------------

GraphSettingsUpdate AppDelegate::updateGraphSettings(const QVariantMap& settings, const QString& graphType) const
{
    const bool scatter = graphType == QLatin1String("scatter");
    const QString seriesKey = scatter ? QStringLiteral("dotsProperties") : QStringLiteral("boxesProperties");
    const QVariantList& seriesTemplates = scatter ? defaultDots : defaultBoxes;
    const QString fifthKey = scatter ? QStringLiteral("bars") : QStringLiteral("boxes");
    const QVariantMap& fifthTemplate = scatter ? defaultBar : defaultBox;

    GraphSettingsUpdate result;
    bool& changed = result.changed;
    QVariantMap& out = result.settings;

    // The analysis's own content is taken over as it stands. A missing title becomes empty;
    // the value settings depend on the data and are not made up here.
    out.insert(QStringLiteral("graphTitle"), settings.value(QStringLiteral("graphTitle"), QString("")));
    changed = changed || !settings.contains(QStringLiteral("graphTitle"));
    if (settings.contains(QStringLiteral("valueSettings")))
        out.insert(QStringLiteral("valueSettings"), settings.value(QStringLiteral("valueSettings")));

    const QString categoryTitle = QStringLiteral("categoryTitle");
    const QString represents = QStringLiteral("represents");
    const QVariant storedCategories = settings.value(QStringLiteral("categoryDicts"));
    QVariantList categories;
    if (isList(storedCategories)) {
        for (const QVariant& element : storedCategories.toList()) {
            // An element that is not a dictionary holds no category to keep.
            if (!isDictionary(element)) {
                changed = true;
                continue;
            }
            QVariantMap layout = element.toMap();
            QVariantMap category;
            for (const QString& own : {categoryTitle, represents}) {
                if (layout.contains(own))
                    category.insert(own, layout.take(own));
            }
            const DictUpdate merged = updateDict(layout, defaultCategoryDict);
            for (auto it = merged.dict.cbegin(); it != merged.dict.cend(); ++it)
                category.insert(it.key(), it.value());
            categories.append(category);
            changed = changed || merged.changed;
        }
    } else {
        changed = true;
    }
    out.insert(QStringLiteral("categoryDicts"), categories);

    const QVariant storedSeries = settings.value(seriesKey);
    QVariantList series;
    if (isList(storedSeries)) {
        const QVariantList elements = storedSeries.toList();
        for (qsizetype i = 0; i < elements.size(); ++i) {
            if (seriesTemplates.isEmpty()) {
                series.append(elements[i]);
                continue;
            }
            const QVariantMap seriesTemplate = seriesTemplates[i % seriesTemplates.size()].toMap();
            series.append(mergedGroup(elements[i], seriesTemplate, changed));
        }
    } else {
        // Without series no dot or box could be drawn.
        series = seriesTemplates;
        changed = true;
    }
    out.insert(seriesKey, series);

    const QVariant storedProperties = settings.value(QStringLiteral("graphProperties"));
    const QVariantMap properties = storedProperties.toMap();
    changed = changed || !isDictionary(storedProperties);
    const std::pair<QString, const QVariantMap*> groups[] = {
        {QStringLiteral("background"), &defaultBackground},
        {QStringLiteral("graphRect"), &defaultGraphRect},
        {QStringLiteral("xAxis"), &defaultXAxis},
        {QStringLiteral("yAxis"), &defaultYAxis},
        {fifthKey, &fifthTemplate},
    };
    QVariantMap newProperties;
    for (const auto& [key, groupTemplate] : groups)
        newProperties.insert(key, mergedGroup(properties.value(key), *groupTemplate, changed));
    out.insert(QStringLiteral("graphProperties"), newProperties);
    return result;
}

// Table text codec --------------------------------------------------------------------------

TableData AppDelegate::arrayFromStringWithString(const QString& text, const QString& delimiter) const
{
    return TableTextCodec::read(text, delimiter);
}

QString AppDelegate::stringFromArray(const TableData& columns) const
{
    return TableTextCodec::write(columns);
}
