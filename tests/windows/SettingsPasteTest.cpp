// Settings copied and pasted between a dot plot and a boxplot of one document through the
// windows' Copy and Paste commands, records with the right keys but unusable values, and an
// axis whose scale labels are all deleted: each change one undo step, drawn on screen,
// exported, saved and opened again the same.
#include "AnalysisFixture.h"
#include "outline/MySettingsClipboard.h"
#include "views/MySimpleView.h"
#include "windows/MyColorWell.h"
#include <QRegularExpression>

namespace {

bool isMarked(QRgb p) { return qAlpha(p) > 128 && qGray(p) < 200; }

bool near(QRgb p, const QColor& c) { return std::abs(qRed(p) - c.red()) <= 2 && std::abs(qGreen(p) - c.green()) <= 2 && std::abs(qBlue(p) - c.blue()) <= 2; }

} // namespace

class SettingsPaste : public AnalysisFixture {
protected:
    MyWindowController* dots = nullptr;
    MyWindowController* boxes = nullptr;

    void SetUp() override
    {
        AnalysisFixture::SetUp();
        import(kSampleTable);
        makeAnalysis("Dots", {"Height", "Weight"}, {"Sex"});
        makeAnalysis("Boxes", {"Height", "Weight"}, {"Sex"}, "boxplot");
        ASSERT_EQ(doc->graphWindowConts.size(), 2);
        dots = doc->graphWindowConts[0];
        boxes = doc->graphWindowConts[1];
    }
    QVariantMap settingsOf(MyWindowController* g) const { return doc->graphSettings.value(g->graphID); }
    QString undoName() const { return doc->undoManager()->stack()->undoText(); }
    // The row of a path selected by a click in the settings outline; no row for an empty path.
    void select(MyWindowController* g, const QStringList& path)
    {
        front(g);
        g->configOlv->setFocus();
        if (path.isEmpty()) {
            g->configOlv->selectionModel()->clearSelection();
        } else {
            QTest::mouseClick(g->configOlv->viewport(), Qt::LeftButton, {},
                              centreIn(g->configOlv, settingsRow(g, path), 0, g->rootItem), apart());
        }
        QCoreApplication::processEvents();
    }
    void copyFrom(MyWindowController* g, const QStringList& path)
    {
        select(g, path);
        command(g, "Copy")->trigger();
    }
    void pasteOnto(MyWindowController* g, const QStringList& path)
    {
        select(g, path);
        command(g, "Paste")->trigger();
        QCoreApplication::processEvents();
    }
    void recolour(MyWindowController* g, const QStringList& path, const Color& colour)
    {
        select(g, path);
        scripted.dialogs.colors.push_back(colour);
        g->colorWell->click();
    }
    // What the window shows at a point of a view (its own coordinates), scrolled into sight.
    static QRgb shownAt(MyWindowController* g, const GraphItem* v, double x, double y)
    {
        QGraphicsView* view = g->sceneView();
        const QPointF at = v->mapToScene(x, y);
        view->ensureVisible(QRectF(at, QSizeF(1, 1)), 8, 8);
        EXPECT_TRUE(waitUntilShownAsRendered(view->viewport())) << "the screen shows the graph";
        const QImage screen = view->screen()->grabWindow(g->window()->winId()).toImage();
        return screen.pixel(view->viewport()->mapTo(g->window(), view->mapFromScene(at)));
    }
    // Marked pixels the window shows within a rectangle of the scene.
    static int markedIn(MyWindowController* g, const QRectF& scene)
    {
        QGraphicsView* view = g->sceneView();
        view->ensureVisible(scene, 8, 8);
        EXPECT_TRUE(waitUntilShownAsRendered(view->viewport())) << "the screen shows the graph";
        const QImage screen = view->screen()->grabWindow(g->window()->winId()).toImage();
        const QRect r = view->mapFromScene(scene).boundingRect().translated(view->viewport()->mapTo(g->window(), QPoint()));
        int marked = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                marked += screen.rect().contains(x, y) && isMarked(screen.pixel(x, y));
        return marked;
    }
    // The graph as shown: the graph rectangle filled with fill, every value's dot (dot plot)
    // or every column's median line (boxplot) drawn over it.
    void expectDrawn(MyWindowController* g, const QColor& fill, int elements)
    {
        front(g);
        // What lies off the screen is never shown: the window as the application placed it.
        ASSERT_TRUE(MyWindowController::screenArea(g->window()).contains(g->window()->frameGeometry()))
            << "the window fits the screen";
        MyViewManager* vm = g->viewManager;
        const GraphItem* graph = vm->viewDict.value(MyViewManager::kGraphView);
        ASSERT_TRUE(graph);
        EXPECT_TRUE(near(shownAt(g, graph, 6, vm->graphRect.height() - 6), fill));
        const bool scatter = g->viewManager->graphType == "scatter";
        QList<const MySimpleView*> drawn;
        for (const auto& [name, members] : vm->viewsDict) {
            if (scatter ? !name.startsWith("dot\t") : name != MyViewManager::kMedian)
                continue;
            for (const MySimpleView* v : members)
                if (v->isVisible())
                    drawn << v;
        }
        EXPECT_EQ(drawn.size(), elements);
        for (const MySimpleView* v : drawn)
            EXPECT_TRUE(isMarked(shownAt(g, v, v->bounds().midX(), v->bounds().midY()))) << "an element drawn";
        EXPECT_EQ(vm->viewsDict.value(scatter ? "box\tHeight" : MyViewManager::kBars).size(), 0);
    }
    // Saved, closed and opened again from its package; the graph windows opened again as a
    // user opens them, by their analyses' "Graph" buttons, which place them on the screen.
    void saveAndReopen()
    {
        const QString package = dir.filePath("kinds.vlbdoc");
        QString error;
        ASSERT_TRUE(controller->saveAs(doc, package, &error)) << error.toStdString();
        ASSERT_TRUE(controller->closeDocument(doc));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        doc = static_cast<Document*>(controller->openDocument(package, &error));
        ASSERT_TRUE(doc) << error.toStdString();
        ASSERT_EQ(doc->graphWindowConts.size(), 2);
        press(analysis(0), 4);
        press(analysis(1), 4);
        ASSERT_EQ(doc->graphWindowConts.size(), 2);
        dots = doc->graphWindowConts[0];
        boxes = doc->graphWindowConts[1];
    }
    // One "Paste Settings" step whose undo gives back before and redo after.
    void expectOneStep(MyWindowController* g, int stepsBefore, const QVariantMap& before)
    {
        EXPECT_EQ(steps(), stepsBefore + 1);
        EXPECT_EQ(undoName(), "Paste Settings");
        const QVariantMap after = settingsOf(g);
        doc->undoManager()->undo();
        EXPECT_EQ(settingsOf(g), before);
        doc->undoManager()->redo();
        EXPECT_EQ(settingsOf(g), after);
    }
};

