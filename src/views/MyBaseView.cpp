#include "views/MyBaseView.h"

MyBaseView::MyBaseView(const Rect& frame) : MyView(frame) {}

void MyBaseView::resetFrame()
{
    if (frame() != myFrame)
        setFrame(myFrame);
}
