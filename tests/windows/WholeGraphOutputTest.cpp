// A graph wider than its page (many categories, or wide columns) is exported, stored in the
// package and printed whole, as the window shows it: every category label is in the PDF's
// text and every box, dot and the graph's frame are drawn where the window has them, dots
// spread past the graph's frame too. A graph that fits its page keeps the page's size. The
// whole page is the page's colour, where the page grew too.
#include "AnalysisFixture.h"
#include "views/MyOutputView.h"
#include "windows/MyColorWell.h"
#include <QMimeData>
#include <QRegularExpression>

namespace {

// n treatments "A", "B", … with eight values each, spread like a spray trial's decreases.
QByteArray treatments(int n)
{
    QByteArray csv = "decrease,treatment\n";
    for (int t = 0; t < n; ++t)
        for (int i = 0; i < 8; ++i)
            csv += QByteArray::number(2 + 3 * t * t + (i * 7 + t * 5) % 17) + ',' + char('A' + t) + '\n';
    return csv;
}

// n treatments "A", "B", … with eight values each, and `tied` more of one value in the first
// and the last: at a wide dot spacing their lanes spread far to both sides.
QByteArray ties(int n, int tied)
{
    QByteArray csv = treatments(n);
    for (int i = 0; i < tied; ++i)
        csv += "7,A\n" + QByteArray::number(3 * (n - 1) * (n - 1) + 9) + ',' + char('A' + n - 1) + '\n';
    return csv;
}

// mtcars' miles per gallon by cylinders.
const QByteArray kMtcars = "mpg,cyl\n21.0,6\n21.0,6\n22.8,4\n21.4,6\n18.7,8\n18.1,6\n14.3,8\n24.4,4\n22.8,4\n"
                           "19.2,6\n17.8,6\n16.4,8\n17.3,8\n15.2,8\n10.4,8\n10.4,8\n14.7,8\n32.4,4\n30.4,4\n"
                           "33.9,4\n21.5,4\n15.5,8\n15.2,8\n13.3,8\n19.2,8\n27.3,4\n26.0,4\n30.4,4\n15.8,8\n"
                           "19.7,6\n15.0,8\n21.4,4\n";

// Where a whole word is drawn on a PDF's first page (points, y down); empty when it is not.
QRectF wordAt(PdfPage& page, const QString& word)
{
    const QRegularExpression whole(QStringLiteral("(?<![\\w.])%1(?![\\w.])").arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch m = whole.match(page.text);
    return m.hasMatch() ? page.pdf.getSelectionAtIndex(0, int(m.capturedStart()), int(word.size())).boundingRectangle()
                        : QRectF();
}

// Pixels with ink (dark and opaque) in a rectangle of the page (points, y down).
int inkIn(const PdfPage& page, const QRectF& r)
{
    const QRect pixels = QRect(PdfPage::pixel(r.topLeft()), PdfPage::pixel(r.bottomRight())).intersected(page.image.rect());
    int ink = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (const QRgb c = page.image.pixel(x, y); qAlpha(c) > 128 && qGray(c) < 160)
                ++ink;
    return ink;
}

// How a page shows its colour on an output: of the pixels that should show it, how many do
// not, on the page's edges and in the strip that the page grew by.
struct PageColour {
    int checked = 0, wrong = 0;
    int edgeChecked = 0, edgeWrong = 0;
    int stripChecked = 0, stripWrong = 0;
    int strip = 0;   // pixels of the strip
};

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Marks every pixel within reach of a marked one (a square of side 2·reach + 1).
std::vector<char> grown(std::vector<char> mask, int w, int h, int reach)
{
    std::vector<char> across(mask.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int d = std::max(0, x - reach); d <= std::min(w - 1, x + reach) && !across[y * w + x]; ++d)
                across[y * w + x] = mask[y * w + d];
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            mask[y * w + x] = 0;
            for (int d = std::max(0, y - reach); d <= std::min(h - 1, y + reach) && !mask[y * w + x]; ++d)
                mask[y * w + x] = across[d * w + x];
        }
    return mask;
}

// Compares an output with a fresh rendering of the window's scene laid on a page covered in
// colour: the page, in scene coordinates (points, y down), is drawn on the output at `at`
// (points) and `scale`. Wherever that rendering shows only the colour for a few points
// around, the output must show the colour. oldPage: the background in scene coordinates.
// Within `border` pixels of the page's edges nothing is checked (the page on paper, whose
// edges blend with the paper).
PageColour pageColour(const PdfPage& out, QGraphicsScene* scene, const QRectF& page, const QRectF& oldPage,
                      QPointF at, double scale, const QColor& colour, int border = 0)
{
    const double px = PdfPage::kScale * scale;   // pixels a point
    const QPoint origin = PdfPage::pixel(at);
    const int w = int(std::lround(page.width() * px)), h = int(std::lround(page.height() * px));
    QImage expected(w, h, QImage::Format_ARGB32);
    expected.fill(colour);
    {
        QPainter painter(&expected);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        scene->render(&painter, QRectF(0, 0, w, h), page, Qt::IgnoreAspectRatio);
    }
    std::vector<char> drawn(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            drawn[size_t(y) * w + x] = !near(expected.pixel(x, y), colour.rgb(), 3);
    // Reach covers where the output's page was found (within a point or so) and antialiasing.
    drawn = grown(std::move(drawn), w, h, int(std::ceil(3 * px)));
    PageColour c;
    const QRectF old((oldPage.topLeft() - page.topLeft()) * px, oldPage.size() * px);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool inStrip = !old.contains(QPointF(x + 0.5, y + 0.5));
            c.strip += inStrip;
            const QPoint p = origin + QPoint(x, y);
            if (drawn[size_t(y) * w + x] || !out.image.rect().contains(p) || x < border || y < border
                || x >= w - border || y >= h - border)
                continue;
            const bool wrong = !near(out.image.pixel(p), colour.rgb(), 4);
            ++c.checked;
            c.wrong += wrong;
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                ++c.edgeChecked;
                c.edgeWrong += wrong;
            }
            if (inStrip) {
                ++c.stripChecked;
                c.stripWrong += wrong;
            }
        }
    return c;
}

} // namespace

