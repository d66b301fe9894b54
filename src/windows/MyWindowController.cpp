#include "windows/MyWindowController.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "platform/Dialogs.h"
#include "platform/DocumentController.h"
#include "platform/KeyedArchive.h"
#include "table/MyTableView.h"
#include "windows/MyColorWell.h"
#include "windows/MyDataSourceModel.h"
#include "windows/MyStepper.h"
#include "windows/MyDocumentPrinting.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MyWindow.h"
#include "outline/MyConfigItem.h"
#include "outline/MyOutlineItem.h"
#include "views/GraphSceneView.h"
#include "views/MyBaseView.h"
#include "views/MyOutputView.h"
#include "views/MyTextView.h"
#include "views/MyViewManager.h"
#include "windows/MyOutlineModel.h"
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

MyWindowController::MyWindowController(const QString& windowNibName, QObject* parent)
    : QObject(parent), m_windowNibName(windowNibName)
{
}

MyWindowController::~MyWindowController()
{
    // The outlines read the tree through this controller: they let go of it first.
    for (QTreeView* outline : {docOlV, configOlv})
        if (auto* model = outline ? qobject_cast<MyOutlineModel*>(outline->model()) : nullptr)
            model->detachController();
    if (m_window) {
        // The window may be inside one of its own events: let it go when they are done.
        if (mTV)
            mTV->myDoc = nullptr;
        m_window->shouldClose = nullptr;
        m_window->hide();
        m_window->deleteLater();
    }
}

void MyWindowController::adoptRootItem(std::unique_ptr<MyOutlineItem> root)
{
    m_rootItem = std::move(root);
    rootItem = m_rootItem.get();
}

QMainWindow* MyWindowController::window()
{
    if (!m_window && !m_windowNibName.isEmpty())
        loadWindow();
    return m_window;
}

bool MyWindowController::isTableWindow() const
{
    return m_windowNibName == QLatin1String("TableWindow");
}

// ---- screen placement ----------------------------------------------------------------------

double MyWindowController::mainScreenHeight()
{
    if (AppDelegate* delegate = AppDelegate::shared())
        if (delegate->mainscreenFrame.height() > 0)
            return delegate->mainscreenFrame.height();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0.0;
}

void MyWindowController::setFrameTopLeftPoint(QWidget* window, const Point& p)
{
    window->move(int(std::lround(p.x)), int(std::lround(mainScreenHeight() - p.y)));
}

