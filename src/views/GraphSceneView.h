#pragma once
// The graph window's view of its scene: the graph from the top left, antialiased, on the
// light gray of a clip view, so the page stands out from the area around it. The gray goes
// only where the page (the background view) does not cover every pixel with an opaque
// colour: painting it under the page first would cost as much again as the page.
#include <QGraphicsView>
#include <QPointer>

class MyViewManager;

class GraphSceneView : public QGraphicsView {
public:
    explicit GraphSceneView(QWidget* parent = nullptr);
    // The colour around and under the page: the platform's light gray.
    static QColor clipColor() { return QColor(170, 170, 170); }
    // The graph shown: its view manager's scene, and the page that covers the gray.
    void setViewManager(MyViewManager* viewManager);

    // Scrolls so that the plot (the graph rectangle, where the dots and boxes are) is in
    // view, as a window opens: the page's top left where that shows it, else the plot as
    // near the middle as the page lets it; a plot wider than the view starts at the left.
    void showPlot();
    // The plot's height in the view's pixels; 0 without a plot.
    int plotHeight() const;

    // The viewport pixels the page paints opaquely; empty where it is not opaque or not
    // shown straight (turned, hidden, half transparent).
    QRect opaquePage() const;

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
    // The graph rectangle in viewport pixels; empty without one.
    QRect plotRect() const;
    QPointer<MyViewManager> m_viewManager;
};
