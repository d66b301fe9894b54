#pragma once
// A check shared by the window tests and the small-screen tests: the statistics window's
// switches as shown.
#include "windows/MyWindowController.h"
#include <QAbstractButton>
#include <QCoreApplication>
#include <QMainWindow>
#include <gtest/gtest.h>

// Each switch lies inside every widget around it up to its window (so inside the drawer and
// the window's visible area), is no smaller than its size hint (its title is not cut), and
// overlaps no other switch; the groups that hold them overlap neither.
inline void expectSwitchesFit(MyWindowController* stats)
{
    QMainWindow* window = stats->window();
    ASSERT_TRUE(window->isVisible() && stats->drawer && stats->drawer->isVisible());
    // Layouts settle in the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
    auto inWindow = [window](const QWidget* w) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); };
    const QRect drawer = inWindow(stats->drawer);
    QList<QAbstractButton*> switches;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->property("tag").isValid())
            switches << b;
    ASSERT_EQ(switches.size(), 8);
    for (QAbstractButton* b : switches) {
        SCOPED_TRACE(b->objectName().toStdString());
        const QRect r = inWindow(b);
        EXPECT_TRUE(b->isVisible());
        EXPECT_TRUE(drawer.contains(r)) << r.y() << "+" << r.height() << " in " << drawer.y() << "+" << drawer.height();
        for (const QWidget* up = b; up != window; up = up->parentWidget()) {
            const QRect inParent(up->mapTo(up->parentWidget(), QPoint(0, 0)), up->size());
            EXPECT_TRUE(up->parentWidget()->rect().contains(inParent))
                << up->metaObject()->className() << " " << inParent.y() << "+" << inParent.height() << " in "
                << up->parentWidget()->metaObject()->className() << " of height " << up->parentWidget()->height();
        }
        EXPECT_LE(b->sizeHint().width(), b->width());
        EXPECT_LE(b->sizeHint().height(), b->height());
        for (QAbstractButton* other : switches)
            EXPECT_TRUE(other == b || !r.intersects(inWindow(other))) << other->objectName().toStdString();
    }
    QList<QWidget*> groups;
    for (QAbstractButton* b : switches)
        if (!groups.contains(b->parentWidget()))
            groups << b->parentWidget();
    ASSERT_EQ(groups.size(), 3);
    for (QWidget* g : groups) {
        EXPECT_LE(g->minimumSizeHint().height(), g->height());
        for (QWidget* other : groups)
            EXPECT_TRUE(other == g || !inWindow(g).intersects(inWindow(other)));
    }
}
