#include "analysis/MyAnalysisXml.h"
#include "analysis/MyAxisScale.h"
#include "analysis/MyDocumentAnalyses.h"
#include "analysis/MyGraphSettingsBuilder.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "outline/MyConfigItem.h"
#include "outline/MySelectorRootItem.h"
#include "platform/NumberText.h"
#include "stats/MyDescriptives.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>

namespace {

// An analysis over nData data columns of 9 rows (column j holds 1 + j .. 9 + j) and categorizing
// columns of nValues distinct values each (row r holds value r mod nValues), all used.
MySelectorItem* gridAnalysis(MySelectorItem* root, const QString& graphType, int nData, QVector<int> valuesPerColumn,
                             bool dataFirst)
{
    QVector<DataColumn> data;
    for (int j = 0; j < nData; ++j) {
        data.append({QString("D%1").arg(j), {}});
        for (int r = 0; r < 9; ++r)
            data.back().cells << double(r + 1 + j);
    }
    QVector<CatColumn> cats;
    for (int k = 0; k < valuesPerColumn.size(); ++k) {
        cats.append({QString("C%1").arg(k), {}});
        for (int r = 0; r < 9; ++r)
            cats.back().cells << QString("v%1").arg(r % valuesPerColumn[k]);
    }
    return analysis(root, graphType, data, cats, dataFirst);
}

class AnalysisFixture : public ::testing::Test {
protected:
    AnalysisFixture()
    {
        app.ourDescriptives = &engine;
        app.defaultBackground = {{"color", QByteArray("c")}, {"followPageLayout", false},
                                 {"viewWidth", "300.0"}, {"viewHeight", "200.0"}};
        app.defaultGraphRect = {{"height", "200"}};
        app.defaultXAxis = {{"axisWidth", "1"}};
        app.defaultYAxis = {{"axisWidth", "2"}};
        app.defaultBar = {{"barType", qint64(0)}};
        app.defaultBox = {{"boxWidth", "20"}};
        app.defaultCategoryDict = {{"xTitleAttr", QByteArray("a")}, {"verticalGap", "5"}, {"horizontalGap", "6"}};
        app.defaultDots = numbered("dot", 7);
        app.defaultBoxes = numbered("box", 3);
        app.appDefaultDots = numbered("builtInDot", 7);
        app.appDefaultBoxes = numbered("builtInBox", 3);
        app.defaultStats = {{"stats", false}, {"unbiased", true}};
    }
    ~AnalysisFixture() override
    {
        DocumentHooks::shared() = DocumentHooks{};
        MySelectorRootItem::hooks() = MySelectorRootItem::Hooks{};
        MyDocumentAnalyses::makeGraphWindows() = nullptr;
    }

