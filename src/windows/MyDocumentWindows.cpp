#include "windows/MyDocumentWindows.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "table/MyTableView.h"
#include "windows/MyWindowController.h"
#include <QMainWindow>

void MyDocumentWindows::install()
{
    DocumentHooks& hooks = DocumentHooks::shared();
    hooks.makeWindowControllers = &MyDocumentWindows::makeWindowControllers;
    hooks.showWindows = &MyDocumentWindows::showWindows;
    hooks.closeWindows = &MyDocumentWindows::closeWindows;
}

void MyDocumentWindows::makeWindowControllers(Document& doc)
{
    if (doc.baseWindowCont)
        return;
    auto* base = new MyWindowController(QStringLiteral("Document"), &doc);
    base->myDoc = &doc;
    doc.baseWindowCont = base;
    // The counters now count the analyses just set up: they are the one snapshot to undo to.
    doc.historyOfColumnCounter = {doc.columnCounter};

    auto* table = new MyWindowController(QStringLiteral("TableWindow"), &doc);
    table->myDoc = &doc;
    table->baseWinCont = base;
    doc.tableWindowCont = table;
    base->setInDocument(true);

    QObject::connect(&doc, &Document::undoWasReset, table, [table] {
        table->editable = false;
        if (table->isWindowLoaded() && table->mTV) {
            table->mTV->fixTableColumns();
            table->mTV->reloadData();
        }
    });
    QObject::connect(&doc, &Document::saved, base, [&doc] {
        for (MyWindowController* c : {doc.baseWindowCont, doc.tableWindowCont})
            if (c)
                c->synchronizeWindowTitleWithDocumentName();
        for (MyWindowController* c : doc.graphWindowConts + doc.statsWindowConts)
            if (c)
                c->synchronizeWindowTitleWithDocumentName();
    });
}

void MyDocumentWindows::showWindows(Document& doc)
{
    if (!doc.baseWindowCont)
        makeWindowControllers(doc);
    QMainWindow* window = doc.baseWindowCont->window();
    window->show();
    window->raise();
    window->activateWindow();
}

void MyDocumentWindows::closeWindows(Document& doc)
{
    QVector<MyWindowController*> controllers{doc.baseWindowCont, doc.tableWindowCont};
    controllers += doc.graphWindowConts;
    controllers += doc.statsWindowConts;
    for (MyWindowController* c : controllers)
        if (c) {
            c->closeForGood();
            c->deleteLater();
        }
    doc.baseWindowCont = nullptr;
    doc.tableWindowCont = nullptr;
    doc.graphWindowConts.clear();
    doc.statsWindowConts.clear();
}

void MyDocumentWindows::showTableWindowAtState(Document& doc, bool state)
{
    MyWindowController* table = doc.tableWindowCont;
    if (!table)
        return;
    // Set before the window first loads, so its grid is built in the right state.
    table->editable = state;
    QMainWindow* window = table->window();
    if (!table->isInDocument()) {
        table->setInDocument(true);
        if (doc.baseWindowCont && doc.baseWindowCont->window())
            MyWindowController::placeWindow(window, {20.0, MyWindowController::frameOf(doc.baseWindowCont->window()).origin.y},
                                            window->size());
    }
    window->show();
    window->raise();
    window->activateWindow();
    if (table->mTV) {
        table->mTV->fixTableColumns();
        table->mTV->reloadData();
    }
}
