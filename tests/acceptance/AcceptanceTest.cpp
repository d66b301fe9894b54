// The application used as a person uses it, through its windows offscreen with scripted
// panels: a CSV file imported, a dot plot and a boxplot by category made in the main window,
// settings changed in the outline and on the graph, undone and redone from the Edit menu,
// statistics copied, graphs exported and printed as PDF (read back: ink where the settings
// put the elements, texts extractable once), a new paper, and the document saved, the
// application quit and the document opened again as it was.
#include "windows/AnalysisFixture.h"
#include <QMimeData>

namespace {

// Quoted fields (a comma, doubled quotes, a title with a comma) and empty cells: one mass
// missing, most labels missing.
const QByteArray kCsv = "Site,Mass,\"Label, long\"\n"
                        "\"north, upper\",14,\"said \"\"hi\"\"\"\n"
                        "\"north, upper\",10,\n"
                        "south,9,x\n"
                        "south,,\"no mass\"\n"
                        "\"north, upper\",18,\n"
                        "south,40,\n"
                        "south,5,\n"
                        "\"north, upper\",12,\n"
                        "south,17,\n"
                        "south,13,\n"
                        "\"north, upper\",16,\n";

// Read off kCsv by hand; box values by Tukey's hinges with 1.5 IQR fences, worked by hand:
// north 10 12 14 16 18: q1 12, median 14, q3 16, fences 6 and 22, whiskers 10 to 18;
// south 5 9 13 17 40: q1 9, median 13, q3 17, fences -3 and 29, whiskers 5 to 17, 40 an
// outlier. Nothing is drawn at 30 in either column.
struct Category {
    QString label;
    QList<double> masses;
    double q1, median, q3, low, high;
    QList<double> outliers;
    QString statistics;   // Num to StDev as copied; computed by hand, checked with Python
};
const Category kCategories[] = {
    {"north, upper", {14, 10, 18, 12, 16}, 12, 14, 16, 10, 18, {},
     "5\t10.000000\t18.000000\t14.000000\t14.000000\t10.000000\t3.162278"},
    {"south", {9, 40, 5, 17, 13}, 9, 13, 17, 5, 17, {40}, "5\t5.000000\t40.000000\t16.800000\t13.000000\t188.200000\t13.718601"},
};
constexpr double kEmpty = 30;

// Lines are black, boxes filled with a colour, the page white.
bool isBlack(QRgb pixel) { return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 90; }
bool isBlank(QRgb pixel) { return std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)}) > 230; }
bool isFill(QRgb pixel) { return QColor(pixel).hsvSaturation() > 150 && QColor(pixel).value() > 150; }

} // namespace

class Acceptance : public AnalysisFixture {
protected:
    MyWindowController *dots = nullptr, *boxes = nullptr;

    void SetUp() override
    {
        AnalysisFixture::SetUp();
        main()->window()->findChild<QPushButton*>("buEditTable")->click();
        scripted.dialogs.files.push_back(write("masses.csv", kCsv));
        give(doc->tableWindowCont, "Import Table…");
        makeAnalysis("Masses", {"Mass"}, {"Site"});
        makeAnalysis("Mass boxes", {"Mass"}, {"Site"}, "boxplot");
        ASSERT_EQ(doc->graphWindowConts.size(), 2);
        dots = doc->graphWindowConts[0];
        boxes = doc->graphWindowConts[1];
    }

    // A menu command given with its window in front.
    static void give(MyWindowController* c, const QString& text)
    {
        front(c);
        QAction* a = command(c, text);
        ASSERT_TRUE(a && a->isEnabled()) << text.toStdString();
        a->trigger();
        QCoreApplication::processEvents();
    }
    QString exportPdf(MyWindowController* g, const QString& name)
    {
        scripted.dialogs.files.push_back(dir.filePath(name));
        give(g, "Export PDF…");
        return dir.filePath(name);
    }

