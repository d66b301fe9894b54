#include "OutlineFixtures.h"
#include "document/Document.h"
#include "outline/MyOutlineTexts.h"
#include "outline/MySelectorRootItem.h"
#include "platform/Dialogs.h"
#include <gtest/gtest.h>

using namespace fixtures;

namespace {

const QList<DataColumn> kTwoData{{"Height", {170.0, std::nullopt, 160.5}}, {"Weight", {60.0, 70.0, 80.0}}};
const QList<CategoryColumn> kOneCategory{{"Sex", {"M", "F"}, {}}};

} // namespace

TEST(SelectorTree, RootAndLookups)
{
    MySelectorRootItem root(nullptr);
    EXPECT_EQ(root.title, "rootItem");
    EXPECT_EQ(root.parentItem(), nullptr);
    EXPECT_EQ(root.selectorParent(), nullptr);
    EXPECT_FALSE(root.hasChildren());
    EXPECT_TRUE(root.editting);

    MySelectorItem* a = addAnalysis(root, "A", kTwoData, kOneCategory);
    EXPECT_EQ(a->selectorParent(), &root);
    MySelectorItem* data = a->childTitle("DataColumns");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(a->childTitle("datacolumns"), nullptr);
    data->append(std::make_unique<MySelectorItem>("Height", data));   // a second "Height"
    EXPECT_EQ(data->childTitle("Height"), data->selectorChildAt(0));

    // Canonically equivalent titles name the same column.
    MySelectorItem* cat = a->childTitle("Categorizing");
    cat->append(std::make_unique<MySelectorItem>(QString::fromUtf8("Caf\u00e9"), cat));
    EXPECT_EQ(cat->childTitle(QString::fromUtf8("Cafe\u0301")), cat->selectorChildAt(1));
}

TEST(SelectorTree, ChangeEdittingCoversTheWholeAnalysis)
{
    MySelectorRootItem root(nullptr);
    MySelectorItem* a = addAnalysis(root, "A", kTwoData, kOneCategory, true);
    std::function<int(const MySelectorItem*, bool)> count = [&](const MySelectorItem* n, bool flag) {
        int c = n->editting == flag ? 1 : 0;
        for (const MySelectorItem* k : n->selectorChildren())
            c += count(k, flag);
        return c;
    };
    const int nodes = 1 + 3 + 2 + 2 + 1 + 2;   // analysis, groups, columns, represents
    a->changeEditting(false);
    EXPECT_EQ(count(a, false), nodes);
    a->changeEditting(true);
    EXPECT_EQ(count(a, true), nodes);
}

// Expected answers for columns 0..5, one letter per column (T editable, F not).
struct EditCase {
    const char* node;
    bool editting;
    const char* expected;
};

class SelectorEditRule : public ::testing::TestWithParam<EditCase> {};

TEST_P(SelectorEditRule, Table)
{
    const EditCase& c = GetParam();
    MySelectorRootItem root(nullptr);
    addAnalysis(root, "first", kTwoData, kOneCategory, false);
    MySelectorItem* a = addAnalysis(root, "A", kTwoData, kOneCategory, c.editting);
    MySelectorItem* empty = addAnalysis(root, "empty", {}, {}, c.editting);
    if (!c.editting)   // the last analysis is finished too
        empty->changeEditting(false);
    const QString node = c.node;
    MySelectorItem* n = nullptr;
    int level = 0;
    if (node == "analysis") n = a, level = 0;
    if (node == "emptyAnalysis") n = empty, level = 0;
    if (node == "graphType") n = a->childTitle("graphType"), level = 1;
    if (node == "DataColumns") n = a->childTitle("DataColumns"), level = 1;
    if (node == "Categorizing") n = a->childTitle("Categorizing"), level = 1;
    if (node == "column") n = a->childTitle("DataColumns")->selectorChildAt(0), level = 2;
    if (node == "dataRepresent") n = a->childTitle("DataColumns")->selectorChildAt(0)->selectorChildAt(0), level = 3;
    if (node == "category") n = a->childTitle("Categorizing")->selectorChildAt(0)->selectorChildAt(0), level = 3;
    ASSERT_NE(n, nullptr);
    QString got;
    for (int column = 0; column < 6; ++column)
        got += root.allowEditOutlineItem(n, level, column) ? 'T' : 'F';
    EXPECT_EQ(got, QString(c.expected)) << c.node << " editting " << c.editting;
}

