#pragma once
// Making a window the key window, on the offscreen platform and on an X display without a
// window manager alike.
#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QWidget>
#include <QWindow>

// Every shown top-level window is on the screen (mapped and exposed).
inline bool everyShownWindowIsExposed()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowHandle() && !w->windowHandle()->isExposed())
            return false;
    return true;
}

// Shows, raises and activates a window and waits until it is the active window; false when
// it never becomes active. Without a window manager Qt gives a window the X focus when it
// asks, or, when it is not mapped yet, once it is mapped: a window that asked before it was
// mapped takes the focus from one that asked later. So the shown windows are waited for
// first, and the request is made again until it holds.
inline bool makeKeyWindow(QWidget* window, int timeout = 5000)
{
    window->show();
    // A window that never shows is left to the wait for activation below to report.
    (void)QTest::qWaitFor(everyShownWindowIsExposed, timeout);
    const QDeadlineTimer deadline(timeout);
    do {
        window->raise();
        window->activateWindow();
        if (QTest::qWaitForWindowActive(window, 500))
            return true;
    } while (!deadline.hasExpired());
    return false;
}
