// The graph as a PDF for the document package.
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "views/MyOutputView.h"
#include "views/MyViewManager.h"
#include "windows/MyWindowController.h"

QByteArray MyViewManager::graphPDF()
{
    // A laid-out graph has at least the background and "graphView".
    if (viewDict.size() < 2)
        return QByteArray();
    auto* background = dynamic_cast<MyOutputView*>(viewDict.value(kBackground));
    if (!background)
        return QByteArray();
    return background->pdfWithoutSelection();
}

void MyViewManager::registerHooks()
{
    DocumentHooks::shared().graphPDF = [](const Document& doc, int graphID) -> QByteArray {
        if (graphID < 0 || graphID >= doc.graphWindowConts.size())
            return QByteArray();
        const MyWindowController* controller = doc.graphWindowConts.at(graphID);
        return controller && controller->viewManager ? controller->viewManager->graphPDF() : QByteArray();
    };
}
