// Packages whose value settings or data give values no place on the value axis, made here
// from a saved document with its graph settings edited by hand: opened, the graph window
// paints on screen, the page renders, exports and prints, the values without a place are left
// out of everything while the rest is drawn, and nothing of the package is lost.
#include "AnalysisFixture.h"
#include "platform/PropertyList.h"
#include "views/MySimpleView.h"
#include "views/TextStorage.h"
#include <QElapsedTimer>
#include <QRegularExpression>
#include <cmath>

namespace {

const QString kRangeAlert = "Some objects (dots or bars) are outside the rectangle of the graph.";

// Column a holds 0 and -5, which no logarithmic axis places.
const QByteArray kTable = "Value,Group\n0,a\n-5,a\n10,a\n100,a\n2,b\n20,b\n200,b\n";

QVariantMap valueSettings(const QString& min, const QString& max, bool logarithmic, const QVariantList& labels)
{
    return {{"min", min}, {"max", max}, {"logarithmic", logarithmic}, {"partition", qint64(labels.size() - 1)},
            {"scaleStrings", labels}};
}

bool isMarked(QRgb p) { return qAlpha(p) > 128 && qGray(p) < 200; }

} // namespace

class HostileGraph : public AnalysisFixture {
protected:
    QString package;

    void SetUp() override
    {
        AnalysisFixture::SetUp();
        import(kTable);
        makeAnalysis("Values", {"Value"}, {"Group"});
        ASSERT_EQ(doc->graphWindowConts.size(), 1);
        package = dir.filePath("hostile.vlbdoc");
        QString error;
        ASSERT_TRUE(controller->saveAs(doc, package, &error)) << error.toStdString();
        ASSERT_TRUE(controller->closeDocument(doc));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        doc = nullptr;
    }
    // Saved, closed and opened again from its package.
    void saveAndReopen()
    {
        QString error;
        ASSERT_TRUE(controller->save(doc, &error)) << error.toStdString();
        ASSERT_TRUE(controller->closeDocument(doc));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        doc = static_cast<Document*>(controller->openDocument(package, &error));
        ASSERT_TRUE(doc) << error.toStdString();
    }
    // The package's graph settings changed as a hand would change them.
    void editSettings(const std::function<void(QVariantMap&)>& edit)
    {
        QFile f(package + "/graph/graph0.plist");
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QVariantMap settings = PropertyList::fromData(f.readAll()).toMap();
        f.close();
        ASSERT_TRUE(settings.contains("valueSettings"));
        edit(settings);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(PropertyList::toXml(settings));
    }
    void writeValueSettings(const QVariant& value)
    {
        editSettings([&](QVariantMap& settings) { settings.insert("valueSettings", value); });
    }
    MyWindowController* open()
    {
        QString error;
        doc = static_cast<Document*>(controller->openDocument(package, &error));
        EXPECT_TRUE(doc) << error.toStdString();
        if (!doc || doc->graphWindowConts.size() != 1)
            return nullptr;
        MyWindowController* g = doc->graphWindowConts[0];
        front(g);
        QCoreApplication::processEvents();
        return g;
    }
    // The dot views of the graph that are shown.
    static QList<const MySimpleView*> shownDots(MyViewManager* vm)
    {
        QList<const MySimpleView*> out;
        for (const char* name : {"dot\ta", "dot\tb"})
            for (const MySimpleView* v : vm->viewsDict.value(name))
                if (v->isVisible())
                    out << v;
        return out;
    }
};

