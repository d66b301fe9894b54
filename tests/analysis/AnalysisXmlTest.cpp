#include "analysis/MyAnalysisXml.h"
#include "outline/MySelectorItem.h"
#include "platform/NumberText.h"
#include <QFile>
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>
#include <random>

namespace {

// A table of columns; element 0 of each column is its title.
class ColumnsTable : public MyAnalysisXml::Table {
public:
    explicit ColumnsTable(QVector<QStringList> columns) : m_columns(std::move(columns)) {}
    int indexOfVariables(const QString& title) const override
    {
        for (int i = 0; i < m_columns.size(); ++i)
            if (m_columns[i].value(0) == title)
                return i;
        return -1;
    }
    std::pair<QStringList, QVector<QVector<qint64>>> categoriesOfVariable(int column) const override
    {
        QStringList names;
        QVector<QVector<qint64>> rows;
        const QStringList& c = m_columns[column];
        for (int r = 1; r < c.size(); ++r) {
            int at = names.indexOf(c[r]);
            if (at < 0) {
                names << c[r];
                rows.append(QVector<qint64>());
                at = names.size() - 1;
            }
            rows[at].append(r - 1);
        }
        return {names, rows};
    }
    QVector<std::optional<double>> numericValuesOfVariable(int column) const override
    {
        QVector<std::optional<double>> out;
        const QStringList& c = m_columns[column];
        for (int r = 1; r < c.size(); ++r) {
            double v = 0;
            out.append(NumberText::scanDouble(c[r], &v) ? std::optional<double>(v) : std::nullopt);
        }
        return out;
    }
    int dataRowCount() const override { return m_columns.isEmpty() ? 0 : int(m_columns[0].size()) - 1; }

private:
    QVector<QStringList> m_columns;
};


// "Untitled" scatter analysis: data columns W and H, categorizing column Sex with f and m.
MySelectorItem* sampleAnalysis(MySelectorItem* root)
{
    MySelectorItem* a = node(root, "Untitled");
    node(a, "graphType", "scatter");
    MySelectorItem* data = node(a, "DataColumns");
    node(node(data, "W"), "W", "Weight", "YES");
    node(node(data, "H"), "H", "H", "YES");
    MySelectorItem* sex = node(node(a, "Categorizing"), "Sex");
    node(sex, "f", "female", "YES");
    node(sex, "m", "m", "NO");
    return a;
}

const ColumnsTable kTable({{"W", "1", "", "3"}, {"H", "4", "5", "6"}, {"Sex", "f", "m", "f"}});

QString readFile(const QString& name)
{
    QFile f(QStringLiteral(VLB_TEST_DATA "/analysis/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(f.readAll());
}

// Same titles, messages, types and children, in the same order.
void expectSameTree(const MySelectorItem* a, const MySelectorItem* b, const QString& path = {})
{
    ASSERT_EQ(a->title, b->title) << path.toStdString();
    ASSERT_EQ(a->message, b->message) << path.toStdString();
    ASSERT_EQ(a->type, b->type) << path.toStdString();
    const auto ca = a->selectorChildren(), cb = b->selectorChildren();
    ASSERT_EQ(ca.size(), cb.size()) << path.toStdString();
    for (int i = 0; i < ca.size(); ++i)
        expectSameTree(ca[i], cb[i], path + "/" + a->title);
}

} // namespace

TEST(AnalysisXml, WritesTheLineLayout)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = sampleAnalysis(&root);
    // Golden file written by hand from the line layout.
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(a), readFile("sample.xml"));

