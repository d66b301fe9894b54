// Editing a graph in its window: a scale label typed on the graph is revealed and shows in the
// settings outline, and commands given while it is typed commit it first.
#include "AnalysisFixture.h"
#include "platform/PropertyList.h"

class GraphEditing : public AnalysisFixture {
protected:
    MyWindowController* g = nullptr;
    MyViewManager* vm = nullptr;

    void SetUp() override
    {
        AnalysisFixture::SetUp();
        import(kSampleTable);
        makeAnalysis("Sizes", {"Height"}, {"Sex"});
        g = doc->graphWindowConts.last();
        vm = g->viewManager;
        ASSERT_TRUE(vm);
        front(g);
    }
    MyConfigRootItem* settings() const { return static_cast<MyConfigRootItem*>(g->rootItem); }
    MyOutlineModel* settingsModel() const { return qobject_cast<MyOutlineModel*>(g->configOlv->model()); }
    MyConfigItem* label(int i) const { return settingsRow(g, {"valueSettings", "scaleStrings", "#" + QString::number(i)}); }
    QModelIndexList selectedRows() const { return g->configOlv->selectionModel()->selectedRows(); }
    // A point of the scene view where item is the topmost view.
    QPoint pointOn(GraphItem* item) const
    {
        QGraphicsView* view = g->sceneView();
        const Rect b = item->bounds();
        for (int i = 1; i < 10; ++i)
            for (int j = 1; j < 10; ++j) {
                const QPoint p = view->mapFromScene(
                    item->mapToScene(QPointF(b.origin.x + b.width() * i / 10, b.origin.y + b.height() * j / 10)));
                if (!view->items(p).isEmpty() && view->items(p).first() == item)
                    return p;
            }
        ADD_FAILURE() << "no place to click on the view";
        return {};
    }
    void click(GraphItem* item)
    {
        QTest::mouseClick(g->sceneView()->viewport(), Qt::LeftButton, {}, pointOn(item), apart());
        QCoreApplication::processEvents();
    }
    // Clicks the first scale label on the graph and types over its text.
    void typeFirstLabel(const QString& typed)
    {
        MyTextView* text = labelView(vm, label(0));
        ASSERT_NE(text, nullptr);
        click(text);
        QTest::keyClick(g->sceneView(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(g->sceneView(), typed);
    }
};

TEST_F(GraphEditing, ScaleLabelTypedOnTheGraphShowsInTheOutline)
{
    ASSERT_TRUE(label(1));
    ASSERT_FALSE(g->configOlv->isExpanded(settingsModel()->indexOf(label(0)->configParent())));
    const QString typed = QString::number((label(0)->message.toDouble() + label(1)->message.toDouble()) / 2);
    typeFirstLabel(typed);
    // The row is revealed (its parents opened, itself selected) as soon as the text changes.
    EXPECT_TRUE(g->configOlv->isExpanded(settingsModel()->indexOf(label(0)->configParent())));
    EXPECT_EQ(selectedRows(), QModelIndexList{settingsModel()->indexOf(label(0))});
    click(vm->viewDict.value(MyViewManager::kBackground));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(settingsModel()->indexOf(label(0), 1).data().toString(), typed);
    EXPECT_EQ(doc->undoManager()->undoText(), "Undo Change Text");
}

// Commands given from the menus or keys while a scale label is typed on the graph (a menu
// takes the focus without ending the edit) take the typed text first, as a step of its own;
// closing keeps it with the document, and a document saved before the typing writes it into
// its package as it closes, without asking.
TEST_F(GraphEditing, CommandsWhileTypingCommitTheTextFirst)
{
    // Undo and Redo carry the name of their step.
    auto action = [](MyWindowController* w, const QString& text) {
        for (QAction* a : w->window()->findChildren<QAction*>())
            if (a->text() == text || ((text == "Undo" || text == "Redo") && a->text().startsWith(text)))
                return a;
        ADD_FAILURE() << "no " << text.toStdString();
        return static_cast<QAction*>(nullptr);
    };
    auto menu = [&](MyWindowController* w, const QString& item) { return [&, w, item] { action(w, item)->trigger(); }; };
    QMenu* editMenu = nullptr;
    for (QMenu* m : g->window()->menuBar()->findChildren<QMenu*>())
        if (m->title() == "&Edit")
            editMenu = m;
    ASSERT_NE(editMenu, nullptr);
    // Whether the typed label is stored once the command is over, the next undo's name, and
    // whether closing asks.
    struct Case { const char* name; std::function<void()> command; bool keepsTypedText; const char* undoText; };
    const Case cases[] = {
        {"Undo", menu(g, "Undo"), false, "Undo Change Type"},   // the typed text goes, the step before stays
        {"Redo in the main window", menu(main(), "Redo"), true, "Undo Change Text"},   // nothing left to redo
        {"Undo key", [&] { QTest::keyClick(g->sceneView(), Qt::Key_Z, Qt::ControlModifier); }, false, "Undo Change Text"},
        // The Edit menu names the step the typed text would become and leaves it open.
        {"Edit menu opened, then Return", [&] {
             editMenu->popup(QPoint());
             EXPECT_EQ(action(g, "Undo")->text(), "Undo Change Text");
             editMenu->hide();
             EXPECT_TRUE(vm->editedTextView());
             QTest::keyClick(g->sceneView(), Qt::Key_Return);
         }, true, "Undo Change Text"},
        {"Page Setup", menu(g, "Page Setup…"), true, "Undo Change Text"},
        {"Print", menu(g, "Print…"), true, "Undo Change Text"},
        {"Save in the main window", menu(main(), "Save"), true, "Undo"},
        {"Save As", menu(g, "Save As…"), true, "Undo"},
        {"Close", menu(g, "Close"), true, "Undo Change Text"},
    };
    ASSERT_TRUE(vm->tryObject(QString("Heights"), settings()->childTitle("graphTitle"), "Change Type"));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.name);
        MyDocumentWindows::showGraphWindow(*doc, 0);
        front(g);
        scripted.dialogs.files = {dir.filePath("typed")};
        scripted.dialogs.answers = {2};

        const QString before = label(0)->message;
        const double from = before.toDouble(), to = label(1)->message.toDouble();
        const QString typed = QString::number(from + (to - from) * 0.05 * double(i + 1));
        typeFirstLabel(typed);
        const qsizetype questions = scripted.dialogs.questions.size();
        c.command();
        ASSERT_EQ(controller->documents().size(), 1u);
        QCoreApplication::processEvents();

        EXPECT_EQ(label(0)->message, c.keepsTypedText ? typed : before);
        EXPECT_EQ(doc->undoManager()->undoText(), c.undoText);
        EXPECT_EQ(action(g, "Undo")->text(), c.undoText);
        if (!c.keepsTypedText) {
            EXPECT_EQ(doc->undoManager()->redoText(), "Redo Change Text");
        }
        EXPECT_EQ(scripted.dialogs.questions.size(), questions);
        // Nothing is left to commit later.
        const int index = doc->undoManager()->stack()->index();
        click(vm->viewDict.value(MyViewManager::kBackground));
        EXPECT_EQ(doc->undoManager()->stack()->index(), index);
    }

    MyDocumentWindows::showGraphWindow(*doc, 0);
    front(g);
    ASSERT_TRUE(controller->save(doc));
    const QString package = doc->fileName();
    const double from = label(0)->message.toDouble(), to = label(1)->message.toDouble();
    const QString typed = QString::number(from + (to - from) * 0.5);
    typeFirstLabel(typed);
    const qsizetype questions = scripted.dialogs.questions.size();
    menu(main(), "Close")();
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller->documents().empty(); }, 5000));
    EXPECT_EQ(scripted.dialogs.questions.size(), questions);
    QFile stored(QDir(package).filePath("graph/graph0.plist"));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(dig(PropertyList::fromData(stored.readAll()), {"valueSettings", "scaleStrings", "#0"}).toString(), typed);
}
