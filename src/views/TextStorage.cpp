#include "views/TextStorage.h"
#include "platform/Font72.h"
#include "views/MySimpleTextView.h"
#include <QAbstractTextDocumentLayout>

TextContainer::TextContainer(TextStorage* storage, MySimpleTextView* view, const Size& size)
    : m_storage(storage), m_view(view), m_size(size)
{
    if (m_storage) {
        m_storage->m_containers << this;
        m_storage->setTextWidth(size.width);
    }
}

TextContainer::~TextContainer()
{
    if (m_storage)
        m_storage->m_containers.removeOne(this);
}

void TextContainer::setContainerSize(const Size& size)
{
    m_size = size;
    if (m_storage && m_storage->textWidth() != size.width)
        m_storage->setTextWidth(size.width);
}

TextStorage::TextStorage(QObject* parent) : QTextDocument(parent)
{
    setDocumentMargin(0);
    setUndoRedoEnabled(false);
    documentLayout()->setPaintDevice(Font72::device());
}

TextStorage::~TextStorage()
{
    for (TextContainer* container : m_containers)
        container->m_storage = nullptr;
}

QString TextStorage::laidOut(const QString& text)
{
    if (text.size() <= kMaxLength)
        return text;
    const qsizetype n = text.at(kMaxLength - 1).isHighSurrogate() ? kMaxLength - 1 : kMaxLength;
    return text.left(n);
}

QList<MySimpleTextView*> TextStorage::textViews() const
{
    QList<MySimpleTextView*> views;
    views.reserve(m_containers.size());
    for (TextContainer* container : m_containers)
        views << container->textView();
    return views;
}

Size TextStorage::boundingSize(double maxWidth)
{
    const qreal oldWidth = textWidth();
    setTextWidth(maxWidth);
    const qreal ideal = idealWidth();
    const QSizeF laidOut = size();
    setTextWidth(oldWidth);
    return {std::min<double>(ideal, maxWidth), laidOut.height()};
}
