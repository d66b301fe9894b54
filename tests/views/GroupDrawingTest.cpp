// Members of a group drawn by their container: the same pixels, PDF and hit tests as members
// that draw themselves, and a window that follows moves, hiding, removal and restyling.
#include "FakeGenerator.h"
#include "views/GraphSceneView.h"
#include "views/MyBaseView.h"
#include "views/MyViewManager.h"
#include "views/PathStamps.h"
#include <QBuffer>
#include <QGraphicsView>
#include <QPainter>
#include <QPdfDocument>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <limits>

namespace {
const Rect kColumn(0, 0, 80, 60);

struct Case {
    const char* name;
    QColor fill, line;
    double spacing;      // between dot centres; the dots are 8.5 points across with their stroke
    bool selected = false;
    bool twoGroups = false;
    double rotation = 0;
    int hidden = -1;     // a member hidden with setVisible(false)
};

// A column of dots on a graph's scene. Per dot: an empty container view lies at the bottom of
// the column, so every dot above it draws itself; else the column draws its dots.
struct Dots {
    MyViewManager vm{MyAnalysisData(), nullptr, nullptr};
    MyBaseView* root = new MyBaseView(kColumn);
    MyView* column = new MyView(kColumn, {0, 0}, "c", MyViewManager::kRootView, &vm);
    MyView* floor = nullptr;
    QVector<MySimpleView*> members;

    Dots(const Case& c, bool perDot)
    {
        vm.installRootView(root);
        root->addSubview(column);
        if (perDot) {
            floor = new MyView(Rect(0, 0, 1, 1), {0, 0}, "floor", "c", &vm);
            column->addSubview(floor);
        }
        for (const char* group : {"dot\ta", "dot\tb"}) {
            BezierPath path = BezierPath::bezierPathWithOvalInRect(Rect(-3.5, -3.5, 7, 7));
            path.setLineWidth(1.5);
            vm.viewBezier.insert(group, path);
            vm.viewSelected.insert(group, c.selected);
        }
        vm.viewColors.insert("dot\ta", {c.fill, c.line});
        vm.viewColors.insert("dot\tb", {QColor(0, 160, 0, c.fill.alpha()), c.line});
        for (int i = 0; i < 30; ++i) {
            // Runs of a, b, a when there are two groups.
            const QString group = c.twoGroups && i >= 12 && i < 22 ? "dot\tb" : "dot\ta";
            const Point centre{8 + (i % 8) * c.spacing, 8 + (i / 8) * c.spacing};
            auto* dot = new MySimpleView(group, "c", &vm, Rect(centre.x - 4, centre.y - 4, 8, 8), {-4, -4});
            dot->setFrameRotation(c.rotation);
            column->addSubview(dot);
            members << dot;
            vm.viewsDict[group] << dot;
        }
        if (c.hidden >= 0)
            members[c.hidden]->setVisible(false);
    }

    int drawnByColumn() const
    {
        return int(std::count_if(members.begin(), members.end(), [&](auto* m) { return m->drawnBy() == column; }));
    }

    // The scene as a window paints it, twice the size.
    QImage scene()
    {
        QImage image(160, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing);
        vm.scene()->render(&painter, QRectF(0, 0, 160, 120), QRectF(0, -60, 80, 60));
        return image;
    }

    QImage pdf()
    {
        QByteArray bytes = GraphItem::pdfData(column);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QPdfDocument document;
        document.load(&buffer);
        return document.render(0, QSize(160, 120));
    }

    // The index of the member on top at each member's centre.
    QVector<int> hits()
    {
        QVector<int> out;
        for (MySimpleView* m : members) {
            const QPointF centre = m->mapToScene(m->boundingRect().center());
            QGraphicsItem* top = vm.scene()->itemAt(centre, QTransform());
            out << int(members.indexOf(dynamic_cast<MySimpleView*>(top)));
        }
        return out;
    }
};

// Shows the column's scene in a 100 × 60 window, painted once.
bool show(QGraphicsView& window)
{
    window.setFrameShape(QFrame::NoFrame);
    window.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    window.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    window.setSceneRect(0, -60, 100, 60);
    window.resize(100, 60);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    QCoreApplication::processEvents();
    return true;
}

bool hasColour(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}
} // namespace

