#pragma once
// The record of one analysis's graph: its analysis data (fixed at creation), the tables that
// the layout steps fill and the views draw from, and the links to its owners. One per
// analysis, owned by its graph window controller (a QObject child of it) and shared with
// the statistics window. It owns every view made with it, the graph's scene and its texts.
//
// Layout steps (src/graph) write into the public tables below; views are drawn from them.
// All layout geometry is in points with y up (Geometry), never QRectF.
#include "analysis/MyAnalysisData.h"
#include "platform/Geometry.h"
#include "views/BezierPath.h"
#include "views/OrderedMap.h"
#include <QColor>
#include <QGraphicsScene>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTextDocumentFragment>
#include <QVector>
#include <memory>
#include <optional>
#include <vector>

class AppDelegate;
class Document;
class GraphItem;
class GraphLayoutSteps;
class MyBaseView;
class MyConfigItem;
class MyConfigRootItem;
class MyOutputView;
class MySimpleTextView;
class MySimpleView;
class MyStorageItem;
class MyView;
class MyWindowController;

// Fill and line colour of a view name.
struct ColorPair {
    QColor fillColor;
    QColor lineColor;
    bool operator==(const ColorPair&) const = default;
};

// The paths of a container view: closed paths are filled and stroked, line paths stroked.
struct PathPair {
    QVector<BezierPath> closed;
    QVector<BezierPath> line;
    bool operator==(const PathPair&) const = default;
};

// A glyph or rich text ready to be put into a TextStorage.
using AttributedString = QTextDocumentFragment;

class MyViewManager : public QObject {
    Q_OBJECT
public:
    // initWithGraphData: the analysis data (arguments 1 to 11, stored unchanged), the graph
    // window controller and the document. The controller, when given, owns the record; the
    // delegate and the graph generator come from the document's delegate.
    MyViewManager(const QString& graphType, const QHash<QString, std::vector<double>>& values,
                  const QHash<QString, BoxValuesDict>& graphDescriptives,
                  const QHash<QString, std::vector<double>>& outliers,
                  const QHash<QString, BoxValuesDict>& graphLogDescriptives,
                  const QHash<QString, std::vector<double>>& logOutliers, const QHash<QString, qint64>& numbers,
                  const QHash<QString, DescriptivesDict>& descriptives,
                  const QHash<QString, DescriptivesDict>& logDescriptives, const QStringList& singleTags,
                  const std::vector<double>& minMax, MyWindowController* myWindowCont, Document* myDoc);
    // The same from the analysis's data.
    MyViewManager(const MyAnalysisData& data, MyWindowController* myWindowCont, Document* myDoc);
    ~MyViewManager() override;

    // 1-10: the analysis data, as given.
    const QString graphType;
    const QHash<QString, std::vector<double>> values;
    const QHash<QString, BoxValuesDict> graphDescriptives;
    const QHash<QString, BoxValuesDict> graphLogDescriptives;
    const std::vector<double> minMax;
    const QHash<QString, std::vector<double>> outliers;
    const QHash<QString, std::vector<double>> logOutliers;
    const QHash<QString, qint64> numbers;
    const QHash<QString, DescriptivesDict> descriptives;
    const QHash<QString, DescriptivesDict> logDescriptives;

    // 11-38: written by the layout steps and the selection.
    QStringList nameTags;                                     // final categories, column order
    QStringList singleTags;                                   // as given
    OrderedMap<QString, MyView*> viewDict;                    // containers by view name
    OrderedMap<QString, ColorPair> viewColors;                // "rootView", "graphView" at first
    OrderedMap<QString, PathPair> viewBeziers;                // "rootView", "graphView" at first
    OrderedMap<QString, BezierPath> viewBezier;               // one path per element group
    OrderedMap<QString, bool> viewVisible;                    // shown flag per element group
    OrderedMap<QString, bool> viewSelected;                   // selected flag per view name
    OrderedMap<QString, QVector<MySimpleView*>> viewsDict;    // element group -> members
    OrderedMap<QString, MyConfigItem*> itemsDict;             // settings row per view name
    OrderedMap<QString, QVector<MySimpleTextView*>> textViewsDict;
    OrderedMap<QString, std::shared_ptr<MyStorageItem>> storageItemDict;
    QVector<std::shared_ptr<MyStorageItem>> scalesStorageItem;
    QVector<double> horizontalGaps;
    Rect graphRect;
    Rect rGraphRect;
    Rect rXRect;
    Rect rYRect;
    QVector<double> baseXs;
    QVector<QVector<Size>> xTextSizes;
    Rect xTextRect;
    QVector<Rect> scaleTextRects;
    Rect yTextRect;
    Rect yTextRequiredRect;
    OrderedMap<QString, AttributedString> dotAttrStrings;
    OrderedMap<QString, Rect> dotSizeOrigins;
    OrderedMap<QString, Rect> columnRects;
    QStringList selectedViews;

