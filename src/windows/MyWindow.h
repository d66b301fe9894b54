#pragma once
// A document window: asks its controller before it closes.
#include <QMainWindow>
#include <functional>

class MyWindow : public QMainWindow {
    Q_OBJECT
public:
    using QMainWindow::QMainWindow;
    // Returns false to keep the window open.
    std::function<bool()> shouldClose;

protected:
    void closeEvent(QCloseEvent* event) override;
};