    static MyViewManager* vm(MyWindowController* g) { return g->viewManager; }
    static MyView* background(MyWindowController* g) { return vm(g)->viewDict.value(MyViewManager::kBackground); }
    QVariantMap settings(MyWindowController* g) const { return doc->graphSettings.value(g->graphID); }
    QVariant setting(MyWindowController* g, const QStringList& keys) const { return dig(settings(g), keys); }
    // Where the value axis puts a value, in the graph's coordinates, by the stored settings.
    double valueY(MyWindowController* g, double value) const
    {
        const double min = NumberText::doubleValue(setting(g, {"valueSettings", "min"}).toString());
        const double max = NumberText::doubleValue(setting(g, {"valueSettings", "max"}).toString());
        const Rect& r = vm(g)->graphRect;
        return r.origin.y + (value - min) / (max - min) * r.height();
    }
    // A point of the graph's coordinates on the exported page (points, y down).
    static QPointF pagePoint(MyWindowController* g, double x, double y)
    {
        const MyView* graph = vm(g)->viewDict.value(MyViewManager::kGraphView);
        const double ox = graph->frame().origin.x - graph->boundsOrigin().x - background(g)->boundsOrigin().x;
        const double oy = graph->frame().origin.y - graph->boundsOrigin().y - background(g)->boundsOrigin().y;
        return QPointF(ox + x, background(g)->bounds().height() - (oy + y));
    }
    // A value in a column, on the exported page, dx across and dy up from the column's centre.
    QPointF valuePoint(MyWindowController* g, int column, double value, double dx = 0, double dy = 0) const
    {
        return pagePoint(g, vm(g)->baseXs.value(column) + dx, valueY(g, value) + dy);
    }
    static QImage picture(MyWindowController* g) { return GraphItem::image(background(g)); }