    // 39-42: links, not owned.
    AppDelegate* const ourDelegate;
    GraphLayoutSteps* const ourGraphGenerator;
    Document* const myDoc;
    MyWindowController* const myWindowCont;

    // ---- names
    static const QString kRootView;         // "rootView"
    static const QString kGraphView;        // "graphView"
    static const QString kBackground;       // "graphProperties\tbackground"
    static const QString kGraphRect;        // "graphProperties\tgraphRect"
    static const QString kXAxis;            // "graphProperties\txAxis"
    static const QString kYAxis;            // "graphProperties\tyAxis"
    static const QString kBars;             // "graphProperties\tbars"
    static const QString kMedian;           // "graphProperties\tboxes\tmedian"
    // The view name of a column's container (its dots or boxes view), which its element
    // views name as their superviewName. Category and column titles are the user's, so a
    // name tag may equal a fixed view name or an element's name ("graphView", or
    // "graphProperties" and "background" on two levels); the prefix keeps them apart.
    static QString columnViewName(const QString& nameTag);

    // ---- view tree (views are QGraphicsItems on this graph's scene)
    QGraphicsScene* scene() { return &m_scene; }
    // Takes the graph window's base view as "rootView": names it, links it, enters it in
    // viewDict and puts it on the scene, where it is the top of the tree.
    void installRootView(MyBaseView* root);
    // Takes ownership of a view made with this manager (the view initializers call it).
    void adoptView(GraphItem* view);
    // Brings the tree in line with the group flags and text records after a layout: attaches
    // shown groups and texts that are detached, detaches hidden ones; bars and median lines
    // last, so they lie above the dots, boxes and texts attached in the same run.
    void setViews();
    // The frame containers, once after the first full layout: "graphView" into the
    // background, the graph rectangle and the axes into "graphView", each column's
    // container into the graph rectangle, in nameTags order. Missing views are skipped.
    void placeContainers();

    // ---- layout driver
    // Runs the layout steps that row's step mask selects (mask 0: nothing at all), sizes
    // and centres "graphView" in the background, brings the tree in line and redraws.
    void setGraphWithOutlineItem(MyConfigItem* row);
    // The same with the inputs given directly (the driver's core; tests call it too).
    void runLayout(qint64 setIndex, const QStringList& keys, const QVector<qint64>& indexes,
                   const QVariantMap& settings, MyConfigRootItem* rootItem);

    // ---- selection
    // Makes exactly names the selection: container flags and group flags follow, only the
    // views whose flag changes are redrawn, and selectedViews becomes names.
    void selectView(const QStringList& names);

    // ---- output
    // The PDF of the background view (the whole graph), without selection frames; empty
    // when the graph has not been laid out (fewer than two views in viewDict).
    QByteArray graphPDF();
    // Installs graphPDF as the document's hook for the package's graph PDFs (at start-up).
    static void registerHooks();

    // ---- statistics table (rows: name tags, then single tags while "showSingle" is on,
    // then the all-data row, the empty tag, while "showAll" is on)
    struct StatsOptions {
        QString tag;
        bool unbiased = false;
        bool showStats = false;
    };
    // The 13 column identifiers in table order ("tag" ... "p") and their copy titles.
    static const QStringList& statsColumnIdentifiers();
    static const QStringList& statsColumnTitles();
    // The analysis's statistics record and its "logarithmic" axis flag; empty and false
    // when the document holds no analysis at this graph ID.
    QVariantMap statsRecord() const;
    bool isLogarithmic() const;
    qint64 statsRowCount() const;
    StatsOptions statsOptions(qint64 row) const;
    // A cell: a QString, a qint64 ("num"), a double, or an invalid QVariant for nothing.
    QVariant representedValue(const QString& tag, const QString& columnIdentifier, bool unbiased, bool showStats,
                              bool logarithmic) const;
    // How a cell is written in copied text (and shown in the table) at a column position.
    static QString statsCellText(const QVariant& value, int position);
    // The copied text of the selected rows (all columns, no title line) or else of the
    // selected columns (a title line, every row); nullopt when nothing is selected.
    std::optional<QString> statsText(const QList<int>& selectedRows, const QList<int>& selectedColumns) const;
    // statsText put on the clipboard as plain text; nothing selected leaves it alone.
    void copyStatsWithSelectedRowIndexes(const QList<int>& selectedRows, const QList<int>& selectedColumns) const;

private:
    friend class GraphItem;
    void forgetView(GraphItem* view);

    QGraphicsScene m_scene;
    std::vector<GraphItem*> m_ownedViews;
};
