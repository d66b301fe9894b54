#include "views/GraphTextEditor.h"
#include "platform/Font72.h"
#include "views/MyTextView.h"
#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

GraphTextEditor::GraphTextEditor(MyTextView* view, const QString& text, const TextAttributes& attributes)
    : QGraphicsTextItem(view), m_view(view)
{
    QTextDocument* doc = document();
    doc->setDocumentMargin(0);
    doc->setUndoRedoEnabled(false);
    doc->documentLayout()->setPaintDevice(Font72::device());
    if (attributes.font)
        doc->setDefaultFont(Font72::font(*attributes.font));
    setDefaultTextColor(attributes.color ? attributes.color->toQColor() : QColor(Qt::black));
    setPlainText(text);
    setTextInteractionFlags(Qt::TextEditorInteraction);
    // The text runs down from the top-left corner of the view's bounds, as the view draws it.
    const Rect b = view->bounds();
    setTransform(QTransform(1, 0, 0, -1, b.origin.x, b.maxY()));
    connect(doc, &QTextDocument::contentsChanged, this, [this] {
        if (!m_began) {
            m_began = true;
            emit began();
        }
    });
}

void GraphTextEditor::placeCaret(const QPointF& point)
{
    const int at = document()->documentLayout()->hitTest(mapFromParent(point), Qt::FuzzyHit);
    QTextCursor cursor(document());
    cursor.setPosition(at < 0 ? document()->characterCount() - 1 : at);
    setTextCursor(cursor);
}

bool GraphTextEditor::sceneEvent(QEvent* event)
{
    // Undo and redo are the document's: they reach the window's commands, which commit the
    // typed text as a step of its own first. The editor keeps no history of its own.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
            event->ignore();
            return false;
        }
    }
    return QGraphicsTextItem::sceneEvent(event);
}

void GraphTextEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit returned();
        return;
    }
    QGraphicsTextItem::keyPressEvent(event);
}

void GraphTextEditor::focusOutEvent(QFocusEvent* event)
{
    QGraphicsTextItem::focusOutEvent(event);
    // The window going to the background, or a menu or a modal panel opening over it, leaves
    // the text being edited.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        emit left();
}
