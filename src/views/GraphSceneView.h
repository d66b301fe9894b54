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

    // The viewport pixels the page paints opaquely; empty where it is not opaque or not
    // shown straight (turned, hidden, half transparent).
    QRect opaquePage() const;

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
    QPointer<MyViewManager> m_viewManager;
};
