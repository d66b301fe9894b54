// The graph window's own commands, driven through its menus and its view: Copy right after
// the graph is shown, the drawer shown and hidden by its menu item and key, the page and
// the whole graph reachable by scrolling after every layout, and the Format menu acting on a
// graph text being edited.
#include "AnalysisFixture.h"
#include "views/GraphSceneView.h"
#include "views/GraphTextEditor.h"
#include "views/MyBaseView.h"
#include <QDockWidget>
#include <QLayout>
#include <QMimeData>
#include <QScrollBar>

namespace {

QRectF sceneFrame(const GraphItem* item)
{
    const Rect b = item->bounds();
    return item->mapRectToScene(QRectF(b.origin.x, b.origin.y, b.size.width, b.size.height));
}

} // namespace

class GraphWindowCommands : public AnalysisFixture {
protected:
    MyWindowController* g = nullptr;

    void SetUp() override
    {
        AnalysisFixture::SetUp();
        // Heights 160 to 180 of both sexes at 60 stations.
        QByteArray table = "Height,Sex,Station\n";
        for (int i = 0; i < 60; ++i)
            table += QByteArray::number(160 + i % 21) + (i % 2 ? ",M" : ",F") + ",s" + QByteArray::number(100 + i) + "\n";
        import(table);
        makeAnalysis("Heights", {"Height"}, {"Sex"});
        ASSERT_EQ(doc->graphWindowConts.size(), 1);
        g = doc->graphWindowConts[0];
    }
    MyView* background() const { return g->viewManager->viewDict.value(MyViewManager::kBackground); }
    MyTextView* textOf(const std::shared_ptr<MyStorageItem>& record) const
    {
        return record ? dynamic_cast<MyTextView*>(record->textStorage->textViews().value(0)) : nullptr;
    }
    // A click on a view of the graph, at a point of its own coordinates.
    static void clickOn(MyWindowController* w, GraphItem* item, QPointF at)
    {
        QGraphicsView* view = w->sceneView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(item->mapToScene(at)), apart());
        QCoreApplication::processEvents();
    }
    int undoIndex() const { return doc->undoManager()->stack()->index(); }
    QString stepName(int i) const { return doc->undoManager()->stack()->command(i)->text(); }
};

// "Graph" gives the graph the keyboard focus: Copy at once puts the graph's PDF on the
// clipboard, not the settings record.
TEST_F(GraphWindowCommands, CopyRightAfterGraphCopiesTheGraph)
{
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(QTest::qWaitForWindowActive(g->window()));
    command(g, "Copy")->trigger();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(copied);
    EXPECT_TRUE(copied->hasFormat("application/pdf")) << copied->formats().join(' ').toStdString();
    EXPECT_TRUE(copied->data("application/pdf").startsWith("%PDF"));
    EXPECT_FALSE(copied->hasFormat("application/x-scatterProperties"));
}

