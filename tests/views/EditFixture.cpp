#include "EditFixture.h"
#include "analysis/AnalysisTestSupport.h"
#include "analysis/MyAnalysisXml.h"
#include "analysis/MyGraphSettingsBuilder.h"
#include "views/MySimpleTextView.h"
#include "views/MyView.h"
#include <QApplication>
#include <QTest>

QString chainText(const QList<MyConfigItem*>& chain)
{
    QStringList ids;
    for (const MyConfigItem* r : chain)
        ids << QString(r->itemID).replace('\t', '/');
    return ids.join(" > ");
}

void EditFixture::SetUp()
{
    app.defaultsSource = DefaultsStore();
    app.ourGraphGenerator = &generator;
    ASSERT_TRUE(app.finishLaunching());
    generator.setConfigIndexDict(app.configIndexDict);
    realGenerator.setConfigIndexDict(app.configIndexDict);
    doc = std::make_unique<Document>(&app);
    mainCont = std::make_unique<MyWindowController>(QStringLiteral("Document"));
    mainCont->myDoc = doc.get();
    selectorRoot = std::make_unique<MySelectorRootItem>(mainCont.get(), doc.get());
    mainCont->rootItem = selectorRoot.get();
    doc->baseWindowCont = mainCont.get();

    GraphWindowHooks& hooks = GraphWindowHooks::shared();
    using Change = const std::function<void()>&;
    hooks.changeSettingsTree = [this](MyWindowController*, Change change) { ++log.settingsTreeChanges; change(); };
    hooks.changeSelectorTree = [this](MyWindowController*, Change change) { ++log.selectorTreeChanges; change(); };
    hooks.revealRow = [this](MyWindowController*, const QList<MyConfigItem*>& r) { log.revealed << chainText(r); };
    hooks.setDocumentEdited = [this](MyWindowController* c, bool edited) { log.marks[c] = edited; };
    hooks.synchronizeWindowTitles = [this](Document&) { ++log.titleSyncs; };
    hooks.setSelectedAttributes = [this](const TextAttributes& a) { log.selectedAttributes = a; };
}

void EditFixture::TearDown()
{
    sceneView.reset();
    GraphWindowHooks::shared() = GraphWindowHooks();
    doc->undoManager()->stack()->clear();
    graphs.clear();
    selectorRoot.reset();
    mainCont.reset();
    doc.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

EditFixture::Graph& EditFixture::addGraph(const QString& graphType, const QVector<Column>& data,
                                          const QVector<Column>& categorizing, const QString& title)
{
    MySelectorItem* a = node(selectorRoot.get(), title);
    node(a, "graphType", graphType);
    MySelectorItem* dataGroup = node(a, "DataColumns");
    MySelectorItem* catGroup = node(a, "Categorizing");
    for (const Column& c : data) {
        QVector<std::optional<double>> values;
        for (const QString& cell : c.cells)
            values << cell.toDouble();
        node(node(dataGroup, c.title), c.title, c.title, "YES", {}, values);
    }
    for (const Column& c : categorizing) {
        MySelectorItem* col = node(catGroup, c.title);
        QStringList values = c.cells;
        values.removeDuplicates();
        for (const QString& v : values) {
            QVector<qint64> rows;
            for (int r = 0; r < c.cells.size(); ++r)
                if (c.cells[r] == v)
                    rows << r;
            node(col, v, v, "YES", rows);
        }
    }
    const Rect page = doc->imageablePageBounds();
    auto made = MyGraphSettingsBuilder::graphSettingsFromSelection(app, page.width(), page.height(), a);
    EXPECT_TRUE(made.has_value());
    a->changeEditting(false);
    const qint64 id = doc->appendAnalysis(made->settings, *MyAnalysisXml::xmlFromItem(a), doc->newStatsRecord());
    graphs.push_back(openGraph(id, made->analysis));
    doc->graphWindowConts.append(graphs.back()->cont.get());
    return *graphs.back();
}

std::unique_ptr<EditFixture::Graph> EditFixture::openGraph(qint64 id, const MyAnalysisData& data)
{
    auto g = std::make_unique<Graph>();
    g->data = data;
    g->cont = std::make_unique<MyWindowController>(QStringLiteral("GraphWindowD"));
    g->cont->myDoc = doc.get();
    g->cont->graphID = id;
    g->cont->baseWinCont = mainCont.get();
    g->root = std::make_unique<MyConfigRootItem>(g->cont.get());
    EXPECT_TRUE(g->root->outlineItemFromSettings(doc->graphSettings[id]));
    g->cont->rootItem = g->root.get();
    g->vm = new MyViewManager(g->data, g->cont.get(), doc.get());
    g->cont->viewManager = g->vm;
    g->vm->installRootView(new MyBaseView());
    MyConfigItem* properties = g->root->childTitle("graphProperties");
    const bool dots = data.graphType == "scatter";
    for (const QString& name : {MyViewManager::kBackground, MyViewManager::kGraphRect, MyViewManager::kXAxis,
                                MyViewManager::kYAxis, dots ? MyViewManager::kBars : MyViewManager::kMedian})
        g->vm->itemsDict.insert(name, properties->childTitle(name.section('\t', 1, 1)));
    g->vm->setGraphWithOutlineItem(g->root.get());
    g->vm->placeContainers();
    // The graph window puts the background into its base view.
    g->vm->viewDict.value(MyViewManager::kRootView)->addSubview(g->vm->viewDict.value(MyViewManager::kBackground));
    return g;
}

void EditFixture::addTwoGraphs()
{
    const Column weight{"Weight", {"3", "5", "4.5", "7", "2", "6", "5.5", "8", "1", "9"}};
    const Column height{"Height", {"30", "52", "41", "70", "22", "64", "58", "81", "15", "90"}};
    const Column group{"Group", {"a", "b", "c", "a", "b", "c", "a", "b", "c", "a"}};
    addGraph("scatter", {weight}, {group}, "Weights");
    addGraph("boxplot", {weight, height}, {group}, "Sizes");
}

MyConfigItem* EditFixture::row(const Graph& g, const QStringList& path) const
{
    MyConfigItem* r = g.root.get();
    for (const QString& key : path) {
        bool number = false;
        const int i = key.toInt(&number);
        r = number ? r->configChildAt(i) : r->childTitle(key);
        if (!r)
            return nullptr;
    }
    return r;
}

void EditFixture::showScene(const Graph& g)
{
    sceneView = std::make_unique<QGraphicsView>(g.vm->scene());
    sceneView->resize(900, 900);
    sceneView->show();
    sceneView->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sceneView.get()));
}