void MyWindowController::placeWindow(QWidget* window, const Point& p, const QSize& wanted, bool keepCorner)
{
    setFrameTopLeftPoint(window, p);
    QPoint corner = window->pos();
    QScreen* screen = QGuiApplication::screenAt(corner);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QSize size = wanted;
    if (screen) {
        // The window ends where the screen's free area does, so no row or scroll bar lies
        // off the screen. Decorations are known once the window is shown: before, a title
        // bar's height is kept free for them.
        const QRect area = screen->availableGeometry();
        QSize decorations = window->frameGeometry().size() - window->size();
        if (!window->isVisible() && decorations.isEmpty())
            decorations.setHeight(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
        if (!keepCorner) {
            const QSize whole = wanted + decorations;
            corner.setX(std::max(area.left(), std::min(corner.x(), area.right() + 1 - whole.width())));
            corner.setY(std::max(area.top(), std::min(corner.y(), area.bottom() + 1 - whole.height())));
            window->move(corner);
        }
        const QSize room(area.right() + 1 - corner.x() - decorations.width(), area.bottom() + 1 - corner.y() - decorations.height());
        size = size.boundedTo(room).expandedTo(QSize(200, 120));
    }
    window->resize(size);
}

QRect MyWindowController::screenArea(const QWidget* window)
{
    QScreen* screen = window ? QGuiApplication::screenAt(window->frameGeometry().center()) : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void MyWindowController::cascade(QWidget* window, bool down)
{
    auto taken = [window](const QPoint& corner) {
        for (const QWidget* other : QApplication::topLevelWidgets())
            if (other != window && other->isVisible() && qobject_cast<const QMainWindow*>(other)
                && (other->frameGeometry().topLeft() - corner).manhattanLength() <= 4)
                return true;
        return false;
    };
    const QRect area = screenArea(window);
    for (int step = 0; step < 40 && taken(window->frameGeometry().topLeft()); ++step) {
        const QPoint corner = window->frameGeometry().topLeft();
        QPoint next = corner + QPoint(kCascadeStep, down ? kCascadeStep : 0);
        // Near the screen's edge the cascade starts again from the free area's corner.
        if (next.x() > area.right() - 200 || next.y() > area.bottom() - 120)
            next = QPoint(area.left() + (step % 8 + 1) * (kCascadeStep / 2),
                          down ? area.top() + (step % 8 + 1) * (kCascadeStep / 2) : corner.y());
        placeWindow(window, {double(next.x()), mainScreenHeight() - next.y()}, window->size());
    }
}

Rect MyWindowController::frameOf(const QWidget* window)
{
    const QRect f = window->frameGeometry();
    return Rect(f.x(), mainScreenHeight() - (f.y() + f.height()), f.width(), f.height());
}

// ---- window set-up -------------------------------------------------------------------------

void MyWindowController::loadWindow()
{
    m_window = new MyWindow;
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    m_window->setObjectName(m_windowNibName);
    m_window->shouldClose = [this] {
        if (m_closingForGood)
            return true;
        // What is being typed on the graph stays with the document when its window goes.
        if (viewManager && m_windowNibName == QLatin1String("GraphWindowD"))
            viewManager->commitEditing();
        if (m_shouldCloseDocument) {
            // Closing the document removes this window: do it once the close event is over.
            QPointer<MyWindowController> self(this);
            QTimer::singleShot(0, this, [self] {
                if (self && self->myDoc)
                    if (DocumentController* controller = DocumentController::shared())
                        controller->closeDocument(self->myDoc);
            });
            return false;
        }
        m_inDocument = false;
        return true;
    };
    buildMenus(m_window->menuBar());
    // The edited mark may be set while the window loads, before its title is made.
    m_window->setWindowTitle(QStringLiteral("[*]"));
    windowDidLoad();
    synchronizeWindowTitleWithDocumentName();
}

QModelIndex MyWindowController::editedIndex(const QAbstractItemView* view, const QWidget* widget)
{
    // A line editor grows to the right as its text does: its left edge stays on its cell.
    const QRect at = widget->geometry();
    for (const QPoint p : {at.center(), QPoint(at.left() + 1, at.center().y())})
        if (const QModelIndex index = view->indexAt(p); index.isValid() && view->indexWidget(index) == widget)
            return index;
    return {};
}

void MyWindowController::commitCellEditors()
{
    if (!m_window)
        return;
    for (QAbstractItemView* view : m_window->findChildren<QAbstractItemView*>()) {
        // Only the editors the view holds open: closing any other child of its viewport only
        // draws a warning.
        for (QWidget* child : view->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!editedIndex(view, child).isValid())
                continue;
            const QPointer<QWidget> editor(child);
            QMetaObject::invokeMethod(view, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
            if (editor)
                QMetaObject::invokeMethod(view, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget*, editor),
                                          Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
        }
        // An outline hands a typed text on from a queued call: it arrives before the command
        // goes on, not after the document is written.
        if (view->model())
            QCoreApplication::sendPostedEvents(view->model(), QEvent::MetaCall);
    }
}

void MyWindowController::windowDidLoad()
{
    if (m_windowNibName == QLatin1String("Document"))
        setUpMainWindow();
    else if (isTableWindow())
        setUpTableWindow();
    else if (m_windowNibName == QLatin1String("GraphWindowD"))
        setUpGraphWindow();
    else
        setUpStatsWindow();
}

namespace {

// A drawer's content: it asks for its first size, or more when its layout needs more.
class DrawerContent : public QWidget {
public:
    DrawerContent(const QSize& size, QWidget* parent) : QWidget(parent), m_size(size) {}
    QSize sizeHint() const override { return QWidget::sizeHint().expandedTo(m_size); }

private:
    QSize m_size;
};

} // namespace

QWidget* MyWindowController::makeDrawer(const QSize& contentSize, bool leastFromLayout)
{
    auto* dock = new QDockWidget(m_window);
    dock->setObjectName("drawer");
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    auto* content = new DrawerContent(contentSize, dock);
    if (!leastFromLayout)
        content->setMinimumSize(contentSize);
    content->resize(contentSize);
    dock->setWidget(content);
    m_window->addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    drawer = dock;
    return content;
}

void MyWindowController::setUpGraphWindow()
{
    // The base view tops the graph's view tree and holds the background view, the whole
    // graph; the scene's view shows it.
    backgroundView = new MyBaseView();
    auto* sceneView = new GraphSceneView(m_window);
    m_sceneView = sceneView;
    m_sceneView->setObjectName("sceneView");
    m_window->setCentralWidget(m_sceneView);
    Size graphSize{300, 300};
    if (viewManager) {
        viewManager->installRootView(backgroundView);
        if (MyView* graph = viewManager->viewDict.value(MyViewManager::kBackground)) {
            backgroundView->myFrame = graph->frame();
            backgroundView->addSubview(graph);
        }
        // The platform's views keep their frame against a resized window; ours are items
        // that nothing resizes, so the stored frame is taken once.
        backgroundView->resetFrame();
        graphSize = backgroundView->frame().size;
        sceneView->setViewManager(viewManager);
        fitSceneRect();
        // Every layout may change the page and the graph's extent.
        connect(viewManager, &MyViewManager::laidOut, this, &MyWindowController::fitSceneRect);
    }

    setUpSettingsOutline(makeDrawer(QSize(420, 260)));
    // The whole graph beside the drawer, where the screen has room for it.
    m_window->resize(int(std::ceil(graphSize.width)) + 24 + 440, std::max(int(std::ceil(graphSize.height)) + 24, 300));
    m_shouldCloseDocument = false;
}

void MyWindowController::fitSceneRect()
{
    if (!m_sceneView || !viewManager || !backgroundView)
        return;
    QRectF reach = backgroundView->sceneBoundingRect();
    // The graph may be larger than its page (many categories, a small page).
    if (const MyView* graph = viewManager->viewDict.value(MyViewManager::kGraphView); graph && graph->scene() == m_sceneView->scene()) {
        const Rect b = graph->bounds();
        reach |= graph->mapRectToScene(QRectF(b.origin.x, b.origin.y, b.size.width, b.size.height));
    }
    if (m_sceneView->sceneRect() != reach)
        m_sceneView->setSceneRect(reach);
}

void MyWindowController::showPendingAlert()
{
    if (m_windowNibName != QLatin1String("GraphWindowD") || !viewManager || !m_window || !m_window->isVisible()
        || m_showingAlert)
        return;
    const QString message = viewManager->takePendingAlert();
    if (message.isEmpty())
        return;
    QPointer<MyWindowController> self(this);
    m_showingAlert = true;
    if (Alert* alert = myDoc ? myDoc->ourAlert : nullptr) {
        // The document's shared alert, as the layout used it.
        alert->setMessageText(message);
        alert->setInformativeText(QString());
        alert->runModalOver(m_window);
    } else {
        Dialogs::current().alertOver(m_window, message);
    }
    if (!self)
        return;
    m_showingAlert = false;
    // A layout while the alert was up has its own message to show.
    if (viewManager && viewManager->hasPendingAlert())
        QMetaObject::invokeMethod(this, &MyWindowController::showPendingAlert, Qt::QueuedConnection);
}

void MyWindowController::setUpMainWindow()
{
    subTitle = QStringLiteral("Main");
    baseWinCont = this;

    auto* central = new QWidget(m_window);
    auto* layout = new QVBoxLayout(central);
    auto* counts = new QHBoxLayout;
    counts->addWidget(new QLabel(tr("Rows:"), central));
    tkNumOfRows = new QLabel(central);
    tkNumOfRows->setObjectName("tkNumOfRows");
    counts->addWidget(tkNumOfRows);
    counts->addSpacing(20);
    counts->addWidget(new QLabel(tr("Columns:"), central));
    tkNumOfColumns = new QLabel(central);
    tkNumOfColumns->setObjectName("tkNumOfColumns");
    counts->addWidget(tkNumOfColumns);
    counts->addStretch();
    auto* viewButton = new QPushButton(tr("Show Table"), central);
    viewButton->setObjectName("buShowTable");
    viewButton->setProperty("tag", 0);
    auto* editButton = new QPushButton(tr("Edit Table"), central);
    editButton->setObjectName("buEditTable");
    editButton->setProperty("tag", 1);
    for (QPushButton* b : {viewButton, editButton}) {
        connect(b, &QPushButton::clicked, this, [this, b] { editDataTableTapped(b->property("tag").toInt()); });
        counts->addWidget(b);
    }
    layout->addLayout(counts);

    auto* body = new QHBoxLayout;
    docTV = new QTableView(central);
    docTV->setObjectName("docTV");
    m_docModel = new MyDataSourceModel(this, {QStringLiteral("0")}, docTV);
    m_docModel->setHeaderTitles({tr("Columns")});
    docTV->setModel(m_docModel);
    docTV->verticalHeader()->hide();
    docTV->horizontalHeader()->setStretchLastSection(true);
    docTV->setSelectionBehavior(QAbstractItemView::SelectRows);
    docTV->setSelectionMode(QAbstractItemView::SingleSelection);
    docTV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    docTV->setMaximumWidth(160);
    body->addWidget(docTV);
    auto* analyses = new QVBoxLayout;
    setUpSelectorOutline(central);
    analyses->addWidget(docOlV, 1);
    auto* commands = new QHBoxLayout;
    auto* newAnalysis = new QPushButton(tr("New analysis"), central);
    newAnalysis->setObjectName("buNewAnalysis");
    connect(newAnalysis, &QPushButton::clicked, this, [this] { addNewAnalysis(); });
    commands->addWidget(newAnalysis);
    commands->addStretch();
    commands->addWidget(stepper);
    analyses->addLayout(commands);
    body->addLayout(analyses, 1);
    layout->addLayout(body, 1);
    m_window->setCentralWidget(central);
    placeWindow(m_window, {20.0, mainScreenHeight() - 25.0}, kMainSize);
    m_window->show();
    // Shown first: the frame counts its decorations only then.
    cascade(m_window);
    m_window->raise();
    m_window->activateWindow();
    refreshTableData();
    m_shouldCloseDocument = true;

    if (myDoc) {
        connect(myDoc, &Document::tableChanged, this, [this] { refreshTableData(); });
        // Every change, not only a change of the edited state: a copy saved elsewhere clears
        // the mark of a document that stays edited, and its next change marks it again.
        connect(myDoc->undoManager(), &UndoBridge::changed, m_window,
                [this] { m_window->setWindowModified(myDoc->isDocumentEdited()); });
        m_window->setWindowModified(myDoc->isDocumentEdited());
    }
}

void MyWindowController::setUpTableWindow()
{
    subTitle = QStringLiteral("Table");
    mTV = new MyTableView(m_window);
    mTV->setObjectName("mTV");
    mTV->myWindowCont = this;
    mTV->myDoc = myDoc;
    if (myDoc) {
        const QVariantMap& rows = myDoc->tableRowSettings;
        if (auto a = KeyedArchive::unarchiveAttributes(rows.value("titleRowAttr").toByteArray()))
            mTV->setTitleRowFont(*a);
        if (auto a = KeyedArchive::unarchiveAttributes(rows.value("dataRowAttr").toByteArray()))
            mTV->setDataRowFont(*a);
    }
    m_window->setCentralWidget(mTV);
    if (baseWinCont && baseWinCont->window())
        placeWindow(m_window, {20.0, frameOf(baseWinCont->window()).origin.y}, kTableSize);
    else
        m_window->resize(kTableSize);
    mTV->fixTableColumns();
    mTV->reloadData();
    m_shouldCloseDocument = false;

    if (myDoc) {
        connect(myDoc, &Document::tableChanged, mTV, &MyTableView::tableSnapshotLoaded);
        connect(myDoc, &Document::columnSettingsChanged, mTV, &MyTableView::columnSettingsSnapshotLoaded);
        connect(myDoc, &Document::rowSettingsChanged, mTV, &MyTableView::rowSettingsSnapshotLoaded);
        connect(myDoc, &Document::tableEditedMarkChanged, m_window, &QWidget::setWindowModified);
        m_window->setWindowModified(myDoc->isTableEdited());
    }
}

QString MyWindowController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
    QString name = displayName;
    const qsizetype at = name.indexOf(QLatin1String(".vlbdoc"));
    if (name.endsWith(QLatin1String(".vlbdoc")))
        name = name.left(at);
    if (m_windowNibName == QLatin1String("GraphWindowD") || m_windowNibName == QLatin1String("StatsWindowD")) {
        QString graphTitle;
        if (myDoc && graphID >= 0 && graphID < myDoc->graphSettings.size())
            graphTitle = myDoc->graphSettings.at(graphID).value("graphTitle").toString();
        return name + " - " + subTitle + graphTitle;
    }
    return name + " - " + subTitle;
}

void MyWindowController::synchronizeWindowTitleWithDocumentName()
{
    if (!m_window)
        return;
    const QString displayName = myDoc ? myDoc->displayName() : QStringLiteral("Untitled");
    m_window->setWindowTitle(windowTitleForDocumentDisplayName(displayName) + QStringLiteral("[*]"));
}

// ---- main window ---------------------------------------------------------------------------

int MyWindowController::numberOfRowsInTableView() const
{
    if (m_windowNibName == QLatin1String("Document"))
        return myDoc ? int(myDoc->variables.size()) : 0;
    if (m_windowNibName == QLatin1String("StatsWindowD"))
        return statsRowCount();
    return 0;
}

QVariant MyWindowController::tableViewObjectValue(const QString& columnIdentifier, int row) const
{
    if (m_windowNibName == QLatin1String("Document") && myDoc && row >= 0 && row < myDoc->variables.size())
        return myDoc->variables.at(row);
    if (m_windowNibName == QLatin1String("StatsWindowD"))
        return statsObjectValue(columnIdentifier, row);
    return {};
}

void MyWindowController::refreshTableData()
{
    if (!myDoc)
        return;
    if (tkNumOfColumns)
        tkNumOfColumns->setText(QString::number(myDoc->tableMatrix.column));
    if (tkNumOfRows) {
        const qint64 rows = myDoc->tableMatrix.row;
        tkNumOfRows->setText(QString::number(rows < 2 ? 0 : rows - 1));
    }
    if (m_docModel)
        m_docModel->reloadData();
}

void MyWindowController::editDataTableTapped(int tag)
{
    editable = tag > 0;
    if (myDoc)
        MyDocumentWindows::showTableWindowAtState(*myDoc, editable);
}

void MyWindowController::toggleDrawer()
{
    // Only graph and statistics windows have a drawer.
    if ((m_windowNibName == QLatin1String("GraphWindowD") || m_windowNibName == QLatin1String("StatsWindowD")) && drawer)
        drawer->setVisible(!drawer->isVisible());
    if (m_drawerAction)
        m_drawerAction->setChecked(drawer && drawer->isVisible());
}

// ---- menus ---------------------------------------------------------------------------------

namespace {
// The platform's keys for a standard command; the desktop's usual one where the platform
// names none (a bare X11 session has no "Save As" and no "Quit" key).
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const char* usual)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty())
        keys.append(QKeySequence(QLatin1String(usual)));
    return keys;
}
}

