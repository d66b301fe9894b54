#pragma once
// The analysis XML text: a line format that describes one analysis of the selector tree
// (title, graph type, groups, columns, represents). Values are escaped on write so that
// texts such as ">65" or a quote survive; texts of older documents carry no escapes and
// read as before.
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class MySelectorItem;

class MyAnalysisXml {
public:
    // What the reader needs of the document's table.
    class Table {
    public:
        virtual ~Table() = default;
        // Position of the first column with that title, -1 when none.
        virtual int indexOfVariables(const QString& title) const = 0;
        // Distinct texts of a column's data rows in order of first appearance, and the
        // data-row positions of each.
        virtual std::pair<QStringList, QVector<QVector<qint64>>> categoriesOfVariable(int column) const = 0;
        // Each data row's value, absent unless its whole text is a number.
        virtual QVector<std::optional<double>> numericValuesOfVariable(int column) const = 0;
        // Number of data rows (rows below the titles).
        virtual int dataRowCount() const = 0;
    };

    // The text of an analysis item; nullopt for an item without a "graphType" child.
    static std::optional<QString> xmlFromItem(const MySelectorItem* item);

    // Reads a text and appends the analysis it describes to root's children. Returns the new
    // analysis item, or nullptr (nothing appended) when the text has fewer than four lines or
    // nests anything below a represent.
    // *usedColumns receives the table position of every column the text names, once per
    // naming, for the caller's use counters; columns missing from the table are left out.
    static MySelectorItem* outlineItemFromXLMWithXmlString(const QString& xml, MySelectorItem* root,
                                                           const Table& table, QVector<int>* usedColumns);

    // Whether a text ends before its closing element "</analysis>" (blanks after it aside):
    // a file cut short reads as part of its analysis, with nothing in the text to tell so.
    static bool isCutOff(const QString& xml);

    // & < > " tab and line feed as character references, and back. Unknown references are
    // left as they stand.
    static QString escapeText(const QString& text);
    static QString unescapeText(const QString& text);
};