class WholeGraphOutput : public AnalysisFixture {
protected:
    // Where the window shows a view: its bounds in the scene (points, y down).
    static QRectF shown(const GraphItem* v)
    {
        const Rect b = v->bounds();
        return v->mapToScene(QRectF(b.origin.x, b.origin.y, b.width(), b.height())).boundingRect();
    }
    // Where the window shows each of these texts.
    static QMap<QString, QRectF> textsShown(MyViewManager* vm, const QStringList& texts)
    {
        QMap<QString, QRectF> out;
        for (QGraphicsItem* item : vm->scene()->items())
            if (auto* text = dynamic_cast<MyTextView*>(item); text && text->isVisible())
                if (const QString shownText = text->textStorage()->toPlainText(); texts.contains(shownText))
                    out.insert(shownText, shown(text));
        return out;
    }
    // The boxes, or the dots, and the graph's frame, as the window shows them.
    static QList<std::pair<QString, QRectF>> elements(MyViewManager* vm)
    {
        QList<std::pair<QString, QRectF>> out;
        for (const auto& [group, views] : vm->viewsDict)
            if (group.startsWith("box\t") || group.startsWith("dot\t"))
                for (const MySimpleView* v : views)
                    if (v->isVisible())
                        out.append({group, shown(v)});
        // The frame drawn in the graph rectangle's view.
        const Rect r = vm->graphRect;
        out.append({MyViewManager::kGraphRect, vm->viewDict.value(MyViewManager::kGraphRect)
                                                   ->mapToScene(QRectF(r.origin.x, r.origin.y, r.width(), r.height()))
                                                   .boundingRect()});
        return out;
    }