    MyDescriptives engine;
    AppDelegate app;
};

struct SeriesCase {
    const char* graphType;
    int nData;
    QVector<int> values;
    bool dataFirst;
    int expectedSeries;
};

void PrintTo(const SeriesCase& c, std::ostream* os) { *os << c.graphType << " " << c.nData << " data"; }

class NewGraphSettings : public AnalysisFixture, public ::testing::WithParamInterface<SeriesCase> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(
    LevelsAndSeries, NewGraphSettings,
    ::testing::Values(SeriesCase{"scatter", 2, {9}, true, 9},          // seven defaults, then 0 and 1 again
                      SeriesCase{"boxplot", 1, {5}, true, 5},          // three defaults: 0, 1, 2, 0, 1
                      SeriesCase{"boxplot", 2, {4}, false, 2},         // the data columns are the last level
                      SeriesCase{"Scatter", 1, {1}, true, 1}));        // not exactly "scatter": a boxplot

TEST_P(NewGraphSettings, FromDefaultsWithOneSeriesPerLastLevelEntry)
{
    const SeriesCase& c = GetParam();
    const QVariantMap backgroundBefore = app.defaultBackground;
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = gridAnalysis(&root, c.graphType, c.nData, c.values, c.dataFirst);
    const auto g = MyGraphSettingsBuilder::graphSettingsFromSelection(app, 540, 720, a);
    ASSERT_TRUE(g);
    const QVariantMap& s = g->settings;
    const bool scatter = QString(c.graphType) == "scatter";
    const QString seriesKey = scatter ? "dotsProperties" : "boxesProperties";
    QStringList keys{"categoryDicts", seriesKey, "graphProperties", "graphTitle", "valueSettings"};
    keys.sort();
    EXPECT_EQ(s.keys(), keys);
    EXPECT_EQ(s["graphTitle"], "Untitled");

    const QVariantList series = s[seriesKey].toList();
    const QVariantList& defaults = scatter ? app.defaultDots : app.defaultBoxes;
    ASSERT_EQ(series.size(), c.expectedSeries);
    for (int i = 0; i < series.size(); ++i)
        EXPECT_EQ(series[i], defaults[i % defaults.size()]);

    const QVariantMap gp = s["graphProperties"].toMap();
    EXPECT_EQ(gp.keys(), (QStringList{"background", scatter ? "bars" : "boxes", "graphRect", "xAxis", "yAxis"}));
    EXPECT_EQ(gp[scatter ? "bars" : "boxes"], scatter ? app.defaultBar : app.defaultBox);
    const QVariantMap bg = gp["background"].toMap();
    EXPECT_EQ(bg["viewWidth"], "540.0");
    EXPECT_EQ(bg["viewHeight"], "720.0");
    EXPECT_EQ(app.defaultBackground, backgroundBefore);

    const QVariantList cats = s["categoryDicts"].toList();
    ASSERT_EQ(cats.size(), 1 + c.values.size());
    EXPECT_EQ(cats.last().toMap().keys(),
              (QStringList{"categoryTitle", "horizontalGap", "represents", "verticalGap", "xTitleAttr"}));
    EXPECT_EQ(cats[c.dataFirst ? 0 : cats.size() - 1].toMap()["categoryTitle"], "dataColumns");
    EXPECT_EQ(g->analysis.categoryDicts, cats);   // the analysis's seeds are completed too
    EXPECT_EQ(s["valueSettings"], QVariant(MyAxisScale::defaultMinMax(QVariantList{g->analysis.minMax[0],
                                                                                   g->analysis.minMax[1]})));
}

TEST_F(AnalysisFixture, EmptyUserSeriesFallBackToBuiltIn)
{
    app.defaultDots.clear();
    MySelectorItem root("rootItem", nullptr);
    const auto g = MyGraphSettingsBuilder::graphSettingsFromSelection(app, 100, 100, gridAnalysis(&root, "scatter", 2, {}, true));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->settings["dotsProperties"].toList(), app.appDefaultDots.mid(0, 2));
}

// A validated selection appends every record of its graph and hands the analysis on.
TEST_F(AnalysisFixture, ValidatedSelectionAppendsEveryRecord)
{
    Document doc(&app);
    doc.tableData = {{"D0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}};
    doc.setTableData();
    doc.columnCounter = {0};
    doc.appendAnalysis({{"graphTitle", "a"}}, "x0", {});
    doc.appendAnalysis({{"graphTitle", "b"}}, "x1", {});
    QVector<qint64> madeFor;
    MyDocumentAnalyses::makeGraphWindows() = [&](Document& d, qint64 id, const MyAnalysisData& data) {
        EXPECT_EQ(&d, &doc);
        EXPECT_EQ(data.graphType, "boxplot");
        madeFor << id;
    };
    MyDocumentAnalyses::registerHooks();
    MySelectorRootItem root(nullptr, &doc);
    MySelectorItem* a = gridAnalysis(&root, "boxplot", 1, {3}, true);
    a->changeEditting(true);
    ASSERT_EQ(root.validateSelection(a), 0);
    EXPECT_EQ(madeFor, QVector<qint64>{2});
    EXPECT_EQ(doc.graphSettings.size(), 3);
    EXPECT_EQ(doc.graphXMLs.value(2), *MyAnalysisXml::xmlFromItem(a));
    EXPECT_EQ(doc.stats[2]["settings"], QVariant(app.defaultStats));
    const Rect page = doc.imageablePageBounds();
    const QVariantMap bg = doc.graphSettings[2]["graphProperties"].toMap()["background"].toMap();
    EXPECT_DOUBLE_EQ(bg["viewWidth"].toString().toDouble(), page.width());   // the printable area, not the paper
    EXPECT_FALSE(a->editting);
    EXPECT_EQ(doc.columnCounter, QVector<qint64>{1});

    // An analysis that cannot be built leaves the document as it was.
    MySelectorItem* broken = node(&root, "x");
    node(broken, "graphType", "scatter");
    QString error;
    EXPECT_FALSE(MyDocumentAnalyses::graphFromNewItem(doc, broken, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(doc.graphSettings.size(), 3);
    EXPECT_EQ(doc.graphXMLs.size(), 3);
}

TEST_F(AnalysisFixture, StoredAnalysesRaiseCountersAndRegenerateSettings)
{
    Document doc(&app);
    doc.tableData = {{"W", "1", "", "3"}, {"H", "4", "5", "6"}, {"Sex", "f", "m", "f"}};
    doc.setTableData();
    doc.columnCounter = {0, 0, 0};
    doc.historyOfColumnCounter = {doc.columnCounter};
    doc.columnCounterIndex = 0;
    const QString xml = readTestFile("column-twice.xml");
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, xml, &root);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{0, 1, 2}));   // Sex named twice
    EXPECT_EQ(doc.historyOfColumnCounter[0], doc.columnCounter);
    EXPECT_EQ(a->childTitle("Categorizing")->selectorChildAt(0)->selectorChildAt(1)->data1, QVector<qint64>{1});
    EXPECT_EQ(MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, "one line", &root), nullptr);

    MyDocumentAnalyses::registerHooks();
    EXPECT_TRUE(MySelectorRootItem::hooks().newGraph);
    ASSERT_TRUE(DocumentHooks::shared().regenerateGraphSettings);
    const auto settings = DocumentHooks::shared().regenerateGraphSettings(doc, xml, 500, 600);
    ASSERT_TRUE(settings);
    EXPECT_EQ((*settings)["graphTitle"], "T");
    EXPECT_TRUE((*settings)["dotsProperties"].toList().isEmpty());   // the last level has no value in use
    EXPECT_EQ((*settings)["valueSettings"], QVariant(MyAxisScale::defaultMinMax(4.0, 6.0)));
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{0, 1, 2}));
    EXPECT_FALSE(DocumentHooks::shared().regenerateGraphSettings(doc, "x\ny", 500, 600));
}