QPoint EditFixture::pointOn(GraphItem* item) const
{
    const Rect b = item->bounds();
    for (int i = 1; i < 20; ++i)
        for (int j = 1; j < 20; ++j) {
            const QPointF local(b.origin.x + b.width() * i / 20, b.origin.y + b.height() * j / 20);
            const QPoint p = sceneView->mapFromScene(item->mapToScene(local));
            const QList<QGraphicsItem*> under = sceneView->items(p);
            if (!under.isEmpty() && under.first() == item)
                return p;
        }
    ADD_FAILURE() << "no place to click on the view";
    return {};
}

void EditFixture::click(GraphItem* item, int count)
{
    const QPoint p = pointOn(item);
    QTest::mouseClick(sceneView->viewport(), Qt::LeftButton, {}, p, QApplication::doubleClickInterval() + 50);
    if (count == 2) {
        QTest::mouseDClick(sceneView->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(sceneView->viewport(), Qt::LeftButton, {}, p);
    }
}

MyTextView* firstTextView(const std::shared_ptr<MyStorageItem>& record)
{
    return record && record->textStorage ? dynamic_cast<MyTextView*>(record->textStorage->textViews().value(0)) : nullptr;
}

QList<MyConfigItem*> allRows(MyConfigItem* root)
{
    QList<MyConfigItem*> rows;
    for (MyConfigItem* c : root->configChildren()) {
        rows << c;
        rows += allRows(c);
    }
    return rows;
}

// ---- drawn state --------------------------------------------------------------------------------------

namespace {

QString num(double v) { return QString::number(v, 'g', 9); }
QString rectText(const Rect& r)
{
    return QString("(%1 %2 %3 %4)").arg(num(r.origin.x), num(r.origin.y), num(r.size.width), num(r.size.height));
}
QString pathText(const BezierPath& p)
{
    QStringList points;
    const QPainterPath& q = p.painterPath();
    for (int i = 0; i < q.elementCount(); ++i)
        points << QString("%1:%2,%3").arg(int(q.elementAt(i).type)).arg(num(q.elementAt(i).x), num(q.elementAt(i).y));
    return QString("w%1 [%2]").arg(num(p.lineWidth()), points.join(' '));
}

void describe(MyViewManager& vm, GraphItem* view, const QString& container, QStringList& out)
{
    QString line = QString("%1 in %2 frame %3 bounds %4 turn %5")
                       .arg(view->type())
                       .arg(container, rectText(view->frame()), rectText(view->bounds()), num(view->frameRotation()));
    QString name;
    if (auto* simple = dynamic_cast<MySimpleView*>(view)) {
        name = simple->name;
        const ColorPair colors = vm.viewColors.value(name);
        line += " colors " + colors.fillColor.name(QColor::HexArgb) + colors.lineColor.name(QColor::HexArgb);
        if (auto* container = dynamic_cast<MyView*>(view)) {
            const PathPair paths = vm.viewBeziers.value(name);
            for (const BezierPath& p : paths.closed)
                line += " closed " + pathText(p);
            for (const BezierPath& p : paths.line)
                line += " line " + pathText(p);
            line += container->selected ? " selected" : "";
        } else {
            line += " path " + pathText(vm.viewBezier.value(name));
            line += vm.viewSelected.value(name) ? " selected" : "";
        }
    } else if (auto* text = dynamic_cast<MySimpleTextView*>(view)) {
        name = text->name;
        line += " text " + (text->textStorage() ? text->textStorage()->toHtml() : QString());
    }
    out << QString(name).replace('\t', '/') + ": " + line;
    for (GraphItem* sub : view->subviews())
        describe(vm, sub, QString(name).replace('\t', '/'), out);
}

} // namespace

QStringList drawnState(MyViewManager& vm)
{
    QStringList out;
    if (MyView* background = vm.viewDict.value(MyViewManager::kBackground))
        describe(vm, background, "rootView", out);
    out.sort();
    return out;
}

QImage drawnImage(MyViewManager& vm) { return GraphItem::image(vm.viewDict.value(MyViewManager::kBackground), 1.0); }

QStringList selectorRows(const MySelectorItem* analysis)
{
    QStringList out;
    std::function<void(const MySelectorItem*, int)> walk = [&](const MySelectorItem* item, int depth) {
        out << QString(depth * 2, ' ') + item->title + " | " + item->message;
        for (const MySelectorItem* c : item->selectorChildren())
            walk(c, depth + 1);
    };
    if (analysis)
        walk(analysis, 0);
    return out;
}
