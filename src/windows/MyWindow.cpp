#include "windows/MyWindow.h"
#include <QCloseEvent>

void MyWindow::closeEvent(QCloseEvent* event)
{
    if (shouldClose && !shouldClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
