#include "views/MySimpleTextView.h"
#include "views/MyViewManager.h"
#include <QAbstractTextDocumentLayout>
#include <QPainter>

MySimpleTextView::MySimpleTextView(const Rect& frame, TextStorage* textStorage, const QString& name,
                                   const QString& superviewName, MyViewManager* viewManager, NoSetUp)
    : GraphItem(frame), name(name), superviewName(superviewName), viewManager(viewManager), m_storage(textStorage),
      m_container(std::make_unique<TextContainer>(textStorage, this, frame.size))
{
    if (viewManager)
        viewManager->adoptView(this);
}

MySimpleTextView::MySimpleTextView(const Rect& frame, TextStorage* textStorage, const QString& name,
                                   const QString& superviewName, MyViewManager* viewManager)
    : MySimpleTextView(frame, textStorage, name, superviewName, viewManager, NoSetUp{})
{
    m_inset = Size();
    m_selectable = false;
    m_editable = false;
}

MySimpleTextView::~MySimpleTextView() = default;

void MySimpleTextView::drawRect(QPainter* painter, const Rect&)
{
    if (!m_storage)
        return;
    // The text runs from the top-left corner of the bounds downwards: flip back to y down
    // there. Drawn once; the background stays transparent.
    const Rect b = bounds();
    painter->save();
    painter->translate(b.origin.x + m_inset.width, b.maxY() - m_inset.height);
    painter->scale(1, -1);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    m_storage->documentLayout()->draw(painter, context);
    painter->restore();
}
