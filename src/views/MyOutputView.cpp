#include "views/MyOutputView.h"
#include "app/AppDelegate.h"
#include "platform/Dialogs.h"
#include "views/MyViewManager.h"
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMimeData>
#include <QSaveFile>

namespace {
// Draws view's PDF on its page with the graph's selection hidden, and gives the selection
// back.
QByteArray pdfOf(MyViewManager* vm, GraphItem* view)
{
    auto* output = dynamic_cast<MyOutputView*>(view);
    const Rect page = output ? output->pageRect() : view->bounds();
    if (!vm)
        return GraphItem::pdfData(view, page);
    const QStringList saved = vm->selectedViews;
    vm->selectView({});
    QByteArray data = GraphItem::pdfData(view, page);
    vm->selectView(saved);
    return data;
}

// How far past the page a view may reach and still count as inside it: a graph centred on
// the page may end a rounding error beyond it.
constexpr double kFitSlack = 0.01;

void showFailure(MyViewManager* vm, const QString& message, const QString& informative)
{
    if (vm && vm->ourDelegate) {
        Alert& alert = vm->ourDelegate->alert;
        alert.setMessageText(message);
        alert.setInformativeText(informative);
        alert.runModal();
    } else {
        Dialogs::current().alert(message, informative);
    }
}
}

MyOutputView::MyOutputView(const Rect& frame, const Point& origin, const QString& name,
                           const QString& superviewName, MyViewManager* viewManager)
    : MyView(frame, origin, name, superviewName, viewManager)
{
}

MyOutputView::MyOutputView(const Rect& frame) : MyView(frame) {}

QByteArray MyOutputView::pdfWithoutSelection() { return pdfOf(viewManager, this); }

Rect MyOutputView::pageRect() const
{
    const Rect own = bounds();
    Rect page = own;
    for (GraphItem* sub : subviews()) {
        const auto* inner = dynamic_cast<const MyOutputView*>(sub);
        if (!inner || !inner->isVisible() || !inner->isPlaced())
            continue;
        const Rect p = inner->pageRect();
        const QRectF r = inner->localToParent().mapRect(QRectF(p.origin.x, p.origin.y, p.width(), p.height()));
        const Rect covered(r.x(), r.y(), r.width(), r.height());
        // Cut off without a word otherwise, wherever the page is smaller than the graph.
        if (!own.insetBy(-kFitSlack, -kFitSlack).containsRect(covered))
            page = page.united(covered);
    }
    return page;
}

void MyOutputView::copy()
{
    // From the background the copy is of the graph inside it, not of the page around it.
    GraphItem* target = this;
    if (name == MyViewManager::kBackground) {
        const QList<GraphItem*> subviews = this->subviews();
        if (!subviews.isEmpty())
            target = subviews.first();
    }
    const QByteArray pdf = pdfOf(viewManager, target);
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("application/pdf"), pdf);
    QApplication::clipboard()->setMimeData(mime);
}

bool MyOutputView::exportPDF(const QString& suggestedPath)
{
    const QByteArray pdf = pdfWithoutSelection();
    if (pdf.isEmpty()) {
        showFailure(viewManager, QStringLiteral("The graph could not be exported: no PDF could be made of it."), QString());
        return false;
    }
    const QString path = Dialogs::current().savePanel(QStringLiteral("Export a PDF File"), QStringLiteral("Export As:"),
                                                      {QStringLiteral("pdf")}, suggestedPath);
    if (path.isEmpty())
        return false;
    // Written beside the old file and swapped in only when complete: a failure leaves the
    // old file as it was, and the user hears of it.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size() && file.commit();
    if (!written) {
        showFailure(viewManager,
                    QStringLiteral("The PDF file \"%1\" could not be written.").arg(QFileInfo(path).fileName()),
                    file.errorString());
        return false;
    }
    return true;
}
