#pragma once
// Node of every outline tree (selector tree of analyses, settings tree of a graph).
// A node owns its children; the parent link is a plain back pointer.
#include <QList>
#include <QString>
#include <memory>
#include <vector>

class MyOutlineItem {
public:
    MyOutlineItem(const QString& title, MyOutlineItem* parentItem);
    MyOutlineItem(const QString& title, const QString& message, const QString& type, MyOutlineItem* parentItem);
    virtual ~MyOutlineItem();
    MyOutlineItem(const MyOutlineItem&) = delete;
    MyOutlineItem& operator=(const MyOutlineItem&) = delete;

    QString title;
    QString message;
    QString type;

    MyOutlineItem* parentItem() const { return m_parent; }
    bool hasChildren() const { return !m_children.empty(); }
    int childCount() const { return int(m_children.size()); }
    // nullptr when out of range.
    MyOutlineItem* childAt(int position) const;
    QList<MyOutlineItem*> children() const;
    // The children that are of class T, in order.
    template <class T>
    QList<T*> childrenOf() const
    {
        QList<T*> list;
        list.reserve(childCount());
        for (const auto& c : m_children) {
            if (auto* t = dynamic_cast<T*>(c.get()))
                list.append(t);
        }
        return list;
    }
    // Position among the parent's children by identity; -1 without a parent or when the
    // parent does not hold this node (made but not appended yet).
    int index() const;
    int indexOfChild(const MyOutlineItem* child) const;

    // The tree takes ownership; the child's parent link becomes this node.
    MyOutlineItem* appendChild(std::unique_ptr<MyOutlineItem> child);
    MyOutlineItem* insertChild(int position, std::unique_ptr<MyOutlineItem> child);
    template <class T>
    T* append(std::unique_ptr<T> child) { return static_cast<T*>(appendChild(std::move(child))); }
    // Gives the child back to the caller (nullptr when out of range); its parent link is cleared.
    std::unique_ptr<MyOutlineItem> takeChild(int position);
    void removeChild(int position);
    void clearChildren();
    // Puts the children into the given order; children left out are destroyed with their
    // subtrees, the others keep their identity. Refused (false, nothing changed) when the
    // list names a node that is not a child, or one node twice.
    bool arrangeChildren(const QList<MyOutlineItem*>& order);

protected:
    std::vector<std::unique_ptr<MyOutlineItem>> m_children;

private:
    MyOutlineItem* m_parent;
};
