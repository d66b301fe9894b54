#include "views/MyTextView.h"

MyTextView::MyTextView(const Rect& frame, TextStorage* textStorage, const QString& name,
                       const QString& superviewName, MyViewManager* viewManager)
    : MySimpleTextView(frame, textStorage, name, superviewName, viewManager, NoSetUp{})
{
    // The platform's defaults: no inset, selectable and editable.
}
