#include "views/MySimpleTextView.h"
#include "views/MyViewManager.h"
#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

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
    // Made once: a palette of its own costs more than many a short text's drawing.
    static const QAbstractTextDocumentLayout::PaintContext context = [] {
        QAbstractTextDocumentLayout::PaintContext c;
        c.palette.setColor(QPalette::Text, Qt::black);
        return c;
    }();
    // Qt drops a text's shaping after each layout and shapes it again at every paint unless
    // told to keep it; a relayout (a changed text, format or width) still shapes afresh.
    for (QTextBlock block = m_storage->begin(); block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
    m_storage->documentLayout()->draw(painter, context);
    painter->restore();
}
