// Graph texts typed into in place, through a real graphics view: the stored text is edited
// (markup included) and committed as one undo step when the editor is left; refused scale
// labels show their stored text again; fonts and attributes start from the stored ones.
#include "EditFixture.h"
#include "platform/KeyedArchive.h"
#include "views/GraphTextEditor.h"
#include "views/MyView.h"
#include <QTest>

class InPlaceText : public EditFixture {
protected:
    Graph* g = nullptr;

    void SetUp() override
    {
        EditFixture::SetUp();
        addTwoGraphs();
        g = graphs[0].get();
        // The title is shown.
        ASSERT_TRUE(g->vm->tryObject(true, row(*g, {"graphProperties", "yAxis", "titleVisible"}), "Change Type"));
        showScene(*g);
    }

    const QStringList titlePath{"graphProperties", "yAxis", "titleText"};
    MyTextView* yTitle() { return firstTextView(g->vm->storageItemDict.value(MyGraphGenerator::kYTitle)); }
    QStringList labels()
    {
        QStringList out;
        for (const MyConfigItem* r : row(*g, {"valueSettings", "scaleStrings"})->configChildren())
            out << r->message;
        return out;
    }
    // The view of the scale label whose row holds text.
    MyTextView* scaleLabel(const QString& text)
    {
        for (const auto& record : g->vm->scalesStorageItem)
            if (record->visible && record->textItem && record->textItem->message == text)
                return firstTextView(record);
        return nullptr;
    }
    GraphTextEditor* editor(MyTextView* v)
    {
        for (QGraphicsItem* child : v->childItems())
            if (auto* e = dynamic_cast<GraphTextEditor*>(child); e && e->isVisible())
                return e;
        return nullptr;
    }

