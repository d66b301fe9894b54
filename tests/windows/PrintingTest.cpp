// Page setup and printing act on the graph whose window is key: a new paper resizes a graph
// that follows the page layout as one undo step, a print to a PDF file shows the page that
// export writes, without selection marks, and a graph that goes while a panel is open is
// left alone.
#include "AnalysisFixture.h"

namespace {

// A paper of size points with its unprintable border minimum (left, top, right, bottom)
// and the margins a panel gives it.
QPageLayout paper(QSizeF size, QMarginsF minimum, QMarginsF margins, QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    return QPageLayout(QPageSize(size, QPageSize::Point, QString(), QPageSize::ExactMatch), orientation, margins,
                       QPageLayout::Point, minimum);
}

const QPageLayout kPaper = paper({500, 700}, {12, 30, 20, 10}, {40, 40, 40, 40});
// The size of kPaper's imageable area: 500 − 12 − 20 by 700 − 30 − 10.
const QStringList kImageable{"468.0", "660.0"};

} // namespace

class Printing : public AnalysisFixture {
protected:
    void SetUp() override
    {
        AnalysisFixture::SetUp();
        import(kSampleTable);
        makeAnalysis("Heights", {"Height"}, {"Sex"});
        makeAnalysis("Weights", {"Weight"}, {"Site"}, "boxplot");
        ASSERT_EQ(doc->graphWindowConts.size(), 2);
    }
    MyWindowController* graph(int i) const { return doc->graphWindowConts.value(i); }
    void pageSetup(MyWindowController* c, const std::optional<QPageLayout>& answer)
    {
        front(c);
        scripted.dialogs.pageLayouts.push_back(answer);
        command(c, "Page Setup…")->trigger();
    }
    bool print(MyWindowController* c, const QString& file)
    {
        front(c);
        scripted.dialogs.printFiles.push_back(file);
        command(c, "Print…")->trigger();
        return QFile::exists(file);
    }
    QStringList viewSize(int i) const
    {
        const QVariant background = dig(doc->graphSettings.value(i), {"graphProperties", "background"});
        return {dig(background, {"viewWidth"}).toString(), dig(background, {"viewHeight"}).toString()};
    }
    // The drawn size of graph i's whole graph.
    QStringList drawnSize(int i) const
    {
        const Rect b = graph(i)->viewManager->viewDict.value(MyViewManager::kBackground)->bounds();
        return {NumberText::realString(b.width()), NumberText::realString(b.height())};
    }
    bool trySetting(int i, const QVariant& value, const QString& key, const QString& stepName)
    {
        return graph(i)->viewManager->tryObject(value, settingsRow(graph(i), {"graphProperties", "background", key}), stepName);
    }
};

TEST_F(Printing, NewPaperResizesTheKeyGraphThatFollowsThePageLayout)
{
    const QStringList before = viewSize(0);
    const auto otherHistory = doc->historyOfGraphSettings[1];
    pageSetup(graph(0), kPaper);
    // The imageable area, the panel's margins set aside, in the settings and as drawn; the
    // paper keeps its imageable area as margins.
    EXPECT_EQ(viewSize(0), kImageable);
    EXPECT_EQ(drawnSize(0), kImageable);
    EXPECT_TRUE(PrintInfo::same(doc->printInfo, paper({500, 700}, {12, 30, 20, 10}, {12, 30, 20, 10})));
    EXPECT_EQ(doc->historyOfGraphSettings[1], otherHistory);
    EXPECT_TRUE(graph(0)->window()->isActiveWindow());

    // Undo gives the size back; the paper stays.
    doc->undoManager()->undo();
    EXPECT_EQ(viewSize(0), before);
    EXPECT_EQ(PrintInfo::imageablePageBounds(doc->printInfo).size, (Size{468, 660}));
}