// The whole settings of a boxplot pasted onto a dot plot (no row selected): the dot plot
// takes everything but its title, its own bars and its dot series; the boxplot's boxes and
// box series are left out.
TEST_F(SettingsPaste, WholeSettingsOfABoxplotGoOntoADotPlot)
{
    const QColor fill(217, 242, 191);
    recolour(boxes, {"graphProperties", "graphRect", "fillColor"}, Color::fromQColor(fill));
    ASSERT_TRUE(typeInSettings(boxes, {"graphProperties", "graphRect", "height"}, "150"));
    const QVariantMap source = settingsOf(boxes), before = settingsOf(dots);
    copyFrom(boxes, {});
    ASSERT_EQ(MySettingsClipboard::read()->value("val"), QVariant(source));

    scripted.dialogs.answers.push_back(0);   // the value axis too
    const int stepsBefore = steps();
    pasteOnto(dots, {});
    EXPECT_EQ(alerts(), QStringList());
    EXPECT_EQ(scripted.dialogs.questions.size(), 1);

    QVariantMap wanted = source, properties = source.value("graphProperties").toMap();
    properties.remove("boxes");
    properties.insert("bars", before.value("graphProperties").toMap().value("bars"));
    wanted.insert("graphProperties", properties);
    wanted.insert("graphTitle", "Dots");
    wanted.remove("boxesProperties");
    wanted.insert("dotsProperties", before.value("dotsProperties"));
    EXPECT_EQ(settingsOf(dots), wanted);
    EXPECT_EQ(dots->viewManager->graphRect.height(), 150);
    expectDrawn(dots, fill, 9);
    expectOneStep(dots, stepsBefore, before);

    doc->undoManager()->undo();
    expectDrawn(dots, Qt::white, 9);
    doc->undoManager()->redo();
    const QVariantList saved{settingsOf(dots), settingsOf(boxes)};
    ASSERT_NO_FATAL_FAILURE(saveAndReopen());
    EXPECT_EQ((QVariantList{settingsOf(dots), settingsOf(boxes)}), saved);
    expectDrawn(dots, fill, 9);
}

