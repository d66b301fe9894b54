#include "OutlineFixtures.h"
#include "analysis/AnalysisTestSupport.h"
#include "outline/MySelectorRootItem.h"
#include "document/Document.h"
#include "outline/MyOutlineTexts.h"
#include "platform/Dialogs.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace fixtures;

namespace {

const QVector<DataColumn> kTwoData{{"Height", {170.0, std::nullopt, 160.5}}, {"Weight", {60.0, 70.0, 80.0}}};
const QVector<CatColumn> kOneCategory{{"Sex", {"M", "F"}}};

// An analysis of the outline, its data columns first, set up or drawn.
MySelectorItem* addAnalysis(MySelectorRootItem& root, const QVector<DataColumn>& data, const QVector<CatColumn>& cats,
                            bool editting = true)
{
    MySelectorItem* a = analysis(&root, "scatter", data, cats, true);
    a->changeEditting(editting);
    return a;
}

// The node at the child positions below an analysis; the outline level is the path's length.
MySelectorItem* nodeAt(MySelectorItem* analysis, const std::vector<int>& path)
{
    MySelectorItem* n = analysis;
    for (int position : path)
        n = n ? n->selectorChildAt(position) : nullptr;
    return n;
}

} // namespace

// ---- cell texts

// The k-th categorizing column (position k-2 under "Categorizing", which stands third) is the
// k-th level; the suffixes are "st", "nd", "rd" and otherwise "th", also for 21 and 22.
// Three analyses: a finished one, "A" and an empty last one. Expected answers for columns 0..5,
// one letter per column (T editable, F not).
TEST(SelectorEditRule, Table)
{
    // editting: of "A"; lastEditting: of the last analysis; onLast: the node is the last analysis
    // rather than below "A".
    const struct { const char* name; bool editting, lastEditting, onLast; std::vector<int> path; const char* expected; } cases[] = {
        {"Analysis", true, true, false, {}, "TFTFTT"},
        {"EmptyAnalysis", true, true, true, {}, "TFTFFF"},
        {"GraphType", true, true, false, {0}, "FTFFFF"},
        {"DataColumns", true, true, false, {1}, "FFTFFF"},
        {"DataRepresent", true, true, false, {1, 0, 0}, "FTFFFF"},
        {"Category", true, true, false, {2, 0, 0}, "FTFTFF"},
        {"FinishedAnalysis", false, false, false, {}, "FFTFTT"},
        {"FinishedAnalysisLastOpen", false, true, false, {}, "FFFFTT"},
        {"FinishedCategory", false, false, false, {2, 0, 0}, "FFFFFF"},
    };
    for (const auto& c : cases) {
        MySelectorRootItem root(nullptr);
        addAnalysis(root, kTwoData, kOneCategory, false);
        MySelectorItem* a = addAnalysis(root, kTwoData, kOneCategory, c.editting);
        MySelectorItem* last = addAnalysis(root, {}, {}, c.lastEditting);
        MySelectorItem* n = nodeAt(c.onLast ? last : a, c.path);
        ASSERT_NE(n, nullptr) << c.name;
        QString got;
        for (int column = 0; column < 6; ++column)
            got += root.allowEditOutlineItem(n, qint64(c.path.size()), column) ? 'T' : 'F';
        EXPECT_EQ(got, QString(c.expected)) << c.name;
    }
}

TEST(SelectorTexts, Cells)
{
    MySelectorRootItem root(nullptr);
    MySelectorItem* fresh = addAnalysis(root, {}, {});
    QVector<CatColumn> columns{{"Sex", {"M", "F"}, {"F"}}};
    for (int i = 1; i < 21; ++i)
        columns.append({QString("c%1").arg(i), {"a", "b", "c"}});
    // 10 data rows: 7 numbers, 3 texts.
    const QVector<std::optional<double>> values{1.0, 2.0, std::nullopt, 4.0, 5.0, std::nullopt, 7.0, 8.0, std::nullopt, 10.0};
    const double inf = std::numeric_limits<double>::infinity();
    MySelectorItem* a = addAnalysis(root, {{"x", values}, {"y", {1.0, inf, std::nan("")}}}, columns);
    // Groups swapped: the data group reads as the level after the categorizing columns.
    MySelectorItem* swapped = addAnalysis(root, kTwoData, kOneCategory);
    swapped->appendChild(swapped->takeChild(1));
    const struct { MySelectorItem* analysis; std::vector<int> path; int column; QVariant expected; } cases[] = {
        {fresh, {}, 1, "(Data: 0, Categorizing: 0)"},
        {fresh, {1}, 1, "Select at least one column"},
        {a, {}, 1, "(Data: 2, Categorizing: 21)"},
        {a, {1}, 1, "(1st level; 2 columns)"},
        {a, {1, 0}, 1, "(7 valid values)"},
        {a, {1, 1}, 1, "(1 valid values)"},   // infinite and NaN cells hold no value
        {a, {2, 0}, 1, "(2nd level; 2 categories)"},
        {a, {2, 0, 0}, 3, true},
        {a, {2, 1}, 1, "(3rd level; 3 categories)"},
        {a, {2, 19}, 1, "(21th level; 3 categories)"},
        {swapped, {1, 0}, 1, "(1st level; 2 categories)"},
    };
    for (const auto& c : cases) {
        const MySelectorItem* n = nodeAt(c.analysis, c.path);
        SCOPED_TRACE(n->title.toStdString() + " column " + std::to_string(c.column));
        EXPECT_EQ(MyOutlineTexts::objectSelectorOutlineView(n, c.column, qint64(c.path.size())), c.expected);
    }

    // Canonically equivalent titles name the same column.
    MySelectorItem* cat = nodeAt(swapped, {1});
    cat->append(std::make_unique<MySelectorItem>(QString::fromUtf8("Caf\u00e9"), cat));
    EXPECT_EQ(cat->childTitle(QString::fromUtf8("Cafe\u0301")), cat->selectorChildAt(1));
}

