#include "analysis/MyAnalysisXml.h"
#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "AnalysisTestSupport.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

const TableData kSample{{"W", "1", "", "3"}, {"H", "4", "5", "6"}, {"Sex", "f", "m", "f"}};

class AnalysisXml : public ::testing::Test {
protected:
    // Reads xml under parent against a document whose table holds columns (element 0 the
    // title); used gets the use count of each column.
    MySelectorItem* read(const QString& xml, const TableData& columns = kSample, MySelectorItem* parent = nullptr)
    {
        AppDelegate app;
        Document doc(&app);
        doc.tableData = columns;
        doc.setTableData();
        doc.columnCounter = QVector<qint64>(columns.size());
        MySelectorItem* item = MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, xml, parent ? parent : &root);
        used = doc.columnCounter;
        return item;
    }
    MySelectorItem root{"rootItem", nullptr};
    QVector<qint64> used;
};

} // namespace

// The texts and the trees expected from reading them were written by hand (see
// tests/data/analysis/README): the sample from the line layout, an older writer's unescaped
// text, columns opened without their title line (they take nothing of the column before) and a
// body cut short.
TEST_F(AnalysisXml, WritesAndReadsTheHandWrittenTexts)
{
    MySelectorItem* a = node(&root, "Untitled");
    node(a, "graphType", "scatter");
    MySelectorItem* data = node(a, "DataColumns");
    node(node(data, "W"), "W", "Weight", "YES");
    node(node(data, "H"), "H", "H", "YES");
    MySelectorItem* sex = node(node(a, "Categorizing"), "Sex");
    node(sex, "f", "female", "YES");
    node(sex, "m", "m", "NO");
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(a), readTestFile("sample.xml"));

    const TableData older{{"Age", "old", "young", "old"}, {"BP", "120", "n/a", "140"}};
    const struct { const char* name; TableData table; QVector<qint64> used; } cases[] = {
        {"sample", kSample, {1, 1, 1}},
        {"older", older, {1, 1}},   // the column gone from the table is not counted
        {"untitled-column", kSample, {1, 0, 1}},
        {"cut-body", kSample, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MySelectorItem* back = read(readTestFile(QString(c.name) + ".xml"), c.table);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(dump(back), readTestFile(QString(c.name) + "-read.txt").toStdString());
        EXPECT_EQ(used, c.used);
    }
}

TEST_F(AnalysisXml, EscapesWhatTheLineFormatCannotCarryAndReadsItBack)
{
    MySelectorItem* a = node(&root, "Age <18 & \"young\"");
    node(a, "graphType", "box<plot>");
    node(node(node(a, "DataColumns"), "W&H"), "W&H", "\"kg\"", "YES");
    MySelectorItem* age = node(node(a, "Categorizing"), "Age\tgroup");
    node(age, ">65", "over\n65", "YES");
    node(age, "a;b&amp;", "#x/=", "NO");
    const QString x = *MyAnalysisXml::xmlFromItem(a);
    EXPECT_TRUE(x.contains("\t<title>Age &lt;18 &amp; &quot;young&quot;</title>\n"));
    EXPECT_TRUE(x.contains("\t\t\t<title>Age&#9;group</title>\n"));
    EXPECT_TRUE(x.contains("<represents name=\"&gt;65\" use=\"YES\">over&#10;65</represents>\n"));
    EXPECT_EQ(MyAnalysisXml::unescapeText("a & b &unknown; &#13;"), "a & b &unknown; &#13;");

    // Read back against a table, the names find their columns and rows.
    const MySelectorItem* back = read(x, {{"W&H", "1", "2"}, {"Age\tgroup", "a;b&amp;", ">65"}});
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(dump(back->childTitle("Categorizing")->selectorChildAt(0)),
              "Age\\tgroup |  | \n  >65 | over\\n65 | YES | rows 1\n  a;b&amp; | #x/= | NO | rows 0\n");
}

// A text cut before its body is no analysis.
TEST_F(AnalysisXml, ShortAndCutTexts)
{
    EXPECT_EQ(read("<?xml?>\n<analysis>\n\t<title>W</title>"), nullptr);
    EXPECT_EQ(root.childCount(), 0);
    EXPECT_EQ(used, (QVector<qint64>{0, 0, 0}));
}