TEST_F(Printing, NewPaperChangesOnlyThePaperOfAGraphThatDoesNotFollow)
{
    ASSERT_TRUE(trySetting(1, false, "followPageLayout", "Change Type"));
    const QStringList before = viewSize(1);
    const int stepsBefore = steps();
    pageSetup(graph(1), kPaper);
    EXPECT_EQ(steps(), stepsBefore);
    EXPECT_EQ(viewSize(1), before);
    EXPECT_EQ(drawnSize(1), before);
    // The paper with the margins the panel gave it.
    EXPECT_TRUE(PrintInfo::same(doc->printInfo, kPaper));
    // Following again, the graph takes the imageable area, not what the margins leave.
    ASSERT_TRUE(trySetting(1, true, "followPageLayout", "Change Type"));
    EXPECT_EQ(viewSize(1), kImageable);
}

// Print infos are the same only in paper size, orientation, imageable area and margins
// together: each difference alone is a new paper for a graph that follows it.
TEST_F(Printing, EveryDifferenceOfThePrintInfoIsANewPaper)
{
    const QMarginsF border(12, 30, 20, 10);
    const QPageLayout base = paper({500, 700}, border, border);
    // Each with the following graph's size after it; empty: refused.
    const struct { const char* change; std::optional<QPageLayout> layout; QStringList size; } cases[] = {
        {"none", base, {}},
        {"panel cancelled", std::nullopt, {}},
        {"the paper's name",
         QPageLayout(QPageSize(QSizeF(500, 700), QPageSize::Point, "Poster", QPageSize::ExactMatch), QPageLayout::Portrait,
                     border, QPageLayout::Point, border),
         {}},
        // The border stays at the edges it was given: 700 − 12 − 20 by 500 − 30 − 10.
        {"orientation", paper({500, 700}, border, border, QPageLayout::Landscape), {"668.0", "460.0"}},
        {"size", paper({500, 710}, border, border), {"468.0", "670.0"}},
        {"imageable area", paper({500, 700}, {12, 30, 20, 12}, {12, 30, 20, 12}), {"468.0", "658.0"}},
        {"margins", paper({500, 700}, border, {13, 30, 20, 10}), kImageable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        doc->printInfo = base;
        ASSERT_TRUE(trySetting(0, QString("300.0"), "viewWidth", "Paste Settings"));
        const QStringList before = viewSize(0);
        const int stepsBefore = steps();
        pageSetup(graph(0), c.layout);
        EXPECT_EQ(steps(), stepsBefore + (c.size.isEmpty() ? 0 : 1));
        EXPECT_EQ(viewSize(0), c.size.isEmpty() ? before : c.size);
    }
}

// Page setup and print show no panel unless a graph window is key; their menu items (and
// export's) are there in every window but only usable in graph windows.
TEST_F(Printing, OnlyTheKeyGraphWindowIsPrinted)
{
    doc->baseWindowCont->editDataTableTapped(0);
    MyDocumentWindows::showStatsWindow(*doc, 0);
    for (MyWindowController* c : {doc->baseWindowCont, doc->tableWindowCont, doc->statsWindowConts[0]}) {
        SCOPED_TRACE(c->windowType().toStdString());
        front(c);
        for (const char* item : {"Page Setup…", "Print…", "Export PDF…"}) {
            ASSERT_TRUE(command(c, item)) << item;
            EXPECT_FALSE(command(c, item)->isEnabled()) << item;
        }
        // The commands given anyway (the graph window's items, with this window key).
        scripted.dialogs.pageLayouts = {kPaper};
        scripted.dialogs.printFiles = {dir.filePath("never.pdf")};
        graph(0)->runPageLayout();
        graph(0)->printDocument();
    }
    EXPECT_TRUE(scripted.dialogs.pageSetupPanels.isEmpty());
    EXPECT_TRUE(scripted.dialogs.printPanels.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("never.pdf")));
    EXPECT_TRUE(command(graph(0), "Print…")->isEnabled());
}

