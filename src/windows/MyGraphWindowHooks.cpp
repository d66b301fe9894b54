#include "windows/MyGraphWindowHooks.h"
#include "document/Document.h"
#include "outline/MyConfigItem.h"
#include "views/GraphWindowHooks.h"
#include "windows/MyOutlineModel.h"
#include "windows/MyWindowController.h"
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QTreeView>

namespace {

MyOutlineModel* modelOf(QTreeView* outline)
{
    return outline ? qobject_cast<MyOutlineModel*>(outline->model()) : nullptr;
}

// The outline lets go of its rows while the tree changes and reads them again after.
void inChange(QTreeView* outline, const std::function<void()>& change)
{
    MyOutlineModel::Change bracket(modelOf(outline));
    change();
}

} // namespace

void MyGraphWindowHooks::install()
{
    GraphWindowHooks& hooks = GraphWindowHooks::shared();
    hooks.changeSettingsTree = [](MyWindowController* graphCont, const std::function<void()>& change) {
        inChange(graphCont ? graphCont->configOlv : nullptr, change);
    };
    hooks.changeSelectorTree = [](MyWindowController* mainCont, const std::function<void()>& change) {
        inChange(mainCont ? mainCont->docOlV : nullptr, change);
    };
    hooks.revealRow = [](MyWindowController* graphCont, const QList<MyConfigItem*>& chain) {
        QTreeView* outline = graphCont ? graphCont->configOlv : nullptr;
        MyOutlineModel* model = modelOf(outline);
        if (!model || chain.isEmpty())
            return;
        for (MyConfigItem* row : chain)
            outline->expand(model->indexOf(row));
        // Selected alone; the outline is not scrolled to it.
        outline->selectionModel()->select(model->indexOf(chain.last()),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    hooks.setDocumentEdited = [](MyWindowController* cont, bool edited) {
        if (cont && cont->isWindowLoaded())
            cont->window()->setWindowModified(edited);
    };
    hooks.graphSettingsChanged = [](Document& doc, qint64 graphID) {
        if (MyWindowController* stats = doc.statsWindowConts.value(graphID, nullptr))
            stats->graphSettingsChanged();
    };
    hooks.synchronizeWindowTitles = [](Document& doc) {
        QList<MyWindowController*> all{doc.baseWindowCont, doc.tableWindowCont};
        all += QList<MyWindowController*>(doc.graphWindowConts.begin(), doc.graphWindowConts.end());
        all += QList<MyWindowController*>(doc.statsWindowConts.begin(), doc.statsWindowConts.end());
        for (MyWindowController* cont : all)
            if (cont)
                cont->synchronizeWindowTitleWithDocumentName();
    };
}
