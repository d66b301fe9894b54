// The settings outline of a graph window driven offscreen: typed values, the edit rule,
// cells, fonts, text attributes and colours through scripted (and once the real) choosers,
// copy and paste through the real clipboard, and the stepper; every change checked in the
// graph's settings and on the document's undo stack.
#include "AnalysisFixture.h"
#include "outline/MyOutlineTexts.h"
#include "outline/MySettingsClipboard.h"
#include "windows/MyColorWell.h"
#include <QColorDialog>
#include <QTimer>

class SettingsOutline : public AnalysisFixture {
protected:
    MyWindowController* g = nullptr;

    void SetUp() override
    {
        AnalysisFixture::SetUp();
        import(kSampleTable);
        makeAnalysis("Sizes", {"Height", "Weight"}, {"Sex"});
        g = doc->graphWindowConts.last();
        ASSERT_TRUE(g->configOlv && g->configOlv->isVisible());
    }
    QTreeView* olv() const { return g->configOlv; }
    MyOutlineModel* settingsModel() const { return qobject_cast<MyOutlineModel*>(olv()->model()); }
    MyConfigItem* row(const QStringList& path) const { return settingsRow(g, path); }
    // The stored value of the current settings at a path of keys (arrays by "#n").
    QVariant stored(const QStringList& path) const { return dig(doc->graphSettings.last(), path); }
    std::optional<TextAttributes> attributes(const QStringList& p) const { return KeyedArchive::unarchiveAttributes(stored(p).toByteArray()); }
    std::optional<Color> colour(const QStringList& p) const { return KeyedArchive::unarchiveColor(stored(p).toByteArray()); }
    void select(const QStringList& path)
    {
        QTest::mouseClick(olv()->viewport(), Qt::LeftButton, {}, centreIn(olv(), row(path), 0, g->rootItem), apart());
        QCoreApplication::processEvents();
    }
    bool typeInto(const QStringList& path, const QString& text) { return typeInSettings(g, path, text); }
    bool editable(MyConfigItem* r, int c) const { return settingsModel()->flags(settingsModel()->indexOf(r, c)) & Qt::ItemIsEditable; }
    QString undoName() const { return doc->undoManager()->stack()->undoText(); }
    // A chooser answered with a font or colour, then the command given.
    void withFont(const FontSpec& font, void (MyWindowController::*command)())
    {
        scripted.dialogs.fonts.push_back(font);
        (g->*command)();
    }
    void withColour(const Color& colour, void (MyWindowController::*command)())
    {
        scripted.dialogs.colors.push_back(colour);
        (g->*command)();
    }
    void wellWith(const Color& colour)
    {
        scripted.dialogs.colors.push_back(colour);
        g->colorWell->click();
    }
};

TEST_F(SettingsOutline, TypedValuesAreOneChangeTypeStepEach)
{
    const int before = steps();
    ASSERT_TRUE(typeInto({"graphTitle"}, "Heights"));
    EXPECT_EQ(stored({"graphTitle"}), "Heights");
    EXPECT_EQ(undoName(), "Change Type");
    EXPECT_TRUE(g->window()->windowTitle().contains("Heights"));
    EXPECT_EQ(steps(), before + 1);

    // The value the row shows, and values the row does not take, make no step.
    const struct { QStringList path; const char* text; } refused[] = {
        {{"graphTitle"}, "Heights"},
        {{"valueSettings", "partition"}, "2.5"},   // not an integer
        {{"valueSettings", "logarithmic"}, "maybe"}, {{"valueSettings", "logarithmic"}, "no"},   // already NO
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.text);
        const QString shown = row(c.path)->message;
        ASSERT_TRUE(typeInto(c.path, c.text));
        EXPECT_EQ(row(c.path)->message, shown);
        EXPECT_EQ(steps(), before + 1);
    }
}

