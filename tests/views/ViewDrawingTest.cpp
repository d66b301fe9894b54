// Pixels of rendered views: fills, strokes, y up, bounds origins, selection frames, texts.
#include "FakeGenerator.h"
#include "table/MyTableView.h"
#include "views/MySimpleTextView.h"
#include <QPainter>

namespace {
const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kCyan(0, 255, 255);

bool near(const QImage& image, int x, int y, const QColor& c) { return countNear(image, c, QRect(x, y, 1, 1)) == 1; }

// The rows and columns that hold any visible pixel (alpha above `faint`).
QRect inkBox(const QImage& image, int faint = 60)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > faint)
                box |= QRect(x, y, 1, 1);
    return box;
}

struct Graph {
    MyViewManager vm{MyAnalysisData(), nullptr, nullptr};
    MyView* view(const QString& name, const Rect& frame)
    {
        vm.viewDict.insert(name, new MyView(frame, {}, name, QString(), &vm));
        return vm.viewDict.value(name);
    }
};
}

// A closed rectangle is filled and stroked, a line path only stroked; y grows upwards, so
// a path near the top of the view lands near image row 0.
TEST(ViewDrawing, FillsClosedPathsStrokesLinesAndDrawsYUp)
{
    Graph g;
    MyView* v = g.view("v", Rect(0, 0, 100, 80));
    BezierPath box = BezierPath::bezierPathWithRect(Rect(10, 50, 30, 20));   // near the top
    box.setLineWidth(4);
    BezierPath open;
    open.moveToPoint({60, 10});
    open.lineToPoint({90, 10});
    open.lineToPoint({90, 40});   // an open corner: its inside must stay empty
    open.setLineWidth(2);
    g.vm.viewColors.insert("v", {kRed, kBlue});
    g.vm.viewBeziers.insert("v", {{box}, {open}});

    const QImage image = GraphItem::image(v);
    ASSERT_EQ(image.size(), QSize(100, 80));
    EXPECT_TRUE(near(image, 25, 20, kRed)) << "inside the box, 20 rows from the top";
    EXPECT_TRUE(near(image, 10, 20, kBlue)) << "on its left edge";
    EXPECT_TRUE(near(image, 25, 10, kBlue)) << "on its top edge (y = 70)";
    EXPECT_EQ(qAlpha(image.pixel(25, 60)), 0) << "the lower half is empty";
    EXPECT_TRUE(near(image, 75, 70, kBlue)) << "line path stroked at y = 10";
    EXPECT_EQ(qAlpha(image.pixel(80, 55)), 0) << "line path not filled";
}

// Each member of a group draws the shared path in its own bounds: the bounds origin moves
// the path, the frame places the view.
TEST(ViewDrawing, BoundsOriginsAndFramesPlaceSharedPaths)
{
    Graph g;
    MyView* container = g.view("c", Rect(0, 0, 60, 40));
    g.vm.viewBezier.insert("dot", BezierPath::bezierPathWithOvalInRect(Rect(-4, -4, 8, 8)));
    g.vm.viewColors.insert("dot", {kRed, kRed});
    const QList<Point> centres{{10, 10}, {45, 30}};
    for (const Point& c : centres)
        container->addSubview(new MySimpleView("dot", "c", &g.vm, Rect(c.x - 5, c.y - 5, 10, 10), Point{-5, -5}));
    const QImage image = GraphItem::image(container);
    for (const Point& c : centres)
        EXPECT_TRUE(near(image, int(c.x), 40 - int(c.y) - 1, kRed)) << c.x << "," << c.y;
    EXPECT_EQ(countNear(image, kRed, QRect(20, 0, 10, 40)), 0);
}

