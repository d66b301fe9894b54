#include "analysis/MyAnalysisXml.h"
#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "outline/MySelectorRootItem.h"
#include "stats/MyDescriptives.h"
#include "platform/Dialogs.h"
#include "AnalysisTestSupport.h"
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const TableData kSample{{"W", "1", "", "3"}, {"H", "4", "5", "6"}, {"Sex", "f", "m", "f"}};

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
        MyDocumentAnalyses::registerHooks();
    }
    ~AnalysisFixture() override
    {
        DocumentHooks::shared() = DocumentHooks{};
        MySelectorRootItem::hooks() = MySelectorRootItem::Hooks{};
        MyDocumentAnalyses::makeGraphWindows() = nullptr;
    }

    // The document holds table, its columns unused.
    void setTable(const TableData& table)
    {
        doc.tableData = table;
        doc.columnSettings = ColumnSettings(table.size(), {{"width", "70"}});
        doc.historyOfColumnCounter = {doc.columnCounter = QVector<qint64>(table.size())};
        doc.setTableData();
    }

    MyDescriptives engine;
    AppDelegate app;
    Document doc{&app};
};
using StoredAnalyses = AnalysisFixture;

class AnalysisXml : public AnalysisFixture {
protected:
    // Reads xml under parent against a document whose table holds columns (element 0 the
    // title), none of them in use before.
    MySelectorItem* read(const QString& xml, const TableData& columns = kSample, MySelectorItem* parent = nullptr)
    {
        setTable(columns);
        return MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, xml, parent ? parent : &root);
    }
    MySelectorItem root{"rootItem", nullptr};
};

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

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

// A validated selection appends every record of its graph, with settings from the defaults, and
// hands the analysis on.
TEST_F(AnalysisFixture, ValidatedSelectionAppendsEveryRecord)
{
    setTable({{"D0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}});
    doc.appendAnalysis({{"graphTitle", "a"}}, "x0", {});
    QVector<qint64> madeFor;
    MyDocumentAnalyses::makeGraphWindows() = [&](Document&, qint64 id, const MyAnalysisData&) { madeFor << id; return true; };
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
    setTable(kSample);
    const QString xml = readTestFile("column-twice.xml");
    MySelectorItem root("rootItem", nullptr);
    ASSERT_NE(MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, xml, &root), nullptr);
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{0, 1, 2}));   // Sex named twice
    EXPECT_EQ(doc.historyOfColumnCounter[0], doc.columnCounter);

    const auto settings = DocumentHooks::shared().regenerateGraphSettings(doc, xml, 500, 600);
    ASSERT_TRUE(settings);
    // Values 4 to 6: a third of the range lies between 0.375 and 0.75, so steps of 0.5.
    EXPECT_EQ((*settings)["valueSettings"], QVariant(scale("4.0 4.5 5.0 5.5 6.0 6.5")));
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{0, 1, 2}));   // counted once
    EXPECT_FALSE(DocumentHooks::shared().regenerateGraphSettings(doc, "x\ny", 500, 600));
}