    // A click on a view of the graph, at a point of its own coordinates.
    static void clickOn(MyWindowController* g, GraphItem* item, QPointF at)
    {
        QGraphicsView* view = g->sceneView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(item->mapToScene(at)), apart());
        QCoreApplication::processEvents();
    }
    // Types into a text of the graph in place: a click on it, all of it replaced, then a
    // click on the background ends the edit.
    void typeOnGraph(MyWindowController* g, MyTextView* text, const QString& typed)
    {
        front(g);
        const Rect b = text->bounds();
        clickOn(g, text, QPointF(b.origin.x + b.width() / 2, b.origin.y + b.height() / 2));
        QTest::keyClick(g->sceneView(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(g->sceneView(), typed);
        clickOn(g, background(g), QPointF(2, 2));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The text of the graph stored under a name ("c_Site\tsouth" for a category's label).
    static MyTextView* text(MyWindowController* g, const QString& name)
    {
        const auto record = vm(g)->storageItemDict.value(name);
        return record ? dynamic_cast<MyTextView*>(record->textStorage->textViews().value(0)) : nullptr;
    }
    // Every cell the table window's grid shows, row by row.
    QStringList grid() const
    {
        QAbstractItemModel* m = doc->tableWindowCont->mTV->model();
        QStringList rows;
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m->columnCount(); ++c)
                cells << m->index(r, c).data().toString();
            rows << cells.join(" | ");
        }
        return rows;
    }
    // Each category's label once in a page's text.
    static void labelsOnce(const PdfPage& page)
    {
        for (const Category& c : kCategories)
            EXPECT_EQ(page.text.count(c.label), 1) << c.label.toStdString();
    }
};

// The file's quoted fields and empty cells arrive as written; the dot plot and the boxplot
// by site, exported, show every mass, the boxes, whiskers and the outlier where the value
// axis puts them, and the labels under their columns, each text once.
TEST_F(Acceptance, ACsvFileBecomesADotPlotAndABoxplotByCategory)
{
    const QStringList table = grid();
    EXPECT_EQ(table.mid(0, 5), QStringList({" | Site | Mass | Label, long", "1 | north, upper | 14 | said \"hi\"",
                                            "2 | north, upper | 10 | ", "3 | south | 9 | x", "4 | south |  | no mass"}));
    EXPECT_EQ(table.size(), 12);   // the title row and eleven rows

    for (MyWindowController* g : {dots, boxes}) {
        const bool scatter = g == dots;
        SCOPED_TRACE(scatter ? "dot plot" : "boxplot");
        ASSERT_EQ(vm(g)->nameTags, QStringList({"Mass\tnorth, upper", "Mass\tsouth"}));
        PdfPage page(exportPdf(g, scatter ? "dots.pdf" : "boxes.pdf"));
        ASSERT_EQ(page.pages, 1);
        EXPECT_EQ(page.size, QSizeF(background(g)->bounds().width(), background(g)->bounds().height()));

        for (int column = 0; column < 2; ++column) {
            const Category& c = kCategories[column];
            SCOPED_TRACE(c.label.toStdString());
            // Two points off the column's centre line, dx across and dy up.
            auto colour = [&](double value, double dx, double dy) { return page.colourAt(valuePoint(g, column, value, dx, dy)); };
            for (double mass : scatter ? c.masses : QList<double>())
                EXPECT_TRUE(page.inkAt(valuePoint(g, column, mass), 12)) << mass;
            if (!scatter) {
                // The box filled from q1 to q3 and blank beyond, the median a black line.
                EXPECT_TRUE(isFill(colour(c.q3, 4, -2)) && isBlank(colour(c.q3, 4, 2)));
                EXPECT_TRUE(isFill(colour(c.q1, 4, 2)) && isBlank(colour(c.q1, 4, -2)));
                EXPECT_TRUE(isBlack(colour(c.median, 4, 0)));
                // The whiskers end at the last masses within the fences; beyond are dots.
                EXPECT_TRUE(page.inkAt(valuePoint(g, column, c.low)) && isBlank(colour(c.low, 0, -2)));
                EXPECT_TRUE(page.inkAt(valuePoint(g, column, c.high)) && isBlank(colour(c.high, 0, 2)));
                for (double v : c.outliers)
                    EXPECT_TRUE(page.inkAt(valuePoint(g, column, v))) << v;
            }
            EXPECT_FALSE(page.inkAt(valuePoint(g, column, kEmpty), 12));
            // Each label once, centred under its column, below the graph.
            EXPECT_EQ(page.text.count(c.label), 1) << page.text.toStdString();
            const QRectF label = page.whereIs(c.label);
            EXPECT_NEAR(label.center().x(), valuePoint(g, column, 0.0).x(), 2.0);
            EXPECT_GT(label.top(), pagePoint(g, 0, vm(g)->graphRect.origin.y).y());
        }
        // The value axis's title and its labels, once each.
        for (const char* text : {"Mass", "0", "40"})
            EXPECT_EQ(page.text.count(QRegularExpression(QString("(^|\\s)%1(\\s|$)").arg(text))), 1) << text;
    }

    // Copy with the graph in front and clicked copies the graph itself as PDF.
    front(dots);
    clickOn(dots, background(dots), QPointF(2, 2));
    give(dots, "Copy");
    PdfPage page(write("copied.pdf", QGuiApplication::clipboard()->mimeData()->data("application/pdf")));
    ASSERT_EQ(page.pages, 1);
    labelsOnce(page);
    EXPECT_TRUE(alerts().isEmpty()) << alerts().join('\n').toStdString();
}

// A value typed in the settings outline and a category label typed on the graph are one
// step each; Undo and Redo in the Edit menu take both back and bring them again, and the
// exported page and the main window's list of analyses follow every time.
TEST_F(Acceptance, ChangesInTheOutlineAndOnTheGraphAreUndoneAndRedone)
{
    const QString south = "c_Site\tsouth";
    const QVariantMap original = settings(dots);
    const QStringList listed = rows();
    front(dots);
    ASSERT_TRUE(typeInSettings(dots, {"valueSettings", "max"}, "60"));
    ASSERT_TRUE(text(dots, south));
    typeOnGraph(dots, text(dots, south), "South side");
    EXPECT_EQ(setting(dots, {"valueSettings", "max"}), "60");
    EXPECT_EQ(text(dots, south)->textStorage()->toPlainText(), "South side");
    EXPECT_TRUE(rows().contains("      south | South side [x]")) << rows().join('\n').toStdString();
    const QVariantMap edited = settings(dots);
    ASSERT_TRUE(command(dots, "Undo Change Text")) << doc->undoManager()->undoText().toStdString();

    auto exported = [&](const char* name) {
        PdfPage page(exportPdf(dots, name));
        // The highest label of the axis once, and the mass of 40 where the axis puts it.
        const QString top = setting(dots, {"valueSettings", "scaleStrings"}).toList().last().toString();
        const QRegularExpression alone("(^|\\s)" + QRegularExpression::escape(top) + "(\\s|$)");
        EXPECT_EQ(page.text.count(alone), 1) << top.toStdString();
        EXPECT_TRUE(page.inkAt(valuePoint(dots, 1, 40.0), 12));
        EXPECT_FALSE(page.inkAt(valuePoint(dots, 1, kEmpty), 12));
        return page.text;
    };
    EXPECT_EQ(exported("edited.pdf").count("South side"), 1);

    give(dots, "Undo Change Text");
    give(dots, "Undo Change Type");
    EXPECT_EQ(settings(dots), original);
    EXPECT_EQ(rows(), listed);
    EXPECT_FALSE(exported("undone.pdf").contains("South side"));

    give(dots, "Redo Change Type");
    give(dots, "Redo Change Text");
    EXPECT_EQ(settings(dots), edited);
    EXPECT_EQ(text(dots, south)->textStorage()->toPlainText(), "South side");
    EXPECT_EQ(settingsRow(dots, {"valueSettings", "max"})->message, "60");
    EXPECT_EQ(exported("redone.pdf").count("South side"), 1);
    EXPECT_EQ(settings(boxes).value("valueSettings"), original.value("valueSettings"));
    EXPECT_TRUE(dots->window()->isWindowModified());
}

// Rows chosen in the statistics window and copied from the Edit menu arrive on the clipboard
// as tab-separated lines.
TEST_F(Acceptance, StatisticsAreCopiedAsText)
{
    press(analysis(0), 5);   // "Stats"
    MyWindowController* stats = doc->statsWindowConts[0];
    ASSERT_TRUE(stats->window()->isVisible());
    front(stats);
    auto* table = qobject_cast<MyStatsTableView*>(stats->docTV);
    for (int row : {0, 1})
        QTest::mouseClick(table->viewport(), Qt::LeftButton, row ? Qt::ShiftModifier : Qt::NoModifier,
                          table->visualRect(table->model()->index(row, 2)).center());
    QGuiApplication::clipboard()->setText("before");
    give(stats, "Copy");
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_EQ(lines.size(), 2) << QGuiApplication::clipboard()->text().toStdString();
    for (int i = 0; i < 2; ++i) {
        const QStringList cells = lines[i].split('\t');
        EXPECT_EQ(cells.size(), 13);
        EXPECT_EQ(cells.mid(0, 8).join('\t'), "Mass - " + kCategories[i].label + "\t" + kCategories[i].statistics);
    }
}

// A new paper chosen in File > Page Setup… resizes the graph in front to its printable area
// (an undoable step), and File > Print… to a PDF file puts that graph on the paper.
TEST_F(Acceptance, ANewPaperResizesTheGraphInFrontAndItPrints)
{
    const QVariantMap dotSettings = settings(dots);
    const Size before = background(boxes)->bounds().size;
    const QSizeF letter = QPageSize(QPageSize::Letter).size(QPageSize::Point);
    const QMarginsF border(18, 18, 18, 18);
    scripted.dialogs.pageLayouts.push_back(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, border, QPageLayout::Point, border));
    give(boxes, "Page Setup…");
    // Letter across, less a quarter inch all round.
    const QStringList size{NumberText::realString(letter.height() - 36), NumberText::realString(letter.width() - 36)};
    EXPECT_EQ(size, QStringList({"756.0", "576.0"}));
    EXPECT_EQ(QStringList({setting(boxes, {"graphProperties", "background", "viewWidth"}).toString(),
                           setting(boxes, {"graphProperties", "background", "viewHeight"}).toString()}),
              size);
    EXPECT_EQ(background(boxes)->bounds().size, (Size{756, 576}));
    EXPECT_EQ(settings(dots), dotSettings);

    scripted.dialogs.printFiles.push_back(dir.filePath("boxes-printed.pdf"));
    give(boxes, "Print…");
    PdfPage page(dir.filePath("boxes-printed.pdf"));
    ASSERT_EQ(page.pages, 1);
    EXPECT_EQ(page.size, QSizeF(letter.height(), letter.width()));
    labelsOnce(page);
    // The south box's median line and its outlier, a quarter inch in from the paper's edges.
    const QPointF edge(18, 18);
    EXPECT_TRUE(isBlack(page.colourAt(valuePoint(boxes, 1, 13, 4) + edge)));
    EXPECT_TRUE(page.inkAt(valuePoint(boxes, 1, 40) + edge));
    EXPECT_FALSE(page.inkAt(valuePoint(boxes, 1, kEmpty) + edge, 12));

    give(boxes, "Undo Change PaperSize");
    EXPECT_EQ(background(boxes)->bounds().size, before);
}