// ---- validation

class SelectorValidation : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.ourAlert = &delegate.alert;
        doc.tableData = TableData{{"Height", "170", "160"}, {"Weight", "60", "70"}, {"Sex", "M", "F"}};
        doc.setTableData();
        doc.columnCounter = {0, 0, 0};
        MySelectorRootItem::hooks().newGraph = [this](Document& d, MySelectorItem& item) {
            made.append(&item);
            if (makeGraphs)
                d.appendAnalysis(QVariantMap{{"graphTitle", item.title}}, QString(), QVariantMap());
        };
        MySelectorRootItem::hooks().setDocumentEdited = [this](MyWindowController*) { ++edited; };
    }
    void TearDown() override { MySelectorRootItem::hooks() = {}; }

    AppDelegate delegate;
    Document doc{&delegate};
    ScopedScriptedDialogs scripted;
    MySelectorRootItem root{nullptr, &doc};
    QList<MySelectorItem*> made;
    bool makeGraphs = true;
    int edited = 0;
};

TEST_F(SelectorValidation, CountsColumnsAndAsksForTheGraph)
{
    // The first analysis has no predecessor to wait for; one ticked category is enough.
    MySelectorItem* a = addAnalysis(root, kTwoData, {{"Sex", {"M", "F"}, {"F"}}});
    EXPECT_EQ(root.validateSelection(a), std::optional<qint64>(0));
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{1, 1, 1}));

    // A column used as data and as category counts twice; unknown titles are skipped.
    a->changeEditting(false);
    MySelectorItem* b = addAnalysis(root, {{"Height", {1.0}}, {"Gone", {2.0}}}, {{"Height", {"170"}}});
    EXPECT_EQ(root.validateSelection(b), std::optional<qint64>(1));
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{3, 1, 1}));

    // Drawn already: its position, nothing else.
    b->changeEditting(false);
    EXPECT_EQ(root.validateSelection(b), std::optional<qint64>(1));
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{3, 1, 1}));
    EXPECT_EQ(made, (QList<MySelectorItem*>{a, b}));

    // No graph made after all: nothing shown, the counts put back.
    makeGraphs = false;
    MySelectorItem* c = addAnalysis(root, kTwoData, kOneCategory);
    EXPECT_EQ(root.validateSelection(c), std::nullopt);
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{3, 1, 1}));
    EXPECT_EQ(edited, 2);
}

// The counts of a drawn analysis stand in the counters' current snapshot too: an undo reset
// and an undone table edit that moved the counters leave the columns in use.
TEST_F(SelectorValidation, CountsSurviveTheUndoOfATableEdit)
{
    doc.historyOfTableData.reset(doc.tableData);
    doc.historyOfColumnCounter = {doc.columnCounter};
    MySelectorItem* a = addAnalysis(root, kTwoData, kOneCategory);
    ASSERT_EQ(root.validateSelection(a), std::optional<qint64>(0));
    doc.resetUndo();
    // A column typed in beside the table, then undone.
    ASSERT_TRUE(doc.modifyTableWithArray(TableData{{"x"}}, 4, 1, true, false));
    doc.setTableDataWithSettingsWithSettings(true, 1, "Input");
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{1, 1, 1, 0}));
    doc.undoManager()->undo();
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{1, 1, 1}));
    doc.undoManager()->redo();
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{1, 1, 1, 0}));
}

// build: the analysis to validate is the last.
struct Refusal { const char* name; std::function<void(MySelectorRootItem&)> build; QString message; };

class SelectorRefusal : public SelectorValidation, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SelectorRefusal, LeavesEverythingAsItWas)
{
    GetParam().build(root);
    MySelectorItem* last = root.selectorChildAt(root.childCount() - 1);
    EXPECT_EQ(root.validateSelection(last), std::nullopt);
    EXPECT_EQ(scripted.dialogs.alerts, QStringList{GetParam().message});
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{0, 0, 0}));
    EXPECT_TRUE(made.isEmpty());
    EXPECT_EQ(edited, 0);
}

INSTANTIATE_TEST_SUITE_P(Messages, SelectorRefusal, ::testing::Values(
    Refusal{"FirstLevelEmpty", [](MySelectorRootItem& r) {
        MySelectorItem* a = addAnalysis(r, kTwoData, {});
        a->appendChild(a->takeChild(1));   // empty "Categorizing" now stands at position 1
    }, "No Columns in the first level"},
    // "1e999" begins with a number, but an infinite one is no value.
    Refusal{"DataOnlyInfinite", [](MySelectorRootItem& r) {
        const double inf = std::numeric_limits<double>::infinity();
        addAnalysis(r, {{"Height", {inf, std::nullopt, -inf}}}, kOneCategory);
    }, "No valid values in this column"},
    Refusal{"EveryCategoryUnticked", [](MySelectorRootItem& r) {
        addAnalysis(r, kTwoData, {{"Sex", {"M", "F"}, {"M", "F"}}});
    }, "No valid values in this column"}),
    [](const auto& info) { return std::string(info.param.name); });
