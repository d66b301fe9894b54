#include "analysis/MyAnalysisXml.h"
#include "outline/MySelectorItem.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>

namespace {

// A table of columns; element 0 of each column is its title.
class ColumnsTable : public MyAnalysisXml::Table {
public:
    explicit ColumnsTable(QVector<QStringList> columns) : m_columns(std::move(columns)) {}
    int indexOfVariables(const QString& title) const override
    {
        auto found = std::find_if(m_columns.begin(), m_columns.end(), [&](const QStringList& c) { return c[0] == title; });
        return found == m_columns.end() ? -1 : int(found - m_columns.begin());
    }
    std::pair<QStringList, QVector<QVector<qint64>>> categoriesOfVariable(int column) const override
    {
        QStringList names = m_columns[column].mid(1);
        names.removeDuplicates();
        QVector<QVector<qint64>> rows(names.size());
        for (int r = 1; r < m_columns[column].size(); ++r)
            rows[names.indexOf(m_columns[column][r])].append(r - 1);
        return {names, rows};
    }
    QVector<std::optional<double>> numericValuesOfVariable(int column) const override
    {
        QVector<std::optional<double>> out;
        for (const QString& cell : m_columns[column].mid(1)) {
            bool ok = false;
            const double v = cell.toDouble(&ok);
            out.append(ok ? std::optional<double>(v) : std::nullopt);
        }
        return out;
    }
    int dataRowCount() const override { return m_columns.isEmpty() ? 0 : int(m_columns[0].size()) - 1; }

private:
    QVector<QStringList> m_columns;
};

const ColumnsTable kTable({{"W", "1", "", "3"}, {"H", "4", "5", "6"}, {"Sex", "f", "m", "f"}});

MySelectorItem* read(const QString& xml, MySelectorItem* root, const ColumnsTable& table = kTable,
                     QVector<int>* used = nullptr)
{
    return MyAnalysisXml::outlineItemFromXLMWithXmlString(xml, root, table, used);
}

} // namespace

// sample.xml was written by hand from the line layout, and sample-read.txt
// is the tree worked out by hand from the sample and kTable.
TEST(AnalysisXml, WritesAndReadsTheHandWrittenTexts)
{
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = node(&root, "Untitled");
    node(a, "graphType", "scatter");
    MySelectorItem* data = node(a, "DataColumns");
    node(node(data, "W"), "W", "Weight", "YES");
    node(node(data, "H"), "H", "H", "YES");
    MySelectorItem* sex = node(node(a, "Categorizing"), "Sex");
    node(sex, "f", "female", "YES");
    node(sex, "m", "m", "NO");
    EXPECT_EQ(*MyAnalysisXml::xmlFromItem(a), readTestFile("sample.xml"));
    QVector<int> used;
    const MySelectorItem* back = read(readTestFile("sample.xml"), &root, kTable, &used);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(dump(back), readTestFile("sample-read.txt").toStdString());
    EXPECT_EQ(used, (QVector<int>{0, 1, 2}));
}

TEST(AnalysisXml, EscapesWhatTheLineFormatCannotCarryAndReadsItBack)
{
    MySelectorItem root("rootItem", nullptr);
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
    const ColumnsTable table({{"W&H", "1", "2"}, {"Age\tgroup", "a;b&amp;", ">65"}});
    const MySelectorItem* back = read(x, &root, table);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(dump(back, false), dump(a, false));
    EXPECT_EQ(dump(back->childTitle("Categorizing")->selectorChildAt(0)),
              "Age\\tgroup |  | \n  >65 | over\\n65 | YES | rows 1\n  a;b&amp; | #x/= | NO | rows 0\n");
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
    MySelectorItem* a = read(readTestFile("older.xml"), &root, table, &used);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(dump(a), readTestFile("older-read.txt").toStdString());
    EXPECT_EQ(used, (QVector<int>{1, 0}));   // BP, Age; the column gone from the table is not counted
}

TEST(AnalysisXml, ShortAndCutTexts)
{
    MySelectorItem root("rootItem", nullptr);
    QVector<int> used{7};
    EXPECT_EQ(read("<?xml?>\n<analysis>\n\t<title>x</title>", &root, kTable, &used), nullptr);
    EXPECT_EQ(root.childCount(), 0);
    EXPECT_TRUE(used.isEmpty());

    // An empty line ends the body early; closing lines never climb above the analysis.
    const QString head = "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>T</title>\n\t<graphType>scatter</graphType>\n";
    MySelectorItem* a = read(head + "\t<DataColumns next=\"array\">\n\t</DataColumns>\n\t</x>\n\t</y>\n"
                                    "\t<Categorizing next=\"array\">\n\n\t<Other next=\"array\">\n</analysis>\n",
                             &root);
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
    MySelectorItem root("rootItem", nullptr);
    MySelectorItem* a = analysis(&root, "scatter", {{"W", {1.0}}}, {{"Season", {decomposed, "hiver", "printemps"}}}, true);
    MySelectorItem* back = read(*MyAnalysisXml::xmlFromItem(a), &root, table);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(dump(back->childTitle("Categorizing")),
              "Categorizing |  | \n  Season |  | \n    " + decomposed.toStdString() + " | " +
                  decomposed.toUpper().toStdString() + " | YES | rows 1,3\n    hiver | HIVER | YES | rows 0\n"
                  "    printemps | PRINTEMPS | NO\n");
}
