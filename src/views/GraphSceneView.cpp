#include "views/GraphSceneView.h"
#include "views/MyView.h"
#include "views/MyViewManager.h"
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

GraphSceneView::GraphSceneView(QWidget* parent) : QGraphicsView(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A resized window keeps what it shows at its top left, as a scroll view does.
    setResizeAnchor(QGraphicsView::NoAnchor);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    setBackgroundBrush(clipColor());
    // drawBackground and the page together paint every pixel: nothing is filled for the
    // viewport beforehand.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphSceneView::setViewManager(MyViewManager* viewManager)
{
    m_viewManager = viewManager;
    setScene(viewManager ? viewManager->scene() : nullptr);
}

QRect GraphSceneView::plotRect() const
{
    const MyView* rect = m_viewManager ? m_viewManager->viewDict.value(MyViewManager::kGraphRect) : nullptr;
    if (!rect || rect->scene() != scene())
        return {};
    return mapFromScene(rect->sceneBoundingRect()).boundingRect();
}

int GraphSceneView::plotHeight() const
{
    return plotRect().height();
}

void GraphSceneView::showPlot()
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
    const QRect plot = plotRect();
    if (plot.isEmpty())
        return;
    const QRect port = viewport()->rect();
    // The page's top, with the graph's title, when the plot shows below it; else the texts
    // around the plot share what the view leaves.
    if (plot.top() < port.top() || plot.bottom() > port.bottom())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + plot.center().y() - port.center().y());
    // The y axis and its texts stay in view while the plot fits beside them.
    if (plot.right() > port.right() && plot.width() <= port.width())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value()
                                        + std::min(plot.center().x() - port.center().x(), plot.left() - port.left()));
}

namespace {
// The rectangle a path is, when it is one.
bool isRect(const QPainterPath& path, QRectF* rect)
{
    if (path.elementCount() != 5)
        return false;
    QPainterPath r;
    r.addRect(path.boundingRect());
    r.setFillRule(path.fillRule());
    *rect = path.boundingRect();
    return r == path;
}
}

QRect GraphSceneView::opaquePage() const
{
    if (!m_viewManager)
        return {};
    const MyView* page = m_viewManager->viewDict.value(MyViewManager::kBackground);
    const PathPair* paths = m_viewManager->viewBeziers.find(MyViewManager::kBackground);
    if (!page || page->scene() != scene() || !page->isVisible() || page->effectiveOpacity() < 1 || !paths
        || m_viewManager->viewColors.value(MyViewManager::kBackground).fillColor.alpha() != 255)
        return {};
    const QTransform toViewport = page->sceneTransform() * viewportTransform();
    if (toViewport.type() > QTransform::TxScale)
        return {};
    QRect best;
    for (const BezierPath& path : paths->closed) {
        QRectF r;
        if (!isRect(path.painterPath(), &r))
            continue;
        // Only pixels wholly inside the fill are sure to be covered.
        const QRectF d = toViewport.mapRect(r);
        const QRect whole(QPoint(int(std::ceil(d.left())), int(std::ceil(d.top()))),
                          QPoint(int(std::floor(d.right())) - 1, int(std::floor(d.bottom())) - 1));
        if (whole.isValid() && qint64(whole.width()) * whole.height() > qint64(best.width()) * best.height())
            best = whole;
    }
    return best;
}

void GraphSceneView::drawBackground(QPainter* painter, const QRectF& rect)
{
    QRegion fill(viewportTransform().mapRect(rect).toAlignedRect());
    fill -= opaquePage();
    painter->save();
    painter->resetTransform();
    for (const QRect& r : fill)
        painter->fillRect(r, backgroundBrush());
    painter->restore();
}
