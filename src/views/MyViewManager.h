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
#include <QPointer>
#include <QStringList>
#include <QTextDocumentFragment>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class AppDelegate;
class Document;
class GraphItem;
class GraphTextEditor;
class GraphLayoutSteps;
class MyBaseView;
class MyConfigItem;
class MyConfigRootItem;
class MyOutputView;
class MySelectorItem;
class MySimpleTextView;
class MySimpleView;
class MyStorageItem;
class MyTextView;
class MyView;
class MyWindowController;
class SettingsRowPath;
struct FontSpec;
struct TextAttributes;

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
    // The text of a tag whose key differs from it (see MyAnalysisData::tagTexts).
    QHash<QString, QString> tagTexts;
    QString tagText(const QString& tag) const { return tagTexts.value(tag, tag); }
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
    static const QString kScaleText;        // "graphProperties\tyAxis\tscaleText", every scale text
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

    // What an element view of the group name draws with: its colours and path (nullptr
    // when missing) and its selection flag. While a tree is rendered, members of one group
    // drawn one after another look the tables up once.
    struct ElementStyle {
        const ColorPair* colors = nullptr;
        const BezierPath* path = nullptr;
        bool selected = false;
    };
    ElementStyle elementStyle(const QString& name);

    // ---- layout driver
    // Runs the layout steps that row's step mask selects (mask 0: nothing at all), sizes
    // and centres "graphView" in the background, brings the tree in line and redraws.
    void setGraphWithOutlineItem(MyConfigItem* row);
    // The same with the inputs given directly (the driver's core; tests call it too).
    void runLayout(qint64 setIndex, const QStringList& keys, const QVector<qint64>& indexes,
                   const QVariantMap& settings, MyConfigRootItem* rootItem);
    // What a layout pass has to tell the user (the range alert). No modal loop may run
    // inside a pass: the message waits here, once however many passes note it, and
    // alertNoted asks for it to be shown from the event loop over the graph's window.
    void noteAlert(const QString& message);
    // The message waiting, taken away; empty when none.
    QString takePendingAlert();
    bool hasPendingAlert() const { return !m_pendingAlert.isEmpty(); }

    // ---- selection
    // Makes exactly names the selection: container flags and group flags follow, only the
    // views whose flag changes are redrawn, and selectedViews becomes names.
    void selectView(const QStringList& names);

    // ---- settings changes with undo (MyViewManagerEdit.cpp)
    // The root row of the graph's settings tree (its window controller's); nullptr without one.
    MyConfigRootItem* settingsRoot() const;
    // Applies a step of the graph's settings history as one undo step named undoString: step
    // 1 after a new snapshot was appended (every caller), -1 and 1 again on undo and redo.
    // The history index moves inside the step; the settings tree takes the snapshot, the
    // selector tree and the analysis text follow titles and category labels, the windows'
    // edited marks follow the document, and the layout steps of outlineItem run again. The
    // step holds the row by its path, never by pointer.
    void setGraphChange(int step, MyConfigItem* outlineItem, const QString& undoString);
    // A value typed ("Change Type") or pasted ("Paste Settings") for a settings row: fitted
    // to this graph (page size, series count, categories, value axis; pasting whole settings
    // asks whether the value axis is overwritten), written into the row, pushed as a new
    // snapshot and applied with setGraphChange. False, with nothing changed and no step,
    // when the value is refused or does not fit the row.
    bool tryObject(const QVariant& object, MyConfigItem* outlineItem, const QString& actionName);
    // The first half of tryObject: the value fitted to this graph and the row to write it to,
    // nothing written; nothing when it is refused. The whole-settings merge asks its question.
    std::optional<std::pair<QVariant, MyConfigItem*>> fittedObject(const QVariant& object, MyConfigItem* outlineItem);
    // Writes value into row as it stands, pushes the whole tree as a new snapshot and applies
    // it as one undo step: the path of colours, fonts, attributes, moves and texts. False,
    // with nothing changed, when the row cannot take the value.
    bool changeRow(MyConfigItem* row, const QVariant& value, const QString& actionName);
    // The value axis check of an edit of a "valueSettings" row: the value to write (nothing
    // when refused) and the row to write it to (the "valueSettings" row when the whole
    // dictionary is replaced).
    std::pair<std::optional<QVariant>, MyConfigItem*> adjustValueSettings(const QVariant& object, MyConfigItem* item);
    // Gives the selector rows of the category at indexes[1] the display texts of its
    // represents, in their order; rows no entry names stay, after the named ones.
    void synchronizeDocRepresentsKeys(const QStringList& keys, const QVector<qint64>& indexes,
                                      MyConfigRootItem* rootItem, MySelectorItem* baseItem);

    // ---- selection (MyViewManagerSelection.cpp)
    // A mouse-up on the views named (the clicked view's own name): a single click selects
    // "graphView" alone (or nothing, on the background), a double click the element too
    // and reveals its settings row; the graph container or the background takes the focus.
    void clickedView(const QStringList& names, int clickCount);
    // Expands the rows down to row in the settings outline and selects it alone.
    void revealRow(MyConfigItem* row);
    // Gives the keyboard focus to view (the window's first responder).
    void makeFirstResponder(GraphItem* view);

    // ---- in-place text editing (MyViewManagerText.cpp)
    // The settings row of a text view's text (isText) or of its attributes; nullptr when the
    // text has no record or the row has gone.
    MyConfigItem* outlineItemWithTextView(const MySimpleTextView* textView, bool isText) const;
    // Commits a text (isText, object a string) or its attributes (object the keyed archive of
    // an attribute dictionary) as one undo step, "Change Text" or "Change Attributes". An
    // unchanged text commits nothing; a scale text the value axis refuses shows its stored
    // text again. An attribute change commits a text being edited first.
    // actionName, when given, names the step instead.
    void changeTextView(MyTextView* textView, const QVariant& object, bool isText, const QString& actionName = QString());
    // Starts editing textView in place, the caret at point (view coordinates): it shows its
    // stored text, markup included, until the edit ends. Another text being edited is
    // committed first.
    void editTextView(MyTextView* textView, const Point& point);
    bool isEditing(const MyTextView* textView) const;
    // The text being edited in place; nullptr when none.
    MyTextView* editedTextView() const;
    // The edit has changed the text for the first time: the text's row is revealed.
    void textDidBeginEditing(MyTextView* textView);
    // The edit of textView ends: its text is committed.
    void textDidEndEditing(MyTextView* textView);
    // Ends any edit in place and commits it; windows call it before commands that read the
    // settings (save, undo, copy, font and colour changes).
    void commitEditing();
    // The font panel's change of a text's font ("Change Font") and of its attributes ("Change
    // Attributes"), made from the row's stored attributes (not from the characters shown).
    void changeFont(MyTextView* textView, const std::function<FontSpec(const FontSpec&)>& convertFont);
    void changeAttributes(MyTextView* textView,
                          const std::function<TextAttributes(const TextAttributes&)>& convertAttributes);

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
    // What each row shows, as a key that stays with it when the rows are reordered: its kind
    // (category, single or all-data row) and its tag.
    QStringList statsRowKeys() const;
    // A cell: a QString, a qint64 ("num"), a double, or an invalid QVariant for nothing.
    QVariant representedValue(const QString& tag, const QString& columnIdentifier, bool unbiased, bool showStats,
                              bool logarithmic) const;
    // How a cell is written in copied text at a column position: reals with six decimals.
    static QString statsCellText(const QVariant& value, int position);
    // How the table shows a cell: reals with six significant digits, so that small and
    // large values keep theirs; the tag keeps its tabs.
    static QString statsShownText(const QVariant& value, int position);
    // The copied text of the selected rows (all columns, no title line) or else of the
    // selected columns (a title line, every row); nullopt when nothing is selected.
    std::optional<QString> statsText(const QList<int>& selectedRows, const QList<int>& selectedColumns) const;
    // statsText put on the clipboard as plain text; nothing selected leaves it alone.
    void copyStatsWithSelectedRowIndexes(const QList<int>& selectedRows, const QList<int>& selectedColumns) const;