INSTANTIATE_TEST_SUITE_P(Rules, SelectorEditRule, ::testing::Values(
    EditCase{"analysis", true, "TFTFTT"},
    EditCase{"emptyAnalysis", true, "TFTFFF"},
    EditCase{"graphType", true, "FTFFFF"},
    EditCase{"DataColumns", true, "FFTFFF"},
    EditCase{"Categorizing", true, "FFTFFF"},
    EditCase{"column", true, "FFTFFF"},
    EditCase{"dataRepresent", true, "FTFFFF"},
    EditCase{"category", true, "FTFTFF"},
    EditCase{"analysis", false, "FFTFTT"},
    EditCase{"graphType", false, "FFFFFF"},
    EditCase{"DataColumns", false, "FFFFFF"},
    EditCase{"column", false, "FFFFFF"},
    EditCase{"category", false, "FFFFFF"}));

TEST(SelectorEditRule, FinishedAnalysisColumnTwoFollowsTheLastAnalysis)
{
    MySelectorRootItem root(nullptr);
    MySelectorItem* a = addAnalysis(root, "A", kTwoData, kOneCategory, false);
    addAnalysis(root, "B", kTwoData, kOneCategory, true);
    EXPECT_FALSE(root.allowEditOutlineItem(a, 0, 2));
    root.selectorChildAt(1)->changeEditting(false);
    EXPECT_TRUE(root.allowEditOutlineItem(a, 0, 2));
}

// ---- cell texts

TEST(SelectorTexts, SummaryGroupsAndColumns)
{
    MySelectorRootItem root(nullptr);
    MySelectorItem* fresh = addAnalysis(root, "Untitled", {}, {});
    auto text = [](const MySelectorItem* n, int column, int level) { return MyOutlineTexts::objectSelectorOutlineView(n, column, level); };
    EXPECT_EQ(text(fresh, 0, 0).toString(), "Untitled");
    EXPECT_EQ(text(fresh, 1, 0).toString(), "(Data: 0, Categorizing: 0)");
    EXPECT_EQ(text(fresh->childTitle("DataColumns"), 1, 1).toString(), "Select at least one column");
    EXPECT_EQ(text(fresh->childTitle("Categorizing"), 1, 1).toString(), "(0 columns)");
    EXPECT_EQ(text(fresh->childTitle("graphType"), 1, 1).toString(), "scatter");

    // 10 data rows: 7 numbers, 3 texts.
    QVector<std::optional<double>> values{1.0, 2.0, std::nullopt, 4.0, 5.0, std::nullopt, 7.0, 8.0, std::nullopt, 10.0};
    MySelectorItem* a = addAnalysis(root, "A", {{"x", values}, {"y", {1.0}}}, kOneCategory);
    EXPECT_EQ(text(a, 1, 0).toString(), "(Data: 2, Categorizing: 1)");
    EXPECT_EQ(text(a->childTitle("DataColumns"), 1, 1).toString(), "(1st level; 2 columns)");
    MySelectorItem* x = a->childTitle("DataColumns")->selectorChildAt(0);
    EXPECT_EQ(text(x, 1, 2).toString(), "(7 valid values)");
    EXPECT_FALSE(text(x, 3, 2).isValid());
    EXPECT_FALSE(text(x, 2, 2).isValid());
    EXPECT_FALSE(text(a, 4, 0).isValid());
    MySelectorItem* sex = a->childTitle("Categorizing")->selectorChildAt(0);
    EXPECT_EQ(text(sex, 1, 2).toString(), "(2nd level; 2 categories)");
    MySelectorItem* male = sex->selectorChildAt(0);
    EXPECT_EQ(text(male, 1, 3).toString(), "M");
    EXPECT_EQ(text(male, 3, 3), QVariant(true));
    male->type = "NO";
    EXPECT_EQ(text(male, 3, 3), QVariant(false));
}

// The k-th categorizing column (position k-2 under "Categorizing", which stands third) is the
// k-th level; the suffixes are "st", "nd", "rd" and otherwise "th", also for 21 and 22.
class SelectorLevelText : public ::testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(SelectorLevelText, CategorizingColumn)
{
    const auto [level, expected] = GetParam();
    MySelectorRootItem root(nullptr);
    QList<CategoryColumn> columns;
    for (int i = 0; i < level - 1; ++i)
        columns.append({QString("c%1").arg(i), {"a", "b", "c"}, {}});
    MySelectorItem* a = addAnalysis(root, "A", kTwoData, columns);
    const MySelectorItem* column = a->childTitle("Categorizing")->selectorChildAt(level - 2);
    EXPECT_EQ(MyOutlineTexts::objectSelectorOutlineView(column, 1, 2).toString(), QString(expected));
}

INSTANTIATE_TEST_SUITE_P(Ordinals, SelectorLevelText, ::testing::Values(
    std::make_pair(2, "(2nd level; 3 categories)"),
    std::make_pair(3, "(3rd level; 3 categories)"),
    std::make_pair(4, "(4th level; 3 categories)"),
    std::make_pair(11, "(11th level; 3 categories)"),
    std::make_pair(13, "(13th level; 3 categories)"),
    std::make_pair(21, "(21th level; 3 categories)"),
    std::make_pair(22, "(22th level; 3 categories)")));