TEST_F(AnalysisFixture, NormalityStepKeepsTheDocumentEdited)
{
    Document doc(&app);
    UndoBridge* undo = doc.undoManager();
    ASSERT_FALSE(doc.isDocumentEdited());
    MyDocumentAnalyses::fixedEditStatus(doc);
    EXPECT_TRUE(doc.isDocumentEdited());
    EXPECT_EQ(undo->undoText(), "Undo Add Normality Stats");
    undo->undo();
    EXPECT_TRUE(doc.isDocumentEdited());   // the results are still there
    EXPECT_EQ(undo->redoText(), "Redo Add Normality Stats");
    undo->redo();
    EXPECT_TRUE(doc.isDocumentEdited());
    doc.didSave(SaveKind::Save);
    EXPECT_FALSE(doc.isDocumentEdited());
    EXPECT_FALSE(undo->canUndo());
}

TEST_F(AnalysisFixture, DocumentOperationsReadTheCurrentSnapshot)
{
    Document doc(&app);
    const QVariantMap stored{{"dotsProperties", numbered("s", 3)},
                             {"categoryDicts", QVariantList{QVariantMap{{"categoryTitle", "dataColumns"},
                                                                        {"represents", QVariantList{}}}}}};
    doc.appendAnalysis(stored, "x", {});
    EXPECT_EQ(*MyDocumentAnalyses::fixedDotsOrBoxesProperties(doc, std::nullopt, "scatter", 0), numbered("s", 3));
    EXPECT_FALSE(MyDocumentAnalyses::fixedDotsOrBoxesProperties(doc, std::nullopt, "scatter", 1));
    EXPECT_FALSE(MyDocumentAnalyses::fixedCategoryDicts(doc, {}, nullptr, 0));   // no row to match against

    MyConfigItem background("background", {}, "dict", nullptr, 0);
    auto follow = std::make_unique<MyConfigItem>("followPageLayout", "NO", "Bool", &background, 0);
    MyConfigItem* followRow = background.append(std::move(follow));
    background.append(std::make_unique<MyConfigItem>("color", "c", "string", &background, 0));
    const auto [value, target] = MyDocumentAnalyses::viewSizeFromPageLayout(doc, true, followRow);
    const Rect page = doc.imageablePageBounds();
    EXPECT_EQ(target, &background);
    EXPECT_EQ(value.toMap()["viewWidth"], NumberText::realString(page.width()));
}