// Analysis, group, column, represent: a text that nests anything deeper is no analysis and adds
// nothing, however deep it goes.
TEST_F(AnalysisXml, RefusesTextsNestedDeeperThanAnAnalysis)
{
    const QString column = "\t<DataColumns next=\"array\">\n\t\t<represents next=\"array\">\n\t\t\t<title>W</title>\n";
    const QString represent = "\t\t\t<represents name=\"W\" use=\"YES\">W</represents>\n";
    const QString opening = "\t\t\t<g next=\"array\">\n";
    const struct { QString body; bool read; } cases[] = {
        {column + represent, true},
        {column + opening + "\t\t\t</g>\n" + represent, true},
        {column + opening + represent, false},
        {column + opening + opening, false},
        {opening.repeated(200'000), false},
    };
    for (const auto& c : cases) {
        MySelectorItem own("rootItem", nullptr);
        EXPECT_EQ(read(kAnalysisHead + c.body + "</analysis>", kSample, &own) != nullptr, c.read) << c.body.left(200).toStdString();
        EXPECT_EQ(own.childCount(), c.read ? 1 : 0);
        EXPECT_EQ(used, (QVector<qint64>{c.read ? 1 : 0, 0, 0}));
    }
}

// A represent finds its category by canonical equivalence: a name typed decomposed matches
// the table's composed and decomposed texts alike.
TEST_F(AnalysisXml, RepresentsFindCanonicallyEquivalentCategories)
{
    const QString composed = QStringLiteral("\u00e9t\u00e9");
    const QString decomposed = QStringLiteral("e\u0301te\u0301");
    const TableData table{{"W", "1", "2", "3", "4"}, {"Season", "hiver", composed, decomposed, composed}};
    MySelectorItem* a = analysis(&root, "scatter", {{"W", {1.0}}}, {{"Season", {decomposed, "hiver", "printemps"}}}, true);
    MySelectorItem* back = read(*MyAnalysisXml::xmlFromItem(a), table);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(dump(back->childTitle("Categorizing")),
              "Categorizing |  | \n  Season |  | \n    " + decomposed.toStdString() + " | " +
                  decomposed.toUpper().toStdString() + " | YES | rows 1,2,3\n    hiver | HIVER | YES | rows 0\n"
                  "    printemps | PRINTEMPS | NO\n");
}

namespace {

// Texts made of the pieces the line format gives a meaning to, and of ordinary ones.
QString randomText(QRandomGenerator& rng)
{
    static const QStringList pieces{"a", " ", "  ", " use=", " USE=\"", "name=\"", "\"", ">", "<", "</", "/>",
                                    "<title>", "</TITLE>", "<graphType>", "&", "&amp;", "&#9;", "\t", "\n", "\r",
                                    "=", "next=\"array\"", "\u00e9", "e\u0301", "\U0001F600", "represents", ";"};
    QString s;
    for (int i = rng.bounded(6); i > 0; --i)
        s += pieces[rng.bounded(int(pieces.size()))];
    return s;
}

} // namespace

// Whatever the texts, an analysis written and read back has every title, type and message it
// had, in the same places.
TEST_F(AnalysisXml, RandomAnalysesComeBackWhole)
{
    QRandomGenerator rng(5210);
    for (int round = 0; round < 500; ++round) {
        MySelectorItem own("rootItem", nullptr);
        MySelectorItem* a = node(&own, randomText(rng));
        node(a, "graphType", randomText(rng));
        TableData table;
        for (int g = rng.bounded(4); g > 0; --g) {
            MySelectorItem* group = node(a, rng.bounded(3) ? randomText(rng) : QStringLiteral("Categorizing"));
            for (int c = rng.bounded(3); c > 0; --c) {
                const QString title = randomText(rng) + QString::number(table.size());
                QStringList cells{title, "1"};
                MySelectorItem* column = node(group, title);
                for (int r = rng.bounded(3); r > 0; --r)
                    cells << node(column, randomText(rng), randomText(rng), randomText(rng))->title;
                table.append(cells);   // the categories are in the table
            }
        }
        const QString xml = *MyAnalysisXml::xmlFromItem(a);
        MySelectorItem* back = read(xml, table, &own);
        ASSERT_NE(back, nullptr) << xml.toStdString();
        ASSERT_EQ(dump(back, false), dump(a, false)) << xml.toStdString();
    }
}