// The drawer of a graph and of a statistics window opens at its content size, and its menu
// item and key close and open it again; the item is checked while it is open.
TEST_F(GraphWindowCommands, DrawerIsToggledByItsMenuItemAndKey)
{
    press(analysis(0), 5);   // "Stats"
    MyWindowController* stats = doc->statsWindowConts[0];
    // The statistics drawer's least size is what its switches need.
    const struct {
        MyWindowController* c;
        QSize content;
        bool leastFromLayout;
    } windows[] = {{g, {420, 260}, false}, {stats, {320, 260}, true}};
    for (const auto& w : windows) {
        SCOPED_TRACE(w.c->windowType().toStdString());
        front(w.c);
        auto* drawer = qobject_cast<QDockWidget*>(w.c->drawer);
        ASSERT_TRUE(drawer && drawer->isVisible());
        if (w.leastFromLayout) {
            EXPECT_EQ(drawer->widget()->minimumSize(), QSize(0, 0));
            EXPECT_EQ(drawer->widget()->minimumSizeHint(), drawer->widget()->layout()->totalMinimumSize());
        } else {
            EXPECT_EQ(drawer->widget()->minimumSize(), w.content);
        }
        EXPECT_EQ(drawer->widget()->width(), w.content.width());
        QAction* item = command(w.c, "Drawer");
        ASSERT_TRUE(item);
        EXPECT_EQ(item->shortcut(), QKeySequence("Ctrl+Shift+D"));
        item->trigger();
        EXPECT_FALSE(drawer->isVisible());
        EXPECT_FALSE(item->isChecked());
        QTest::keyClick(w.c->window(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(drawer->isVisible());
        EXPECT_TRUE(item->isChecked());
        EXPECT_EQ(drawer->widget()->width(), w.content.width());
    }
    // The main window has no drawer and no such item.
    EXPECT_EQ(command(main(), "Drawer"), nullptr);
}

// The area around the page is the light gray of a clip view; the page keeps its white.
TEST_F(GraphWindowCommands, TheAreaAroundThePageIsGray)
{
    front(g);
    g->toggleDrawer();   // room beside the page
    QCoreApplication::processEvents();
    QGraphicsView* view = g->sceneView();
    const QRect page = view->mapFromScene(sceneFrame(background())).boundingRect();
    const QImage shown = view->viewport()->grab().toImage();
    const QPoint beside(page.right() + 6, shown.height() / 2), inside(page.left() + 4, shown.height() / 2);
    ASSERT_TRUE(shown.rect().contains(beside)) << "page " << page.width() << ", view " << shown.width();
    EXPECT_EQ(QColor(shown.pixel(beside)), QColor(170, 170, 170));
    EXPECT_EQ(QColor(shown.pixel(inside)), QColor(Qt::white));
}

// After every layout the scene's view reaches the whole page and the whole graph: a page
// made 2000 points wide, and a graph of 60 categories wider than its page, which shows its
// top-left corner first; the page's far corner and the last category's label come into
// view by scrolling.
TEST_F(GraphWindowCommands, ScrollingReachesTheWholeGraphAfterEveryLayout)
{
    const QStringList page{"graphProperties", "background"};
    ASSERT_TRUE(typeInSettings(g, page + QStringList{"followPageLayout"}, "NO"));
    ASSERT_TRUE(typeInSettings(g, page + QStringList{"viewWidth"}, "2000"));
    ASSERT_EQ(background()->bounds().size.width, 2000);

    makeAnalysis("Stations", {"Height"}, {"Station"});
    MyWindowController* wide = doc->graphWindowConts.last();
    ASSERT_EQ(doc->graphWindowConts.size(), 2);
    // It first shows its top-left corner.
    QCoreApplication::processEvents();
    const QRectF first = wide->sceneView()->mapToScene(wide->sceneView()->viewport()->rect()).boundingRect();
    EXPECT_NEAR(first.left(), wide->sceneView()->sceneRect().left(), 1);
    EXPECT_NEAR(first.top(), wide->sceneView()->sceneRect().top(), 1);

    const struct {
        const char* name;
        MyWindowController* c;
        std::function<QRectF()> target;
    } cases[] = {
        {"page 2000 wide", g, [&] { return sceneFrame(background()).adjusted(1990, 0, 0, 0); }},
        {"60 categories", wide, [&] {
             MyTextView* last = textOf(wide->viewManager->storageItemDict.value("c_Station\ts159"));
             return last ? sceneFrame(last) : QRectF();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        front(c.c);
        QGraphicsView* view = c.c->sceneView();
        const QRectF target = c.target();
        ASSERT_FALSE(target.isEmpty());
        EXPECT_TRUE(view->sceneRect().contains(target));
        view->ensureVisible(target, 0, 0);
        const QRectF shown = view->mapToScene(view->viewport()->rect()).boundingRect();
        EXPECT_TRUE(shown.contains(target.center())) << "shown x " << shown.left() << ".." << shown.right()
                                                     << ", target x " << target.center().x();
    }
}

// Format > Font… and Format > Text Color… while a graph text is being edited act on that
// text: a text typed is committed first as its own step, and the restyle is one step that
// undo takes back; the text and its markup stay.
TEST_F(GraphWindowCommands, FormatMenuRestylesTheGraphTextBeingEdited)
{
    MyViewManager* vm = g->viewManager;
    const QStringList yAxis{"graphProperties", "yAxis"};
    ASSERT_TRUE(vm->tryObject(true, settingsRow(g, yAxis + QStringList{"titleVisible"}), "Change Type"));
    ASSERT_TRUE(vm->tryObject(QString("Height m^{2}"), settingsRow(g, yAxis + QStringList{"titleText"}), "Change Type"));
    const FontSpec serif{"DejaVu Serif", 19, 16};
    const Color red = Color::rgb(1, 0, 0);
    auto title = [&] { return textOf(vm->storageItemDict.value(MyGraphGenerator::kYTitle)); };
    auto label = [&] {
        for (const auto& record : vm->scalesStorageItem)
            if (record->visible)
                return textOf(record);
        return static_cast<MyTextView*>(nullptr);
    };
    auto attributes = [&](const char* row) {
        return *KeyedArchive::unarchiveAttributes(settingsRow(g, yAxis + QStringList{row})->object().toByteArray());
    };
    const struct {
        const char* name;
        std::function<MyTextView*()> view;
        const char* typed;   // appended while editing; nullptr: the whole text selected
        const char* item;
        const char* attrRow;
        QStringList steps;
    } cases[] = {
        {"title typed, font", title, "x", "Font…", "titleTextAttr", {"Change Text", "Change Font"}},
        {"title selected, colour", title, nullptr, "Text Color…", "titleTextAttr", {"Change Attributes"}},
        {"label selected, font", label, nullptr, "Font…", "scaleTextAttr", {"Change Font"}},
        {"label selected, colour", label, nullptr, "Text Color…", "scaleTextAttr", {"Change Attributes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        front(g);
        MyTextView* v = c.view();
        ASSERT_TRUE(v);
        const QString text = vm->outlineItemWithTextView(v, true)->message;
        const TextAttributes before = attributes(c.attrRow);
        const int start = undoIndex();
        const Rect b = v->bounds();
        clickOn(g, v, QPointF(b.origin.x + b.width() / 2, b.origin.y + b.height() / 2));
        ASSERT_EQ(vm->editedTextView(), v);
        if (c.typed) {
            QTest::keyClick(g->sceneView(), Qt::Key_End);
            QTest::keyClicks(g->sceneView(), c.typed);
        } else {
            QTest::keyClick(g->sceneView(), Qt::Key_A, Qt::ControlModifier);
        }
        scripted.dialogs.fonts.push_back(serif);
        scripted.dialogs.colors.push_back(red);
        command(g, c.item)->trigger();
        QCoreApplication::processEvents();
        scripted.dialogs.fonts.clear();
        scripted.dialogs.colors.clear();

        ASSERT_EQ(undoIndex(), start + c.steps.size());
        for (int i = 0; i < c.steps.size(); ++i)
            EXPECT_EQ(stepName(start + i), c.steps[i]);
        const QString typedText = text + (c.typed ? c.typed : "");
        const TextAttributes after = attributes(c.attrRow);
        if (QString(c.item) == "Font…") {
            EXPECT_EQ(after.font, std::optional<FontSpec>(serif));
            EXPECT_EQ(after.color, before.color);
        } else {
            EXPECT_EQ(after.color, std::optional<Color>(red));
            EXPECT_EQ(after.font, before.font);
        }
        MyTextView* now = c.view();
        ASSERT_TRUE(now);
        EXPECT_EQ(vm->outlineItemWithTextView(now, true)->message, typedText);

        command(g, "Undo " + c.steps.last())->trigger();
        EXPECT_EQ(attributes(c.attrRow), before);
        EXPECT_EQ(vm->outlineItemWithTextView(c.view(), true)->message, typedText);
        while (undoIndex() > start)
            doc->undoManager()->undo();
        EXPECT_EQ(vm->outlineItemWithTextView(c.view(), true)->message, text);
    }
}