signals:
    // A layout pass has ended: the graph's extent may have changed.
    void laidOut();
    // noteAlert has a message waiting.
    void alertNoted();

private:
    friend class GraphItem;
    void forgetView(GraphItem* view);

    // The graph's position in the document's lists; -1 when it has none.
    qint64 graphID() const;
    // How a history step brings the settings tree to its snapshot: not at all (it holds it
    // already), through the changed row alone (the snapshots differ only below it), or whole.
    enum class Reload { None, Row, Whole };
    void pushGraphChange(int step, MyConfigItem* row, const QString& undoString, bool rowChangedOnly);
    void applyGraphChange(int step, const SettingsRowPath& path, const QString& undoString, Reload reload);
    void synchronizeSelector(MyConfigItem* row, MyConfigRootItem* root, qint64 graphID);
    std::optional<QVariantMap> adjustedGraphProperties(const QVariant& properties, MyConfigItem* backgroundRow) const;
    std::optional<QVariantMap> mergedSettings(const QVariant& object, MyConfigRootItem* root, qint64 graphID);
    bool isLiveTextView(const MyTextView* textView) const;
    // row once a text being edited in place is committed; nullptr when the row is not in the
    // tree (any more).
    MyConfigItem* rowAfterEditing(MyConfigItem* row);

    QPointer<GraphTextEditor> m_editor;
    QString m_pendingAlert;

    QGraphicsScene m_scene;
    quint64 m_stylePass = 0;
    QString m_styleName;
    ElementStyle m_style;
    std::vector<GraphItem*> m_ownedViews;
};