// Printed to a PDF file with elements selected: the page is the paper, the graph on it is the
// page that export writes (no selection marks), its texts can be read, and the same elements
// are selected afterwards.
TEST_F(Printing, PrintToAPdfFileShowsTheExportedPageWithoutSelectionMarks)
{
    pageSetup(graph(0), kPaper);
    MyViewManager* vm = graph(0)->viewManager;
    const QStringList selected{MyViewManager::kGraphView, MyViewManager::kYAxis};
    GraphItem* page = vm->viewDict.value(MyViewManager::kBackground);
    const QImage plain = GraphItem::image(page);
    vm->selectView(selected);
    const QImage marked = GraphItem::image(page);
    ASSERT_NE(marked, plain);

    const QString printed = dir.filePath("printed.pdf");
    ASSERT_TRUE(print(graph(0), printed));
    EXPECT_EQ(vm->selectedViews, selected);
    EXPECT_EQ(GraphItem::image(page), marked);
    ASSERT_EQ(scripted.dialogs.printPanels.size(), 1);
    EXPECT_TRUE(PrintInfo::same(scripted.dialogs.printPanels[0], doc->printInfo));

    const PdfPage onPaper(printed), exported(write("exported.pdf", vm->graphPDF()));
    ASSERT_EQ(onPaper.pages, 1);
    EXPECT_EQ(onPaper.size, QSizeF(500, 700));
    // The y title once, the category labels and the scale labels.
    EXPECT_EQ(onPaper.text.count("Height"), 1) << onPaper.text.toStdString();
    for (const char* label : {"F", "M", "160", "180"})
        EXPECT_TRUE(onPaper.text.contains(label)) << label;

    // The graph fills the printable area, whose top left lies 12 points in and 30 down.
    ASSERT_EQ(exported.image.size(), QSize(936, 1320));
    EXPECT_LT(differingShare(onPaper.image.copy(QRect(QPoint(24, 60), exported.image.size())), exported.image), 0.001);

    // A file that cannot be written is no silent success.
    EXPECT_FALSE(print(graph(0), dir.filePath("missing/printed.pdf")));
    EXPECT_EQ(alerts(), QStringList{"The graph could not be printed."});
    EXPECT_EQ(warnings.take(), QStringList{"QPainter::begin(): Returned false"});
    EXPECT_EQ(vm->selectedViews, selected);
}

// A graph that goes while a page setup or print panel is open is neither resized nor
// printed, and no other graph takes its place; a graph that only moved up is still the one
// acted on.
TEST_F(Printing, AGraphThatGoesWhileAPanelIsOpenIsLeftAlone)
{
    // The graph whose window is key, and whether it is still resized and printed once graph 0
    // is deleted.
    const struct { const char* what; int key; bool acts; } cases[] = {{"its own graph deleted", 0, false}, {"an earlier graph deleted", 1, true}};
    const QPageLayout infoBefore = doc->printInfo;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool printing : {false, true}) {
            while (doc->graphWindowConts.size() < 2)
                makeAnalysis("Heights", {"Height"}, {"Sex"});
            const QPointer<MyWindowController> key = graph(c.key);
            const QStringList sizes = viewSize(1 - c.key);
            // Deleted in the main window's outline (deleting clears every undo step).
            scripted.dialogs.whilePanelOpen = [this] {
                scripted.dialogs.answers.push_back(0);
                press(analysis(0), 2);
            };
            if (printing) {
                EXPECT_EQ(print(key, dir.filePath("printed.pdf")), c.acts);
            } else {
                pageSetup(key, kPaper);
                EXPECT_EQ(steps(), c.acts ? 1 : 0);
                EXPECT_EQ(PrintInfo::same(doc->printInfo, infoBefore), !c.acts);
                EXPECT_EQ(viewSize(0), c.acts ? kImageable : sizes);
            }
            ASSERT_EQ(doc->graphWindowConts.size(), 1);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QFile::remove(dir.filePath("printed.pdf"));
            doc->printInfo = infoBefore;
        }
    }
}
