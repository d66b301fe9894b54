#include "analysis/MyAnalysisXml.h"
#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "outline/MySelectorRootItem.h"
#include "stats/MyDescriptives.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>

namespace {

// A linear axis with these labels, the first and last its ends.
QVariantMap scale(const QString& labels)
{
    const QStringList l = labels.split(' ');
    return {{"logarithmic", false}, {"min", l.first()}, {"max", l.last()}, {"partition", qint64(l.size() - 1)},
            {"scaleStrings", QVariant(l).toList()}};
}

class AnalysisFixture : public ::testing::Test {
protected:
    AnalysisFixture()
    {
        app.ourDescriptives = &engine;
        app.defaultBackground = {{"followPageLayout", false}, {"viewWidth", "300.0"}, {"viewHeight", "200.0"}};
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

} // namespace

// A validated selection appends every record of its graph, with settings from the defaults, and
// hands the analysis on.
TEST_F(AnalysisFixture, ValidatedSelectionAppendsEveryRecord)
{
    Document doc(&app);
    doc.tableData = {{"D0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}};
    doc.setTableData();
    doc.columnCounter = {0};
    doc.appendAnalysis({{"graphTitle", "a"}}, "x0", {});
    QVector<qint64> madeFor;
    MyDocumentAnalyses::makeGraphWindows() = [&](Document&, qint64 id, const MyAnalysisData&) {
        madeFor << id;
        return true;
    };
    MyDocumentAnalyses::registerHooks();
    MySelectorRootItem root(nullptr, &doc);
    const QStringList fiveValues{"v0", "v1", "v2", "v3", "v4", "v0", "v1", "v2", "v3"};
    MySelectorItem* a =
        analysis(&root, "boxplot", {{"D0", {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0}}}, {{"C", fiveValues}}, true);
    a->changeEditting(true);
    ASSERT_EQ(root.validateSelection(a), 0);
    EXPECT_EQ(madeFor, QVector<qint64>{1});
    EXPECT_EQ(doc.graphSettings.size(), 2);
    EXPECT_EQ(doc.graphXMLs.value(1), *MyAnalysisXml::xmlFromItem(a));
    EXPECT_EQ(doc.stats[1]["settings"], QVariant(app.defaultStats));
    const QVariantMap& s = doc.graphSettings[1];
    // One series per entry of the last level, the three defaults over again.
    EXPECT_EQ(s["boxesProperties"].toList(), numbered("box", 3) + numbered("box", 2));
    EXPECT_EQ(s["categoryDicts"].toList().value(0).toMap()["categoryTitle"], "dataColumns");
    // Values 1 to 9: a third of the range lies between 2.25 and 3.75, so steps of 2.5.
    EXPECT_EQ(s["valueSettings"], QVariant(scale("0.0 2.5 5.0 7.5 10.0")));
    const QVariantMap bg = s["graphProperties"].toMap()["background"].toMap();
    EXPECT_DOUBLE_EQ(bg["viewWidth"].toString().toDouble(), doc.imageablePageBounds().width());   // not the paper
    EXPECT_EQ(app.defaultBackground["viewWidth"], "300.0");   // the defaults are copied, not changed
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
    // Values 4 to 6: a third of the range lies between 0.375 and 0.75, so steps of 0.5.
    EXPECT_EQ((*settings)["valueSettings"], QVariant(scale("4.0 4.5 5.0 5.5 6.0 6.5")));
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
    doc.didSave(SaveKind::Save);
    EXPECT_FALSE(doc.isDocumentEdited());
}
