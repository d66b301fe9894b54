#include "outline/MyOutlineItem.h"
#include <QHash>
#include <QSet>
#include <algorithm>

MyOutlineItem::MyOutlineItem(const QString& title, MyOutlineItem* parentItem)
    : title(title), m_parent(parentItem)
{
}

MyOutlineItem::MyOutlineItem(const QString& title, const QString& message, const QString& type, MyOutlineItem* parentItem)
    : title(title), message(message), type(type), m_parent(parentItem)
{
}

MyOutlineItem::~MyOutlineItem()
{
    // Node by node rather than recursively, so that no depth of tree can exhaust the stack.
    std::vector<std::unique_ptr<MyOutlineItem>> pending = std::move(m_children);
    while (!pending.empty()) {
        std::unique_ptr<MyOutlineItem> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->m_children)
            pending.push_back(std::move(child));
        node->m_children.clear();
    }
}

MyOutlineItem* MyOutlineItem::childAt(int position) const
{
    if (position < 0 || position >= childCount())
        return nullptr;
    return m_children[size_t(position)].get();
}

QList<MyOutlineItem*> MyOutlineItem::children() const
{
    QList<MyOutlineItem*> list;
    list.reserve(childCount());
    for (const auto& c : m_children)
        list.append(c.get());
    return list;
}

int MyOutlineItem::index() const
{
    return m_parent ? m_parent->indexOfChild(this) : -1;
}

int MyOutlineItem::indexOfChild(const MyOutlineItem* child) const
{
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].get() == child)
            return int(i);
    }
    return -1;
}

MyOutlineItem* MyOutlineItem::appendChild(std::unique_ptr<MyOutlineItem> child)
{
    return insertChild(childCount(), std::move(child));
}

MyOutlineItem* MyOutlineItem::insertChild(int position, std::unique_ptr<MyOutlineItem> child)
{
    if (!child)
        return nullptr;
    position = std::clamp(position, 0, childCount());
    child->m_parent = this;
    MyOutlineItem* raw = child.get();
    m_children.insert(m_children.begin() + position, std::move(child));
    return raw;
}

std::unique_ptr<MyOutlineItem> MyOutlineItem::takeChild(int position)
{
    if (position < 0 || position >= childCount())
        return nullptr;
    std::unique_ptr<MyOutlineItem> child = std::move(m_children[size_t(position)]);
    m_children.erase(m_children.begin() + position);
    child->m_parent = nullptr;
    return child;
}

void MyOutlineItem::removeChild(int position)
{
    takeChild(position);
}

void MyOutlineItem::clearChildren()
{
    m_children.clear();
}

bool MyOutlineItem::arrangeChildren(const QList<MyOutlineItem*>& order)
{
    // Positions looked up by hash: a column may hold 10^5 categories.
    QHash<const MyOutlineItem*, size_t> position;
    position.reserve(qsizetype(m_children.size()));
    for (size_t i = 0; i < m_children.size(); ++i)
        position.insert(m_children[i].get(), i);
    QSet<const MyOutlineItem*> seen;
    for (const MyOutlineItem* item : order) {
        if (!item || item->m_parent != this || !position.contains(item) || seen.contains(item))
            return false;
        seen.insert(item);
    }
    std::vector<std::unique_ptr<MyOutlineItem>> arranged;
    arranged.reserve(size_t(order.size()));
    for (MyOutlineItem* item : order)
        arranged.push_back(std::move(m_children[position.value(item)]));
    // What is left in m_children (the non-null entries) is dropped here.
    m_children = std::move(arranged);
    return true;
}