TEST(SelectorTexts, DataGroupAfterCategorizingGroup)
{
    // Groups swapped: "Categorizing" first with one column; the data group then reads as
    // the level after it, and its first categorizing column reads 1st.
    MySelectorRootItem root(nullptr);
    MySelectorItem* a = addAnalysis(root, "A", kTwoData, kOneCategory);
    auto data = a->takeChild(1);
    a->appendChild(std::move(data));
    EXPECT_EQ(MyOutlineTexts::objectSelectorOutlineView(a->childTitle("DataColumns"), 1, 1).toString(), "(2nd level; 2 columns)");
    EXPECT_EQ(MyOutlineTexts::objectSelectorOutlineView(a->childTitle("Categorizing")->selectorChildAt(0), 1, 2).toString(),
              "(1st level; 2 categories)");
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
            EXPECT_EQ(&d, &doc);
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
    MySelectorItem* a = addAnalysis(root, "A", kTwoData, kOneCategory);
    EXPECT_EQ(root.validateSelection(a), std::optional<qint64>(0));
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{1, 1, 1}));
    EXPECT_EQ(made, QList<MySelectorItem*>{a});
    EXPECT_EQ(edited, 1);
    EXPECT_TRUE(scripted.dialogs.alerts.isEmpty());

    // Drawn already: its position, nothing else.
    a->changeEditting(false);
    EXPECT_EQ(root.validateSelection(a), std::optional<qint64>(0));
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{1, 1, 1}));
    EXPECT_EQ(made.size(), 1);

    // A column used as data and as category counts twice; unknown titles are skipped.
    MySelectorItem* b = addAnalysis(root, "B", {{"Height", {1.0}}, {"Gone", {2.0}}}, {{"Height", {"170"}, {}}});
    EXPECT_EQ(root.validateSelection(b), std::optional<qint64>(1));
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{3, 1, 1}));
}

struct Refusal {
    const char* name;
    std::function<void(MySelectorRootItem&)> build;   // the analysis to validate is the last
    QString message;
};

class SelectorRefusal : public SelectorValidation, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SelectorRefusal, LeavesEverythingAsItWas)
{
    GetParam().build(root);
    MySelectorItem* last = root.selectorChildAt(root.childCount() - 1);
    const QVector<qint64> before = doc.columnCounter;
    EXPECT_EQ(root.validateSelection(last), std::nullopt);
    EXPECT_EQ(scripted.dialogs.alerts, QStringList{GetParam().message});
    EXPECT_EQ(doc.columnCounter, before);
    EXPECT_TRUE(made.isEmpty());
    EXPECT_EQ(edited, 0);
    EXPECT_TRUE(last->editting);
}

INSTANTIATE_TEST_SUITE_P(Messages, SelectorRefusal, ::testing::Values(
    Refusal{"PreviousOpen", [](MySelectorRootItem& r) {
        addAnalysis(r, "A", kTwoData, kOneCategory, true);
        addAnalysis(r, "B", kTwoData, kOneCategory, true);
    }, "You have not create a graph for the last analysis"},
    Refusal{"NoDataColumn", [](MySelectorRootItem& r) { addAnalysis(r, "A", {}, kOneCategory); },
            "At least one data column is required"},
    Refusal{"FirstLevelEmpty", [](MySelectorRootItem& r) {
        MySelectorItem* a = addAnalysis(r, "A", kTwoData, {});
        a->appendChild(a->takeChild(1));   // empty "Categorizing" now stands at position 1
    }, "No Columns in the first level"},
    Refusal{"DataWithoutNumbers", [](MySelectorRootItem& r) {
        addAnalysis(r, "A", {{"Height", {1.0}}, {"Weight", {std::nullopt, std::nullopt}}}, kOneCategory);
    }, "No valid values in this column"},
    Refusal{"EveryCategoryUnticked", [](MySelectorRootItem& r) {
        addAnalysis(r, "A", kTwoData, {{"Sex", {"M", "F"}, {false, false}}});
    }, "No valid values in this column"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectorValidation, NoGraphMadeShowsNothing)
{
    makeGraphs = false;
    MySelectorItem* a = addAnalysis(root, "A", kTwoData, kOneCategory);
    EXPECT_EQ(root.validateSelection(a), std::nullopt);
    EXPECT_EQ(made, QList<MySelectorItem*>{a});
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{0, 0, 0}));
    EXPECT_EQ(edited, 0);
}

TEST_F(SelectorValidation, FirstAnalysisHasNoPredecessorCheck)
{
    MySelectorItem* a = addAnalysis(root, "A", kTwoData, {{"Sex", {"M", "F"}, {true, false}}});
    EXPECT_EQ(root.validateSelection(a), std::optional<qint64>(0));
    EXPECT_TRUE(scripted.dialogs.alerts.isEmpty());
}