    MySelectorItem* bare = node(&root, "Untitled");
    node(bare, "graphType", "scatter");
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(bare),
              "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>Untitled</title>\n\t<graphType>scatter</graphType>\n"
              "</analysis>");
    node(bare, "DataColumns");
    node(bare, "Categorizing");
    node(bare, "graphType", "boxplot");   // a second one is neither a group nor used
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(bare),
              "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>Untitled</title>\n\t<graphType>scatter</graphType>\n"
              "\t<DataColumns next=\"array\">\n\t</DataColumns>\n\t<Categorizing next=\"array\">\n\t</Categorizing>\n"
              "</analysis>");

    // Groups in the item's order; a column without represents is its three lines.
    MySelectorItem* catsFirst = node(&root, "Untitled");
    node(catsFirst, "graphType", "boxplot");
    node(node(catsFirst, "Categorizing"), "Sex");
    node(catsFirst, "DataColumns");
    const QString catsFirstText =
        "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>Untitled</title>\n\t<graphType>boxplot</graphType>\n"
        "\t<Categorizing next=\"array\">\n\t\t<represents next=\"array\">\n\t\t\t<title>Sex</title>\n"
        "\t\t</represents>\n\t</Categorizing>\n\t<DataColumns next=\"array\">\n\t</DataColumns>\n</analysis>";
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(catsFirst), catsFirstText);
    QVector<int> used;
    MySelectorItem* read = MyAnalysisXml::outlineItemFromXLMWithXmlString(catsFirstText, &root, kTable, &used);
    ASSERT_NE(read, nullptr);
    expectSameTree(catsFirst, read);
    EXPECT_EQ(used, QVector<int>{2});   // counted without represents

    MySelectorItem* noType = node(&root, "x");
    EXPECT_FALSE(MyAnalysisXml::xmlFromItem(noType).has_value());
}

TEST(AnalysisXml, EscapesWhatTheLineFormatCannotCarry)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = node(&root, "Age <18 & \"young\"");
    node(a, "graphType", "scatter");
    MySelectorItem* age = node(node(a, "Categorizing"), "Age\tgroup");
    node(age, ">65", "over\n65", "YES");
    const QString x = *MyAnalysisXml::xmlFromItem(a);
    EXPECT_TRUE(x.contains("\t<title>Age &lt;18 &amp; &quot;young&quot;</title>\n"));
    EXPECT_TRUE(x.contains("\t\t\t<title>Age&#9;group</title>\n"));
    EXPECT_TRUE(x.contains("<represents name=\"&gt;65\" use=\"YES\">over&#10;65</represents>\n"));
    for (const QString& s : {QString("a&b"), QString("&amp;"), QString("&#9;&#10;"), QString("<\"\t\n>")})
        EXPECT_EQ(MyAnalysisXml::unescapeText(MyAnalysisXml::escapeText(s)), s);
    EXPECT_EQ(MyAnalysisXml::unescapeText("a & b &unknown; &#13;"), "a & b &unknown; &#13;");
}

TEST(AnalysisXml, ReadsBackTheSampleWithTableData)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* written = sampleAnalysis(&root);
    QVector<int> used;
    MySelectorItem* read = MyAnalysisXml::outlineItemFromXLMWithXmlString(readFile("sample.xml"), &root, kTable, &used);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(root.childCount(), 2);
    EXPECT_EQ(root.childAt(1), read);
    expectSameTree(written, read);
    EXPECT_EQ(used, (QVector<int>{0, 1, 2}));
    EXPECT_FALSE(read->editting);
    const MySelectorItem* w = read->childTitle("DataColumns")->selectorChildAt(0)->selectorChildAt(0);
    EXPECT_FALSE(w->editting);
    EXPECT_EQ(w->data2, (QVector<std::optional<double>>{1.0, std::nullopt, 3.0}));
    EXPECT_TRUE(w->data1.isEmpty());
    const MySelectorItem* sex = read->childTitle("Categorizing")->selectorChildAt(0);
    EXPECT_EQ(sex->selectorChildAt(0)->data1, (QVector<qint64>{0, 2}));
    EXPECT_EQ(sex->selectorChildAt(1)->data1, (QVector<qint64>{1}));
    EXPECT_TRUE(sex->selectorChildAt(0)->data2.isEmpty());
}