TEST_F(HostileGraph, ValuesWithoutAPlaceAreLeftOutOfEveryDrawing)
{
    const QVariantList logLabels{"1", "10", "100", "1000"};
    const struct {
        const char* name;
        QVariant valueSettings;
        QList<double> shown;            // the heights of the values drawn, as fractions of the axis
        QStringList labels;             // scale labels on the page
    } cases[] = {
        {"logarithmic from 0", valueSettings("0", "1000", true, logLabels), {}, {}},
        {"logarithmic over 0 and -5", valueSettings("1", "1000", true, logLabels),
         {std::log10(2) / 3, 1.0 / 3, std::log10(20) / 3, 2.0 / 3, std::log10(200) / 3},
         {"1", "10", "100", "1000"}},
        {"min equals max", valueSettings("50", "50", false, {"50"}), {}, {}},
        {"logarithmic min equals max", valueSettings("10", "10", true, {"10"}), {}, {}},
        // 200 points for 1e-9: only 0 has a place.
        {"1e-9 wide", valueSettings("0", "0.000000001", false, {"0", "0.000000001"}), {0}, {"0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted.dialogs.alerts.clear();
        writeValueSettings(c.valueSettings);
        MyWindowController* g = open();
        ASSERT_TRUE(g);
        MyViewManager* vm = g->viewManager;

        // On screen, where the dots are stamped: painted, and nothing drawn or placed where it
        // has no place.
        QGraphicsView* view = g->sceneView();
        const QImage screen = view->screen()->grabWindow(g->window()->winId()).toImage();
        ASSERT_FALSE(screen.isNull());
        for (const QGraphicsItem* item : vm->scene()->items()) {
            const auto* v = dynamic_cast<const GraphItem*>(item);
            ASSERT_TRUE(!v || (v->isPlaced() && GraphItem::placeable(v->frame()))) << "a view without a place";
        }
        for (const auto& [tag, r] : vm->columnRects)
            EXPECT_TRUE(GraphItem::placeable(r)) << tag.toStdString();
        QList<double> drawn;
        for (const MySimpleView* dot : shownDots(vm)) {
            const QPoint at = view->viewport()->mapTo(
                g->window(), view->mapFromScene(dot->mapToScene(dot->bounds().midX(), dot->bounds().midY())));
            EXPECT_TRUE(isMarked(screen.pixel(at))) << "a dot shown on screen";
            drawn << dot->frame().midY() / vm->graphRect.height();
        }
        std::sort(drawn.begin(), drawn.end());
        ASSERT_EQ(drawn.size(), c.shown.size());
        QList<double> wanted = c.shown;
        std::sort(wanted.begin(), wanted.end());
        for (qsizetype i = 0; i < drawn.size(); ++i)
            EXPECT_NEAR(drawn[i], wanted[i], 1e-9);
        EXPECT_EQ(alerts(), QStringList());
        EXPECT_EQ(scripted.dialogs.alerts, QStringList{kRangeAlert}) << "told once that not everything is shown";

        // The page exported and printed: readable, the same as drawn, its labels as text.
        const QImage page = GraphItem::image(vm->viewDict.value(MyViewManager::kBackground), PdfPage::kScale);
        scripted.dialogs.files.push_back(dir.filePath("export.pdf"));
        command(g, "Export PDF…")->trigger();
        const PdfPage exported(dir.filePath("export.pdf"));
        ASSERT_EQ(exported.pages, 1);
        EXPECT_LT(differingShare(exported.image, page), 0.002);
        for (const QString& label : c.labels)
            EXPECT_TRUE(exported.text.split(QRegularExpression("\\s+")).contains(label)) << label.toStdString();
        scripted.dialogs.printFiles.push_back(dir.filePath("print.pdf"));
        command(g, "Print…")->trigger();
        EXPECT_EQ(PdfPage(dir.filePath("print.pdf")).pages, 1);

        // Saved and opened again: the settings as the hand wrote them, the table whole.
        ASSERT_NO_FATAL_FAILURE(saveAndReopen());
        EXPECT_EQ(doc->graphSettings.value(0).value("valueSettings"), c.valueSettings);
        EXPECT_EQ(doc->tableData.value(0).mid(1), QStringList({"0", "-5", "10", "100", "2", "20", "200"}));
        ASSERT_TRUE(controller->closeDocument(doc));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        doc = nullptr;
    }
}

// A graph title, y title and category label of a million characters each: the package opens
// and its graph is drawn in seconds, the graph lays out only the first characters of each
// text (clicking one shows its settings row instead of editing it in place), and the whole
// texts are kept through a save.
TEST_F(HostileGraph, HugeTextsAreLaidOutInPartAndKeptWhole)
{
    const QString huge = QString("Wide title, ").repeated(100000).left(1000000);
    editSettings([&](QVariantMap& settings) {
        settings.insert("graphTitle", huge);
        QVariantMap graph = settings.value("graphProperties").toMap(), axis = graph.value("yAxis").toMap();
        axis.insert("titleText", huge);
        graph.insert("yAxis", axis);
        settings.insert("graphProperties", graph);
        QVariantList categories = settings.value("categoryDicts").toList();
        QVariantMap level = categories.value(1).toMap();
        QVariantList represents = level.value("represents").toList();
        QVariantMap first = represents.value(0).toMap();
        first.insert("represent", huge);
        represents[0] = first;
        level.insert("represents", represents);
        categories[1] = level;
        settings.insert("categoryDicts", categories);
    });
    // The analysis text names the category's label too.
    QFile xml(package + "/graphXML/graph0.xml");
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(xml.readAll());
    xml.close();
    ASSERT_EQ(text.count(">a</represents>"), 1) << text.toStdString();
    text.replace(">a</represents>", ">" + huge + "</represents>");
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly | QIODevice::Truncate));
    xml.write(text.toUtf8());
    xml.close();

    QElapsedTimer clock;
    clock.start();
    MyWindowController* g = open();
    ASSERT_TRUE(g);
    QGraphicsView* view = g->sceneView();
    EXPECT_FALSE(view->screen()->grabWindow(g->window()->winId()).toImage().isNull());
    EXPECT_LT(clock.elapsed(), 60000) << "no endless layout";

    MyViewManager* vm = g->viewManager;
    const auto yTitle = vm->storageItemDict.value(MyGraphGenerator::kYTitle);
    const auto label = vm->storageItemDict.value(QString("c_Group\ta"));
    ASSERT_TRUE(yTitle && label);
    for (const auto& record : {yTitle, label}) {
        EXPECT_EQ(record->textStorage->toPlainText(), huge.left(TextStorage::kMaxLength));
        EXPECT_EQ(record->textItem->message.size(), huge.size());
    }
    // A click on the y title reveals its row rather than opening an editor over a million
    // characters.
    MyTextView* title = MyGraphGenerator::firstTextView(*yTitle);
    ASSERT_TRUE(title);
    vm->editTextView(title, Point(2, 2));
    EXPECT_FALSE(vm->isEditing(title));

    ASSERT_NO_FATAL_FAILURE(saveAndReopen());
    const QVariantMap settings = doc->graphSettings.value(0);
    EXPECT_EQ(settings.value("graphTitle").toString(), huge);
    EXPECT_EQ(dig(settings, {"graphProperties", "yAxis", "titleText"}).toString(), huge);
    EXPECT_EQ(dig(settings, {"categoryDicts", "#1", "represents", "#0", "represent"}).toString(), huge);
}
