// The settings outline of a graph window: copy and paste of settings rows.
#include "outline/MyConfigRootItem.h"
#include "windows/MyOutlineModel.h"
#include "windows/MyWindowController.h"
#include <QItemSelectionModel>
#include <QTreeView>

MyConfigItem* MyWindowController::selectedSettingsRow() const
{
    if (!configOlv || !configOlv->selectionModel())
        return nullptr;
    auto* model = qobject_cast<MyOutlineModel*>(configOlv->model());
    const QModelIndexList rows = configOlv->selectionModel()->selectedRows();
    return model && !rows.isEmpty() ? dynamic_cast<MyConfigItem*>(model->itemAt(rows.first())) : nullptr;
}

void MyWindowController::copySettings()
{
    auto* root = dynamic_cast<MyConfigRootItem*>(rootItem);
    if (!root)
        return;
    // With no row selected the whole graph settings go, as the root's record.
    MyConfigItem* row = selectedSettingsRow();
    root->copyOutlineItem(row ? row : root);
}