    // Clicks into the text, replaces what it shows with text, clicks on the background.
    void type(MyTextView* v, const QString& text, bool leave = true)
    {
        ASSERT_NE(v, nullptr);
        click(v);
        ASSERT_NE(editor(v), nullptr);
        QTest::keyClick(sceneView.get(), Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(sceneView.get(), Qt::Key_Delete);
        else
            QTest::keyClicks(sceneView.get(), text);
        if (leave)
            leaveText();
    }
    void leaveText()
    {
        click(g->vm->viewDict.value(MyViewManager::kBackground));
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString stored(const QStringList& path) { return row(*g, path)->message; }
    static QString shown(MyTextView* v) { return v ? v->textStorage()->toPlainText() : "no view"; }
};

// The y title: the stored text is shown raw while editing, the row revealed at the first
// change, the typed text committed as one step with its markup, undone in one.
TEST_F(InPlaceText, TitleEditedAsStoredTextInOneStep)
{
    ASSERT_TRUE(g->vm->tryObject(QString("Mass m^{2}"), row(*g, titlePath), "Change Type"));
    MyTextView* v = yTitle();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->textStorage()->toPlainText(), "Mass m2");
    const int steps = undo().stack()->index();

    click(v);
    ASSERT_NE(editor(v), nullptr);
    EXPECT_EQ(editor(v)->toPlainText(), "Mass m^{2}");
    EXPECT_TRUE(log.revealed.isEmpty());
    QTest::keyClick(sceneView.get(), Qt::Key_End);
    QTest::keyClicks(sceneView.get(), "_{x}");
    EXPECT_EQ(log.revealed, QStringList{"graphProperties > graphProperties/yAxis > graphProperties/yAxis/titleText"});
    // Nothing is written while typing.
    EXPECT_EQ(stored(titlePath), "Mass m^{2}");
    leaveText();
    EXPECT_EQ(stored(titlePath), "Mass m^{2}_{x}");
    EXPECT_EQ(undo().stack()->index(), steps + 1);
    EXPECT_EQ(undo().undoText(), "Undo Change Text");
    EXPECT_EQ(shown(yTitle()), "Mass m2x");
    EXPECT_EQ(editor(yTitle()), nullptr);

    // A visit that changes nothing commits nothing, and the markup stays.
    click(yTitle());
    leaveText();
    EXPECT_EQ(undo().stack()->index(), steps + 1);
    EXPECT_EQ(stored(titlePath), "Mass m^{2}_{x}");

    undo().undo();
    EXPECT_EQ(stored(titlePath), "Mass m^{2}");
    EXPECT_EQ(shown(yTitle()), "Mass m2");
}

// Scale labels: a label written with a power of ten is stored as typed and read as its
// value; a label the value axis refuses shows its stored text again and makes no step; an
// emptied label goes, as one step.
TEST_F(InPlaceText, ScaleLabelsKeepTheirMarkupOrShowTheirStoredText)
{
    const QStringList before = labels();
    ASSERT_GE(before.size(), 3);
    const QString second = before[1];
    const int steps = undo().stack()->index();

    // "4\times10^{0}" is 4: within the axis, and it keeps its markup.
    type(scaleLabel(second), "4\\times10^{0}");
    EXPECT_EQ(labels().value(1), "4\\times10^{0}");
    EXPECT_EQ(undo().stack()->index(), steps + 1);
    MyTextView* v = scaleLabel("4\\times10^{0}");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(shown(v), QString("4×100"));
    click(v);
    EXPECT_EQ(editor(v)->toPlainText(), "4\\times10^{0}");
    leaveText();
    EXPECT_EQ(undo().stack()->index(), steps + 1);

    // Refused: not a number, then outside the axis.
    for (const QString& typed : {QString("abc"), QString("1000")}) {
        SCOPED_TRACE(typed.toStdString());
        type(scaleLabel("4\\times10^{0}"), typed);
        EXPECT_EQ(labels().value(1), "4\\times10^{0}");
        EXPECT_EQ(undo().stack()->index(), steps + 1);
        EXPECT_EQ(shown(scaleLabel("4\\times10^{0}")), QString("4×100"));
    }

    // Emptied: the label goes and the partition with it, as one step.
    const qint64 partition = row(*g, {"valueSettings", "partition"})->object().toLongLong();
    type(scaleLabel("4\\times10^{0}"), "");
    EXPECT_EQ(labels().size(), before.size() - 1);
    EXPECT_EQ(row(*g, {"valueSettings", "partition"})->object().toLongLong(), partition - 1);
    EXPECT_EQ(undo().undoText(), "Undo Change Text");
    undo().undo();
    EXPECT_EQ(labels().size(), before.size());
}

// Return (or Enter, with or without Shift) ends the edit and commits it, as in the settings
// outline: no line break is stored, and the graph keeps the keyboard focus.
TEST_F(InPlaceText, ReturnCommitsWithoutALineBreak)
{
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{"Return", Qt::Key_Return, Qt::NoModifier},
                {"Enter", Qt::Key_Enter, Qt::KeypadModifier},
                {"Shift+Return", Qt::Key_Return, Qt::ShiftModifier}};
    const struct {
        const char* name;
        std::function<MyTextView*()> view;
        QStringList path;
    } texts[] = {{"title", [&] { return yTitle(); }, titlePath},
                 {"category", [&] { return firstTextView(g->vm->storageItemDict.value("c_Group\tb")); },
                  {"categoryDicts", "1", "represents", "1", "represent"}}};
    int n = 0;
    for (const auto& text : texts)
        for (const auto& key : keys) {
            SCOPED_TRACE(std::string(text.name) + " " + key.name);
            const QString typed = QString("T%1").arg(++n);
            const int steps = undo().stack()->index();
            type(text.view(), typed, false);
            QTest::keyClick(sceneView.get(), key.key, key.modifiers);
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(stored(text.path), typed);
            EXPECT_EQ(undo().stack()->index(), steps + 1);
            EXPECT_EQ(undo().undoText(), "Undo Change Text");
            EXPECT_EQ(editor(text.view()), nullptr);
            EXPECT_EQ(g->vm->scene()->focusItem(), g->vm->viewDict.value(MyViewManager::kBackground));
        }
}

// Two labels with one text: each view edits its own label, found by its own text.
TEST_F(InPlaceText, EqualLabelsEachEditTheirOwn)
{
    const QString min = row(*g, {"valueSettings", "min"})->message, max = row(*g, {"valueSettings", "max"})->message;
    ASSERT_TRUE(g->vm->tryObject(QVariantList{min, QString("5"), QString("5"), max},
                                 row(*g, {"valueSettings", "scaleStrings"}), "Paste Settings"));
    // The view that shows the second "5" (the third label).
    MyTextView* second = nullptr;
    for (const auto& record : g->vm->scalesStorageItem)
        if (record->visible && record->textItem == row(*g, {"valueSettings", "scaleStrings", "2"}))
            second = firstTextView(record);
    ASSERT_NE(second, nullptr);
    type(second, "6");
    EXPECT_EQ(labels(), QStringList({min, "5", "6", max}));
}

