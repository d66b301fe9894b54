#pragma once
// The editor of a graph text being edited in place: it lies over its text view (as a child
// item, so it turns with a turned title) and shows the text as stored, markup included,
// in the text's font and colour. It reports the first change, the loss of the focus and
// Return, which ends the edit: a graph text holds no line breaks.
#include "platform/KeyedArchive.h"
#include <QGraphicsTextItem>

class MyTextView;

class GraphTextEditor : public QGraphicsTextItem {
    Q_OBJECT
public:
    GraphTextEditor(MyTextView* view, const QString& text, const TextAttributes& attributes);

    MyTextView* textView() const { return m_view; }
    // Puts the caret at point, in the view's coordinates.
    void placeCaret(const QPointF& point);

signals:
    // The text changed for the first time.
    void began();
    // The editor lost the focus to something else in its window.
    void left();
    // Return or Enter: the edit is done.
    void returned();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool sceneEvent(QEvent* event) override;

private:
    MyTextView* m_view;
    bool m_began = false;
};