TEST(AnalysisXml, RandomTextsRoundTrip)
{
    std::mt19937 rng(99);
    const QString alphabet = QStringLiteral("ab<>&\"\t\n ;#xé/=");
    auto randomText = [&](int maxLen) {
        QString s;
        const int n = std::uniform_int_distribution<int>(0, maxLen)(rng);
        for (int i = 0; i < n; ++i)
            s += alphabet[std::uniform_int_distribution<int>(0, alphabet.size() - 1)(rng)];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        MySelectorItem root("rootItem", nullptr);
        MySelectorItem* a = node(&root, randomText(12));
        node(a, "graphType", round % 2 ? "scatter" : "box<plot>");
        QVector<QStringList> columns;
        for (const QString& group : {QString("DataColumns"), QString("Categorizing")}) {
            MySelectorItem* g = node(a, group);
            const int nColumns = std::uniform_int_distribution<int>(0, 3)(rng);
            for (int c = 0; c < nColumns; ++c) {
                const QString title = QString::number(columns.size()) + randomText(6);
                MySelectorItem* col = node(g, title);
                QStringList cells{title};
                const int nReps = group == "DataColumns" ? 1 : std::uniform_int_distribution<int>(0, 4)(rng);
                for (int r = 0; r < nReps; ++r) {
                    const QString name = group == "DataColumns" ? title : QString::number(r) + randomText(5);
                    node(col, name, randomText(8), r % 2 ? "NO" : "YES");
                    cells << (group == "DataColumns" ? QString::number(r) : name);
                }
                columns << cells;
            }
        }
        const QString x = *MyAnalysisXml::xmlFromItem(a);
        ColumnsTable table(columns);
        QVector<int> used;
        MySelectorItem* read = MyAnalysisXml::outlineItemFromXLMWithXmlString(x, &root, table, &used);
        ASSERT_NE(read, nullptr) << x.toStdString();
        expectSameTree(a, read);
        ASSERT_EQ(used.size(), columns.size());
        // Category rows are found by the unescaped names.
        for (MySelectorItem* col : read->childTitle("Categorizing")->selectorChildren())
            for (MySelectorItem* rep : col->selectorChildren())
                ASSERT_FALSE(rep->data1.isEmpty()) << rep->title.toStdString();
    }
}

TEST(AnalysisXml, ReadsOlderUnescapedTexts)
{
    // Written by hand as the earlier writer did: values inserted as they stand.
    const QString old = readFile("older.xml");
    const ColumnsTable table({{"Age", "old", "young", "old"}, {"BP", "120", "n/a", "140"}});
    MySelectorItem root("rootItem", nullptr);
    QVector<int> used;
    MySelectorItem* a = MyAnalysisXml::outlineItemFromXLMWithXmlString(old, &root, table, &used);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->title, "Blood; pressure & age");   // markers removed in any case
    EXPECT_EQ(a->childTitle("graphType")->message, "boxplot");   // only the part after the last tab
    const MySelectorItem* bp = a->childTitle("DataColumns")->selectorChildAt(0);
    EXPECT_EQ(bp->title, "BP");
    const MySelectorItem* bpRep = bp->selectorChildAt(0);
    EXPECT_EQ(bpRep->message, "mm Hg (sys");     // a message is cut at its first '>'
    EXPECT_EQ(bpRep->type, "YES");
    EXPECT_EQ(bpRep->data2, (QVector<std::optional<double>>{120.0, std::nullopt, 140.0}));
    const MySelectorItem* age = a->childTitle("Categorizing")->selectorChildAt(0);
    ASSERT_EQ(age->childCount(), 3);
    EXPECT_EQ(age->selectorChildAt(0)->title, "old");   // quotes dropped from the name
    EXPECT_EQ(age->selectorChildAt(0)->data1, (QVector<qint64>{0, 2}));
    EXPECT_EQ(age->selectorChildAt(1)->title, "young");
    EXPECT_EQ(age->selectorChildAt(1)->type, "");        // name= without use=
    EXPECT_EQ(age->selectorChildAt(1)->data1, (QVector<qint64>{1}));
    // A value no longer in the column gets no rows and is not used.
    EXPECT_EQ(age->selectorChildAt(2)->title, "middle");
    EXPECT_TRUE(age->selectorChildAt(2)->data1.isEmpty());
    EXPECT_EQ(age->selectorChildAt(2)->type, "NO");
    EXPECT_EQ(used, (QVector<int>{1, 0}));   // BP, Age; the column gone from the table is not counted
    const MySelectorItem* gone = a->childTitle("DataColumns")->selectorChildAt(1);
    EXPECT_EQ(gone->title, "Go\tne");   // a column title keeps its tab; a represent line is cut at it
    EXPECT_EQ(gone->selectorChildAt(0)->title, "");
    EXPECT_EQ(gone->selectorChildAt(0)->data2.size(), 3);
}