void MyWindowController::buildMenus(QMenuBar* bar)
{
    auto add = [this](QMenu* menu, const QString& text, auto slot, const QList<QKeySequence>& keys = {}) {
        QAction* action = menu->addAction(text);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = bar->addMenu(tr("&File"));
    add(file, tr("New"), &MyWindowController::newDocument, standardKeys(QKeySequence::New, "Ctrl+N"));
    add(file, tr("Open…"), &MyWindowController::openDocument, standardKeys(QKeySequence::Open, "Ctrl+O"));
    file->addSeparator();
    add(file, tr("Save"), &MyWindowController::saveDocument, standardKeys(QKeySequence::Save, "Ctrl+S"));
    add(file, tr("Save As…"), &MyWindowController::saveDocumentAs, standardKeys(QKeySequence::SaveAs, "Ctrl+Shift+S"));
    m_revertAction = add(file, tr("Revert"), &MyWindowController::revertDocument);
    file->addSeparator();
    // Only graphs are exported and printed.
    const bool graph = m_windowNibName == QLatin1String("GraphWindowD");
    add(file, tr("Export PDF…"), &MyWindowController::exportPDF, {QKeySequence(tr("Ctrl+E"))})->setEnabled(graph);
    add(file, tr("Page Setup…"), &MyWindowController::runPageLayout, {QKeySequence(tr("Ctrl+Shift+P"))})->setEnabled(graph);
    add(file, tr("Print…"), &MyWindowController::printDocument, standardKeys(QKeySequence::Print, "Ctrl+P"))->setEnabled(graph);
    file->addSeparator();
    add(file, tr("Close"), &MyWindowController::closeWindow, standardKeys(QKeySequence::Close, "Ctrl+W"));
    add(file, tr("Quit"), &MyWindowController::quit, standardKeys(QKeySequence::Quit, "Ctrl+Q"));
    if (myDoc) {
        // Only a saved document with changes has something to go back to.
        auto revertable = [this] { m_revertAction->setEnabled(!myDoc->fileName().isEmpty() && myDoc->isDocumentEdited()); };
        connect(myDoc, &Document::editedChanged, m_revertAction, revertable);
        connect(myDoc, &Document::saved, m_revertAction, revertable);
        revertable();
    }

    QMenu* edit = bar->addMenu(tr("&Edit"));
    // A text being typed on a graph or in a cell is committed as the menu opens, so that Undo
    // names the step it will take; but not the one where this window's keyboard focus is:
    // Cut, Copy, Paste and Select All act on it, and Undo names the step it would become.
    connect(edit, &QMenu::aboutToShow, this, [this] {
        if (!myDoc)
            return;
        const bool typing = textFocus(QKeySequence::SelectAll);
        // Where nothing can be selected the item would do nothing.
        m_selectAllAction->setEnabled(typing || selectableView());
        MyDocumentWindows::commitEditing(*myDoc, typing ? this : nullptr);
        if (const QString step = typing ? typedStepName() : QString(); !step.isEmpty()) {
            m_undoAction->setText(QStringLiteral("Undo ") + step);
            m_undoAction->setEnabled(true);
            // The new step would end what could be redone.
            m_redoAction->setText(QStringLiteral("Redo"));
            m_redoAction->setEnabled(false);
        }
    });
    // Named after the undo list again once the chosen command has run.
    connect(edit, &QMenu::aboutToHide, this,
            [this] { QTimer::singleShot(0, this, &MyWindowController::updateUndoActions); });
    m_undoAction = add(edit, tr("Undo"), &MyWindowController::undo, standardKeys(QKeySequence::Undo, "Ctrl+Z"));
    m_redoAction = add(edit, tr("Redo"), &MyWindowController::redo, standardKeys(QKeySequence::Redo, "Ctrl+Shift+Z"));
    edit->addSeparator();
    QAction* cut = add(edit, tr("Cut"), [this] { textCommand(QKeySequence::Cut, nullptr); },
                       standardKeys(QKeySequence::Cut, "Ctrl+X"));
    add(edit, tr("Copy"), [this] { textCommand(QKeySequence::Copy, &MyWindowController::copy); },
        standardKeys(QKeySequence::Copy, "Ctrl+C"));
    add(edit, tr("Paste"), [this] { textCommand(QKeySequence::Paste, &MyWindowController::paste); },
        standardKeys(QKeySequence::Paste, "Ctrl+V"));
    QAction* selectAll = m_selectAllAction = add(edit, tr("Select All"), [this] { textCommand(QKeySequence::SelectAll, nullptr); },
                             standardKeys(QKeySequence::SelectAll, "Ctrl+A"));
    // The window has no command of its own for these keys: they stay with the widget that
    // has the focus, as before the menu showed them.
    cut->setShortcutContext(Qt::WidgetShortcut);
    selectAll->setShortcutContext(Qt::WidgetShortcut);
    if (myDoc) {
        connect(myDoc->undoManager(), &UndoBridge::changed, this, &MyWindowController::updateUndoActions);
        // A new step is on the stack only after its first run has reported the change.
        connect(myDoc->undoManager()->stack(), &QUndoStack::indexChanged, this, &MyWindowController::updateUndoActions);
        updateUndoActions();
    }

    if (m_windowNibName == QLatin1String("GraphWindowD") || m_windowNibName == QLatin1String("StatsWindowD")) {
        QMenu* view = bar->addMenu(tr("&View"));
        m_drawerAction = add(view, tr("Drawer"), &MyWindowController::toggleDrawer, {QKeySequence(tr("Ctrl+Shift+D"))});
        m_drawerAction->setCheckable(true);
        // The check follows the drawer however it was opened or closed.
        connect(view, &QMenu::aboutToShow, this, [this] { m_drawerAction->setChecked(drawer && drawer->isVisible()); });
    }
    if (m_windowNibName == QLatin1String("GraphWindowD")) {
        // The choosers of the selected settings row, or of the graph text being edited.
        QMenu* format = bar->addMenu(tr("F&ormat"));
        add(format, tr("Font…"), qOverload<>(&MyWindowController::changeFont), {QKeySequence(tr("Ctrl+T"))});
        add(format, tr("Text Color…"), &MyWindowController::chooseTextColor);
        add(format, tr("Color…"), [this] {
            if (colorWell)
                colorWell->click();
        });
    }
    if (isTableWindow()) {
        QMenu* table = bar->addMenu(tr("&Table"));
        add(table, tr("Import Table…"), &MyWindowController::importTable, {QKeySequence(tr("Ctrl+I"))});
        table->addSeparator();
        add(table, tr("Column Width…"), &MyWindowController::columnWidth);
        add(table, tr("Sort Columns Ascending"), [this] { sortColumns(1); });
        add(table, tr("Sort Columns Descending"), [this] { sortColumns(0); });
        add(table, tr("Row Height…"), &MyWindowController::rowHeight);
        add(table, tr("Font…"), qOverload<>(&MyWindowController::changeFont), {QKeySequence(tr("Ctrl+T"))});
        table->addSeparator();
        add(table, tr("Delete Columns"), &MyWindowController::deleteColumns);
        add(table, tr("Delete Rows"), &MyWindowController::deleteRows);
    }
}

void MyWindowController::updateUndoActions()
{
    if (!myDoc || !m_undoAction)
        return;
    UndoBridge* undo = myDoc->undoManager();
    m_undoAction->setText(undo->undoText());
    m_undoAction->setEnabled(undo->canUndo());
    m_redoAction->setText(undo->redoText());
    m_redoAction->setEnabled(undo->canRedo());
}

namespace {
// A standard command's key as the keyboard gives it.
QKeyEvent* standardKeyEvent(QEvent::Type type, QKeySequence::StandardKey key)
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty())
        return nullptr;
    const QKeyCombination k = keys.first()[0];
    return new QKeyEvent(type, k.key(), k.keyboardModifiers());
}
}