TEST_F(SettingsOutline, EditRule)
{
    const QStringList origName{"categoryDicts", "#1", "represents", "#0", "origName"},
        width{"graphProperties", "background", "viewWidth"};
    // A "Bool" row, a "dict", an "array", a category's label, the size that follows the page.
    const struct { QStringList path; bool editable; } cases[] = {
        {{"valueSettings", "logarithmic"}, true}, {{"graphProperties"}, false}, {{"categoryDicts"}, false},
        {{"categoryDicts", "#1", "represents", "#0", "represent"}, true}, {width, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.join('/').toStdString());
        EXPECT_EQ(editable(row(c.path), 1), c.editable);
        EXPECT_FALSE(editable(row(c.path), 0));
    }
    // A refused cell opens no editor.
    EXPECT_FALSE(typeInto(origName, "X"));
    ASSERT_TRUE(typeInto({"graphProperties", "background", "followPageLayout"}, "NO"));
    EXPECT_TRUE(editable(row(width), 1));
    ASSERT_TRUE(typeInto(width, "400"));
    EXPECT_EQ(stored(width), "400");
}

TEST_F(SettingsOutline, CellsSwatchesHeightsAndTooltips)
{
    auto cell = [&](const QStringList& path, int c) { return g->outlineViewWillDisplayCell(olv(), QString::number(c), row(path)); };
    const QStringList lineColor{"graphProperties", "xAxis", "lineColor"};
    const OutlineCell swatch = cell({"graphProperties", "background", "color"}, 1);
    EXPECT_TRUE(swatch.drawsBackground);
    EXPECT_EQ(swatch.backgroundColor, QColor(Qt::white));
    const QModelIndex black = settingsModel()->indexOf(row(lineColor), 1);
    EXPECT_EQ(black.data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::black));
    // The colour's name stays readable on its swatch.
    EXPECT_EQ(black.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(swatch.textColor, QColor(Qt::black));
    EXPECT_FALSE(cell(lineColor, 0).drawsBackground);
    EXPECT_FALSE(cell({"graphProperties", "xAxis", "tickWidth"}, 1).drawsBackground);

    // Rows are 17 points; a text-attribute row is as tall as its sample in its font.
    const QStringList attr{"graphProperties", "yAxis", "titleTextAttr"};
    EXPECT_EQ(g->outlineViewHeightOfRowByItem(olv(), row({"graphTitle"})), 17.0);
    const double base = g->outlineViewHeightOfRowByItem(olv(), row(attr));
    select(attr);
    withFont(FontSpec{"DejaVu Sans", 30, 16}, &MyWindowController::chooseFont);
    const double tall = g->outlineViewHeightOfRowByItem(olv(), row(attr));
    EXPECT_GT(tall, base + 10);
    EXPECT_GE(olv()->visualRect(settingsModel()->indexOf(row(attr), 0)).height(), int(tall));

    // Tooltips of the title column come from the description strings.
    EXPECT_EQ(g->outlineViewToolTip(olv(), "0", row({"graphTitle"})), "Name of the analysis, shown in the window titles.");
    EXPECT_EQ(g->outlineViewToolTip(olv(), "1", row({"graphTitle"})), "");
    EXPECT_EQ(doc->baseWindowCont->outlineViewToolTip(olv(), "0", row({"graphTitle"})), "");
}

