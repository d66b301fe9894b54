#include "outline/MySelectorItem.h"
#include <algorithm>
#include <cmath>

MySelectorItem::MySelectorItem(const QString& title, MySelectorItem* parentItem)
    : MyOutlineItem(title, parentItem)
{
}

MySelectorItem::MySelectorItem(const QString& title, const QString& message, const QString& type,
                               std::vector<std::unique_ptr<MySelectorItem>> children,
                               QVector<qint64> data1, QVector<std::optional<double>> data2,
                               MySelectorItem* parentItem)
    : MyOutlineItem(title, message, type, parentItem), data1(std::move(data1)), data2(std::move(data2))
{
    setSelectorChildren(std::move(children));
}

QList<MySelectorItem*> MySelectorItem::selectorChildren() const
{
    return childrenOf<MySelectorItem>();
}

void MySelectorItem::setSelectorChildren(std::vector<std::unique_ptr<MySelectorItem>> children)
{
    clearChildren();
    for (auto& c : children)
        appendChild(std::move(c));
}

MySelectorItem* MySelectorItem::selectorChildAt(int position) const
{
    return dynamic_cast<MySelectorItem*>(childAt(position));
}

MySelectorItem* MySelectorItem::selectorParent() const
{
    return dynamic_cast<MySelectorItem*>(parentItem());
}

void MySelectorItem::changeEditting(bool flag)
{
    editting = flag;
    for (MySelectorItem* c : selectorChildren())
        c->changeEditting(flag);
}

MySelectorItem* MySelectorItem::childTitle(const QString& title) const
{
    for (MySelectorItem* c : selectorChildren()) {
        if (sameTitle(c->title, title))
            return c;
    }
    return nullptr;
}

bool MySelectorItem::sameTitle(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    return a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

qsizetype MySelectorItem::validValueCount(const QVector<std::optional<double>>& data2)
{
    return std::count_if(data2.cbegin(), data2.cend(), [](const std::optional<double>& v) { return v && std::isfinite(*v); });
}
