#pragma once
// The two views that stand for a whole graph, the background and "graphView": drawn as any
// container, plus copying the graph to the clipboard and exporting it as a PDF file. Both
// draw without selection frames and give the selection back afterwards.
#include "views/MyView.h"

class MyOutputView : public MyView {
public:
    MyOutputView(const Rect& frame, const Point& origin, const QString& name, const QString& superviewName,
                 MyViewManager* viewManager);
    explicit MyOutputView(const Rect& frame = Rect());

    static MyOutputView* initWithFrame(const Rect& frame, const Point& origin, const QString& name,
                                       const QString& superviewName, MyViewManager* viewManager)
    {
        return new MyOutputView(frame, origin, name, superviewName, viewManager);
    }

    // The clipboard gets the PDF of the graph (application/pdf) and nothing else: of
    // "graphView" itself, or, from the background, of its first subview.
    void copy();
    // Asks for a file in the save panel and writes this view's PDF there. A failed write
    // leaves any old file as it was and is reported in an alert naming the file. Returns
    // whether a file was written.
    // The panel proposes suggestedPath (a name in its folder).
    bool exportPDF(const QString& suggestedPath = QString());

    // The PDF of this view on its page (pageRect) with the selection hidden, as copy, export
    // and the package make it.
    QByteArray pdfWithoutSelection();

    // The page that holds the whole graph as the window draws it, in this view's
    // coordinates: the bounds while everything drawn lies within them; else grown, to whole
    // points, to hold what is drawn past them and the bounds of an output view inside (the
    // graph of the background).
    Rect pageRect() const;
    // Draws this view and its subviews on page (this view's coordinates, the painter's
    // transform mapping them). A page that reaches past the bounds is one colour to its
    // edges: filled once in the view's fill colour, which the view's own paths then leave
    // as it is (only a line of another colour is drawn on it).
    void drawPage(QPainter* painter, const Rect& page);

    void drawRect(QPainter* painter, const Rect& dirtyRect) override;

    enum { Type = UserType + 4 };
    int type() const override { return Type; }

private:
    // While drawPage has filled a grown page under this view.
    bool m_onFilledPage = false;
};
