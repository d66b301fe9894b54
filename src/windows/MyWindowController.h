#pragma once
// The one controller class behind a document's windows. The kind of window is the name of
// its layout: "Document" (main window), "TableWindow" (the data grid), "GraphWindowD" and
// "StatsWindowD" (one pair per analysis). Actions arriving from a window that they do not
// apply to do nothing there.
#include "platform/Geometry.h"
#include <QKeySequence>
#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class Document;
class MyDataSourceModel;
class MyColorWell;
class MyConfigItem;
class MyOutlineItem;
class MyOutlineModel;
class MySelectorItem;
class MyStepper;
struct FontSpec;
struct OutlineCell;
struct TextAttributes;
class MyTableView;
class MyBaseView;
class MyOutputView;
class MyViewManager;
class MyWindow;
class QAbstractButton;
class QAbstractItemView;
class QAction;
class QGraphicsView;
class QLabel;
class QMainWindow;
class QMenuBar;
class QTableView;
class QTreeView;
class QWidget;

class MyWindowController : public QObject {
    Q_OBJECT
public:
    explicit MyWindowController(const QString& windowNibName = QString(), QObject* parent = nullptr);
    ~MyWindowController() override;

    // Outlets; absent in the kinds whose window does not have them.
    QLabel* tkNumOfRows = nullptr;
    QLabel* tkNumOfColumns = nullptr;
    QTableView* docTV = nullptr;
    QTreeView* docOlV = nullptr;
    MyStepper* stepper = nullptr;
    MyColorWell* colorWell = nullptr;
    MyTableView* mTV = nullptr;
    MyBaseView* backgroundView = nullptr;
    QWidget* drawer = nullptr;
    QTreeView* configOlv = nullptr;
    QAbstractButton* buUnbiased = nullptr;
    QAbstractButton* buStats = nullptr;
    QAbstractButton* buShowSingle = nullptr;
    QAbstractButton* buSingleUnbiased = nullptr;
    QAbstractButton* buSingleStats = nullptr;
    QAbstractButton* buShowAll = nullptr;
    QAbstractButton* buAllUnbiased = nullptr;
    QAbstractButton* buAllStats = nullptr;

    Document* myDoc = nullptr;
    MyWindowController* baseWinCont = nullptr;
    QString subTitle;
    bool editable = true;
    MyOutlineItem* rootItem = nullptr;
    MyViewManager* viewManager = nullptr;
    qint64 graphID = 0;

    // Makes root the window's rootItem and keeps it for the life of the controller.
    void adoptRootItem(std::unique_ptr<MyOutlineItem> root);

    // The layout name; "" without one.
    QString windowType() const { return m_windowNibName; }
    // The window, loaded (and set up) on first request.
    QMainWindow* window();
    bool isWindowLoaded() const { return m_window != nullptr; }
    // Graph window: the widget that shows the graph's scene, whose top is backgroundView.
    QGraphicsView* sceneView() const { return m_sceneView; }
    // Whether the document counts this controller among its window controllers (shown at
    // least once since its window was last closed).
    bool isInDocument() const { return m_inDocument; }
    void setInDocument(bool in) { m_inDocument = in; }
    // Closing the main window closes the document; other windows only go away.
    bool shouldCloseDocument() const { return m_shouldCloseDocument; }
    // Ends the cell edits open in this window's table and outlines as Return would, so that
    // what is being typed is part of the document before it is saved or closed.
    void commitCellEditors();
    // The cell a view holds widget open as the editor of; invalid for any other child of its
    // viewport (a closed editor awaiting deletion, a header's marker).
    static QModelIndex editedIndex(const QAbstractItemView* view, const QWidget* widget);

    QString windowTitleForDocumentDisplayName(const QString& displayName) const;
    // Renews the window title from the document's display name.
    void synchronizeWindowTitleWithDocumentName();

    // Data source of docTV.
    int numberOfRowsInTableView() const;
    QVariant tableViewObjectValue(const QString& columnIdentifier, int row) const;