    // Checks that page holds the whole graph as the window shows it: found by the category
    // labels' places on the page, every label and every element is on it, at one scale,
    // inside within (points, y down). The scale found.
    // shiftOut, when given, gets where the scene's origin lies on the page (page = scene ·
    // scale + shift).
    double expectWhole(PdfPage& page, MyViewManager* vm, const QStringList& labels, const QRectF& within,
                       QPointF* shiftOut = nullptr)
    {
        const QMap<QString, QRectF> window = textsShown(vm, labels);
        EXPECT_EQ(window.keys(), labels);
        if (window.size() < 2)
            return 0;
        // A text beyond the page is still read from the file: it must be on the page.
        for (auto it = window.begin(); it != window.end(); ++it) {
            const QRectF at = wordAt(page, it.key());
            EXPECT_FALSE(at.isNull()) << "label " << it.key().toStdString() << " in " << page.text.simplified().toStdString();
            EXPECT_TRUE(within.contains(at)) << "label " << it.key().toStdString() << " beyond the page";
        }
        // The leftmost and the rightmost label give the scale and the place of the window's
        // picture.
        const auto byX = [](const QRectF& a, const QRectF& b) { return a.center().x() < b.center().x(); };
        const QString left = window.key(*std::min_element(window.begin(), window.end(), byX));
        const QString right = window.key(*std::max_element(window.begin(), window.end(), byX));
        const QRectF first = window.value(left), last = window.value(right);
        const QRectF onFirst = wordAt(page, left), onLast = wordAt(page, right);
        if (onFirst.isNull() || onLast.isNull())
            return 0;
        const double scale = (onLast.center().x() - onFirst.center().x()) / (last.center().x() - first.center().x());
        const QPointF shift = onFirst.center() - first.center() * scale;
        if (shiftOut)
            *shiftOut = shift;
        const auto onPage = [&](const QRectF& r) { return QRectF(r.topLeft() * scale + shift, r.size() * scale); };
        for (auto it = window.begin(); it != window.end(); ++it) {
            const QPointF off = wordAt(page, it.key()).center() - onPage(it.value()).center();
            EXPECT_LT(off.manhattanLength(), 2.0) << "label " << it.key().toStdString() << " out of place";
        }
        for (const auto& [name, r] : elements(vm)) {
            const QRectF at = onPage(r);
            EXPECT_TRUE(within.contains(at)) << name.toStdString() << " beyond the page";
            // A box's or the frame's sides, a dot's middle.
            if (name == MyViewManager::kGraphRect || name.startsWith("box\t")) {
                for (const double x : {at.left(), at.right()})
                    EXPECT_GT(inkIn(page, QRectF(x - 1.5, at.top(), 3, at.height())), at.height() * PdfPage::kScale * 0.8)
                        << name.toStdString() << " side at " << x;
            } else {
                EXPECT_GT(inkIn(page, at), 0) << name.toStdString();
            }
        }
        return scale;
    }

    // The settings a case asks for, typed or chosen in the settings outline as a user does.
    void dress(MyWindowController* g, const QString& columnWidth, const QString& betweenDots, const std::optional<Color>& colour)
    {
        if (!columnWidth.isEmpty())
            EXPECT_TRUE(typeInSettings(g, {"graphProperties", "graphRect", "columnWidth"}, columnWidth));
        if (!betweenDots.isEmpty())
            EXPECT_TRUE(typeInSettings(g, {"dotsProperties", "#0", "betweenDots"}, betweenDots));
        if (colour) {
            QTest::mouseClick(g->configOlv->viewport(), Qt::LeftButton, {},
                              centreIn(g->configOlv, settingsRow(g, {"graphProperties", "background", "color"}), 0, g->rootItem),
                              apart());
            QCoreApplication::processEvents();
            scripted.dialogs.colors.push_back(*colour);
            g->colorWell->click();
        }
        QCoreApplication::processEvents();
    }

