#include "views/SettingsRowPath.h"
#include "outline/MyConfigRootItem.h"
#include <QStringList>

SettingsRowPath SettingsRowPath::of(const MyConfigItem* row)
{
    SettingsRowPath path;
    if (!row)
        return path;
    path.m_itemID = row->itemID;
    for (const MyOutlineItem* r = row; r->parentItem(); r = r->parentItem())
        path.m_positions.prepend(r->index());
    return path;
}

MyConfigItem* SettingsRowPath::find(MyConfigRootItem* root) const
{
    if (!root)
        return nullptr;
    const QStringList keys = m_itemID.split(QLatin1Char('\t'));
    MyConfigItem* row = root;
    for (qsizetype depth = 0; depth < m_positions.size(); ++depth) {
        MyConfigItem* child = row->configChildAt(m_positions[depth]);
        // A row that moved or went: stop at the last one that is where it was.
        if (!child || child->itemID != QStringList(keys.mid(0, depth + 1)).join(QLatin1Char('\t')))
            break;
        row = child;
    }
    return row;
}

bool SettingsRowPath::isRowOf(const MyConfigRootItem* root, const MyConfigItem* row)
{
    if (!root || !row)
        return false;
    if (row == root)
        return true;
    QList<const MyOutlineItem*> pending{root};
    while (!pending.isEmpty()) {
        const MyOutlineItem* node = pending.takeLast();
        for (const MyOutlineItem* child : node->children()) {
            if (child == row)
                return true;
            if (child->hasChildren())
                pending.append(child);
        }
    }
    return false;
}