QWidget* MyWindowController::textFocus(QKeySequence::StandardKey key) const
{
    QWidget* focus = m_window ? m_window->focusWidget() : nullptr;
    const std::unique_ptr<QKeyEvent> probe(standardKeyEvent(QEvent::ShortcutOverride, key));
    if (!focus || !probe)
        return nullptr;
    // Asked as a typed key asks before it becomes a shortcut of the window's.
    probe->ignore();
    QCoreApplication::sendEvent(focus, probe.get());
    return probe->isAccepted() ? focus : nullptr;
}

void MyWindowController::textCommand(QKeySequence::StandardKey key, void (MyWindowController::*command)())
{
    if (QWidget* focus = textFocus(key)) {
        // The key itself, as typed; a graph text edited in place takes it straight from its
        // scene, as a key sent to the view would first be tried as a shortcut again.
        const std::unique_ptr<QKeyEvent> press(standardKeyEvent(QEvent::KeyPress, key));
        QGraphicsItem* text = focus == m_sceneView && viewManager ? viewManager->scene()->focusItem() : nullptr;
        if (press && text)
            viewManager->scene()->sendEvent(text, press.get());
        else if (press)
            QCoreApplication::sendEvent(focus, press.get());
    } else if (command) {
        (this->*command)();
    } else if (QAbstractItemView* view = key == QKeySequence::SelectAll ? selectableView() : nullptr) {
        // As its key does in a table or an outline.
        view->selectAll();
    }
}