// Saved from the File menu, the application quit and started again, the document opened
// from the File menu is as it was: the table, the analyses, every graph setting (the edits
// and the new paper's size included), the statistics and the graphs as drawn.
TEST_F(Acceptance, ASavedDocumentOpensAgainAsItWas)
{
    front(boxes);
    ASSERT_TRUE(typeInSettings(boxes, {"graphProperties", "graphRect", "height"}, "240"));
    const QMarginsF border(10, 10, 10, 10);
    scripted.dialogs.pageLayouts.push_back(
        QPageLayout(QPageSize(QSizeF(500, 600), QPageSize::Point), QPageLayout::Portrait, border, QPageLayout::Point, border));
    give(dots, "Page Setup…");
    EXPECT_EQ(setting(dots, {"graphProperties", "background", "viewWidth"}), "480.0");
    press(analysis(1), 5);   // the statistics of the boxplot shown too
    const QStringList table = grid(), analyses = rows();
    const QVector<QVariantMap> graphSettings = doc->graphSettings, statistics = doc->stats;
    const QStringList texts = doc->graphXMLs;
    const QImage dotPicture = picture(dots), boxPicture = picture(boxes);
    ASSERT_EQ(dig(graphSettings[1], {"graphProperties", "graphRect", "height"}), "240");

    const QString path = dir.filePath("Masses.vlbdoc");
    scripted.dialogs.files.push_back(path);
    give(main(), "Save");
    EXPECT_FALSE(doc->isDocumentEdited());
    give(main(), "Quit");
    EXPECT_TRUE(scripted.dialogs.questions.isEmpty()) << scripted.dialogs.questions.join('\n').toStdString();
    EXPECT_TRUE(controller->documents().empty());

    // The application starts again with an untitled document, and opens the package.
    controller.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    controller = std::make_unique<DocumentController>(Document::factory(&delegate));
    doc = static_cast<Document*>(controller->newDocument());
    scripted.dialogs.files.push_back(path);
    give(main(), "Open…");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(controller->documents().size(), 1u);
    doc = static_cast<Document*>(controller->documents().front().get());
    ASSERT_EQ(doc->fileName(), path);

    main()->window()->findChild<QPushButton*>("buShowTable")->click();
    EXPECT_EQ(grid().mid(0, 12), table.mid(0, 12));
    EXPECT_EQ(rows(), analyses);
    EXPECT_EQ(doc->graphSettings, graphSettings);
    EXPECT_EQ(doc->stats, statistics);
    EXPECT_EQ(doc->graphXMLs, texts);
    EXPECT_FALSE(doc->isDocumentEdited());
    EXPECT_FALSE(doc->undoManager()->canUndo());
    press(analysis(0), 4);   // "Graph"
    press(analysis(1), 4);
    ASSERT_EQ(doc->graphWindowConts.size(), 2);
    EXPECT_EQ(picture(doc->graphWindowConts[0]), dotPicture);
    EXPECT_EQ(picture(doc->graphWindowConts[1]), boxPicture);
    EXPECT_TRUE(alerts().isEmpty()) << alerts().join('\n').toStdString();
}
