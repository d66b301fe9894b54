#pragma once
// What the screen shows of a widget. On a real display a change reaches the screen only
// after the X server has exposed the window and the repaints the change asked for have run,
// which may take any number of turns of the event loop: a test that reads the screen waits
// until it shows what a fresh rendering gives.
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWidget>

// The widget as its window shows it on the screen.
inline QImage shownOnScreen(QWidget* w)
{
    QWidget* top = w->window();
    const QImage whole = top->screen()->grabWindow(top->winId()).toImage();
    return whole.copy(QRect(w->mapTo(top, QPoint(0, 0)), w->size())).convertToFormat(QImage::Format_RGB32);
}

// The widget painted afresh, whole, in its present state.
inline QImage renderedAfresh(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Waits, at most timeout milliseconds, until the screen shows the widget as a fresh rendering
// paints it; false when it does not by then.
inline bool waitUntilShownAsRendered(QWidget* w, int timeout = 5000)
{
    return QTest::qWaitFor([w] { return shownOnScreen(w) == renderedAfresh(w); }, timeout);
}