TEST_F(SettingsOutline, FontsAttributesAndColoursAreNamedSteps)
{
    const QStringList attr{"categoryDicts", "#0", "xTitleAttr"}, fill{"graphProperties", "graphRect", "fillColor"};
    const TextAttributes old = *attributes(attr);
    select(attr);
    // A cancelled chooser, and the font the row has, change nothing.
    const int before = steps();
    g->chooseFont();
    withFont(*old.font, &MyWindowController::chooseFont);
    EXPECT_EQ(steps(), before);

    withFont(FontSpec{"DejaVu Serif", 15, 16}, &MyWindowController::changeFont);   // Format > Font
    EXPECT_EQ(undoName(), "Change Font");
    EXPECT_EQ(attributes(attr)->font, (FontSpec{"DejaVu Serif", 15, 16}));
    EXPECT_EQ(attributes(attr)->color, old.color);
    doc->undoManager()->undo();
    EXPECT_EQ(KeyedArchive::unarchiveAttributes(row(attr)->object().toByteArray())->font, old.font);

    // The text colour from the panel is "Change Attributes", even when it stays as it was;
    // from the colour well it is "Change Graph", and only when it changes.
    select(attr);
    withColour(Color::rgb(0, 0, 1), &MyWindowController::chooseTextColor);
    EXPECT_EQ(undoName(), "Change Attributes");
    EXPECT_EQ(attributes(attr)->color, Color::rgb(0, 0, 1));
    const int attributeSteps = steps();
    withColour(Color::rgb(0, 0, 1), &MyWindowController::chooseTextColor);
    EXPECT_EQ(steps(), attributeSteps + 1);
    EXPECT_EQ(g->colorWell->color(), Color::rgb(0, 0, 1));
    EXPECT_FALSE(g->colorWell->isActive());
    wellWith(Color::rgb(0, 0, 1));
    EXPECT_EQ(steps(), attributeSteps + 1);
    wellWith(Color::rgb(0, 0.5, 0));
    EXPECT_EQ(undoName(), "Change Graph");
    EXPECT_EQ(attributes(attr)->color, Color::rgb(0, 0.5, 0));

    // A colour row: the well shows and edits its colour.
    select(fill);
    EXPECT_TRUE(g->colorWell->isActive());
    EXPECT_EQ(g->colorWell->color(), *colour(fill));
    const int colours = steps();
    g->colorWell->click();   // cancelled
    wellWith(g->colorWell->color());   // the same colour
    EXPECT_EQ(steps(), colours);
    wellWith(Color::rgb(1, 0.9, 0.8, 0.5));
    EXPECT_EQ(undoName(), "Change Graph");
    EXPECT_EQ(colour(fill), Color::rgb(1, 0.9, 0.8, 0.5));
    // A row that is no data row: the well goes inactive and edits nothing.
    select({"graphTitle"});
    EXPECT_FALSE(g->colorWell->isActive());
    wellWith(Color::rgb(1, 0, 0));
    EXPECT_EQ(steps(), colours + 1);
}

// The dot font is taken only for glyph dots (type 6), only as a new face, and only when
// the face draws the dot glyph itself.
TEST_F(SettingsOutline, DotFontRule)
{
    const QStringList dotAttr{"dotsProperties", "#0", "dotAttr"};
    const FontSpec original = *attributes(dotAttr)->font, mono{"DejaVu Sans Mono", 12, 16};
    select(dotAttr);
    withFont(mono, &MyWindowController::chooseFont);   // dot type 0: no step
    EXPECT_EQ(attributes(dotAttr)->font, original);

    ASSERT_TRUE(typeInto({"dotsProperties", "#0", "dotType"}, "6"));
    const int before = steps();
    select(dotAttr);
    withFont(FontSpec{"DejaVu Serif", 12, 16}, &MyWindowController::chooseFont);
    EXPECT_EQ(alerts(), QStringList({"You should choose another font for dots."}));
    EXPECT_EQ(steps(), before);
    withFont(FontSpec{original.name, original.size + 6, original.flags}, &MyWindowController::chooseFont);   // a new size alone
    EXPECT_EQ(steps(), before);
    withFont(mono, &MyWindowController::chooseFont);
    EXPECT_EQ(undoName(), "Change Font");
    EXPECT_EQ(attributes(dotAttr)->font, mono);
    EXPECT_EQ(alerts().size(), 1);
}

