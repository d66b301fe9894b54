#include "windows/MyDocumentPrinting.h"
#include "document/Document.h"
#include "outline/MyConfigRootItem.h"
#include "platform/Dialogs.h"
#include "platform/NumberText.h"
#include "views/GraphWindowHooks.h"
#include "views/MyOutputView.h"
#include "views/MyView.h"
#include "views/MyViewManager.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QMainWindow>
#include <QPainter>
#include <QPointer>
#include <QPrinter>

namespace {

bool isGraphWindow(const MyWindowController* c)
{
    return c && c->windowType() == QLatin1String("GraphWindowD");
}

// The graph window of doc that is the key window; nullptr when another window is key.
MyWindowController* keyGraphWindow(Document& doc)
{
    QWidget* key = QApplication::activeWindow();
    if (!key)
        return nullptr;
    for (MyWindowController* c : doc.graphWindowConts)
        if (isGraphWindow(c) && c->isWindowLoaded() && c->window() == key)
            return doc.graphWindowConts.value(c->graphID) == c ? c : nullptr;
    return nullptr;
}

// The window controller of graph printID; nullptr once that graph has gone (printID is -1
// then) or its windows are being taken down.
MyWindowController* printWindow(Document& doc)
{
    MyWindowController* c = doc.graphWindowConts.value(doc.printID, nullptr);
    const bool known = doc.printID < doc.graphSettings.size() && isGraphWindow(c) && c->graphID == doc.printID;
    return known && c->viewManager ? c : nullptr;
}

void makeKey(MyWindowController* c)
{
    if (!c || !c->isWindowLoaded() || !c->window()->isVisible())
        return;
    c->window()->raise();
    c->window()->activateWindow();
}

} // namespace

void MyDocumentPrinting::runPageLayout(Document& doc)
{
    MyWindowController* c = keyGraphWindow(doc);
    if (!c)
        return;
    doc.printID = c->graphID;
    // The panel is modal, but the document or the graph may still go while it is open.
    const QPointer<Document> alive(&doc);
    const QPointer<MyWindowController> cont(c);
    std::optional<QPageLayout> chosen = Dialogs::current().runPageLayout(doc.printInfo);
    if (!alive)
        return;
    if (chosen && shouldChangePrintInfo(doc, *chosen))
        doc.printInfo = *chosen;
    makeKey(cont);
}

bool MyDocumentPrinting::shouldChangePrintInfo(Document& doc, QPageLayout& newPrintInfo)
{
    MyWindowController* c = printWindow(doc);
    if (!c)
        return false;
    makeKey(c);
    if (PrintInfo::same(newPrintInfo, doc.printInfo))
        return false;
    const QVariant follow = doc.graphSettings.at(doc.printID)
                                .value(QStringLiteral("graphProperties")).toMap()
                                .value(QStringLiteral("background")).toMap()
                                .value(QStringLiteral("followPageLayout"));
    if (follow.typeId() != QMetaType::Bool || !follow.toBool())
        return true;

    newPrintInfo = PrintInfo::withMarginsAtImageable(newPrintInfo);
    auto* root = dynamic_cast<MyConfigRootItem*>(c->rootItem);
    MyConfigItem* background = root ? root->outlineItemWithKeys({"graphProperties", "background"}) : nullptr;
    MyConfigItem* width = background ? background->childTitle(QStringLiteral("viewWidth")) : nullptr;
    MyConfigItem* height = background ? background->childTitle(QStringLiteral("viewHeight")) : nullptr;
    if (!width || !height)
        return true;
    const Rect page = PrintInfo::imageablePageBounds(newPrintInfo);
    GraphWindowHooks::inSettingsTreeChange(c, [&] {
        width->message = NumberText::realString(page.width());
        height->message = NumberText::realString(page.height());
    });
    doc.addToHistoryNewSettings(root->object().toMap(), doc.printID);
    c->viewManager->setGraphChange(1, height, QStringLiteral("Change PaperSize"));
    return true;
}

void MyDocumentPrinting::printDocument(Document& doc)
{
    MyWindowController* c = keyGraphWindow(doc);
    if (!c || !c->viewManager)
        return;
    doc.printID = c->graphID;
    const QPointer<Document> alive(&doc);
    const QPointer<MyWindowController> cont(c);
    const QPointer<MyViewManager> viewManager(c->viewManager);
    // No selection marks on paper.
    const QStringList selected = viewManager->selectedViews;
    viewManager->selectView({});

    QPrinter printer;
    printer.setPageLayout(doc.printInfo);
    printer.setDocName(c->window()->windowTitle().remove(QStringLiteral("[*]")));
    if (Dialogs::current().runPrintPanel(printer) && alive)
        printOperationWithSettings(*alive, printer);

    makeKey(cont);
    if (viewManager)
        viewManager->selectView(selected);
}

bool MyDocumentPrinting::printOperationWithSettings(Document& doc, QPrinter& printer)
{
    MyWindowController* c = printWindow(doc);
    GraphItem* view = c ? c->viewManager->viewDict.value(MyViewManager::kBackground) : nullptr;
    if (!view)
        return false;
    makeKey(c);
    // One point to a device pixel, as the graph's PDF is drawn: the page shows what export
    // writes.
    printer.setResolution(72);
    printer.setFullPage(false);
    QPainter painter;
    if (!painter.begin(&printer)) {
        doc.ourAlert->setMessageText(QStringLiteral("The graph could not be printed."));
        doc.ourAlert->setInformativeText(printer.outputFileName().isEmpty()
                                             ? QString()
                                             : QStringLiteral("\"%1\" could not be written.").arg(printer.outputFileName()));
        doc.ourAlert->runModal();
        doc.ourAlert->setInformativeText(QString());
        return false;
    }
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    // The whole graph, the page around it included, at its own size in the middle of the
    // printable area; a graph larger than that (the page, or a graph wider than its page) is
    // scaled down to fit one page rather than cut.
    const QSizeF area = printer.pageLayout().paintRect(QPageLayout::Point).size();
    auto* output = dynamic_cast<MyOutputView*>(view);
    const Rect b = output ? output->pageRect() : view->bounds();
    double scale = 1.0;
    if (b.width() > area.width() || b.height() > area.height())
        scale = std::min(area.width() / b.width(), area.height() / b.height());
    const QPointF at((area.width() - b.width() * scale) / 2, (area.height() - b.height() * scale) / 2);
    painter.setTransform(GraphItem::pageTransform(b, scale) * QTransform::fromTranslate(at.x(), at.y()));
    if (output)
        output->drawPage(&painter, b);
    else
        GraphItem::renderTree(&painter, view);
    return painter.end();
}
