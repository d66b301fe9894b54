#pragma once
// The text of one graph text, shared by every view that shows it. A TextStorage is a
// QTextDocument laid out on a 72-dpi device with no document margin, so one point of a font
// is one unit of the layout, on screen, in images and in PDFs alike. Each text view brings
// one TextContainer (its own size); the storage lists them in the order the views were
// made. The storage is usually a QObject child of the graph's view manager.
#include "platform/Geometry.h"
#include <QList>
#include <QTextDocument>

class MySimpleTextView;
class TextStorage;

// The area one text view gives the text: its size, and the view.
class TextContainer {
public:
    TextContainer(TextStorage* storage, MySimpleTextView* view, const Size& size);
    ~TextContainer();
    TextContainer(const TextContainer&) = delete;
    TextContainer& operator=(const TextContainer&) = delete;

    Size containerSize() const { return m_size; }
    // The text is laid out to this width (line fragment padding is always 0).
    void setContainerSize(const Size& size);
    MySimpleTextView* textView() const { return m_view; }
    TextStorage* textStorage() const { return m_storage; }

private:
    friend class TextStorage;
    TextStorage* m_storage;
    MySimpleTextView* m_view;
    Size m_size;
};

class TextStorage : public QTextDocument {
    Q_OBJECT
public:
    explicit TextStorage(QObject* parent = nullptr);
    ~TextStorage() override;

    // A graph text is laid out up to its first kMaxLength characters (UTF-16 units): beyond
    // that Qt's layout takes too long; the settings keep the whole text.
    static constexpr qsizetype kMaxLength = 4096;
    // What of text is laid out: its first kMaxLength units, a pair of surrogates kept whole.
    static QString laidOut(const QString& text);

    // The containers of the views that show this text, in the order the views were made.
    const QList<TextContainer*>& textContainers() const { return m_containers; }
    QList<MySimpleTextView*> textViews() const;

    // The bounding size of the text laid out within maxWidth (lines wrap there): the
    // widest line and the height of all lines.
    Size boundingSize(double maxWidth = 300.0);

private:
    friend class TextContainer;
    QList<TextContainer*> m_containers;
};