// Same image, same PDF page and same hits whether the column draws its dots or each dot
// draws itself: overlapping and half-transparent dots, two groups in runs, a selected group
// (each dot framed over the dots below it), turned and hidden members.
TEST(GroupDrawing, ColumnDrawsWhatItsDotsWouldDraw)
{
    const QColor red(255, 0, 0), black(0, 0, 0), halfRed(255, 0, 0, 128), halfBlue(0, 0, 255, 100);
    const Case cases[] = {
        {"apart, opaque", red, black, 9.5},
        {"overlapping, opaque", red, black, 6},
        {"overlapping, half transparent", halfRed, halfBlue, 6},
        {"touching strokes, half transparent", halfRed, halfBlue, 8.5},
        {"selected", red, black, 6, true},
        {"two groups", halfRed, black, 6, false, true},
        {"turned", red, black, 7, false, false, 30},
        {"one hidden", red, black, 6, false, false, 0, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dots grouped(c, false), perDot(c, true);
        ASSERT_EQ(grouped.drawnByColumn(), 30);
        ASSERT_EQ(perDot.drawnByColumn(), 0);

        const QImage image = GraphItem::image(grouped.column, 2);
        EXPECT_TRUE(image == GraphItem::image(perDot.column, 2));
        EXPECT_TRUE(hasColour(image, c.fill.alpha() == 255 ? qRgb(255, 0, 0) : qPremultiply(c.fill.rgba())));
        EXPECT_EQ(hasColour(image, qRgb(0, 255, 255)), c.selected) << "selection frames";
        EXPECT_TRUE(grouped.scene() == perDot.scene());
        EXPECT_TRUE(grouped.pdf() == perDot.pdf());
        EXPECT_EQ(grouped.hits(), perDot.hits());
    }
}

// The window repaints what a change to a dot drawn by its column touches: the backing store
// after the change equals a fresh paint of the whole window.
TEST(GroupDrawing, WindowFollowsChangesOfDotsItDoesNotPaintOneByOne)
{
    using Change = std::function<void(Dots&)>;
    const std::pair<const char*, Change> changes[] = {
        {"moved", [](Dots& d) { d.members[3]->setFrame(Rect(60, 40, 8, 8)); }},
        {"moved out of its column", [](Dots& d) { d.members[3]->setFrame(Rect(86, 40, 8, 8)); }},
        {"new bounds origin", [](Dots& d) { d.members[3]->setBoundsOrigin({-2, -2}); }},
        {"turned", [](Dots& d) { d.members[3]->setFrameRotation(45); }},
        {"hidden", [](Dots& d) { d.members[3]->setVisible(false); }},
        {"removed", [](Dots& d) { d.members[3]->removeFromSuperview(); }},
        {"deleted",
         [](Dots& d) {
             d.vm.viewsDict["dot\ta"].removeOne(d.members[3]);
             delete d.members.takeAt(3);
         }},
        {"restyled",
         [](Dots& d) {
             d.vm.viewColors.insert("dot\ta", {QColor(0, 0, 255), QColor(0, 0, 255)});
             for (MySimpleView* m : d.members)
                 m->setNeedsDisplay(true);
         }},
        {"selected", [](Dots& d) { d.vm.selectView({"dot\ta"}); }},
    };
    const Case c{"", QColor(255, 0, 0), QColor(0, 0, 0), 9.5};
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Dots dots(c, false);
        QGraphicsView window(dots.vm.scene());
        ASSERT_TRUE(show(window));
        const QImage before = window.screen()->grabWindow(window.winId()).toImage();

        change(dots);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        const QImage fresh = window.grab().toImage().convertToFormat(shown.format());
        EXPECT_FALSE(shown == before) << "the change shows";
        EXPECT_TRUE(shown == fresh) << "nothing stale is left";

        // Where the dot now is, painted on its own, as when only that part is uncovered.
        if (dots.members.size() < 30 || !dots.members[3]->scene())
            continue;
        const QRect area = window.mapFromScene(dots.members[3]->sceneBoundingRect()).boundingRect();
        QImage part(shown.size(), shown.format());
        part.fill(Qt::transparent);
        window.viewport()->render(&part, area.topLeft(), QRegion(area), QWidget::DrawChildren);
        EXPECT_TRUE(part.copy(area) == fresh.copy(area)) << "the dot is drawn where it is";
    }
}

