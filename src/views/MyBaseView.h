#pragma once
// The graph window's base view ("rootView"): the top of a graph's view tree, where the y
// flip happens. It keeps its frame at a stored rectangle.
#include "views/MyView.h"

class MyBaseView : public MyView {
public:
    explicit MyBaseView(const Rect& frame = Rect());

    // The frame resetFrame restores.
    Rect myFrame{0, 0, 300, 300};
    // Puts the frame back to myFrame when it differs.
    void resetFrame();

    enum { Type = UserType + 3 };
    int type() const override { return Type; }
};
