#pragma once
// Small builders shared by the analysis tests.
#include "outline/MySelectorItem.h"
#include <QVariantList>
#include <QFile>
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

// n dictionaries {key: i} for i = 0 .. n-1: distinguishable series.
inline QVariantList numbered(const QString& key, int n)
{
    QVariantList l;
    for (int i = 0; i < n; ++i)
        l << QVariantMap{{key, qint64(i)}};
    return l;
}

// The text of a fixture in tests/data/analysis.
inline QString readTestFile(const QString& name)
{
    QFile f(QStringLiteral(VLB_TEST_DATA "/analysis/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return "missing " + name;
    return QString::fromUtf8(f.readAll());
}

// One line per item, indented by depth: "title | message | type", then its rows, its values
// ('-' for a missing cell) and whether it is still being edited. Tabs and line feeds shown as \t, \n.
inline QString dumpText(const MySelectorItem* item, bool withData, int depth)
{
    auto shown = [](QString s) { return s.replace('\t', "\\t").replace('\n', "\\n"); };
    QString line = QString(2 * depth, ' ') + shown(item->title) + " | " + shown(item->message) + " | " + item->type;
    if (withData) {
        QStringList rows, values;
        for (qint64 r : item->data1)
            rows << QString::number(r);
        for (const auto& v : item->data2)
            values << (v ? QString::number(*v) : "-");
        if (!rows.isEmpty())
            line += " | rows " + rows.join(',');
        if (!values.isEmpty())
            line += " | values " + values.join(',');
        if (item->editting)
            line += " | editing";
    }
    line += '\n';
    for (const MySelectorItem* c : item->selectorChildren())
        line += dumpText(c, withData, depth + 1);
    return line;
}

inline std::string dump(const MySelectorItem* item, bool withData = true)
{
    return dumpText(item, withData, 0).toStdString();
}
