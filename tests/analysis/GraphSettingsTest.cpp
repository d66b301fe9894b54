#include "analysis/MyAnalysisXml.h"
#include "analysis/MyAxisScale.h"
#include "analysis/MyDocumentAnalyses.h"
#include "analysis/MyGraphSettingsBuilder.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "outline/MySelectorRootItem.h"
#include "stats/MyDescriptives.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>

namespace {

// An analysis over nData data columns of 9 rows (column j holds 1 + j .. 9 + j) and one
// categorizing column of nValues distinct values (row r holds value r mod nValues).
MySelectorItem* gridAnalysis(MySelectorItem* root, const QString& graphType, int nData, int nValues, bool dataFirst)
{
    QVector<DataColumn> data(nData);
    CatColumn cat{"C", {}};
    for (int r = 0; r < 9; ++r) {
        for (int j = 0; j < nData; ++j)
            data[j].cells << double(r + 1 + j);
        cat.cells << QString("v%1").arg(r % nValues);
    }
    for (int j = 0; j < nData; ++j)
        data[j].title = QString("D%1").arg(j);
    return analysis(root, graphType, data, {cat}, dataFirst);
}

class AnalysisFixture : public ::testing::Test {
protected:
    AnalysisFixture()
    {
        app.ourDescriptives = &engine;
        app.defaultBackground = {{"followPageLayout", false}, {"viewWidth", "300.0"}, {"viewHeight", "200.0"}};
        app.defaultDots = numbered("dot", 7);
        app.defaultBoxes = numbered("box", 3);
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
    int nValues;
    bool dataFirst;
    int expectedSeries;
};

void PrintTo(const SeriesCase& c, std::ostream* os) { *os << c.graphType << " " << c.nData << " data"; }

class NewGraphSettings : public AnalysisFixture, public ::testing::WithParamInterface<SeriesCase> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(
    LevelsAndSeries, NewGraphSettings,
    ::testing::Values(SeriesCase{"scatter", 2, 9, true, 9},     // seven defaults, then 0 and 1 again
                      SeriesCase{"boxplot", 1, 5, true, 5},     // three defaults: 0, 1, 2, 0, 1
                      SeriesCase{"boxplot", 2, 4, false, 2},    // the data columns are the last level
                      SeriesCase{"Scatter", 1, 1, true, 1}));   // not exactly "scatter": a boxplot

TEST_P(NewGraphSettings, FromDefaultsWithOneSeriesPerLastLevelEntry)
{
    const SeriesCase& c = GetParam();
    MySelectorItem root("rootItem", nullptr);
    const auto g = MyGraphSettingsBuilder::graphSettingsFromSelection(
        app, 540, 720, gridAnalysis(&root, c.graphType, c.nData, c.nValues, c.dataFirst));
    ASSERT_TRUE(g);
    const QVariantMap& s = g->settings;
    const bool scatter = QString(c.graphType) == "scatter";
    EXPECT_FALSE(s.contains(scatter ? "boxesProperties" : "dotsProperties"));
    const QVariantList series = s[scatter ? "dotsProperties" : "boxesProperties"].toList();
    const QVariantList& defaults = scatter ? app.defaultDots : app.defaultBoxes;
    ASSERT_EQ(series.size(), c.expectedSeries);
    for (int i = 0; i < series.size(); ++i)
        EXPECT_EQ(series[i], defaults[i % defaults.size()]);

    const QVariantMap bg = s["graphProperties"].toMap()["background"].toMap();
    EXPECT_EQ(bg["viewWidth"], "540.0");
    EXPECT_EQ(bg["viewHeight"], "720.0");
    EXPECT_EQ(app.defaultBackground["viewWidth"], "300.0");   // the defaults are copied, not changed
    const QVariantList cats = s["categoryDicts"].toList();
    ASSERT_EQ(cats.size(), 2);
    EXPECT_EQ(cats[c.dataFirst ? 0 : 1].toMap()["categoryTitle"], "dataColumns");
    EXPECT_EQ(s["valueSettings"], QVariant(MyAxisScale::defaultMinMax(1.0, 9.0 + c.nData - 1)));
}

// A validated selection appends every record of its graph and hands the analysis on.
TEST_F(AnalysisFixture, ValidatedSelectionAppendsEveryRecord)
{
    Document doc(&app);
    doc.tableData = {{"D0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}};
    doc.setTableData();
    doc.columnCounter = {0};
    doc.appendAnalysis({{"graphTitle", "a"}}, "x0", {});
    QVector<qint64> madeFor;
    MyDocumentAnalyses::makeGraphWindows() = [&](Document&, qint64 id, const MyAnalysisData&) { madeFor << id; };
    MyDocumentAnalyses::registerHooks();
    MySelectorRootItem root(nullptr, &doc);
    MySelectorItem* a = gridAnalysis(&root, "boxplot", 1, 3, true);
    a->changeEditting(true);
    ASSERT_EQ(root.validateSelection(a), 0);
    EXPECT_EQ(madeFor, QVector<qint64>{1});
    EXPECT_EQ(doc.graphSettings.size(), 2);
    EXPECT_EQ(doc.graphXMLs.value(1), *MyAnalysisXml::xmlFromItem(a));
    EXPECT_EQ(doc.stats[1]["settings"], QVariant(app.defaultStats));
    const QVariantMap bg = doc.graphSettings[1]["graphProperties"].toMap()["background"].toMap();
    EXPECT_DOUBLE_EQ(bg["viewWidth"].toString().toDouble(), doc.imageablePageBounds().width());   // not the paper
    EXPECT_FALSE(a->editting);
    EXPECT_EQ(doc.columnCounter, QVector<qint64>{1});

    // An analysis that cannot be built leaves the document as it was.
    MySelectorItem* broken = node(&root, "x");
    node(broken, "graphType", "scatter");
    EXPECT_FALSE(MyDocumentAnalyses::graphFromNewItem(doc, broken));
    EXPECT_EQ(doc.graphXMLs.size(), 2);
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
    ASSERT_NE(MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, xml, &root), nullptr);
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{0, 1, 2}));   // Sex named twice
    EXPECT_EQ(doc.historyOfColumnCounter[0], doc.columnCounter);

    MyDocumentAnalyses::registerHooks();
    const auto settings = DocumentHooks::shared().regenerateGraphSettings(doc, xml, 500, 600);
    ASSERT_TRUE(settings);
    EXPECT_TRUE((*settings)["dotsProperties"].toList().isEmpty());   // the last level has no value in use
    EXPECT_EQ((*settings)["valueSettings"], QVariant(MyAxisScale::defaultMinMax(4.0, 6.0)));
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{0, 1, 2}));   // counted once
    EXPECT_FALSE(DocumentHooks::shared().regenerateGraphSettings(doc, "x\ny", 500, 600));
}

TEST_F(AnalysisFixture, NormalityStepKeepsTheDocumentEdited)
{
    Document doc(&app);
    UndoBridge* undo = doc.undoManager();
    MyDocumentAnalyses::fixedEditStatus(doc);
    EXPECT_EQ(undo->undoText(), "Undo Add Normality Stats");
    undo->undo();
    EXPECT_TRUE(doc.isDocumentEdited());   // the results are still there
    undo->redo();
    EXPECT_TRUE(doc.isDocumentEdited());
    doc.didSave(SaveKind::Save);
    EXPECT_FALSE(doc.isDocumentEdited());
}