    // Every pixel of an output's page that the window's drawing leaves to the page shows the
    // page's colour, on the page's edges and in the strip it grew by: page and background in
    // scene coordinates, the output's scale and shift as expectWhole found them.
    static void expectPageColour(const PdfPage& out, MyViewManager* vm, const QRectF& page, const QRectF& background,
                                 double scale, QPointF shift, bool onPaper)
    {
        const QColor colour = vm->viewColors.value(MyViewManager::kBackground).fillColor;
        const QPointF at = onPaper ? shift + page.topLeft() * scale : QPointF();
        const PageColour found = pageColour(out, vm->scene(), page, background, at, scale, colour,
                                            onPaper ? int(std::ceil(2 * PdfPage::kScale * scale)) : 0);
        EXPECT_EQ(found.wrong, 0) << found.checked << " checked";
        EXPECT_EQ(found.stripWrong, 0);
        if (background != page)
            EXPECT_GT(found.stripChecked, found.strip / 4) << found.strip << " in the strip";
        if (!onPaper) {
            // Most of the edges show nothing but the colour. On paper they blend with it.
            EXPECT_EQ(found.edgeWrong, 0);
            EXPECT_GT(found.edgeChecked, out.image.width() + out.image.height());
        }
    }

    QStringList viewSize(MyWindowController* g) const
    {
        const QVariant background = dig(doc->graphSettings.value(g->graphID), {"graphProperties", "background"});
        return {dig(background, {"viewWidth"}).toString(), dig(background, {"viewHeight"}).toString()};
    }
};