    // Data source and delegate of the outlines (docOlV in the main window, configOlv in a
    // graph window). An absent item stands for the root; column identifiers are decimal
    // integer texts.
    int outlineViewNumberOfChildrenOfItem(QTreeView* outlineView, MyOutlineItem* item) const;
    bool outlineViewIsItemExpandable(QTreeView* outlineView, MyOutlineItem* item) const;
    MyOutlineItem* outlineViewChild(QTreeView* outlineView, int index, MyOutlineItem* item) const;
    QVariant outlineViewObjectValue(QTreeView* outlineView, const QString& columnIdentifier, MyOutlineItem* item) const;
    void outlineViewSetObjectValue(QTreeView* outlineView, const QVariant& object, const QString& columnIdentifier,
                                   MyOutlineItem* item);
    bool outlineViewShouldEditTableColumn(QTreeView* outlineView, const QString& columnIdentifier, MyOutlineItem* item) const;
    OutlineCell outlineViewWillDisplayCell(QTreeView* outlineView, const QString& columnIdentifier, MyOutlineItem* item) const;
    void outlineViewSelectionDidChange();
    // The outline level of a row of the selector outline (analyses are 0); -1 for no row.
    qint64 levelForItem(const MyOutlineItem* item) const;
    // Settings outline: 17 points, or a text-attribute row's sample height in its font; the
    // tooltip of a row's title cell.
    double outlineViewHeightOfRowByItem(QTreeView* outlineView, MyOutlineItem* item) const;
    QString outlineViewToolTip(QTreeView* outlineView, const QString& columnIdentifier, MyOutlineItem* item) const;

    // Graph window: the selected text-attribute row's font or text colour from its chooser;
    // the panels' changes of the selected settings row ("Change Font", "Change Attributes")
    // and the colour well's ("Change Graph").
    // The row selected in configOlv; nullptr for none.
    MyConfigItem* selectedSettingsRow() const;
    void chooseFont();
    void chooseTextColor();
    void changeFont(const std::function<FontSpec(const FontSpec&)>& convertFont);
    void changeAttributes(const std::function<TextAttributes(const TextAttributes&)>& convertAttributes);
    void setColor(MyColorWell* sender);

    void refreshTableData();
    // Statistics window: its switches and table brought in line with the analysis's record.
    void setStats();
    // A statistics switch (tag 1, 2, 10, 11, 12, 20, 21 or 22) turned on or off; turning a
    // normality switch on tests the rows that have no result on the current axis.
    void changeStats(int tag, bool on);
    // Statistics window: its graph's settings have changed; when the value axis changed
    // between plain and logarithmic, or the categories' order, the table shows it.
    void graphSettingsChanged();
    void editDataTableTapped(int tag);
    void addNewAnalysis();
    void tryToMove();
    void toggleDrawer();
    // Graph window: what its graph's layout had to tell (the range alert), shown over the
    // window once the window is on screen; called from the event loop, never inside a
    // layout or a window's set-up.
    void showPendingAlert();

    // Menu actions; each does what applies to this window's kind.
    void copy();
    void paste();
    void importTable();
    void columnWidth();
    void sortColumns(int tag);
    void rowHeight();
    void changeFont();
    void deleteColumns();
    void deleteRows();
    void undo();
    void redo();
    void newDocument();
    void openDocument();
    void saveDocument();
    void saveDocumentAs();
    void revertDocument();
    // Graph window: the graph as a PDF file, chosen in a save panel that proposes the
    // graph's name in the document's folder.
    void exportPDF();
    // The graph's title as a file name (the document's name for an empty title).
    QString graphFileName() const;
    // Page setup and print of the graph whose window is key.
    void runPageLayout();
    void printDocument();
    void closeWindow();
    void quit();

    // Lets the window close without asking (the document is going away).
    void closeForGood();

