#pragma once
// A text view of a graph that the user does not edit: glyph dots. It shows a shared
// TextStorage through a container of its own (the container's size is the frame's size),
// with a transparent background and no inset; each view draws the text once.
#include "views/GraphItem.h"
#include "views/TextStorage.h"
#include <QPointer>
#include <QString>
#include <memory>

class MyViewManager;

class MySimpleTextView : public GraphItem {
public:
    // initWithFrame:textStorage:name:superviewName:viewManager:. The view manager, when
    // given, owns the new view; the view is attached to nothing.
    MySimpleTextView(const Rect& frame, TextStorage* textStorage, const QString& name, const QString& superviewName,
                     MyViewManager* viewManager);
    ~MySimpleTextView() override;

    static MySimpleTextView* initWithFrame(const Rect& frame, TextStorage* textStorage, const QString& name,
                                           const QString& superviewName, MyViewManager* viewManager)
    {
        return new MySimpleTextView(frame, textStorage, name, superviewName, viewManager);
    }

    QString name;
    QString superviewName;
    MyViewManager* viewManager = nullptr;

    TextStorage* textStorage() const { return m_storage; }
    TextContainer* textContainer() const { return m_container.get(); }
    // Inset of the text from the view's top-left corner; zero for graph texts.
    Size textContainerInset() const { return m_inset; }
    void setTextContainerInset(const Size& inset) { m_inset = inset; }
    bool isSelectable() const { return m_selectable; }
    void setSelectable(bool selectable) { m_selectable = selectable; }
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable) { m_editable = editable; }

    // The text of the storage, laid out in the container, from the top-left of the bounds.
    void drawRect(QPainter* painter, const Rect& dirtyRect) override;

    enum { Type = UserType + 5 };
    int type() const override { return Type; }

protected:
    // For subclasses that set up their own flags.
    struct NoSetUp {};
    MySimpleTextView(const Rect& frame, TextStorage* textStorage, const QString& name, const QString& superviewName,
                     MyViewManager* viewManager, NoSetUp);

private:
    QPointer<TextStorage> m_storage;
    std::unique_ptr<TextContainer> m_container;
    Size m_inset;
    bool m_selectable = true;
    bool m_editable = true;
};