// Exported, stored in the package and printed to a PDF file: the whole graph, the page grown
// to hold it (export and package) or scaled onto the paper (print); a graph that fits keeps
// its page's size. A coloured page is that colour to its edges, where it grew too, checked
// against the window's own drawing on a page of that colour.
TEST_F(WholeGraphOutput, WideGraphsAreOutputWhole)
{
    const struct {
        const char* name;
        QByteArray table;
        QString graphType;
        QStringList labels;    // its category labels
        QString columnWidth;   // empty: the default
        bool fits;             // within its page
        QString betweenDots = {};   // empty: the default
        bool coloured = false;      // a pale yellow page
    } cases[] = {
        {"eight categories, boxplot", treatments(8), "boxplot", QString("ABCDEFGH").split("", Qt::SkipEmptyParts), {}, false, {}, true},
        {"ten categories, boxplot", treatments(10), "boxplot", QString("ABCDEFGHIJ").split("", Qt::SkipEmptyParts), {}, false},
        {"columns 250 wide, dot plot", kMtcars, "scatter", {"4", "6", "8"}, "250", false},
        {"columns 250 wide, boxplot", kMtcars, "boxplot", {"4", "6", "8"}, "250", false},
        {"three categories, boxplot", treatments(3), "boxplot", {"A", "B", "C"}, {}, true, {}, true},
        // Ties spread past the frame, on both sides, of a graph wider than its page and of one
        // that fits it.
        {"ties at a wide dot spacing, eight categories", ties(8, 12), "scatter",
         QString("ABCDEFGH").split("", Qt::SkipEmptyParts), {}, false, "6", true},
        {"ties at a wide dot spacing, three categories", ties(3, 12), "scatter", {"A", "B", "C"}, {}, false, "6", true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = QString("case%1").arg(n++);
        if (n > 1) {
            ASSERT_TRUE(controller->closeDocument(doc));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            doc = static_cast<Document*>(controller->newDocument());
        }
        import(c.table);
        const QStringList columns = doc->variables;
        makeAnalysis(file, {columns[0]}, {columns[1]}, c.graphType);
        MyWindowController* g = doc->graphWindowConts.last();
        ASSERT_TRUE(g);
        front(g);
        dress(g, c.columnWidth, c.betweenDots, c.coloured ? std::optional(Color::rgb(1.0, 0.9, 0.6)) : std::nullopt);
        MyViewManager* vm = g->viewManager;
        const QStringList size = viewSize(g);
        const QSizeF pageSize(size[0].toDouble(), size[1].toDouble());
        // The case is what it says: the graph reaches beyond its page, or lies within it.
        const QRectF page = shown(vm->viewDict.value(MyViewManager::kBackground));
        QRectF graph;
        for (const QRectF& r : textsShown(vm, c.labels))
            graph |= r;
        for (const auto& element : elements(vm))
            graph |= element.second;
        EXPECT_EQ(page.size(), pageSize);
        EXPECT_EQ(page.contains(graph), c.fits);
        if (!c.betweenDots.isEmpty()) {
            // Dots beyond the graph's frame and beyond "graphView", told in the range alert.
            const QRectF graphView = shown(vm->viewDict.value(MyViewManager::kGraphView));
            const auto drawn = elements(vm);
            EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [&](const auto& e) { return !graphView.contains(e.second); }));
            QTRY_VERIFY(scripted.dialogs.alerts.contains(
                QStringLiteral("Some objects (dots or bars) are outside the rectangle of the graph.")));
        }

        scripted.dialogs.files.push_back(dir.filePath(file + "-export.pdf"));
        front(g);
        command(g, "Export PDF…")->trigger();
        PdfPage exported(dir.filePath(file + "-export.pdf"));
        ASSERT_EQ(exported.pages, 1);
        if (c.fits)
            EXPECT_EQ(exported.size, pageSize);
        else
            EXPECT_GT(exported.size.width(), pageSize.width());
        EXPECT_GE(exported.size.height(), pageSize.height());
        // Where the page lies in the scene, found by the labels on the exported page.
        QPointF shift;
        {
            SCOPED_TRACE("export");
            EXPECT_NEAR(expectWhole(exported, vm, c.labels, QRectF(QPointF(), exported.size), &shift), 1.0, 0.01);
        }
        QRectF onScene(-shift, exported.size);
        if (c.fits) {
            EXPECT_LT((onScene.topLeft() - page.topLeft()).manhattanLength(), 2.0);
            onScene = page;
        }

        QString error;
        const QString package = dir.filePath(file + ".vlbdoc");
        ASSERT_TRUE(controller->saveAs(doc, package, &error)) << error.toStdString();
        PdfPage stored(package + QString("/graphPDF/graph%1.pdf").arg(g->graphID));
        ASSERT_EQ(stored.pages, 1);
        EXPECT_EQ(stored.size, exported.size);
        {
            SCOPED_TRACE("package");
            EXPECT_NEAR(expectWhole(stored, vm, c.labels, QRectF(QPointF(), stored.size)), 1.0, 0.01);
        }
        if (c.coloured) {
            SCOPED_TRACE("colour");
            for (const PdfPage* pdf : {&exported, &stored})
                expectPageColour(*pdf, vm, onScene, page, 1.0, QPointF(), false);
        }

        // The copy, of the graph without the page around it, holds it whole too.
        dynamic_cast<MyOutputView*>(vm->viewDict.value(MyViewManager::kGraphView))->copy();
        PdfPage copied(write(file + "-copy.pdf", QApplication::clipboard()->mimeData()->data("application/pdf")));
        ASSERT_EQ(copied.pages, 1);
        {
            SCOPED_TRACE("copy");
            EXPECT_NEAR(expectWhole(copied, vm, c.labels, QRectF(QPointF(), copied.size)), 1.0, 0.01);
        }

        const QString printedFile = dir.filePath(file + "-print.pdf");
        front(g);
        scripted.dialogs.printFiles.push_back(printedFile);
        command(g, "Print…")->trigger();
        PdfPage printed(printedFile);
        ASSERT_EQ(printed.pages, 1);
        const QRectF printable = doc->printInfo.paintRect(QPageLayout::Point);
        {
            SCOPED_TRACE("print");
            QPointF at;
            const double scale = expectWhole(printed, vm, c.labels, printable.adjusted(-0.5, -0.5, 0.5, 0.5), &at);
            if (c.coloured && scale > 0)
                expectPageColour(printed, vm, onScene, page, scale, at, true);
            // Scaled down only when the graph is larger than the printable area.
            if (exported.size.width() <= printable.width() && exported.size.height() <= printable.height())
                EXPECT_NEAR(scale, 1.0, 0.01);
            else
                EXPECT_NEAR(scale, std::min(printable.width() / exported.size.width(),
                                            printable.height() / exported.size.height()), 0.01);
        }
    }
}
