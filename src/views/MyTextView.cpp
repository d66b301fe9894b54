#include "views/MyTextView.h"
#include "views/MyViewManager.h"
#include <QGraphicsSceneMouseEvent>

MyTextView::MyTextView(const Rect& frame, TextStorage* textStorage, const QString& name,
                       const QString& superviewName, MyViewManager* viewManager)
    : MySimpleTextView(frame, textStorage, name, superviewName, viewManager, NoSetUp{})
{
    // The platform's defaults: no inset, selectable and editable.
}

void MyTextView::drawRect(QPainter* painter, const Rect& dirtyRect)
{
    if (viewManager && viewManager->isEditing(this))
        return;
    MySimpleTextView::drawRect(painter, dirtyRect);
}

void MyTextView::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (!viewManager) {
        event->ignore();
        return;
    }
    event->accept();
    viewManager->editTextView(this, Point{event->pos().x(), event->pos().y()});
}