QAbstractItemView* MyWindowController::selectableView() const
{
    auto* view = qobject_cast<QAbstractItemView*>(m_window ? m_window->focusWidget() : nullptr);
    if (!view)
        return nullptr;
    if (auto* grid = qobject_cast<MyTableView*>(view))
        return grid->hasCells() ? grid : nullptr;
    const QAbstractItemView::SelectionMode mode = view->selectionMode();
    return mode == QAbstractItemView::NoSelection || mode == QAbstractItemView::SingleSelection ? nullptr : view;
}

QString MyWindowController::typedStepName() const
{
    QWidget* focus = textFocus(QKeySequence::SelectAll);
    if (!focus)
        return {};
    if (focus == m_sceneView && viewManager) {
        const auto* editor = dynamic_cast<const QGraphicsTextItem*>(viewManager->scene()->focusItem());
        const MyConfigItem* row = viewManager->outlineItemWithTextView(viewManager->editedTextView(), true);
        return editor && row && editor->toPlainText() != row->message ? QStringLiteral("Change Text") : QString();
    }
    // A cell's editor lies in its view's viewport, over its cell.
    auto* line = qobject_cast<QLineEdit*>(focus);
    QWidget* viewport = line ? line->parentWidget() : nullptr;
    if (!viewport)
        return {};
    if (mTV && viewport == mTV->viewport()) {
        const QModelIndex at = editedIndex(mTV, line);
        return at.isValid() && mTV->typedCellText(line->text(), mTV->columnIdentifierTextAt(at.column()), at.row())
            ? QStringLiteral("Input")
            : QString();
    }
    if (configOlv && m_settingsModel && viewport == configOlv->viewport()) {
        const QModelIndex at = editedIndex(configOlv, line);
        return settingsTypedValue(line->text(), dynamic_cast<MyConfigItem*>(m_settingsModel->itemAt(at))).isValid()
            ? QStringLiteral("Change Type")
            : QString();
    }
    // The selector's texts are no steps of the undo list.
    return {};
}

