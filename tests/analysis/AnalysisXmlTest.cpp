#include "analysis/MyAnalysisXml.h"
#include "outline/MySelectorItem.h"
#include "platform/NumberText.h"
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
            if (!names.contains(c[r])) {
                names << c[r];
                rows.append(QVector<qint64>());
            }
            rows[names.indexOf(c[r])].append(r - 1);
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

} // namespace

// Golden files written by hand from the line layout.
TEST(AnalysisXml, WritesTheLineLayout)
{
    MySelectorItem root("rootItem", nullptr);
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(sampleAnalysis(&root)), readTestFile("sample.xml"));

    MySelectorItem* bare = node(&root, "Untitled");
    node(bare, "graphType", "scatter");
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(bare), readTestFile("bare.xml"));
    node(bare, "DataColumns");
    node(bare, "Categorizing");
    node(bare, "graphType", "boxplot");   // a second one is neither a group nor used
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(bare), readTestFile("bare-groups.xml"));

    // Groups in the item's order; a column without represents is its three lines.
    MySelectorItem* catsFirst = node(&root, "Untitled");
    node(catsFirst, "graphType", "boxplot");
    node(node(catsFirst, "Categorizing"), "Sex");
    node(catsFirst, "DataColumns");
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(catsFirst), readTestFile("cats-first.xml"));
    QVector<int> used;
    MySelectorItem* read = MyAnalysisXml::outlineItemFromXLMWithXmlString(readTestFile("cats-first.xml"), &root, kTable, &used);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(dump(read, false), dump(catsFirst, false));
    EXPECT_EQ(used, QVector<int>{2});   // counted without represents

    EXPECT_FALSE(MyAnalysisXml::xmlFromItem(node(&root, "x")).has_value());   // no graph type
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
    EXPECT_EQ(MyAnalysisXml::unescapeText(MyAnalysisXml::escapeText("&amp;")), "&amp;");
    EXPECT_EQ(MyAnalysisXml::unescapeText("a & b &unknown; &#13;"), "a & b &unknown; &#13;");
}

// The expected tree was worked out by hand from the sample and kTable.
TEST(AnalysisXml, ReadsBackTheSampleWithTableData)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* written = sampleAnalysis(&root);
    QVector<int> used;
    MySelectorItem* read = MyAnalysisXml::outlineItemFromXLMWithXmlString(readTestFile("sample.xml"), &root, kTable, &used);
    ASSERT_EQ(root.childAt(1), read);
    EXPECT_EQ(dump(read, false), dump(written, false));
    EXPECT_EQ(dump(read), readTestFile("sample-read.txt").toStdString());
    EXPECT_EQ(used, (QVector<int>{0, 1, 2}));
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
        ASSERT_EQ(dump(read, false), dump(a, false));
        ASSERT_EQ(used.size(), columns.size());
        // Category rows are found by the unescaped names.
        for (MySelectorItem* col : read->childTitle("Categorizing")->selectorChildren())
            for (MySelectorItem* rep : col->selectorChildren())
                ASSERT_FALSE(rep->data1.isEmpty()) << rep->title.toStdString();
    }
}

// older.xml was written by hand as the earlier writer did: values inserted as they stand. In the
// expected tree (by hand): markers are removed from the title whatever their case, the graph
// type is the part after the last tab, a message is cut at its first '>', quotes are dropped
// from a name, name= without use= leaves the type empty, a value gone from the column gets no
// rows and "NO", and a column title keeps its tab while a represent line is cut at it.
TEST(AnalysisXml, ReadsOlderUnescapedTexts)
{
    const ColumnsTable table({{"Age", "old", "young", "old"}, {"BP", "120", "n/a", "140"}});
    MySelectorItem root("rootItem", nullptr);
    QVector<int> used;
    MySelectorItem* a = MyAnalysisXml::outlineItemFromXLMWithXmlString(readTestFile("older.xml"), &root, table, &used);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(dump(a), readTestFile("older-read.txt").toStdString());
    EXPECT_EQ(used, (QVector<int>{1, 0}));   // BP, Age; the column gone from the table is not counted
}

TEST(AnalysisXml, ShortAndCutTexts)
{
    MySelectorItem root("rootItem", nullptr);
    QVector<int> used{7};
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
    EXPECT_EQ(dump(a, false), "T |  | \n  graphType | scatter | \n  DataColumns |  | \n  Categorizing |  | \n");
}

// A represent finds its category by canonical equivalence (a name typed decomposed matches
// the table's composed text), and of two equivalent categories the first one.
TEST(AnalysisXml, RepresentsFindCanonicallyEquivalentCategories)
{
    const QString composed = QStringLiteral("\u00e9t\u00e9");
    const QString decomposed = QStringLiteral("e\u0301te\u0301");
    const ColumnsTable table({{"W", "1", "2", "3", "4"}, {"Season", "hiver", composed, decomposed, composed}});
    MySelectorItem source("rootItem", nullptr);
    MySelectorItem* a =
        analysis(&source, "scatter", {{"W", {1.0}}}, {{"Season", {decomposed, "hiver", "printemps"}}}, true);

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
