// A graph wider than its page (many categories, or wide columns) is exported, stored in the
// package and printed whole, as the window shows it: every category label is in the PDF's
// text and every box, dot and the graph's frame are drawn where the window has them. A graph
// that fits its page keeps the page's size.
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

// Pixels that show the paper (white, or nothing) within the box of all else drawn on an
// output, `inset` pixels in from its edges (which blend with the paper around it): none
// where a graph that draws nothing white has its page's colour to its edges.
int paperWithin(const PdfPage& out, int inset)
{
    const auto paper = [](QRgb c) { return qAlpha(c) < 128 || (qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 220); };
    QRect box;
    for (int y = 0; y < out.image.height(); ++y)
        for (int x = 0; x < out.image.width(); ++x)
            if (!paper(out.image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    box.adjust(inset, inset, -inset, -inset);
    int found = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            found += paper(out.image.pixel(x, y));
    return found;
}

// A pixel as it shows on white paper: the rendering leaves the paper transparent.
QRgb onWhite(QRgb c)
{
    const int a = qAlpha(c);
    const auto over = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
    return qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c)));
}

// Pixels within `box` of a page in #ff8000 at `opacity` (on white) that show another share of
// the orange: deeper where the page is painted twice over, paler at a seam or where paper
// shows. Black ink blended with the page is darker in red too: it does not count.
int offPageColour(const PdfPage& out, const QRect& box, double opacity)
{
    int found = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb c = onWhite(out.image.pixel(x, y));
            // How much of the orange each of green and blue shows.
            const double fromGreen = (255 - qGreen(c)) / 127.0, fromBlue = (255 - qBlue(c)) / 255.0;
            found += qRed(c) >= 250 && std::abs(fromGreen - fromBlue) < 0.06 && std::abs(fromBlue - opacity) > 0.04;
        }
    return found;
}

// The box of an output that is not paper (white, or nothing), `inset` pixels in from its
// edges.
QRect pageBox(const PdfPage& out, int inset)
{
    QRect box;
    for (int y = 0; y < out.image.height(); ++y)
        for (int x = 0; x < out.image.width(); ++x)
            if (const QRgb c = onWhite(out.image.pixel(x, y)); !(qRed(c) > 250 && qGreen(c) > 250 && qBlue(c) > 250))
                box |= QRect(x, y, 1, 1);
    return box.adjusted(inset, inset, -inset, -inset);
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

    // The graph of case n: a fresh document (the one before closed) holding the table, its
    // first column by its second, made through the outline; its window in front.
    // Ties spread wide reach past the page.
    MyWindowController* graphOfCase(int n, const QByteArray& table, const QString& graphType, bool spreadTies = false)
    {
        if (n > 0) {
            EXPECT_TRUE(controller->closeDocument(doc));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            doc = static_cast<Document*>(controller->newDocument());
        }
        import(table);
        const QStringList columns = doc->variables;
        makeAnalysis(QString("case%1").arg(n), {columns[0]}, {columns[1]}, graphType);
        MyWindowController* g = doc->graphWindowConts.last();
        if (g)
            front(g);
        if (g && spreadTies && !typeInSettings(g, {"dotsProperties", "#0", "betweenDots"}, "6"))
            return nullptr;
        return g;
    }
    // The page colour chosen in the colour well, its settings row clicked first.
    void chooseBackground(MyWindowController* g, const Color& colour)
    {
        auto* row = settingsRow(g, {"graphProperties", "background", "color"});
        QTest::mouseClick(g->configOlv->viewport(), Qt::LeftButton, {}, centreIn(g->configOlv, row, 0, g->rootItem), apart());
        QCoreApplication::processEvents();
        scripted.dialogs.colors.push_back(colour);
        g->colorWell->click();
    }
    // The graph exported, saved in a package and printed to PDF files named after file, as the
    // user does it; their paths in that order.
    QStringList outputs(MyWindowController* g, const QString& file)
    {
        const QString exported = dir.filePath(file + "-export.pdf");
        scripted.dialogs.files.push_back(exported);
        front(g);
        command(g, "Export PDF…")->trigger();
        QString error;
        const QString package = dir.filePath(file + ".vlbdoc");
        EXPECT_TRUE(controller->saveAs(doc, package, &error)) << error.toStdString();
        const QString printed = dir.filePath(file + "-print.pdf");
        front(g);
        scripted.dialogs.printFiles.push_back(printed);
        command(g, "Print…")->trigger();
        return {exported, package + QString("/graphPDF/graph%1.pdf").arg(g->graphID), printed};
    }

    // Checks that page holds the whole graph as the window shows it: found by the category
    // labels' places on the page, every label and every element is on it, at one scale,
    // inside within (points, y down). The scale found.
    double expectWhole(PdfPage& page, MyViewManager* vm, const QStringList& labels, const QRectF& within)
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

    QStringList viewSize(MyWindowController* g) const
    {
        const QVariant background = dig(doc->graphSettings.value(g->graphID), {"graphProperties", "background"});
        return {dig(background, {"viewWidth"}).toString(), dig(background, {"viewHeight"}).toString()};
    }
};