// The "Graph" row of a dot plot pasted onto the "Graph" row of a boxplot: the boxplot keeps
// its boxes and takes the rest; the bars are left out.
TEST_F(SettingsPaste, GraphRowOfADotPlotGoesOntoABoxplot)
{
    const QColor fill(255, 230, 179);
    recolour(dots, {"graphProperties", "graphRect", "fillColor"}, Color::fromQColor(fill));
    ASSERT_TRUE(typeInSettings(dots, {"graphProperties", "graphRect", "height"}, "160"));
    const QVariantMap source = settingsOf(dots), before = settingsOf(boxes);
    copyFrom(dots, {"graphProperties"});
    ASSERT_EQ(MySettingsClipboard::read()->value("keys"), QVariantList({"graphProperties"}));

    const int stepsBefore = steps();
    pasteOnto(boxes, {"graphProperties"});
    EXPECT_EQ(alerts(), QStringList());
    EXPECT_EQ(scripted.dialogs.questions.size(), 0);

    QVariantMap wanted = before, properties = source.value("graphProperties").toMap();
    properties.remove("bars");
    properties.insert("boxes", before.value("graphProperties").toMap().value("boxes"));
    wanted.insert("graphProperties", properties);
    EXPECT_EQ(settingsOf(boxes), wanted);
    EXPECT_EQ(boxes->viewManager->graphRect.height(), 160);
    expectDrawn(boxes, fill, 4);
    expectOneStep(boxes, stepsBefore, before);

    const QVariantList saved{settingsOf(dots), settingsOf(boxes)};
    ASSERT_NO_FATAL_FAILURE(saveAndReopen());
    EXPECT_EQ((QVariantList{settingsOf(dots), settingsOf(boxes)}), saved);
    expectDrawn(boxes, fill, 4);
}