// A category label typed on the graph: its row, the selector tree and the analysis text.
TEST_F(InPlaceText, CategoryLabelReachesTheSelectorTree)
{
    MyTextView* v = firstTextView(g->vm->storageItemDict.value("c_Group\tb"));
    type(v, "Bee");
    EXPECT_EQ(stored({"categoryDicts", "1", "represents", "1", "represent"}), "Bee");
    EXPECT_EQ(analysis(0)->childTitle("Categorizing")->childTitle("Group")->childTitle("b")->message, "Bee");
    EXPECT_TRUE(doc->graphXMLs[0].contains("<represents name=\"b\" use=\"YES\">Bee</represents>"));
    EXPECT_EQ(undo().undoText(), "Undo Change Text");
    EXPECT_EQ(log.revealed.last(), "categoryDicts > categoryDicts/ > categoryDicts//represents > "
                                   "categoryDicts//represents/ > categoryDicts//represents//represent");
    undo().undo();
    EXPECT_EQ(analysis(0)->childTitle("Categorizing")->childTitle("Group")->childTitle("b")->message, "b");
}

// A command while a text is typed (a colour from the font panel, a value typed into the
// settings outline, a colour well): the text is committed first, by an explicit call (no
// focus event comes between), then the command: two steps, undone in reverse order.
TEST_F(InPlaceText, CommandsWhileTypingCommitTheTextFirst)
{
    const Color red = Color::rgb(1, 0, 0);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"Change Attributes",
         [&] { g->vm->changeAttributes(yTitle(), [&](const TextAttributes&) { return TextAttributes{std::nullopt, red}; }); }},
        {"Change Type", [&] { g->vm->tryObject(QString("12"), row(*g, {"graphProperties", "yAxis", "titleGap"}), "Change Type"); }},
        {"Change Graph",
         [&] { g->vm->changeRow(row(*g, {"graphProperties", "yAxis", "lineColor"}), KeyedArchive::archiveColor(red), "Change Graph"); }},
    };
    ASSERT_TRUE(g->vm->tryObject(QString("Mass"), row(*g, titlePath), "Change Type"));
    for (const auto& [name, command] : cases) {
        SCOPED_TRACE(name);
        const int steps = undo().stack()->index();
        type(yTitle(), "Length", false);
        command();
        ASSERT_EQ(undo().stack()->index(), steps + 2);
        EXPECT_EQ(undo().stack()->command(steps)->text(), "Change Text");
        EXPECT_EQ(undo().stack()->command(steps + 1)->text(), name);
        EXPECT_EQ(stored(titlePath), "Length");
        // No commit is left to come from the focus moving.
        QCoreApplication::processEvents();
        EXPECT_EQ(undo().stack()->index(), steps + 2);
        undo().undo();
        EXPECT_EQ(stored(titlePath), "Length");
        undo().undo();
        EXPECT_EQ(stored(titlePath), "Mass");
    }
    // The font panel follows the attributes of the text row, on undo too.
    ASSERT_TRUE(log.selectedAttributes.has_value());
    EXPECT_NE(log.selectedAttributes->color, red);
}

// Fonts start from the text's stored attributes: an emptied title has no character to read
// them from, and a title that starts with a raised run shows a smaller, raised font there.
TEST_F(InPlaceText, FontChangesStartFromTheStoredAttributes)
{
    const QStringList attrPath{"graphProperties", "yAxis", "titleTextAttr"};
    const TextAttributes before = *KeyedArchive::unarchiveAttributes(row(*g, attrPath)->object().toByteArray());
    ASSERT_TRUE(g->vm->tryObject(QString("y"), row(*g, titlePath), "Change Type"));
    for (const QString& title : {QString("^{2}x"), QString("")}) {
        SCOPED_TRACE(title.toStdString());
        ASSERT_TRUE(g->vm->changeRow(row(*g, titlePath), title, "Change Text"));
        MyTextView* v = yTitle();
        ASSERT_NE(v, nullptr);
        g->vm->changeFont(v, [](const FontSpec& f) {
            FontSpec bigger = f;
            bigger.size += 4;
            return bigger;
        });
        EXPECT_EQ(undo().undoText(), "Undo Change Font");
        const TextAttributes now = *KeyedArchive::unarchiveAttributes(row(*g, attrPath)->object().toByteArray());
        ASSERT_TRUE(now.font.has_value());
        EXPECT_EQ(now.font->size, before.font->size + 4);
        EXPECT_EQ(now.font->name, before.font->name);
        EXPECT_EQ(now.color, before.color);
        undo().undo();
    }
}
