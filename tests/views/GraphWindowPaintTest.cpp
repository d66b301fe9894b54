// What the graph window's view paints: the clip view's light gray only where the page does
// not cover every pixel opaquely, and texts that show their changes at once.
#include "FakeGenerator.h"
#include "common/OnScreen.h"
#include "views/GraphSceneView.h"
#include "views/MyBaseView.h"
#include "views/MySimpleTextView.h"
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QTextCursor>
#include <functional>

namespace {
// A 100 × 60 window onto a scene whose root holds a page at (10, 10), 60 × 40.
struct Window {
    MyViewManager vm{MyAnalysisData(), nullptr, nullptr};
    MyBaseView* root = new MyBaseView(Rect(0, 0, 100, 60));
    MyView* page = new MyView(Rect(10, 10, 60, 40), {0, 0}, MyViewManager::kBackground, MyViewManager::kRootView, &vm);
    GraphSceneView view;

    explicit Window(const QColor& pageColour)
    {
        vm.installRootView(root);
        vm.viewDict.insert(MyViewManager::kBackground, page);
        root->addSubview(page);
        BezierPath path = BezierPath::bezierPathWithRect(Rect(0.5, 0.5, 59, 39));
        vm.viewBeziers.insert(MyViewManager::kBackground, PathPair{{path}, {}});
        vm.viewColors.insert(MyViewManager::kBackground, ColorPair{pageColour, pageColour});
        view.setViewManager(&vm);
        view.setFrameShape(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setSceneRect(0, -60, 100, 60);
        view.resize(100, 60);
    }

    bool show()
    {
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            return false;
        QCoreApplication::processEvents();
        return true;
    }

    QImage shown()
    {
        EXPECT_TRUE(waitUntilShownAsRendered(&view)) << "the screen shows the window";
        return view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }

    // The scene drawn over the platform's light gray (two thirds white), as paths.
    QImage drawn()
    {
        QImage image(100, 60, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(170, 170, 170));
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        vm.scene()->render(&painter, QRectF(0, 0, 100, 60), QRectF(0, -60, 100, 60));
        return image;
    }
};
} // namespace

// The pixels the page covers opaquely (wholly inside its fill) get no gray first; a page
// that is half transparent, turned or hidden gets gray under all of it. Each window shows
// the page over gray, also when the page changes after the first paint.
TEST(GraphWindowPaint, GrayGoesWhereThePageLeavesIt)
{
    using Change = std::function<void(Window&)>;
    const QColor red(255, 0, 0), halfRed(255, 0, 0, 128);
    const struct {
        const char* name;
        QColor colour;
        Change change;
        QRect opaque;
    } rows[] = {
        // Fill x 10.5..69.5, y (down) 10.5..49.5 in the window.
        {"opaque", red, {}, QRect(11, 11, 58, 38)},
        {"half transparent", halfRed, {}, QRect()},
        {"made half transparent", red,
         [&](Window& w) {
             w.vm.viewColors.insert(MyViewManager::kBackground, ColorPair{halfRed, halfRed});
             w.page->setNeedsDisplay(true);
         },
         QRect()},
        {"turned", red, [](Window& w) { w.page->setFrameRotation(10); }, QRect()},
        {"moved by half a pixel", red, [](Window& w) { w.page->setFrame(Rect(10.5, 10, 60, 40)); },
         QRect(11, 11, 59, 38)},
        {"hidden", red, [](Window& w) { w.page->setVisible(false); }, QRect()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Window w(row.colour);
        ASSERT_TRUE(w.show());
        if (row.change)
            row.change(w);
        const QImage shown = w.shown();
        EXPECT_EQ(w.view.opaquePage(), row.opaque);
        EXPECT_LE(maxDifference(shown, w.drawn()), 1) << "the page over gray, as drawn";
        EXPECT_EQ(shown.pixel(2, 2), qRgb(170, 170, 170)) << "gray beside the page";
    }
}

// A text that changes after it was drawn shows the change: the window paints what a text
// made with the final contents paints.
TEST(GraphWindowPaint, TextsShowTheirChanges)
{
    auto restyle = [](TextStorage* s, const QTextCharFormat& f) {
        QTextCursor c(s);
        c.select(QTextCursor::Document);
        c.mergeCharFormat(f);
    };
    using Change = std::function<void(TextStorage*)>;
    QTextCharFormat bigger, blue;
    bigger.setFont(Font72::font(FontSpec{"DejaVu Sans", 20}));
    blue.setForeground(QColor(0, 0, 255));
    const struct {
        const char* name;
        Change change;
        QString text;
        double points;
        QColor colour;
    } rows[] = {
        {"new text",
         [](TextStorage* s) {
             QTextCursor c(s);
             c.select(QTextCursor::Document);
             c.insertText("Wii", c.charFormat());
         },
         "Wii", 14, Qt::black},
        {"bigger", [&](TextStorage* s) { restyle(s, bigger); }, "MMMM", 20, Qt::black},
        {"blue", [&](TextStorage* s) { restyle(s, blue); }, "MMMM", 14, QColor(0, 0, 255)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Window changed(Qt::white), fresh(Qt::white);
        TextStorage* storage = textIn(&changed.vm, "MMMM", 14, Qt::black);
        auto* text = new MySimpleTextView(Rect(15, 15, 50, 30), storage, "t", MyViewManager::kBackground, &changed.vm);
        changed.page->addSubview(text);
        TextStorage* wanted = textIn(&fresh.vm, row.text, row.points, row.colour);
        fresh.page->addSubview(new MySimpleTextView(Rect(15, 15, 50, 30), wanted, "t", MyViewManager::kBackground, &fresh.vm));
        // Side by side: on a real display a window grabbed from the screen shows whatever covers it.
        fresh.view.move(changed.view.pos() + QPoint(changed.view.width() + 20, 0));
        ASSERT_TRUE(changed.show());
        ASSERT_TRUE(fresh.show());
        const QImage before = changed.shown();
        row.change(storage);
        text->setNeedsDisplay(true);
        const QImage after = changed.shown();
        EXPECT_FALSE(after == before);
        EXPECT_TRUE(after == fresh.shown());
    }
}
