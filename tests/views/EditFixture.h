#pragma once
// A started application with one document holding analyses drawn by the real graph
// generator, set up as the document's window set-up does it (selector tree, settings tree,
// view manager, first full layout), with the window hooks recorded and the dialogs scripted.
#include "analysis/MyAnalysisData.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySelectorRootItem.h"
#include "platform/Dialogs.h"
#include "views/GraphWindowHooks.h"
#include "views/MyViewManager.h"
#include "windows/MyWindowController.h"
#include <QImage>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
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
    explicit CountingGenerator(MyGraphGenerator& real);
    MyGraphGenerator& real;
    QStringList calls;

    void backgroundWithSettings(const QVariantMap& s, MyViewManager* vm) override;
    void horizontalGapsWithSettings(const QVariantMap& s, MyViewManager* vm) override;
    void graphRectWithSettings(const QVariantMap& s, MyViewManager* vm) override;
    void xAxisWithSettings(const QVariantMap& s, MyViewManager* vm) override;
    void xTextsWithSetIndex(qint64 m, const QVariantMap& s, MyConfigRootItem* r, MyViewManager* vm,
                            const QVector<qint64>& i) override;
    void nameTagsWithSetttings(const QVariantMap& s, MyViewManager* vm) override;
    void xTextsRectWithSetttings(const QVariantMap& s, MyViewManager* vm) override;
    void yAxisWithSettings(const QVariantMap& s, MyViewManager* vm) override;
    void scaleTextsWithSettings(const QVariantMap& s, MyConfigRootItem* r, MyViewManager* vm, const QStringList& k,
                                const QVector<qint64>& i) override;
    void scaleTextRectsWithSettings(const QVariantMap& s, MyConfigRootItem* r, MyViewManager* vm) override;
    void yTitleTextWithSettings(const QVariantMap& s, MyConfigRootItem* r, MyViewManager* vm) override;
    void yTitleTextRectWithSettings(const QVariantMap& s, MyViewManager* vm) override;
    void setScatterWithSetIndex(qint64 m, const QStringList& k, const QVector<qint64>& i, const QVariantMap& s,
                                MyConfigRootItem* r, MyViewManager* vm) override;
    void setBoxWithSetIndex(qint64 m, const QStringList& k, const QVector<qint64>& i, const QVariantMap& s,
                            MyConfigRootItem* r, MyViewManager* vm) override;
    ContainersAndViews containersAndViewsWithTextStorage(TextStorage* t) const override;
};

// What the view manager asked of the windows.
struct HookLog {
    // Per reveal, the key paths of the expanded chain joined with " > " (the last one selected).
    QStringList revealed;
    // Last edited mark per controller.
    QHash<MyWindowController*, bool> marks;
    int titleSyncs = 0;
    int settingsTreeChanges = 0;
    int selectorTreeChanges = 0;
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
    };
    std::vector<std::unique_ptr<Graph>> graphs;
    HookLog log;

    void SetUp() override;
    void TearDown() override;

    // A new analysis of the document, drawn whole. Data cells are numbers as text.
    Graph& addGraph(const QString& graphType, const QVector<Column>& data, const QVector<Column>& categorizing,
                    const QString& title = QStringLiteral("Untitled"));
    // The usual two: a dot plot of "Weight" by "Group" (a, b, c) and a boxplot of "Weight"
    // and "Height" by "Group".
    void addTwoGraphs();

    MyConfigItem* row(const Graph& g, const QStringList& path) const;
    MySelectorItem* analysis(int graphID) const { return selectorRoot->selectorChildAt(graphID); }
    UndoBridge& undo() { return *doc->undoManager(); }
};

// Everything a graph draws, as lines (sorted: the stacking order is left to the image):
// every attached view with its frame, bounds, turn, colours, paths, selection and text.
QStringList drawnState(MyViewManager& vm);
// The graph at one pixel a point.
QImage drawnImage(MyViewManager& vm);
// The selector rows below an analysis, one line each: "title | message".
QStringList selectorRows(const MySelectorItem* analysis);