void MyWindowController::toGrid(void (MyTableView::*command)())
{
    // The grid's commands mean nothing in the other windows.
    if (isTableWindow() && mTV)
        (mTV->*command)();
}

void MyWindowController::copy()
{
    if (m_windowNibName == QLatin1String("StatsWindowD"))
        copyStats();
    else if (m_windowNibName == QLatin1String("GraphWindowD")) {
        // The graph, when it has the keyboard focus, copies itself; else the settings outline.
        if (MyOutputView* graph = outputView(true))
            graph->copy();
        else
            copySettings();
    } else {
        toGrid(&MyTableView::copy);
    }
}

MyOutputView* MyWindowController::outputView(bool focusOnly) const
{
    if (m_windowNibName != QLatin1String("GraphWindowD") || !viewManager || !m_sceneView)
        return nullptr;
    auto* focused = dynamic_cast<MyOutputView*>(viewManager->scene()->focusItem());
    if (focused && m_sceneView->hasFocus())
        return focused;
    return focusOnly ? nullptr : dynamic_cast<MyOutputView*>(viewManager->viewDict.value(MyViewManager::kBackground));
}

void MyWindowController::exportPDF()
{
    if (MyOutputView* graph = outputView(false)) {
        if (viewManager)
            viewManager->commitEditing();
        graph->exportPDF(QDir(DocumentController::proposedFolder(myDoc)).filePath(graphFileName() + QStringLiteral(".pdf")));
    } else if (m_windowNibName == QLatin1String("GraphWindowD") && myDoc && myDoc->ourAlert) {
        // A graph whose settings could not be laid out has no page to export.
        myDoc->ourAlert->setMessageText(QStringLiteral("The graph could not be exported: it has no page to export, "
                                                       "because its settings could not be laid out."));
        myDoc->ourAlert->runModal();
    }
}

