#pragma once
// Small builders shared by the analysis tests.
#include "outline/MySelectorItem.h"
#include <QFile>
#include <QVariantList>
#include <QVariantMap>
#include <memory>

// Appends a selector node to parent and returns it.
inline MySelectorItem* node(MySelectorItem* parent, const QString& title, const QString& message = {},
                            const QString& type = {}, QVector<qint64> data1 = {},
                            QVector<std::optional<double>> data2 = {})
{
    auto n = std::make_unique<MySelectorItem>(title, message, type, std::vector<std::unique_ptr<MySelectorItem>>{},
                                              std::move(data1), std::move(data2), parent);
    return parent->append(std::move(n));
}

struct DataColumn { QString title; QVector<std::optional<double>> cells; };
// cells: one per data row; unused: values ticked off.
struct CatColumn { QString title; QStringList cells; QStringList unused = {}; };

// An analysis item as the selector outline builds it: represents in order of first appearance,
// messages "<title>!" for data columns and the upper-cased value for categories.
inline MySelectorItem* analysis(MySelectorItem* root, const QString& graphType, const QVector<DataColumn>& data,
                                const QVector<CatColumn>& cats, bool dataFirst)
{
    MySelectorItem* a = node(root, "Untitled");
    node(a, "graphType", graphType);
    MySelectorItem* dataGroup = dataFirst ? node(a, "DataColumns") : nullptr;
    MySelectorItem* catGroup = node(a, "Categorizing");
    dataGroup = dataGroup ? dataGroup : node(a, "DataColumns");
    for (const DataColumn& c : data)
        node(node(dataGroup, c.title), c.title, c.title + "!", "YES", {}, c.cells);
    for (const CatColumn& c : cats) {
        MySelectorItem* col = node(catGroup, c.title);
        QStringList values = c.cells;
        values.removeDuplicates();   // first appearances, in order
        for (const QString& v : values) {
            QVector<qint64> rows;
            for (int r = 0; r < c.cells.size(); ++r)
                if (c.cells[r] == v)
                    rows << r;
            node(col, v, v.toUpper(), c.unused.contains(v) ? "NO" : "YES", rows);
        }
    }
    return a;
}

// n dictionaries {key: i} for i = 0 .. n-1: distinguishable series.
inline QVariantList numbered(const QString& key, int n)
{
    QVariantList l;
    for (int i = 0; i < n; ++i)
        l << QVariantMap{{key, qint64(i)}};
    return l;
}

// The opening lines of an analysis text titled "T".
inline const QString kAnalysisHead = "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>T</title>\n\t<graphType>scatter</graphType>\n";

// The text of a fixture in tests/data/analysis.
inline QString readTestFile(const QString& name)
{
    QFile f(QStringLiteral(VLB_TEST_DATA "/analysis/") + name);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : "missing " + name;
}

// The lines of a case table in tests/data/analysis, without blank and '#' lines.
inline QStringList caseLines(const QString& name)
{
    QStringList lines = readTestFile(name).split('\n');
    lines.removeIf([](const QString& l) { return l.isEmpty() || l.startsWith('#'); });
    return lines;
}

// One line per item, indented by depth: "title | message | type", then its rows and its values
// ('-' for a missing cell) when withData. Tabs and line feeds shown as \t, \n.
inline std::string dump(const MySelectorItem* item, bool withData = true, int depth = 0)
{
    auto shown = [](QString s) { return s.replace('\t', "\\t").replace('\n', "\\n"); };
    QString line = QString(2 * depth, ' ') + shown(item->title) + " | " + shown(item->message) + " | " + item->type;
    QStringList rows, values;
    for (qint64 r : item->data1)
        rows << QString::number(r);
    for (const auto& v : item->data2)
        values << (v ? QString::number(*v) : "-");
    line += withData && !rows.isEmpty() ? " | rows " + rows.join(',') : QString();
    line += withData && !values.isEmpty() ? " | values " + values.join(',') : QString();
    std::string out = line.toStdString() + '\n';
    for (const MySelectorItem* c : item->selectorChildren())
        out += dump(c, withData, depth + 1);
    return out;
}