    // Places a window's top-left corner at p, in screen points with y up.
    static void setFrameTopLeftPoint(QWidget* window, const Point& p);
    // The same, with the wanted size as far as the screen's available area reaches. A window
    // that need not keep its corner moves left and up first, as far as it takes to show
    // whole, and shrinks only when it is larger than the area.
    static void placeWindow(QWidget* window, const Point& p, const QSize& wanted, bool keepCorner = true);
    // A window placed exactly where another shown window already is moves right and down
    // (shrinking to the screen's free area) until its corner is its own; a window whose
    // height is set by its neighbours (down false) moves right only.
    static void cascade(QWidget* window, bool down = true);
    static constexpr int kCascadeStep = 22;
    // The free area of the screen a window is on (pixels, y down).
    static QRect screenArea(const QWidget* window);
    static constexpr QSize kMainSize{760, 460};
    static constexpr QSize kTableSize{720, 480};
    // The statistics window shows up to this many rows at first, within these heights of its
    // table.
    static constexpr int kStatsRowsShown = 12;
    static constexpr int kStatsHeights[2] = {0, 400};
    // A window's frame in screen points with y up.
    static Rect frameOf(const QWidget* window);
    static double mainScreenHeight();

protected:
    virtual void windowDidLoad();

private:
    void loadWindow();
    void buildMenus(QMenuBar* bar);
    void updateUndoActions();
    void setUpMainWindow();
    void setUpTableWindow();
    void setUpGraphWindow();
    void setUpStatsWindow();
    // Graph window: the scene's view reaches the whole page and the whole graph, as the last
    // layout left them.
    void fitSceneRect();
    // The drawer at the window's right and its content widget, first shown at contentSize.
    // That is also its least size, unless leastFromLayout: then the content's layout alone
    // sets it, so the drawer is never smaller than what it holds.
    QWidget* makeDrawer(const QSize& contentSize, bool leastFromLayout = false);
    void setUpSelectorOutline(QWidget* parent);
    // The selector edits, by column and level.
    void selectorSetObjectValue(const QVariant& object, qint64 columnIdentifier, MySelectorItem* item);
    void addColumn(MySelectorItem* group);
    void switchUse(MySelectorItem* item);
    void graphAndStats(MySelectorItem* analysis, bool stats);
    void deleteOrModify(MySelectorItem* analysis);
    // The values and categories of an analysis being set up, read again from the table.
    void renewFromTable(MySelectorItem* analysis);
    void reloadOutline();
    bool isTableWindow() const;
    // Statistics window (MyWindowControllerStats.cpp).
    int statsRowCount() const;
    QVariant statsObjectValue(const QString& columnIdentifier, int row) const;
    void copyStats();
    // Graph window's settings outline (MyWindowControllerSettings.cpp).
    // The selected row when it is a "data" row of a graph window, an edit in place committed.
    MyConfigItem* selectedDataRow();
    void setUpSettingsOutline(QWidget* content);
    void dressSettingsCell(OutlineCell& cell, qint64 columnIdentifier, const MyOutlineItem* item) const;
    void settingsSelectionDidChange(MyOutlineItem* item);
    void settingsSetObjectValue(const QVariant& object, MyConfigItem* row);
    // The value a text typed into a row's cell would give it; invalid when it changes
    // nothing or does not read.
    QVariant settingsTypedValue(const QVariant& object, const MyConfigItem* row) const;
    void moveSettingsRow(MyOutlineItem* item);
    void copySettings();
    // Graph window: the output view (the background or "graphView") that was last clicked
    // and so takes the graph's commands; with focusOnly, only while the graph has the
    // keyboard focus. Else the background with focusOnly false, nullptr with it true.
    MyOutputView* outputView(bool focusOnly) const;
    void pasteSettings();
    void toGrid(void (MyTableView::*command)());
    // The widget with this window's keyboard focus when it takes key as it would typed (a
    // text being typed takes Cut, Copy, Paste and Select All); nullptr when it does not.
    QWidget* textFocus(QKeySequence::StandardKey key) const;
    // The Edit menu's text commands go first where the keyboard focus is, as their keys do;
    // the window's command, if any, runs only when nothing there takes them. Select All
    // without a text selects what the focused table or outline holds, as its key does.
    void textCommand(QKeySequence::StandardKey key, void (MyWindowController::*command)());
    // The focused table or outline that Select All selects something in: the grid while it
    // has cells, or a list that holds several selected rows; nullptr when there is none.
    QAbstractItemView* selectableView() const;
    // The step that the text typed where the keyboard focus is would become once committed;
    // "" for none.
    QString typedStepName() const;

    QString m_windowNibName;
    MyWindow* m_window = nullptr;
    MyDataSourceModel* m_docModel = nullptr;
    MyOutlineModel* m_selectorModel = nullptr;
    MyOutlineModel* m_settingsModel = nullptr;
    QGraphicsView* m_sceneView = nullptr;
    std::unique_ptr<MyOutlineItem> m_rootItem;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_selectAllAction = nullptr;
    QAction* m_revertAction = nullptr;
    QAction* m_drawerAction = nullptr;
    bool m_inDocument = false;
    // The value axis and the category order the statistics table was last filled for;
    // noteStatsShown records them, true when they changed.
    bool m_statsLogarithmic = false;
    QStringList m_statsTags;
    bool noteStatsShown();
    // The keys of the statistics table's rows as last filled (MyViewManager::statsRowKeys).
    QStringList m_statsRowKeys;
    // The statistics table filled again, its selection kept on the same rows: wholly when
    // rows may have come or gone, else only when the axis or the rows' order changed.
    void reloadStats(bool rowsChanged);
    bool m_shouldCloseDocument = false;
    bool m_closingForGood = false;
    bool m_showingAlert = false;
};
