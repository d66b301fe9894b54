#pragma once
// Node of the selector tree of analyses: analysis, graph type, groups, columns, represents.
#include "outline/MyOutlineItem.h"
#include <QVector>
#include <optional>

class MySelectorItem : public MyOutlineItem {
public:
    // Analyses, groups and columns: empty texts, no data, editting true.
    MySelectorItem(const QString& title, MySelectorItem* parentItem);
    // Graph-type node and represents; editting true.
    MySelectorItem(const QString& title, const QString& message, const QString& type,
                   std::vector<std::unique_ptr<MySelectorItem>> children,
                   QVector<qint64> data1, QVector<std::optional<double>> data2,
                   MySelectorItem* parentItem);

    // True while the analysis is being set up; false once its graph exists or when it was
    // rebuilt from its stored text.
    bool editting = true;
    // Represent of a categorizing column: the data-row positions holding this category.
    QVector<qint64> data1;
    // Represent of a data column: each data row's value, where its whole text is a number.
    QVector<std::optional<double>> data2;

    QList<MySelectorItem*> selectorChildren() const;
    void setSelectorChildren(std::vector<std::unique_ptr<MySelectorItem>> children);
    MySelectorItem* selectorChildAt(int position) const;
    MySelectorItem* selectorParent() const;
    // Sets the flag on this node and on the whole subtree, node before its children.
    void changeEditting(bool flag);
    // First child with that title (case-sensitive, canonically equivalent forms equal).
    MySelectorItem* childTitle(const QString& title) const;

    // The values of a data column's represent: present and finite (a cell reading "1e999"
    // begins with a number but holds no value).
    static qsizetype validValueCount(const QVector<std::optional<double>>& data2);

    // Whether two titles are the same text once both are in Unicode normal form C.
    static bool sameTitle(const QString& a, const QString& b);
};