// Exported, stored in the package and printed to a PDF file: the whole graph, the page grown
// to hold it (export and package) or scaled onto the paper (print); a graph that fits keeps
// its page's size. Ties spread their dots past the frame on a pale yellow page: the copy of
// the graph alone holds them too, and the strip the page grew by shows no paper.
TEST_F(WholeGraphOutput, WideGraphsAreOutputWhole)
{
    const struct {
        const char* name;
        QByteArray table;
        QString graphType;
        QStringList labels;    // its category labels
        QString columnWidth;   // empty: the default
        bool fits;             // within its page
        bool ties = false;     // dots 6 apart, a pale yellow page
    } cases[] = {
        {"eight categories, boxplot", treatments(8), "boxplot", QString("ABCDEFGH").split("", Qt::SkipEmptyParts), {}, false},
        {"ten categories, boxplot", treatments(10), "boxplot", QString("ABCDEFGHIJ").split("", Qt::SkipEmptyParts), {}, false},
        {"columns 250 wide, dot plot", kMtcars, "scatter", {"4", "6", "8"}, "250", false},
        {"columns 250 wide, boxplot", kMtcars, "boxplot", {"4", "6", "8"}, "250", false},
        {"three categories, boxplot", treatments(3), "boxplot", {"A", "B", "C"}, {}, true},
        // 12 more of one value in the first and the last category, spread far to both sides
        {"ties, eight categories", treatments(8) + QByteArray("7,A\n156,H\n").repeated(12), "scatter",
         QString("ABCDEFGH").split("", Qt::SkipEmptyParts), {}, false, true},
        {"ties, three categories", treatments(3) + QByteArray("7,A\n21,C\n").repeated(12), "scatter", {"A", "B", "C"}, {},
         false, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = QString("case%1").arg(n);
        MyWindowController* g = graphOfCase(n++, c.table, c.graphType, c.ties);
        ASSERT_TRUE(g);
        if (!c.columnWidth.isEmpty()) {
            ASSERT_TRUE(typeInSettings(g, {"graphProperties", "graphRect", "columnWidth"}, c.columnWidth));
        }
        if (c.ties)
            chooseBackground(g, Color::rgb(1.0, 0.9, 0.6));
        QCoreApplication::processEvents();
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

        const QStringList files = outputs(g, file);
        PdfPage exported(files[0]), stored(files[1]), printed(files[2]);
        ASSERT_EQ(QVector<int>({exported.pages, stored.pages, printed.pages}), QVector<int>({1, 1, 1}));
        if (c.fits)
            EXPECT_EQ(exported.size, pageSize);
        else
            EXPECT_GT(exported.size.width(), pageSize.width());
        EXPECT_GE(exported.size.height(), pageSize.height());
        {
            SCOPED_TRACE("export");
            EXPECT_NEAR(expectWhole(exported, vm, c.labels, QRectF(QPointF(), exported.size)), 1.0, 0.01);
        }

        EXPECT_EQ(stored.size, exported.size);
        {
            SCOPED_TRACE("package");
            EXPECT_NEAR(expectWhole(stored, vm, c.labels, QRectF(QPointF(), stored.size)), 1.0, 0.01);
        }

        dynamic_cast<MyOutputView*>(vm->viewDict.value(MyViewManager::kGraphView))->copy();
        PdfPage copied(write(file + "-copy.pdf", QApplication::clipboard()->mimeData()->data("application/pdf")));
        {
            SCOPED_TRACE("copy");
            EXPECT_NEAR(expectWhole(copied, vm, c.labels, QRectF(QPointF(), copied.size)), 1.0, 0.01);
        }

        const QRectF printable = doc->printInfo.paintRect(QPageLayout::Point);
        {
            SCOPED_TRACE("print");
            const double scale = expectWhole(printed, vm, c.labels, printable.adjusted(-0.5, -0.5, 0.5, 0.5));
            // Scaled down only when the graph is larger than the printable area.
            if (exported.size.width() <= printable.width() && exported.size.height() <= printable.height())
                EXPECT_NEAR(scale, 1.0, 0.01);
            else
                EXPECT_NEAR(scale, std::min(printable.width() / exported.size.width(),
                                            printable.height() / exported.size.height()), 0.01);
        }
        // Where the page grew no paper shows; printed, its edges blend with the paper around it.
        if (c.ties) {
            for (const PdfPage* pdf : {&exported, &stored, &printed})
                EXPECT_EQ(paperWithin(*pdf, pdf == &printed ? 2 : 0), 0)
                    << (pdf == &printed ? "print" : pdf == &stored ? "package" : "export");
        }
    }
}

// A see-through page colour (#ff8000 at two opacities, chosen in the colour well) is one
// colour to the page's edges in the exported, stored and printed PDFs: where the page grew
// past the background no strip of it is painted twice over, on the old page's edges least of
// all. A page that fits is drawn as the graph alone draws it.
TEST_F(WholeGraphOutput, SeeThroughPagesAreOneColourToTheirEdges)
{
    const struct {
        const char* name;
        QByteArray table;
        QString graphType;
        int alpha;
        bool grown;   // ties spread past the page
    } cases[] = {
        {"grown, alpha 128", treatments(3) + QByteArray("7,A\n21,C\n").repeated(12), "scatter", 128, true},
        {"grown, alpha 200", treatments(3) + QByteArray("7,A\n21,C\n").repeated(12), "scatter", 200, true},
        {"fits, alpha 128", treatments(3), "boxplot", 128, false},
        {"fits, alpha 200", treatments(3), "boxplot", 200, false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = QString("case%1").arg(n);
        MyWindowController* g = graphOfCase(n++, c.table, c.graphType, c.grown);
        ASSERT_TRUE(g);
        chooseBackground(g, Color::rgb(1.0, 128 / 255.0, 0.0, c.alpha / 255.0));
        QCoreApplication::processEvents();
        MyViewManager* vm = g->viewManager;
        const QColor chosen = vm->viewColors.value(MyViewManager::kBackground).fillColor;
        ASSERT_EQ(chosen.rgba(), qRgba(255, 128, 0, c.alpha));
        const QStringList size = viewSize(g);
        const QSizeF pageSize(size[0].toDouble(), size[1].toDouble());

        const QStringList files = outputs(g, file);
        PdfPage exported(files[0]), stored(files[1]), printed(files[2]);
        ASSERT_EQ(QVector<int>({exported.pages, stored.pages, printed.pages}), QVector<int>({1, 1, 1}));
        EXPECT_EQ(exported.size.width() > pageSize.width(), c.grown);

        // #ff8000 at this opacity on white, worked out by hand.
        const double opacity = c.alpha / 255.0;
        const QRgb page = qRgb(255, int(std::lround(255 - 127 * opacity)), int(std::lround(255 - 255 * opacity)));
        for (const PdfPage* pdf : {&exported, &stored, &printed}) {
            SCOPED_TRACE(pdf == &printed ? "print" : pdf == &stored ? "package" : "export");
            // Printed, the page's edges blend with the paper around it; a page that fits has
            // the background's own edge, its line over its fill, along its edges.
            const int inset = c.grown ? 0 : 3;
            const QRect box = pdf == &printed ? pageBox(*pdf, 2 + inset)
                                              : pdf->image.rect().adjusted(inset, inset, -inset, -inset);
            ASSERT_FALSE(box.isEmpty());
            EXPECT_EQ(offPageColour(*pdf, box, opacity), 0);
            // Its corners and the middle of its top edge have the page's colour, the strip
            // the page grew by and the old page alike.
            const QRect in = box.adjusted(1, 1, -1, -1);
            for (const QPoint p : {in.topLeft(), in.topRight(), in.bottomLeft(), in.bottomRight(),
                                   QPoint(in.center().x(), in.top())}) {
                const QRgb at = onWhite(pdf->image.pixel(p));
                EXPECT_LE(std::abs(qRed(at) - qRed(page)) + std::abs(qGreen(at) - qGreen(page))
                              + std::abs(qBlue(at) - qBlue(page)),
                          3)
                    << "at " << p.x() << "," << p.y() << ": " << qRed(at) << "," << qGreen(at) << "," << qBlue(at);
            }
        }
        // A page that fits shows what the graph alone draws on it.
        if (!c.grown) {
            const QStringList selected = vm->selectedViews;
            vm->selectView({});
            const QByteArray graphAlone = GraphItem::pdfData(vm->viewDict.value(MyViewManager::kBackground));
            PdfPage alone(write(file + "-alone.pdf", graphAlone));
            vm->selectView(selected);
            EXPECT_EQ(exported.image, alone.image);
            EXPECT_EQ(stored.image, alone.image);
        }
    }
}