QString MyWindowController::graphFileName() const
{
    QString name;
    if (myDoc && graphID >= 0 && graphID < myDoc->graphSettings.size())
        name = myDoc->graphSettings.at(graphID).value("graphTitle").toString();
    // A title may hold what no file name can: separators and line breaks.
    name.replace(u'/', u'-');
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    name = name.simplified();
    if (name.isEmpty() || name == u'.' || name == QLatin1String(".."))
        name = myDoc ? myDoc->displayName() : QStringLiteral("Untitled");
    return name;
}

void MyWindowController::paste()
{
    if (m_windowNibName == QLatin1String("GraphWindowD"))
        pasteSettings();
    else
        toGrid(&MyTableView::paste);
}

void MyWindowController::importTable()
{
    toGrid(&MyTableView::importTable);
}

void MyWindowController::columnWidth()
{
    toGrid(&MyTableView::columnWidth);
}

void MyWindowController::sortColumns(int tag)
{
    if (isTableWindow() && mTV)
        mTV->sortColumns(tag);
}

void MyWindowController::rowHeight()
{
    toGrid(&MyTableView::rowHeight);
}

void MyWindowController::changeFont()
{
    if (m_windowNibName == QLatin1String("GraphWindowD"))
        chooseFont();
    else
        toGrid(&MyTableView::changeFont);
}