// A dot put above another view draws itself, above it; once that view leaves, the column
// takes the dots at the bottom of its stack again and draws them.
TEST(GroupDrawing, OnlyDotsAtTheBottomOfTheStackAreDrawnByTheColumn)
{
    const Case c{"", QColor(255, 0, 0), QColor(0, 0, 0), 6};
    Dots dots(c, true);
    const QImage before = GraphItem::image(dots.column, 2);
    dots.floor->removeFromSuperview();
    EXPECT_EQ(dots.drawnByColumn(), 30);
    EXPECT_TRUE(GraphItem::image(dots.column, 2) == before);

    // A dot re-added lands on top, above a view added after the others: it draws itself.
    dots.column->addSubview(dots.floor);
    dots.column->addSubview(dots.members[0]);
    EXPECT_EQ(dots.members[0]->drawnBy(), nullptr);
    EXPECT_EQ(dots.drawnByColumn(), 29);
    dots.members[0]->removeFromSuperview();
    dots.floor->removeFromSuperview();
    EXPECT_EQ(dots.drawnByColumn(), 29);
}


// On screen the dots are stamped from images made per style, scale and fraction of a pixel:
// the window shows what drawing the paths gives, to within what a shift by a sixteenth of a
// pixel changes at an edge, also after the group is restyled, gets a new path or moves by
// a fraction of a pixel. Turned dots are drawn as paths.
TEST(GroupDrawing, WindowStampsLookLikeTheDrawnDots)
{
    using Change = std::function<void(Dots&)>;
    auto redrawAll = [](Dots& d) {
        for (MySimpleView* m : d.members)
            m->setNeedsDisplay(true);
    };
    const QColor red(255, 0, 0), black(0, 0, 0), halfRed(255, 0, 0, 128), halfBlue(0, 0, 255, 100);
    const struct {
        const char* name;
        Case c;
        Change change;
        int tolerance;
    } rows[] = {
        {"apart, opaque", {"", red, black, 9.5}, {}, 24},
        {"overlapping, half transparent", {"", halfRed, halfBlue, 6}, {}, 24},
        {"touching strokes, half transparent", {"", halfRed, halfBlue, 8.5}, {}, 24},
        {"selected", {"", red, black, 6, true}, {}, 24},
        {"two groups", {"", halfRed, black, 6, false, true}, {}, 24},
        {"turned", {"", red, black, 7, false, false, 30}, {}, 0},
        {"restyled",
         {"", red, black, 9.5},
         [&](Dots& d) {
             d.vm.viewColors.insert("dot\ta", {QColor(0, 0, 255), QColor(0, 160, 0)});
             redrawAll(d);
         },
         24},
        {"new path",
         {"", red, black, 9.5},
         [&](Dots& d) {
             BezierPath square = BezierPath::bezierPathWithRect(Rect(-2.5, -3.5, 5, 7));
             square.setLineWidth(0.7);
             d.vm.viewBezier.insert("dot\ta", square);
             redrawAll(d);
         },
         24},
        {"moved by fractions of a pixel",
         {"", red, black, 9.5},
         [](Dots& d) {
             for (qsizetype i = 0; i < d.members.size(); ++i) {
                 const Rect f = d.members[i]->frame();
                 d.members[i]->setFrame(Rect(f.origin.x + 0.13 * (i % 7), f.origin.y + 0.29 * (i % 5), 8, 8));
             }
         },
         24},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Dots dots(row.c, false);
        GraphSceneView window;
        window.setViewManager(&dots.vm);
        ASSERT_TRUE(show(window));
        if (row.change) {
            row.change(dots);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        }
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage().convertToFormat(
            QImage::Format_ARGB32_Premultiplied);

        // The window has no page here: the dots lie on the gray around a page.
        QImage drawn(100, 60, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(GraphSceneView::clipColor());
        QPainter painter(&drawn);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        dots.vm.scene()->render(&painter, QRectF(0, 0, 100, 60), QRectF(0, -60, 100, 60));
        painter.end();
        ASSERT_EQ(shown.size(), drawn.size());
        EXPECT_LE(maxDifference(shown, drawn), row.tolerance);
        QImage empty(drawn.size(), drawn.format());
        empty.fill(GraphSceneView::clipColor());
        EXPECT_GT(maxDifference(shown, empty), 100) << "the dots show";
    }
}

// A dot whose frame, bounds origin or turn has no place (not finite, or far beyond any page,
// as an axis 1e-9 wide puts one) is drawn nowhere, by its column or by itself: the window, an
// image and a PDF show what they show with the dot hidden, and the column's extent stays
// finite. A frame with a place brings the dot back.
TEST(GroupDrawing, DotsWithoutAPlaceAreDrawnNowhere)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    using Change = std::function<void(MySimpleView*)>;
    const std::pair<const char*, Change> rows[] = {
        {"x not a number", [=](MySimpleView* d) { d->setFrame(Rect(nan, 20, 8, 8)); }},
        {"y infinite", [=](MySimpleView* d) { d->setFrame(Rect(20, -inf, 8, 8)); }},
        {"y far up", [](MySimpleView* d) { d->setFrame(Rect(20, 3.4e13, 8, 8)); }},
        {"size not a number", [=](MySimpleView* d) { d->setFrame(Rect(20, 20, 8, nan)); }},
        {"bounds origin far off", [](MySimpleView* d) { d->setBoundsOrigin({-4, -1e300}); }},
        {"turn not a number", [=](MySimpleView* d) { d->setFrameRotation(nan); }},
    };
    const Case c{"", QColor(255, 0, 0), QColor(0, 0, 0), 9.5};
    for (const auto& [name, change] : rows) {
        for (const bool perDot : {false, true}) {
            SCOPED_TRACE(std::string(name) + (perDot ? ", drawn by itself" : ", drawn by its column"));
            Dots broken(c, perDot), hidden(c, perDot);
            const Rect frame = broken.members[3]->frame();
            change(broken.members[3]);
            hidden.members[3]->setVisible(false);
            const QRectF extent = broken.column->boundingRect();
            EXPECT_TRUE(std::isfinite(extent.width() + extent.height() + extent.x() + extent.y()));

            GraphSceneView brokenWindow, hiddenWindow;
            brokenWindow.setViewManager(&broken.vm);
            hiddenWindow.setViewManager(&hidden.vm);
            ASSERT_TRUE(show(brokenWindow) && show(hiddenWindow));
            QCoreApplication::processEvents();
            EXPECT_TRUE(brokenWindow.screen()->grabWindow(brokenWindow.winId()).toImage()
                        == hiddenWindow.screen()->grabWindow(hiddenWindow.winId()).toImage());
            EXPECT_TRUE(GraphItem::image(broken.column, 2) == GraphItem::image(hidden.column, 2));
            EXPECT_TRUE(broken.pdf() == hidden.pdf());
            EXPECT_TRUE(broken.scene() == hidden.scene());

            broken.members[3]->setFrame(frame);
            broken.members[3]->setBoundsOrigin({-4, -4});
            broken.members[3]->setFrameRotation(0);
            EXPECT_TRUE(GraphItem::image(broken.column, 2) == GraphItem::image(Dots(c, perDot).column, 2));
        }
    }
}

// Stamping checks where it draws before any pixel is an integer: a position that is not
// finite or lies far beyond the device draws nothing at all; a shape too large for a stamp is
// left to the caller.
TEST(GroupDrawing, StampsOnlyWhereTheDeviceHasRoom)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    BezierPath dot = BezierPath::bezierPathWithOvalInRect(Rect(-3.5, -3.5, 7, 7));
    dot.setLineWidth(1.5);
    const struct {
        const char* name;
        QTransform world;
        bool drawn;    // by the stamp (true) or left to the caller (false)
    } rows[] = {
        {"x not a number", QTransform::fromTranslate(nan, 20), true},
        {"far up", QTransform::fromTranslate(20, 3.4e13), true},
        {"far left", QTransform(1, 0, 0, -1, -1e300, 20), true},
        {"shape too large", QTransform::fromScale(1e12, 1e12) * QTransform::fromTranslate(20, 20), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        EXPECT_EQ(PathStamps::draw(&painter, row.world, dot, Qt::red, Qt::black), row.drawn);
        painter.end();
        QImage blank(image.size(), image.format());
        blank.fill(Qt::transparent);
        EXPECT_TRUE(image == blank);
    }
}