// The real colour chooser: whatever colours the user passes on the way, the one confirmed
// is the one step.
TEST_F(SettingsOutline, RealColourChooserMakesOneStepPerSettledColour)
{
    QtDialogs real;
    Dialogs::setCurrent(&real);
    select({"graphProperties", "bars", "barColor"});
    const int before = steps();
    int seen = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        for (const QColor c : {QColor(10, 20, 30), QColor(200, 0, 0), QColor(0, 120, 240)}) {
            dialog->setCurrentColor(c);
            QCoreApplication::processEvents();
            seen = std::max(seen, steps() - before);
        }
        dialog->accept();
    });
    g->colorWell->click();
    Dialogs::setCurrent(&scripted.dialogs);
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(colour({"graphProperties", "bars", "barColor"})->toQColor().rgb(), QColor(0, 120, 240).rgb());
}

// Paste refuses with the message of the first check that fails; a record that passes is one
// "Paste Settings" step.
TEST_F(SettingsOutline, CopyAndPasteOfSettingsRows)
{
    auto copyRow = [&](const QStringList& path) { select(path), g->copy(); };
    auto pasteOn = [&](const QStringList& path) { select(path), g->paste(); };
    const int before = steps();
    copyRow({"graphTitle"});
    EXPECT_EQ(MySettingsClipboard::read()->value("val"), "Sizes");
    pasteOn({"categoryDicts", "#1", "represents", "#0", "origName"});   // unchangeable and of its type
    copyRow({"graphProperties", "graphRect", "height"});
    pasteOn({"graphProperties", "bars", "barLength"});                  // 200 above its maximum of 1
    EXPECT_EQ(alerts(), QStringList({MySettingsClipboard::unchangeableRow, MySettingsClipboard::notApplicable}));
    EXPECT_EQ(steps(), before);

    pasteOn({"graphProperties", "graphRect", "columnWidth"});
    EXPECT_EQ(undoName(), "Paste Settings");
    EXPECT_EQ(stored({"graphProperties", "graphRect", "columnWidth"}), "200");

    // In other windows paste of settings does nothing.
    const int pasted = steps();
    doc->statsWindowConts.last()->paste();
    main()->paste();
    EXPECT_EQ(steps(), pasted);

    // With no row selected, copy takes the whole settings and paste is checked against the
    // root: the settings of one graph go onto another.
    olv()->selectionModel()->clearSelection();
    g->copy();
    const QVariantMap record = *MySettingsClipboard::read();
    EXPECT_EQ(record.value("type"), "dict");
    EXPECT_EQ(record.value("keys"), QVariantList({QString()}));
    EXPECT_EQ(record.value("val"), QVariant(doc->graphSettings.last()));
    makeAnalysis("Other", {"Height"}, {"Site"});
    MyWindowController* other = doc->graphWindowConts.last();
    ASSERT_NE(other, g);
    other->configOlv->selectionModel()->clearSelection();
    other->paste();
    EXPECT_EQ(undoName(), "Paste Settings");
    EXPECT_EQ(stored({"graphProperties", "graphRect", "columnWidth"}), "200");
}

TEST_F(SettingsOutline, StepperMovesArrayElements)
{
    const QVariantList series = stored({"dotsProperties"}).toList();
    ASSERT_EQ(series.size(), 2);
    auto move = [&](const QStringList& path, int wanted) {
        select(path);
        g->stepper->setIntegerValue(wanted);
        g->tryToMove();
    };
    const int before = steps();
    move({"dotsProperties", "#0"}, 1);
    EXPECT_EQ(undoName(), "Change Graph");
    EXPECT_EQ(stored({"dotsProperties"}).toList(), QVariantList({series[1], series[0]}));
    // The moved element stays selected at its new place.
    EXPECT_EQ(g->stepper->integerValue(), 1);
    EXPECT_EQ(g->selectedSettingsRow(), row({"dotsProperties", "#1"}));
    doc->undoManager()->undo();
    EXPECT_EQ(stored({"dotsProperties"}).toList(), series);

    // Refused: past the last element, onto itself, a dictionary's entry, a category, a
    // scale label; the stepper goes back to the row's place. A top-level row never moves.
    const struct { QStringList path; int wanted; } refused[] = {
        {{"dotsProperties", "#1"}, 2}, {{"dotsProperties", "#0"}, -1}, {{"graphProperties", "graphRect", "height"}, 1},
        {{"categoryDicts", "#0"}, 1}, {{"valueSettings", "scaleStrings", "#2"}, 0},
    };
    const int count = steps();
    for (const auto& c : refused) {
        const int position = row(c.path)->index();
        move(c.path, c.wanted);
        EXPECT_EQ(g->stepper->integerValue(), position) << c.path.join('/').toStdString();
    }
    move({"graphTitle"}, 2);
    EXPECT_EQ(g->stepper->integerValue(), 2);
    EXPECT_EQ(steps(), count);
    EXPECT_EQ(count, before + 1);
}