void MyWindowController::deleteColumns()
{
    toGrid(&MyTableView::deleteColumns);
}

void MyWindowController::deleteRows()
{
    toGrid(&MyTableView::deleteRows);
}

// A text being typed on a graph or in a cell is committed first, as its own step, by the
// commands that act on the document as a whole: a menu takes the focus without ending the edit.
void MyWindowController::undo()
{
    if (myDoc) {
        myDoc->commitEditing();
        myDoc->undoManager()->undo();
    }
}

void MyWindowController::redo()
{
    if (myDoc) {
        myDoc->commitEditing();
        myDoc->undoManager()->redo();
    }
}

void MyWindowController::newDocument()
{
    if (DocumentController* controller = DocumentController::shared())
        controller->newDocument();
}

void MyWindowController::openDocument()
{
    if (DocumentController* controller = DocumentController::shared())
        controller->openDocumentInteractively();
}

void MyWindowController::saveDocument()
{
    if (DocumentController* controller = DocumentController::shared(); controller && myDoc)
        controller->saveDocumentInteractively(myDoc);
}

void MyWindowController::saveDocumentAs()
{
    if (DocumentController* controller = DocumentController::shared(); controller && myDoc)
        controller->saveDocumentAsInteractively(myDoc);
}

void MyWindowController::revertDocument()
{
    // The document read again replaces this one, windows and all.
    if (DocumentController* controller = DocumentController::shared(); controller && myDoc)
        controller->revertDocumentInteractively(myDoc);
}

void MyWindowController::runPageLayout()
{
    if (myDoc) {
        myDoc->commitEditing();
        MyDocumentPrinting::runPageLayout(*myDoc);
    }
}

void MyWindowController::printDocument()
{
    if (myDoc) {
        myDoc->commitEditing();
        MyDocumentPrinting::printDocument(*myDoc);
    }
}

void MyWindowController::closeWindow()
{
    if (m_window)
        m_window->close();
}

void MyWindowController::quit()
{
    DocumentController* controller = DocumentController::shared();
    if (!controller || controller->quit())
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void MyWindowController::closeForGood()
{
    m_closingForGood = true;
    m_inDocument = false;
    if (m_window)
        m_window->close();
}
