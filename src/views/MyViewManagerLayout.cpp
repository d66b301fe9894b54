// The layout driver: runs the steps a settings row selects and places "graphView".
#include "document/Document.h"
#include "outline/MyConfigRootItem.h"
#include "views/GraphLayoutSteps.h"
#include "views/MyOutputView.h"
#include "views/MyViewManager.h"
#include "windows/MyWindowController.h"

namespace {
// The room around everything drawn, on every side.
constexpr double kMargin = 3.0;
}

void MyViewManager::setGraphWithOutlineItem(MyConfigItem* row)
{
    if (!row || row->setIndex == 0)
        return;
    // Without its window's settings tree or its settings the graph cannot be laid out;
    // it stays as it is.
    auto* root = myWindowCont ? dynamic_cast<MyConfigRootItem*>(myWindowCont->rootItem) : nullptr;
    const qint64 graphID = myWindowCont ? myWindowCont->graphID : -1;
    if (!root || !myDoc || graphID < 0 || graphID >= myDoc->graphSettings.size())
        return;
    runLayout(row->setIndex, row->itemID.split(QLatin1Char('\t')), row->indexes, myDoc->graphSettings.at(graphID),
              root);
}

void MyViewManager::runLayout(qint64 setIndex, const QStringList& keys, const QVector<qint64>& indexes,
                              const QVariantMap& settings, MyConfigRootItem* rootItem)
{
    GraphLayoutSteps* g = ourGraphGenerator;
    if (setIndex == 0 || !g)
        return;
    // A step runs when its bit and the mask share a bit and the sign bit of the AND is clear.
    auto runs = [&](const char* key) { return (g->flagOf(QLatin1String(key)) & setIndex) > 0; };

    if (runs("background"))
        g->backgroundWithSettings(settings, this);
    if (runs("horizontalGaps"))
        g->horizontalGapsWithSettings(settings, this);
    if (runs("graphRect"))
        g->graphRectWithSettings(settings, this);
    if (runs("xAxis"))
        g->xAxisWithSettings(settings, this);
    // Every extent counts with the value its step left, whether the step ran now or not.
    Rect extent = rXRect.united(rGraphRect);
    if (runs("xTexts"))
        g->xTextsWithSetIndex(setIndex, settings, rootItem, this, indexes);
    if (runs("nameTags"))
        g->nameTagsWithSetttings(settings, this);
    if (runs("xTextsRect"))
        g->xTextsRectWithSetttings(settings, this);
    if (xTextRect != Rect())
        extent = xTextRect.united(extent);
    if (runs("yAxis"))
        g->yAxisWithSettings(settings, this);
    extent = rYRect.united(extent);
    if (runs("scaleTexts"))
        g->scaleTextsWithSettings(settings, rootItem, this, keys, indexes);
    if (runs("scaleTextRects"))
        g->scaleTextRectsWithSettings(settings, rootItem, this);
    for (const Rect& r : scaleTextRects)
        extent = r.united(extent);
    if (runs("yTitleText"))
        g->yTitleTextWithSettings(settings, rootItem, this);
    if (runs("yTitleTextRect"))
        g->yTitleTextRectWithSettings(settings, this);
    // A shown title adds the room it needs, not the rectangle it has.
    if (yTextRect != Rect())
        extent = yTextRequiredRect.united(extent);

    if (graphType == QLatin1String("scatter"))
        g->setScatterWithSetIndex(setIndex, keys, indexes, settings, rootItem, this);
    else
        g->setBoxWithSetIndex(setIndex, keys, indexes, settings, rootItem, this);

    const double w = extent.width() + 2 * kMargin;
    const double h = extent.height() + 2 * kMargin;
    const Point origin{extent.origin.x - kMargin, extent.origin.y - kMargin};
    // Centred in the background where it fits, else kMargin from its origin.
    const MyView* background = viewDict.value(kBackground);
    const Rect b = background ? background->frame() : Rect();
    const double x = w < b.width() ? (b.width() - w) * 0.5 : kMargin;
    const double y = h < b.height() ? (b.height() - h) * 0.5 : kMargin;
    if (MyView* graphView = viewDict.value(kGraphView)) {
        graphView->setFrame(Rect(x, y, w, h));
        graphView->setBoundsOrigin(origin);
    } else {
        viewDict.insert(kGraphView, new MyOutputView(Rect(x, y, w, h), origin, kGraphView, kBackground, this));
    }
    setViews();
    if (MyView* bg = viewDict.value(kBackground))
        bg->setNeedsDisplay(true);
    emit laidOut();
}

void MyViewManager::noteAlert(const QString& message)
{
    if (message.isEmpty() || message == m_pendingAlert)
        return;
    m_pendingAlert = message;
    emit alertNoted();
}

QString MyViewManager::takePendingAlert()
{
    return std::exchange(m_pendingAlert, QString());
}
