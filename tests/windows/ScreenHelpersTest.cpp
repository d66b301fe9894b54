// The helpers window tests rely on, on whichever platform the tests run: making a window key
// while other windows still wait to be mapped, and reading a widget off the screen once the
// screen has caught up with it.
#include "common/KeyWindow.h"
#include "common/OnScreen.h"
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPainter>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Top-level windows side by side, so none covers another on a real screen.
std::vector<std::unique_ptr<QMainWindow>> windows(int n)
{
    std::vector<std::unique_ptr<QMainWindow>> out;
    for (int i = 0; i < n; ++i) {
        out.push_back(std::make_unique<QMainWindow>());
        out.back()->setWindowTitle(QString("window %1").arg(i));
        out.back()->setGeometry(40 + 220 * i, 60, 200, 150);
    }
    return out;
}

// Every pixel of an image is this colour.
bool allOf(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != colour.rgb())
                return false;
    return !image.isNull();
}

void fill(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

// Windows shown and asked to be key one after the other before the event loop has run, as a
// document opens its windows: whichever of them is then made key is key, and stays key once
// the focus requests of the others have all been handled.
TEST(KeyWindow, TheWindowMadeKeyIsKeyWhateverOthersAskedBefore)
{
    for (int target = 0; target < 3; ++target) {
        SCOPED_TRACE(target);
        const auto w = windows(3);
        for (const auto& each : w) {
            each->show();
            each->raise();
            each->activateWindow();
        }
        ASSERT_TRUE(makeKeyWindow(w[target].get()));
        QTest::qWait(300);
        EXPECT_EQ(QApplication::activeWindow(), w[target].get());
        // And from one to another.
        const int next = (target + 1) % 3;
        ASSERT_TRUE(makeKeyWindow(w[next].get()));
        QTest::qWait(100);
        EXPECT_EQ(QApplication::activeWindow(), w[next].get());
    }
}

// A child widget read off the screen: its own area of its window, and after a change only
// once the change has been painted there.
TEST(OnScreen, AWidgetIsReadWhereItIsOnceItShowsItsChange)
{
    QWidget window;
    window.setGeometry(100, 100, 160, 120);
    fill(&window, Qt::white);
    auto* child = new QWidget(&window);
    child->setGeometry(30, 20, 50, 40);
    fill(child, QColor(200, 0, 0));
    window.show();

    ASSERT_TRUE(waitUntilShownAsRendered(child));
    EXPECT_EQ(shownOnScreen(child).size(), QSize(50, 40));
    EXPECT_TRUE(allOf(shownOnScreen(child), QColor(200, 0, 0)));
    ASSERT_TRUE(waitUntilShownAsRendered(&window));
    EXPECT_EQ(shownOnScreen(&window).pixel(29, 19), QColor(Qt::white).rgb());

    fill(child, QColor(0, 0, 200));
    EXPECT_TRUE(waitUntilShownAsRendered(child));
    EXPECT_TRUE(allOf(shownOnScreen(child), QColor(0, 0, 200)));
}

// A widget that paints something new every time never shows what a fresh rendering gives:
// the wait gives up after its time instead of hanging.
TEST(OnScreen, TheWaitEndsWhenTheScreenNeverCatchesUp)
{
    class Restless : public QWidget {
        int paints = 0;
        void paintEvent(QPaintEvent*) override
        {
            QPainter(this).fillRect(rect(), QColor(++paints % 256, 0, 0));
        }
    } restless;
    restless.resize(40, 40);
    restless.show();
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(waitUntilShownAsRendered(&restless, 300));
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LT(clock.elapsed(), 3000);
}
