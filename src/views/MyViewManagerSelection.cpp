// Element selection by clicks on the graph, revealing settings rows, and the focus view.
#include "outline/MyConfigRootItem.h"
#include "views/GraphWindowHooks.h"
#include "views/MyView.h"
#include "views/MyViewManager.h"
#include "views/SettingsRowPath.h"

namespace {

// Whether a double click selects the element itself besides the graph container.
bool selectsElement(const QStringList& names)
{
    for (const QString& fixed : {MyViewManager::kGraphRect, MyViewManager::kXAxis, MyViewManager::kYAxis,
                                 MyViewManager::kBars})
        if (names.contains(fixed))
            return true;
    if (names.isEmpty())
        return false;
    for (const char* prefix : {"dot\t", "box\t", "median\t", "minMax\t", "whisker\t"})
        if (names.first().startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

} // namespace

void MyViewManager::clickedView(const QStringList& names, int clickCount)
{
    GraphItem* focus = nullptr;
    if (names.contains(kBackground)) {
        if (names.size() > 1)
            return;
        selectView({});
        focus = viewDict.value(kBackground);
    } else {
        QStringList selection{kGraphView};
        if (clickCount > 1 && selectsElement(names))
            selection += names;
        selectView(selection);
        focus = viewDict.value(kGraphView);
    }
    if (clickCount >= 2 && !names.isEmpty())
        revealRow(itemsDict.value(names.first()));
    makeFirstResponder(focus);
}

void MyViewManager::revealRow(MyConfigItem* row)
{
    MyConfigRootItem* root = settingsRoot();
    const auto& reveal = GraphWindowHooks::shared().revealRow;
    // A row the tree has dropped since it was recorded is not followed.
    if (!reveal || !SettingsRowPath::isRowOf(root, row) || row == root)
        return;
    const QList<MyConfigItem*> chain = root->outlineItemsWithItem(row);
    if (!chain.isEmpty())
        reveal(myWindowCont, chain);
}

void MyViewManager::makeFirstResponder(GraphItem* view)
{
    if (!view || view->scene() != &m_scene)
        return;
    view->setFlag(QGraphicsItem::ItemIsFocusable);
    view->setFocus(Qt::MouseFocusReason);
}
