#pragma once
// A graph text the user can edit in place and restyle: category texts, scale texts and the
// y title. It stays selectable and editable; the view manager is its text delegate.
#include "views/MySimpleTextView.h"

class MyTextView : public MySimpleTextView {
public:
    MyTextView(const Rect& frame, TextStorage* textStorage, const QString& name, const QString& superviewName,
               MyViewManager* viewManager);

    static MyTextView* initWithFrame(const Rect& frame, TextStorage* textStorage, const QString& name,
                                     const QString& superviewName, MyViewManager* viewManager)
    {
        return new MyTextView(frame, textStorage, name, superviewName, viewManager);
    }

    // Kept for the settings; the layout turns the view with setFrameRotation instead.
    double rotation = 0;
    bool visible = true;
    bool selected = false;
    // The font panel is offered for this view.
    bool usesFontPanel = true;

    // Draws nothing of its own while the text is edited in place: the editor shows it.
    void drawRect(QPainter* painter, const Rect& dirtyRect) override;

    enum { Type = UserType + 6 };
    int type() const override { return Type; }

protected:
    // A click into the text starts editing it in place.
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
};