// The selection frame: 1.5 points of cyan inside the view's own bounds when the group's
// flag is set, nothing when it is not, and still along the bounds when drawing is asked for
// a smaller dirty rectangle, for a member of a group and for a container alike.
TEST(ViewDrawing, SelectionFrameFollowsTheFlagAndTheViewsBounds)
{
    Graph g;
    MyView* container = g.view("c", Rect(0, 0, 100, 100));
    auto* bar = new MySimpleView("bar", "c", &g.vm, Rect(20, 20, 60, 60), Point{0, 0});
    container->addSubview(bar);
    g.vm.viewBezier.insert("bar", BezierPath());
    g.vm.viewColors.insert("bar", {kRed, kRed});

    for (bool selected : {false, true}) {
        g.vm.viewSelected.insert("bar", selected);
        const QImage image = GraphItem::image(container);
        EXPECT_EQ(countNear(image, kCyan) > 0, selected);
        if (selected) {
            EXPECT_TRUE(near(image, 20, 50, kCyan));
            EXPECT_EQ(qAlpha(image.pixel(18, 50)), 0) << "nothing outside the bounds";
        }
    }

    // Only the lower left quarter dirty, painted in bounds coordinates (image row = y): the
    // frame runs along the bounds' top and right edges, not along the quarter's.
    container->selected = true;
    for (GraphItem* view : {static_cast<GraphItem*>(bar), static_cast<GraphItem*>(container)}) {
        const Rect b = view->bounds();
        const int w = int(b.size.width), h = int(b.size.height);
        QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.translate(-b.origin.x, -b.origin.y);
            view->drawRect(&painter, Rect(b.origin.x, b.origin.y, w / 2, h / 2));
        }
        SCOPED_TRACE(view == bar ? "a member of a group" : "a container");
        EXPECT_TRUE(near(image, 0, h / 4, kCyan)) << "left edge";
        EXPECT_TRUE(near(image, w - 1, 3 * h / 4, kCyan)) << "right edge of the bounds";
        EXPECT_TRUE(near(image, 3 * w / 4, h - 1, kCyan)) << "top edge of the bounds";
        EXPECT_EQ(countNear(image, kCyan, QRect(w / 2 - 2, 4, 4, h / 2 - 8)) + countNear(image, kCyan, QRect(4, h / 2 - 2, w / 2 - 8, 4)), 0)
            << "no frame along the dirty rectangle's edges";
    }
}

// One text drawn once: a half-transparent glyph keeps the colour's alpha.
TEST(ViewDrawing, TextIsDrawnOnce)
{
    Graph g;
    MyView* container = g.view("c", Rect(0, 0, 80, 60));
    TextStorage* storage = textIn(&g.vm, QString(QChar(0x2588)), 40, QColor(0, 0, 255, 128));
    container->addSubview(new MySimpleTextView(Rect(10, 5, 60, 50), storage, "t", "c", &g.vm));
    const QImage image = GraphItem::image(container).convertToFormat(QImage::Format_Alpha8);
    EXPECT_NEAR(*std::max_element(image.constBits(), image.constBits() + image.sizeInBytes()), 128, 2);
}

// Text sits at the top left of its view and turns with the frame rotation.
TEST(ViewDrawing, TextStartsAtTheTopAndTurnsWithTheFrame)
{
    Graph g;
    MyView* container = g.view("c", Rect(0, 0, 200, 200));
    TextStorage* storage = textIn(&g.vm, "MMMM", 20, Qt::black);
    const Size size = storage->boundingSize();
    auto* title = new MyTextView(Rect(100, 20, size.width, size.height), storage, "title", "c", &g.vm);
    container->addSubview(title);

    QRect ink = inkBox(GraphItem::image(container));
    EXPECT_GT(ink.width(), 2 * ink.height());
    EXPECT_GE(ink.left(), 100);
    EXPECT_LE(ink.bottom(), 200 - 20);
    EXPECT_GT(ink.top(), 200 - 20 - int(size.height) - 1);

    title->setFrameRotation(90);   // counter-clockwise about the frame origin
    ink = inkBox(GraphItem::image(container));
    EXPECT_GT(ink.height(), 2 * ink.width());
    EXPECT_LE(ink.right(), 100);
    EXPECT_LE(ink.bottom(), 200 - 20);
}

// A 14-point font measures 14 units on the layout device, and draws the same in a 72-dpi
// and a 96-dpi image, laid out or drawn straight as a widget draws.
TEST(ViewDrawing, FontsMeasureTheSameOnEveryDevice)
{
    const FontSpec spec{"DejaVu Sans", 14};
    const QFont layoutFont = Font72::font(spec);
    EXPECT_NEAR(Font72::metrics(layoutFont).ascent() + Font72::metrics(layoutFont).descent(), 14 * 1.164, 0.6);

    Graph g;
    MyView* container = g.view("c", Rect(0, 0, 100, 40));
    TextStorage* storage = textIn(&g.vm, "H", 14, Qt::black);
    container->addSubview(new MySimpleTextView(Rect(5, 5, 40, 30), storage, "t", "c", &g.vm));
    const int at72 = inkBox(GraphItem::image(container)).height();

    auto at96 = [] {
        QImage image(100, 40, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::transparent);
        return image;
    };
    QImage screen = at96();
    QPainter painter(&screen);
    painter.translate(0, 40);
    painter.scale(1, -1);
    GraphItem::renderTree(&painter, container);
    painter.end();
    EXPECT_EQ(inkBox(screen).height(), at72);

    QImage widget = at96();
    QPainter wp(&widget);
    wp.setFont(Font72::forDevice(spec, &widget));
    wp.drawText(QPointF(5, 30), "H");
    wp.end();
    EXPECT_EQ(inkBox(widget).height(), at72);
    EXPECT_NEAR(at72, 10, 1) << "the cap height of DejaVu Sans at 14 points";
}