// A text longer than the 32,767 characters a line editor takes by default is edited whole in
// every cell editor a user opens on it: one character changed near its start, all the rest
// stays.
TEST_F(SettingsOutline, LongTextsAreEditedWhole)
{
    QString longText;
    for (int i = 0; longText.size() < 40000; ++i)
        longText += QString::number(i) + ' ';
    ASSERT_GT(longText.size(), 32767);
    const QString changed = longText.left(2) + 'X' + longText.mid(3);
    // An analysis still being made, whose title is edited in the selector outline.
    newAnalysis();
    MySelectorItem* fresh = analysis(1);
    // The table editable (a new analysis turned that off), with a column no analysis uses.
    main()->editDataTableTapped(1);
    MyTableView* grid = doc->tableWindowCont->mTV;
    ASSERT_TRUE(grid);
    const qint64 note = doc->variables.indexOf("Note") + 1;
    const auto noteCell = [&] { return grid->model()->index(1, int(note)); };
    const auto settingsCell = [&](const QStringList& path) {
        return [this, path] { return settingsModel()->indexOf(row(path), 1); };
    };
    const struct {
        const char* name;
        QAbstractItemView* view;
        std::function<QModelIndex()> index;
        bool byKey;   // the edit key, else a double click
        std::function<QString()> stored;
        int undoSteps;   // an analysis being made keeps no undo steps
    } cases[] = {
        {"graph title", olv(), settingsCell({"graphTitle"}), false, [&] { return stored({"graphTitle"}).toString(); }, 1},
        {"axis title", olv(), settingsCell({"graphProperties", "yAxis", "titleText"}), true,
         [&] { return stored({"graphProperties", "yAxis", "titleText"}).toString(); }, 1},
        {"analysis title", outline(), [&] { return model()->indexOf(fresh, 0); }, false, [&] { return fresh->title; }, 0},
        {"table cell", grid, noteCell, false, [&] { return doc->tableData.value(note - 1).value(1); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.view->model()->setData(c.index(), longText, Qt::EditRole) || c.view == grid);
        QCoreApplication::processEvents();
        ASSERT_TRUE(c.stored() == longText) << c.stored().size() << " characters stored";
        const int before = steps();

        c.view->window()->activateWindow();
        c.view->scrollTo(c.index());
        const QPoint at = c.view->visualRect(c.index()).center();
        if (c.byKey) {
            QTest::mouseClick(c.view->viewport(), Qt::LeftButton, {}, at, apart());
            c.view->setFocus();
            QTest::keyClick(c.view, Qt::Key_F2);
        } else {
            // The grid takes the double click alone; an outline row is clicked first.
            if (c.view != grid)
                QTest::mouseClick(c.view->viewport(), Qt::LeftButton, {}, at, apart());
            QTest::mouseDClick(c.view->viewport(), Qt::LeftButton, {}, at, apart());
        }
        auto* editor = c.view->viewport()->findChild<QLineEdit*>();
        ASSERT_TRUE(editor && editor->isVisible());
        EXPECT_EQ(editor->text().size(), longText.size());
        editor->setCursorPosition(2);
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClick(editor, 'X');
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor commits from a queued call, which hands the text on in another.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(c.stored() == changed) << c.stored().size() << " characters stored";
        EXPECT_EQ(steps(), before + c.undoSteps);
    }
}
