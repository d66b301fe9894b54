#pragma once
// Acting on a modal dialog that a call is about to run.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Acts on the next modal dialog of type T once it is shown; gives up after about five
// seconds and closes whatever is modal, so that a dialog that never appears fails the test
// instead of hanging it.
template <typename T>
void whenShown(std::function<void(T*)> act, int triesLeft = 500)
{
    QTimer::singleShot(10, [=] {
        if (T* dialog = qobject_cast<T*>(QApplication::activeModalWidget()); dialog && dialog->isVisible())
            act(dialog);
        else if (triesLeft > 0)
            whenShown<T>(act, triesLeft - 1);
        else if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
}