// Packages whose analyses cannot all be read open with the others, and the user is told which
// were left out.
TEST_F(StoredAnalyses, UnreadableOnesAreNamedWhenTheDocumentOpens)
{
    setTable({{"W", "1", "2", "3"}, {"Sex", "m", "f", "m"}});
    MySelectorItem root("rootItem", nullptr);
    const QString xml = *MyAnalysisXml::xmlFromItem(analysis(&root, "scatter", {{"W", {1.0, 2.0, 3.0}}}, {{"Sex", {"m", "f", "m"}}}, true));
    for (int i = 0; i < 6; ++i)
        doc.appendAnalysis({{"graphTitle", QString::number(i)}}, xml, doc.newStatsRecord());
    QTemporaryDir temp;
    const QString path = temp.filePath("d.vlbdoc");
    ASSERT_TRUE(QDir().mkpath(path));
    ASSERT_TRUE(doc.writePackage(path, SaveKind::Save, nullptr));

    // 0: nested 200,000 levels deep, its settings to be made anew from it.
    writeBytes(path + "/graphXML/graph0.xml", (kAnalysisHead + QString("\t<g next=\"array\">\n").repeated(200'000) + "</analysis>").toUtf8());
    QFile::remove(path + "/graph/graph0.plist");
    // 1: not UTF-8, with its settings.
    writeBytes(path + "/graphXML/graph1.xml", "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>Gr\xf6\xdf" "e</title>\n");
    // 2: its settings made anew.
    QFile::remove(path + "/graph/graph2.plist");
    // 3: a readable text from which no graph can be made.
    writeBytes(path + "/graphXML/graph3.xml",
               "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>Lonely</title>\n\t<graphType>scatter</graphType>\n</analysis>");
    QFile::remove(path + "/graph/graph3.plist");
    // 4: settings without a text.
    QFile::remove(path + "/graphXML/graph4.xml");
    // 5: a readable text without a data column, with its settings.
    writeBytes(path + "/graphXML/graph5.xml",
               "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>Empty</title>\n\t<graphType>scatter</graphType>\n"
               "\t<DataColumns next=\"array\">\n\t</DataColumns>\n\t<Categorizing next=\"array\">\n\t</Categorizing>\n"
               "</analysis>");

    ScopedScriptedDialogs scripted;
    DocumentController controller(Document::factory(&app));
    auto* opened = dynamic_cast<Document*>(controller.openDocument(path));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->graphXMLs, QStringList{xml});
    EXPECT_EQ(opened->graphSettings.size(), 1);
    EXPECT_EQ(scripted.dialogs.alerts.join('|').toStdString(),
              "These analyses of the document \u201cd.vlbdoc\u201d could not be read and were left out: "
              "graph0.xml, graph1.xml, \u201cLonely\u201d (graph3.xml), graph4.xml, \u201cEmpty\u201d (graph5.xml).");
    EXPECT_EQ(opened->columnCounter, (QVector<qint64>{0, 0}));
}

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
        EXPECT_EQ(doc.columnCounter, c.used);
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
    EXPECT_EQ(doc.columnCounter, (QVector<qint64>{0, 0, 0}));
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
        EXPECT_EQ(doc.columnCounter, (QVector<qint64>{c.read ? 1 : 0, 0, 0}));
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

// Whatever a damaged text held, what is read from it is written so that it reads back the
// same: the text written from the first reading is the one written from the second.
TEST_F(AnalysisXml, DamagedTextsReadBackAsTheyWereRead)
{
    const QString column = "\t<Categorizing next=\"array\">\n\t\t<represents next=\"array\">\n\t\t\t<title>Sex</title>\n";
    const QStringList lines{"\t\t\t<represents name=\"f\">female</represents>",        // no use
                            "\t\t\t<represents>bare</represents>",                       // no name
                            "\t\t\t<represents name=\"m\" use=\"NO\">male</represents>",
                            "\t\t\t<represents name=\"x\" use=\"YES\">gone</represents>",  // not in the column
                            "\t\t\t<represents name=\"f\" use=\"maybe\">f</represents>",
                            "\t\t\t<represents name=\"m\" use=\"\">m</represents>",
                            "\t\t</represents>", "\t</Categorizing>", "\t<DataColumns next=\"array\">",
                            "\t\t<represents next=\"array\">", "\t\t\t<title>W</title>",
                            "\t\t\t<represents name=\"W\">W</represents>", "\t\t\t<represents name=\"Q\" use=\"\">Q</represents>"};
    QRandomGenerator rng(13);
    int analyses = 0;
    for (int round = 0; round < 300; ++round) {
        QString body = column;
        for (int n = rng.bounded(8); n > 0; --n)
            body += lines[rng.bounded(int(lines.size()))] + '\n';
        MySelectorItem own("rootItem", nullptr);
        const MySelectorItem* first = read(kAnalysisHead + body + "</analysis>", kSample, &own);
        if (!first)
            continue;   // nested deeper than an analysis: no analysis at all
        ++analyses;
        const QString written = *MyAnalysisXml::xmlFromItem(first);
        const MySelectorItem* second = read(written, kSample, &own);
        ASSERT_NE(second, nullptr);
        ASSERT_EQ(dump(second), dump(first)) << body.toStdString();
        ASSERT_EQ(*MyAnalysisXml::xmlFromItem(second), written) << body.toStdString();
    }
    EXPECT_GT(analyses, 200);
}
