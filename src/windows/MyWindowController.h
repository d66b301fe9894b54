#pragma once
// The one controller class behind a document's windows. The kind of window is the name of
// its layout: "Document" (main window), "TableWindow" (the data grid), "GraphWindowD" and
// "StatsWindowD" (one pair per analysis). Actions arriving from a window that they do not
// apply to do nothing there.
#include "platform/Geometry.h"
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

class Document;
class MyDataSourceModel;
class MyOutlineItem;
class MyTableView;
class MyViewManager;
class MyWindow;
class QAbstractButton;
class QAction;
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
    QWidget* stepper = nullptr;
    QWidget* colorWell = nullptr;
    MyTableView* mTV = nullptr;
    QWidget* backgroundView = nullptr;
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

    // The layout name; "" without one.
    QString windowType() const { return m_windowNibName; }
    // The window, loaded (and set up) on first request.
    QMainWindow* window();
    bool isWindowLoaded() const { return m_window != nullptr; }
    // Whether the document counts this controller among its window controllers (shown at
    // least once since its window was last closed).
    bool isInDocument() const { return m_inDocument; }
    void setInDocument(bool in) { m_inDocument = in; }
    // Closing the main window closes the document; other windows only go away.
    bool shouldCloseDocument() const { return m_shouldCloseDocument; }

    QString windowTitleForDocumentDisplayName(const QString& displayName) const;
    // Renews the window title from the document's display name.
    void synchronizeWindowTitleWithDocumentName();

    // Data source of docTV.
    int numberOfRowsInTableView() const;
    QVariant tableViewObjectValue(const QString& columnIdentifier, int row) const;

    void refreshTableData();
    void editDataTableTapped(int tag);
    void toggleDrawer();

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
    void closeWindow();
    void quit();

    // Lets the window close without asking (the document is going away).
    void closeForGood();

    // Places a window's top-left corner at p, in screen points with y up.
    static void setFrameTopLeftPoint(QWidget* window, const Point& p);
    // The same, with the wanted size as far as the screen's available area reaches.
    static void placeWindow(QWidget* window, const Point& p, const QSize& wanted);
    static constexpr QSize kMainSize{640, 420};
    static constexpr QSize kTableSize{720, 480};
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
    bool isTableWindow() const;
    void toGrid(void (MyTableView::*command)());

    QString m_windowNibName;
    MyWindow* m_window = nullptr;
    MyDataSourceModel* m_docModel = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_revertAction = nullptr;
    bool m_inDocument = false;
    bool m_shouldCloseDocument = false;
    bool m_closingForGood = false;
};