TEST(AnalysisXml, ShortAndCutTexts)
{
    MySelectorItem root("rootItem", nullptr);
    QVector<int> used{7};
    EXPECT_EQ(MyAnalysisXml::outlineItemFromXLMWithXmlString("", &root, kTable, &used), nullptr);
    EXPECT_EQ(MyAnalysisXml::outlineItemFromXLMWithXmlString("<?xml?>\n<analysis>\n\t<title>x</title>", &root, kTable, &used),
              nullptr);
    EXPECT_EQ(root.childCount(), 0);
    EXPECT_TRUE(used.isEmpty());

    // A text ending with a line feed reads the same; an empty line ends the body early;
    // closing lines never climb above the analysis.
    const QString head = "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>T</title>\n\t<graphType>scatter</graphType>\n";
    MySelectorItem* a = MyAnalysisXml::outlineItemFromXLMWithXmlString(
        head + "\t<DataColumns next=\"array\">\n\t</DataColumns>\n\t</x>\n\t</y>\n\t<Categorizing next=\"array\">\n"
               "\n\t<Other next=\"array\">\n</analysis>\n",
        &root, kTable, &used);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->childCount(), 3);
    EXPECT_EQ(a->selectorChildAt(1)->title, "DataColumns");
    EXPECT_EQ(a->selectorChildAt(2)->title, "Categorizing");
    EXPECT_EQ(a->selectorChildAt(2)->childCount(), 0);
}

// A represent finds its category by canonical equivalence (a name typed decomposed matches
// the table's composed text), and of two equivalent categories the first one.
TEST(AnalysisXml, RepresentsFindCanonicallyEquivalentCategories)
{
    const QString composed = QStringLiteral("\u00e9t\u00e9");
    const QString decomposed = QStringLiteral("e\u0301te\u0301");
    const ColumnsTable table({{"W", "1", "2", "3", "4"}, {"Season", "hiver", composed, decomposed, composed}});
    MySelectorItem source("rootItem", nullptr);
    MySelectorItem* a = node(&source, "Untitled");
    node(a, "graphType", "scatter");
    node(node(node(a, "DataColumns"), "W"), "W", "W", "YES");
    MySelectorItem* season = node(node(a, "Categorizing"), "Season");
    node(season, decomposed, decomposed, "YES");
    node(season, "hiver", "hiver", "YES");
    node(season, "printemps", "printemps", "YES");

    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* read =
        MyAnalysisXml::outlineItemFromXLMWithXmlString(*MyAnalysisXml::xmlFromItem(a), &root, table, nullptr);
    ASSERT_NE(read, nullptr);
    const MySelectorItem* column = read->childTitle("Categorizing")->selectorChildAt(0);
    EXPECT_EQ(column->selectorChildAt(0)->data1, (QVector<qint64>{1, 3}));   // composed: first of the two
    EXPECT_EQ(column->selectorChildAt(0)->type, "YES");
    EXPECT_EQ(column->selectorChildAt(1)->data1, (QVector<qint64>{0}));
    EXPECT_TRUE(column->selectorChildAt(2)->data1.isEmpty());
    EXPECT_EQ(column->selectorChildAt(2)->type, "NO");   // gone from the column
}