// The table's fonts measure as the graph's, fractional sizes included.
TEST(ViewDrawing, TableFontsMeasureAsGraphFonts)
{
    MyTableView table;
    for (double points : {14.0, 10.5, 9.25}) {
        const FontSpec spec{"DejaVu Sans", points};
        table.setTitleRowFont(TextAttributes{spec, std::nullopt});
        const QFontMetricsF graph = Font72::metrics(Font72::font(spec));
        EXPECT_NEAR(QFontMetricsF(table.titleQFont()).height(), graph.height(), 0.05) << points;
        EXPECT_NEAR(QFontMetricsF(table.titleQFont()).horizontalAdvance("Mean"), graph.horizontalAdvance("Mean"), 0.3)
            << points;
    }
}

// drawnRect() holds all the ink of the view drawn four times enlarged and no more: sharp miters,
// caps, line paths only stroked, clear colours, a group member; strokes change case by case.
TEST(ViewDrawing, DrawnRectIsWhereTheInkIs)
{
    BezierPath point;   // a 20° miter at (50, 80), reaching well past the path's points
    point.moveToPoint({45, 20});
    point.lineToPoint({50, 80});
    point.lineToPoint({55, 20});
    point.closePath();
    point.setLineWidth(3);
    BezierPath flat;   // an open corner, ends at (20, 50) and (70, 70)
    flat.moveToPoint({20, 50});
    flat.lineToPoint({70, 50});
    flat.lineToPoint({70, 70});
    flat.setLineWidth(6);
    BezierPath square = flat;
    square.setLineCapStyle(Qt::SquareCap);
    const struct {
        const char* name;
        BezierPath path;
        bool line, member;   // a line path; a group member with bounds origin (-50, -50)
        QColor fill, stroke;
    } cases[] = {
        {"sharp miter", point, false, false, kRed, kBlue},
        {"sharp miter, a member", point, false, true, kRed, kBlue},
        {"flat caps", flat, true, false, kRed, kBlue},
        {"square caps", square, true, false, kRed, kBlue},
        {"fill alone", point, false, false, kRed, Qt::transparent},
        {"line path with a fill colour alone", flat, true, false, kRed, Qt::transparent},
        {"both colours clear", point, false, false, Qt::transparent, Qt::transparent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Graph g;
        MyView* container = g.view("v", Rect(0, 0, 100, 100));
        GraphItem* v = container;
        g.vm.viewColors.insert(c.member ? "m" : "v", {c.fill, c.stroke});
        if (c.member) {
            BezierPath path = c.path;
            path.transformUsingAffineTransform(QTransform::fromTranslate(-50, -50));
            g.vm.viewBezier.insert("m", path);
            container->addSubview(v = new MySimpleView("m", "v", &g.vm, Rect(0, 0, 100, 100), Point{-50, -50}));
        } else {
            g.vm.viewBeziers.insert("v", c.line ? PathPair{{}, {c.path}} : PathPair{{c.path}, {}});
        }
        const Rect said = v->drawnRect(), b = v->bounds();
        const QRect ink = inkBox(GraphItem::image(v, 4), 0);   // a sharp point ends in faint pixels
        EXPECT_EQ(said.isEmpty(), ink.isEmpty());
        if (ink.isEmpty())
            continue;
        // The ink in bounds coordinates (y up), to a quarter point.
        EXPECT_NEAR(said.minX(), b.origin.x + ink.left() / 4.0, 0.5);
        EXPECT_NEAR(said.maxX(), b.origin.x + (ink.right() + 1) / 4.0, 0.5);
        EXPECT_NEAR(said.minY(), b.origin.y + (400 - ink.bottom() - 1) / 4.0, 0.5);
        EXPECT_NEAR(said.maxY(), b.origin.y + (400 - ink.top()) / 4.0, 0.5);
    }
}
