#include "views/MyOutputView.h"
#include "app/AppDelegate.h"
#include "platform/Dialogs.h"
#include "views/MyViewManager.h"
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QSaveFile>
#include <cmath>
#include <functional>

namespace {
// Draws view's PDF on its page with the graph's selection hidden, and gives the selection
// back.
QByteArray pdfOf(MyViewManager* vm, GraphItem* view)
{
    const QStringList saved = vm ? vm->selectedViews : QStringList();
    if (vm)
        vm->selectView({});
    QByteArray data;
    if (auto* output = dynamic_cast<MyOutputView*>(view); output && output->isPlaced()) {
        const Rect page = output->pageRect();
        data = GraphItem::pdfPage(page, [&](QPainter* painter) { output->drawPage(painter, page); });
    } else {
        data = GraphItem::pdfData(view);
    }
    if (vm)
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
    const Rect near = own.insetBy(-kFitSlack, -kFitSlack);
    Rect page = own;
    const auto cover = [&](const Rect& r, const QTransform& toOwn) {
        if (r.isEmpty())
            return;
        const QRectF m = toOwn.mapRect(QRectF(r.origin.x, r.origin.y, r.width(), r.height()));
        const Rect covered(m.x(), m.y(), m.width(), m.height());
        if (!near.containsRect(covered))
            page = page.united(covered);
    };
    // Views draw past their bounds unclipped, as the window shows them: a dot spread far
    // from its column lies outside every container.
    const std::function<void(const QGraphicsItem*, const QTransform&)> visit = [&](const QGraphicsItem* item,
                                                                                    const QTransform& toOwn) {
        for (const QGraphicsItem* child : item->childItems()) {
            if (!child->isVisible())
                continue;
            const auto* view = dynamic_cast<const GraphItem*>(child);
            if (!view) {
                // An editor or other item on a view: drawn as Qt bounds it.
                const QRectF b = child->boundingRect();
                cover(Rect(b.x(), b.y(), b.width(), b.height()), child->itemTransform(item) * toOwn);
                continue;
            }
            if (!view->isPlaced())
                continue;
            const QTransform t = view->localToParent() * toOwn;
            cover(view->drawnRect(), t);
            // A graph inside the page stands for its whole bounds.
            if (dynamic_cast<const MyOutputView*>(view))
                cover(view->bounds(), t);
            visit(view, t);
        }
    };
    if (isPlaced())
        visit(this, QTransform());
    if (page == own)
        return own;
    // Whole points: the PDF page has them, and no sliver at its edge stays uncovered.
    const double left = std::floor(page.minX()), bottom = std::floor(page.minY());
    return Rect(left, bottom, std::ceil(page.maxX()) - left, std::ceil(page.maxY()) - bottom);
}

void MyOutputView::drawPage(QPainter* painter, const Rect& page)
{
    const QColor colour = viewManager ? viewManager->viewColors.value(name).fillColor : QColor(Qt::transparent);
    if (page == bounds() || colour.alpha() == 0) {
        GraphItem::renderTree(painter, this);
        return;
    }
    // One fill for the whole page: a strip beside the view's own fill leaves a hairline
    // between them once antialiased, and one reaching under it shows a see-through colour
    // painted twice, darker.
    painter->fillRect(QRectF(page.origin.x, page.origin.y, page.width(), page.height()), colour);
    m_onFilledPage = true;
    GraphItem::renderTree(painter, this);
    m_onFilledPage = false;
}

void MyOutputView::drawRect(QPainter* painter, const Rect& dirtyRect)
{
    if (!m_onFilledPage || !viewManager) {
        MyView::drawRect(painter, dirtyRect);
        return;
    }
    // The page under the view has its fill already; its line in that colour too would
    // darken a see-through page along the view's edge.
    const ColorPair colors = viewManager->viewColors.value(name);
    const QColor line = colors.lineColor == colors.fillColor ? QColor(Qt::transparent) : colors.lineColor;
    drawPaths(painter, Qt::transparent, line);
    if (selected)
        drawSelectionFrame(painter, bounds());
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