// A record with the keys of the row it goes to, as another program may put it on the
// clipboard: what the graph would write from it is checked against the rows, so values of
// the wrong kind or out of range, and colours and fonts that do not decode, are refused,
// while the other graph kind's entries, which the graph leaves out anyway, may hold anything.
TEST_F(SettingsPaste, RecordsWithTheRightKeysAreCheckedAsTheyWouldBeWritten)
{
    auto with = [](QVariantMap m, const QStringList& path, const QVariant& value) {
        std::function<QVariant(QVariant, int)> put = [&](QVariant node, int depth) -> QVariant {
            QVariantMap map = node.toMap();
            map.insert(path[depth], depth + 1 == path.size() ? value : put(map.value(path[depth]), depth + 1));
            return map;
        };
        return put(m, 0).toMap();
    };
    auto record = [](const QStringList& keys, const QVariant& val, const QString& type, const QString& type2) {
        QVariantList k;
        for (const QString& key : keys)
            k << key;
        return QVariantMap{{"keys", k}, {"indexes", QVariantList{}}, {"val", val}, {"type", type}, {"type2", type2}};
    };
    const QVariantMap dotSettings = settingsOf(dots), boxSettings = settingsOf(boxes);
    const QVariantMap dotGraph = dotSettings.value("graphProperties").toMap();
    // A boxplot's settings whose graph has bars instead of boxes, their length past its bound.
    QVariantMap barredGraph = boxSettings.value("graphProperties").toMap();
    barredGraph.remove("boxes");
    barredGraph.insert("bars", with(dotGraph.value("bars").toMap(), {"barLength"}, "200"));
    QVariantMap barredSettings = boxSettings;
    barredSettings.insert("graphProperties", barredGraph);
    QVariantList bigDots = dotSettings.value("dotsProperties").toList();
    bigDots[0] = with(bigDots[0].toMap(), {"dotSize"}, "5000");
    // Colours and fonts that do not decode, or that decode as the other kind.
    const QByteArray garbage("not a keyed archive"), red = KeyedArchive::archiveColor(Color::rgb(1, 0, 0));
    QVariantList unreadableDots = dotSettings.value("dotsProperties").toList();
    unreadableDots[1] = with(unreadableDots[1].toMap(), {"lineColor"}, garbage);
    const struct {
        const char* name;
        MyWindowController* target;
        QStringList keys;
        QVariant val;
        bool taken;
        QString type = "dict", type2 = "";
    } cases[] = {
        {"a colour that is text", dots, {""}, with(boxSettings, {"graphProperties", "graphRect", "fillColor"}, "red"), false},
        {"bars kept, out of range", dots, {""}, barredSettings, false},
        {"a dot series out of range", dots, {""}, with(dotSettings, {"dotsProperties"}, bigDots), false},
        {"partition past its bound", boxes, {"valueSettings"}, with(boxSettings.value("valueSettings").toMap(), {"partition"}, qint64(500)), false},
        {"bars left out, whatever they hold", boxes, {"graphProperties"}, with(dotGraph, {"bars"}, "anything"), true},
        {"a line colour that does not decode", dots, {"graphProperties", "graphRect", "lineColor"}, garbage, false,
         "data", "color"},
        {"a cut-off title font", boxes, {"graphProperties", "yAxis", "titleTextAttr"}, QByteArray("bplist00"), false,
         "data", "attributes"},
        {"a series colour that does not decode", dots, {"dotsProperties"}, unreadableDots, false, "array"},
        {"a colour where a title font goes", boxes, {""},
         with(boxSettings, {"graphProperties", "yAxis", "titleTextAttr"}, red), false},
        {"a line colour that decodes", dots, {"graphProperties", "graphRect", "lineColor"}, red, true, "data", "color"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted.dialogs.alerts.clear();
        scripted.dialogs.answers.push_back(0);
        const QVariantMap before = settingsOf(c.target);
        const int stepsBefore = steps();
        MySettingsClipboard::write(record(c.keys, c.val, c.type, c.type2));
        pasteOnto(c.target, c.keys == QStringList{""} ? QStringList() : c.keys);
        EXPECT_EQ(alerts(), c.taken ? QStringList() : QStringList{MySettingsClipboard::notApplicable});
        EXPECT_EQ(steps(), stepsBefore + int(c.taken));
        if (!c.taken) {
            EXPECT_EQ(settingsOf(c.target), before);
        } else if (c.type == "data") {
            EXPECT_EQ(dig(settingsOf(c.target), c.keys), c.val);
        }
    }
    EXPECT_EQ(settingsOf(boxes).value("graphProperties").toMap().value("boxes"),
              boxSettings.value("graphProperties").toMap().value("boxes"));
    EXPECT_FALSE(settingsOf(boxes).value("graphProperties").toMap().contains("bars"));
}

// Scale labels deleted one by one in the settings outline, the only one too, and an empty
// label list pasted onto another graph: no labels, "partition" -1, the axis drawn without
// labels or ticks on screen and in the exported PDF, and so saved and opened again.
TEST_F(SettingsPaste, EveryScaleLabelCanBeDeleted)
{
    const QStringList labelsPath{"valueSettings", "scaleStrings"};
    const QStringList labels = settingsOf(dots).value("valueSettings").toMap().value("scaleStrings").toStringList();
    ASSERT_GE(labels.size(), 2);
    MyViewManager* vm = dots->viewManager;
    front(dots);
    // Where the labels and ticks are shown: a strip left of the axis, as wide as the widest
    // label and its distance from the axis, as high as the axis.
    double widest = 0;
    for (const Rect& r : vm->scaleTextRects)
        widest = std::max(widest, -r.minX());
    ASSERT_EQ(vm->scaleTextRects.size(), labels.size());
    auto besideTheAxis = [&] {
        const GraphItem* graph = vm->viewDict.value(MyViewManager::kGraphView);
        return markedIn(dots, graph->mapRectToScene(QRectF(-widest, 2, widest - 2, vm->graphRect.height() - 4)));
    };
    ASSERT_GT(besideTheAxis(), 0) << "labels shown";

    const int stepsBefore = steps();
    for (qsizetype i = 1; i <= labels.size(); ++i) {
        ASSERT_TRUE(typeInSettings(dots, labelsPath + QStringList{"#0"}, ""));
        const QVariantMap values = settingsOf(dots).value("valueSettings").toMap();
        EXPECT_EQ(values.value("scaleStrings").toStringList(), labels.mid(i));
        EXPECT_EQ(values.value("partition"), QVariant(qint64(labels.size() - i - 1)));
        EXPECT_EQ(undoName(), "Change Type");
    }
    EXPECT_EQ(steps(), stepsBefore + labels.size());
    EXPECT_EQ(settingsRow(dots, labelsPath)->childCount(), 0);

    // The axis line alone, no ticks, no texts.
    EXPECT_TRUE(vm->scaleTextRects.isEmpty());
    for (const auto& record : vm->scalesStorageItem)
        EXPECT_FALSE(record->visible);
    EXPECT_EQ(vm->viewBeziers.value(MyViewManager::kYAxis).line.size(), 1);
    const GraphItem* graph = vm->viewDict.value(MyViewManager::kGraphView);
    EXPECT_TRUE(isMarked(shownAt(dots, graph, 0, vm->graphRect.height() / 2))) << "the axis shown";
    EXPECT_EQ(besideTheAxis(), 0) << "no label or tick left";

    scripted.dialogs.files.push_back(dir.filePath("noLabels.pdf"));
    command(dots, "Export PDF…")->trigger();
    const PdfPage exported(dir.filePath("noLabels.pdf"));
    ASSERT_EQ(exported.pages, 1);
    const QImage page = GraphItem::image(vm->viewDict.value(MyViewManager::kBackground), PdfPage::kScale);
    EXPECT_LT(differingShare(exported.image, page), 0.002);
    const QStringList words = exported.text.split(QRegularExpression("\\s+"));
    for (const QString& label : labels)
        EXPECT_FALSE(words.contains(label)) << label.toStdString();

    // The empty list pasted onto the boxplot's labels.
    copyFrom(dots, labelsPath);
    EXPECT_EQ(MySettingsClipboard::read()->value("val"), QVariantList());
    const QVariantMap boxesBefore = settingsOf(boxes);
    const int pasteBefore = steps();
    pasteOnto(boxes, labelsPath);
    EXPECT_EQ(alerts(), QStringList());
    QVariantMap values = boxesBefore.value("valueSettings").toMap();
    values.insert("scaleStrings", QVariantList());
    values.insert("partition", qint64(-1));
    EXPECT_EQ(settingsOf(boxes).value("valueSettings"), QVariant(values));
    EXPECT_TRUE(boxes->viewManager->scaleTextRects.isEmpty());
    expectOneStep(boxes, pasteBefore, boxesBefore);

    const QVariantList saved{settingsOf(dots), settingsOf(boxes)};
    ASSERT_NO_FATAL_FAILURE(saveAndReopen());
    EXPECT_EQ((QVariantList{settingsOf(dots), settingsOf(boxes)}), saved);
    for (MyWindowController* g : {dots, boxes}) {
        EXPECT_TRUE(g->viewManager->scaleTextRects.isEmpty());
        EXPECT_EQ(g->viewManager->viewBeziers.value(MyViewManager::kYAxis).line.size(), 1);
    }
    // A new partition brings labels back.
    front(dots);
    if (!dots->configOlv->isVisible())
        dots->toggleDrawer();   // the settings outline is in the drawer
    ASSERT_TRUE(typeInSettings(dots, {"valueSettings", "partition"}, "1"));
    EXPECT_EQ(settingsOf(dots).value("valueSettings").toMap().value("scaleStrings").toList().size(), 2);
    EXPECT_EQ(dots->viewManager->scaleTextRects.size(), 2);
}
