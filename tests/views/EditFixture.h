#pragma once
// A started application with one document holding analyses drawn by the real graph
// generator, set up as the document's window set-up does it (selector tree, settings tree,
// view manager, first full layout), with the window hooks recorded and the dialogs scripted.
#include "FakeGenerator.h"
#include "analysis/MyAnalysisData.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySelectorRootItem.h"
#include "platform/Dialogs.h"
#include "views/GraphWindowHooks.h"
#include "views/MyTextView.h"
#include "views/MyViewManager.h"
#include "windows/MyWindowController.h"
#include <QGraphicsView>
#include <QImage>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << "{";
    for (const QString& s : l)
        *os << "\n  \"" << s.toStdString() << '"';
    *os << "}";
}

// The real generator behind the step interface, with every step call written down.
class CountingGenerator : public GraphLayoutSteps {
public:
    explicit CountingGenerator(MyGraphGenerator& r) : real(r) {}
    MyGraphGenerator& real;
    QStringList calls;

    using Map = QVariantMap;
    using Root = MyConfigRootItem;
    using VM = MyViewManager;
    using Ix = QVector<qint64>;
#define VLB_COUNTED(step, call) { calls << QStringLiteral(step); real.call; }
    void backgroundWithSettings(const Map& s, VM* vm) override VLB_COUNTED("background", backgroundWithSettings(s, vm))
    void horizontalGapsWithSettings(const Map& s, VM* vm) override
        VLB_COUNTED("horizontalGaps", horizontalGapsWithSettings(s, vm))
    void graphRectWithSettings(const Map& s, VM* vm) override VLB_COUNTED("graphRect", graphRectWithSettings(s, vm))
    void xAxisWithSettings(const Map& s, VM* vm) override VLB_COUNTED("xAxis", xAxisWithSettings(s, vm))
    void xTextsWithSetIndex(qint64 m, const Map& s, Root* r, VM* vm, const Ix& i) override
        VLB_COUNTED("xTexts", xTextsWithSetIndex(m, s, r, vm, i))
    void nameTagsWithSetttings(const Map& s, VM* vm) override VLB_COUNTED("nameTags", nameTagsWithSetttings(s, vm))
    void xTextsRectWithSetttings(const Map& s, VM* vm) override
        VLB_COUNTED("xTextsRect", xTextsRectWithSetttings(s, vm))
    void yAxisWithSettings(const Map& s, VM* vm) override VLB_COUNTED("yAxis", yAxisWithSettings(s, vm))
    void scaleTextsWithSettings(const Map& s, Root* r, VM* vm, const QStringList& k, const Ix& i) override
        VLB_COUNTED("scaleTexts", scaleTextsWithSettings(s, r, vm, k, i))
    void scaleTextRectsWithSettings(const Map& s, Root* r, VM* vm) override
        VLB_COUNTED("scaleTextRects", scaleTextRectsWithSettings(s, r, vm))
    void yTitleTextWithSettings(const Map& s, Root* r, VM* vm) override
        VLB_COUNTED("yTitleText", yTitleTextWithSettings(s, r, vm))
    void yTitleTextRectWithSettings(const Map& s, VM* vm) override
        VLB_COUNTED("yTitleTextRect", yTitleTextRectWithSettings(s, vm))
    void setScatterWithSetIndex(qint64 m, const QStringList& k, const Ix& i, const Map& s, Root* r, VM* vm) override
        VLB_COUNTED("scatter", setScatterWithSetIndex(m, k, i, s, r, vm))
    void setBoxWithSetIndex(qint64 m, const QStringList& k, const Ix& i, const Map& s, Root* r, VM* vm) override
        VLB_COUNTED("boxplot", setBoxWithSetIndex(m, k, i, s, r, vm))
#undef VLB_COUNTED
    ContainersAndViews containersAndViewsWithTextStorage(TextStorage* t) const override
    {
        return real.containersAndViewsWithTextStorage(t);
    }
};

// What the view manager asked of the windows.
struct HookLog {
    // Per reveal, the key paths of the expanded chain joined with " > " (the last one selected).
    QStringList revealed;
    // Last edited mark per controller.
    QHash<MyWindowController*, bool> marks;
    int titleSyncs = 0, settingsTreeChanges = 0, selectorTreeChanges = 0;
    std::optional<TextAttributes> selectedAttributes;
};

// A column of the analysis: data cells (numbers as text) or category values, one per row.
struct Column {
    QString title;
    QStringList cells;
};

class EditFixture : public ::testing::Test {
protected:
    ScopedScriptedDialogs scripted;
    AppDelegate app;
    MyGraphGenerator realGenerator;
    CountingGenerator generator{realGenerator};
    std::unique_ptr<Document> doc;
    std::unique_ptr<MyWindowController> mainCont;
    std::unique_ptr<MySelectorRootItem> selectorRoot;
    struct Graph {
        std::unique_ptr<MyWindowController> cont;
        std::unique_ptr<MyConfigRootItem> root;
        MyViewManager* vm = nullptr;
        MyAnalysisData data;
        ~Graph() { cont.reset(); }   // the window and its view manager before the rows they show
    };
    std::vector<std::unique_ptr<Graph>> graphs;
    HookLog log;

    void SetUp() override;
    void TearDown() override;

    // A new analysis of the document, drawn whole. Data cells are numbers as text.
    Graph& addGraph(const QString& graphType, const QVector<Column>& data, const QVector<Column>& categorizing,
                    const QString& title = QStringLiteral("Untitled"));
    // The graph window of analysis id, laid out whole from the document's settings.
    std::unique_ptr<Graph> openGraph(qint64 id, const MyAnalysisData& data);
    // The usual two: a dot plot of "Weight" by "Group" (a, b, c) and a boxplot of "Weight"
    // and "Height" by "Group".
    void addTwoGraphs();

    MyConfigItem* row(const Graph& g, const QStringList& path) const;

    // A view of g's scene, shown and active, as the graph window has it.
    std::unique_ptr<QGraphicsView> sceneView;
    void showScene(const Graph& g);
    // A point of the view where item is the topmost view.
    QPoint pointOn(GraphItem* item) const;
    // One click, or a double click: a click, a second press reported as a double click, and
    // its release.
    void click(GraphItem* item, int count = 1);
    MySelectorItem* analysis(int graphID) const { return selectorRoot->selectorChildAt(graphID); }
    UndoBridge& undo() { return *doc->undoManager(); }
};

// Everything a graph draws, as lines (sorted: the stacking order is left to the image):
// every attached view with its frame, bounds, turn, colours, paths, selection and text.
QStringList drawnState(MyViewManager& vm);
// The graph at one pixel a point.
QImage drawnImage(MyViewManager& vm);
// The first view of a text record, if it has one.
MyTextView* firstTextView(const std::shared_ptr<MyStorageItem>& record);
// The key paths of a chain of rows, as "a > a/b > a/b/c".
QString chainText(const QList<MyConfigItem*>& chain);
// Every row below root, depth first.
QList<MyConfigItem*> allRows(MyConfigItem* root);
// The selector rows below an analysis, one line each: "title | message".
QStringList selectorRows(const MySelectorItem* analysis);
