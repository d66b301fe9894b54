// The settings outline of a graph window driven offscreen: typed values, the edit rule,
// cells, fonts, text attributes and colours through scripted (and once the real) choosers,
// copy and paste through the real clipboard, and the stepper; every change checked in the
// graph's settings and on the document's undo stack.
#include "AnalysisFixture.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MyOutlineTexts.h"
#include "outline/MySettingsClipboard.h"
#include "platform/PropertyList.h"
#include "views/MyViewManager.h"
#include "windows/MyColorWell.h"
#include <QColorDialog>
#include <QHeaderView>
#include <QTimer>
#include <QUndoStack>

namespace {

std::optional<TextAttributes> attributesOf(const QVariant& data)
{
    return KeyedArchive::unarchiveAttributes(data.toByteArray());
}

} // namespace

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
    MyConfigRootItem* settingsRoot() const { return static_cast<MyConfigRootItem*>(g->rootItem); }
    // A row by titles; "#n" takes the n-th element of an array.
    MyConfigItem* row(const QStringList& path) const
    {
        MyConfigItem* r = settingsRoot();
        for (const QString& step : path)
            r = r ? (step.startsWith('#') ? r->configChildAt(step.mid(1).toInt()) : r->childTitle(step)) : nullptr;
        EXPECT_TRUE(r) << path.join('/').toStdString();
        return r;
    }
    // The stored value of the current settings at a path of keys (arrays by "#n").
    QVariant stored(const QStringList& path) const
    {
        QVariant v = doc->graphSettings.last();
        for (const QString& step : path)
            v = step.startsWith('#') ? v.toList().value(step.mid(1).toInt()) : v.toMap().value(step);
        return v;
    }
    QPoint cellCentre(MyConfigItem* r, int column) const
    {
        for (MyOutlineItem* up = r->parentItem(); up && up != settingsRoot(); up = up->parentItem())
            olv()->expand(settingsModel()->indexOf(up));
        const QModelIndex index = settingsModel()->indexOf(r, column);
        olv()->scrollTo(index);
        return olv()->visualRect(index).center();
    }
    void select(MyConfigItem* r)
    {
        QTest::mouseClick(olv()->viewport(), Qt::LeftButton, {}, cellCentre(r, 0), apart());
        QCoreApplication::processEvents();
    }
    void deselect() { olv()->selectionModel()->clearSelection(); }
    // Double-clicks the value cell and types; false when no editor opens.
    bool typeInto(MyConfigItem* r, const QString& text) { return typeAt(olv(), cellCentre(r, 1), text); }
    bool editable(MyConfigItem* r, int column) const
    {
        return settingsModel()->flags(settingsModel()->indexOf(r, column)) & Qt::ItemIsEditable;
    }
    QUndoStack* stack() const { return doc->undoManager()->stack(); }
    QString undoName() const { return stack()->undoText(); }
};

TEST_F(SettingsOutline, TypedValuesAreOneChangeTypeStepEach)
{
    const int before = stack()->count();
    ASSERT_TRUE(typeInto(row({"graphTitle"}), "Heights"));
    EXPECT_EQ(stored({"graphTitle"}), "Heights");
    EXPECT_EQ(undoName(), "Change Type");
    EXPECT_TRUE(g->window()->windowTitle().contains("Heights"));
    EXPECT_EQ(stack()->count(), before + 1);

    // The value the row shows, and values the row does not take, make no step.
    struct Case {
        QStringList path;
        QString text;
    };
    const Case refused[] = {
        {{"graphTitle"}, "Heights"},
        {{"valueSettings", "partition"}, "101"},             // above its maximum
        {{"valueSettings", "partition"}, "2.5"},             // not an integer
        {{"graphProperties", "bars", "barLength"}, "1.5"},    // above its maximum
        {{"graphProperties", "graphRect", "height"}, "0"},    // a bound it may not equal
        {{"valueSettings", "logarithmic"}, "maybe"},
        {{"valueSettings", "logarithmic"}, "no"},             // already NO
    };
    for (const Case& c : refused) {
        const QString shown = row(c.path)->message;
        ASSERT_TRUE(typeInto(row(c.path), c.text)) << c.path.join('/').toStdString();
        EXPECT_EQ(row(c.path)->message, shown) << c.text.toStdString();
        EXPECT_EQ(stack()->count(), before + 1) << c.text.toStdString();
    }
    ASSERT_TRUE(typeInto(row({"graphProperties", "graphRect", "height"}), "250"));
    EXPECT_EQ(stored({"graphProperties", "graphRect", "height"}), "250");
    EXPECT_EQ(stack()->count(), before + 2);
    doc->undoManager()->undo();
    EXPECT_EQ(stored({"graphProperties", "graphRect", "height"}), "200");
    EXPECT_EQ(row({"graphProperties", "graphRect", "height"})->message, "200");
}

TEST_F(SettingsOutline, EditRule)
{
    struct Case {
        QStringList path;
        bool editable;
    };
    const Case cases[] = {
        {{"graphTitle"}, true},
        {{"valueSettings", "logarithmic"}, true},                       // a "Bool" row
        {{"graphProperties"}, false},                                   // "dict"
        {{"categoryDicts"}, false},                                     // "array"
        {{"graphProperties", "graphRect", "fillColor"}, false},         // "data"
        {{"categoryDicts", "#1", "represents", "#0", "origName"}, false},
        {{"categoryDicts", "#1", "represents", "#0", "represent"}, true},
        {{"graphProperties", "background", "viewWidth"}, false},        // follows the page
        {{"graphProperties", "background", "viewHeight"}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(editable(row(c.path), 1), c.editable) << c.path.join('/').toStdString();
        EXPECT_FALSE(editable(row(c.path), 0)) << c.path.join('/').toStdString();
    }
    // A refused cell opens no editor.
    EXPECT_FALSE(typeInto(row({"categoryDicts", "#1", "represents", "#0", "origName"}), "X"));
    ASSERT_TRUE(typeInto(row({"graphProperties", "background", "followPageLayout"}), "NO"));
    EXPECT_TRUE(editable(row({"graphProperties", "background", "viewWidth"}), 1));
    ASSERT_TRUE(typeInto(row({"graphProperties", "background", "viewWidth"}), "400"));
    EXPECT_EQ(stored({"graphProperties", "background", "viewWidth"}), "400");
}

TEST_F(SettingsOutline, CellsSwatchesHeightsAndTooltips)
{
    auto cell = [&](MyConfigItem* r, int column) { return g->outlineViewWillDisplayCell(olv(), QString::number(column), r); };
    const OutlineCell swatch = cell(row({"graphProperties", "background", "color"}), 1);
    EXPECT_TRUE(swatch.drawsBackground);
    EXPECT_EQ(swatch.backgroundColor, QColor(Qt::white));
    const QModelIndex black = settingsModel()->indexOf(row({"graphProperties", "xAxis", "lineColor"}), 1);
    EXPECT_EQ(black.data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::black));
    // The colour's name stays readable on its swatch.
    EXPECT_EQ(black.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(swatch.textColor, QColor(Qt::black));
    EXPECT_FALSE(cell(row({"graphProperties", "xAxis", "lineColor"}), 0).drawsBackground);
    EXPECT_FALSE(cell(row({"graphProperties", "xAxis", "tickWidth"}), 1).drawsBackground);
    EXPECT_EQ(settingsModel()->indexOf(row({"graphProperties", "yAxis", "scaleTextAttr"}), 1).data().value<AttributedText>().text,
              "Use Font Panel");

    // Rows are 17 points; a text-attribute row is as tall as its sample in its font.
    MyConfigItem* attr = row({"graphProperties", "yAxis", "titleTextAttr"});
    EXPECT_EQ(g->outlineViewHeightOfRowByItem(olv(), row({"graphTitle"})), 17.0);
    const double base = g->outlineViewHeightOfRowByItem(olv(), attr);
    scripted.dialogs.fonts.push_back(FontSpec{"DejaVu Sans", 30, 16});
    select(attr);
    g->chooseFont();
    attr = row({"graphProperties", "yAxis", "titleTextAttr"});
    const double tall = g->outlineViewHeightOfRowByItem(olv(), attr);
    EXPECT_GT(tall, base + 10);
    EXPECT_GE(olv()->visualRect(settingsModel()->indexOf(attr, 0)).height(), int(tall));

    // Tooltips of the title column come from the description strings.
    EXPECT_EQ(g->outlineViewToolTip(olv(), "0", row({"graphTitle"})), "Name of the analysis, shown in the window titles.");
    EXPECT_EQ(g->outlineViewToolTip(olv(), "1", row({"graphTitle"})), "");
    EXPECT_EQ(doc->baseWindowCont->outlineViewToolTip(olv(), "0", row({"graphTitle"})), "");
}

TEST_F(SettingsOutline, FontsAttributesAndColoursAreNamedSteps)
{
    MyConfigItem* attr = row({"categoryDicts", "#0", "xTitleAttr"});
    const TextAttributes old = *attributesOf(attr->object());
    select(attr);
    // A cancelled chooser, and the font the row has, change nothing.
    const int before = stack()->count();
    g->chooseFont();
    scripted.dialogs.fonts.push_back(*old.font);
    g->chooseFont();
    EXPECT_EQ(stack()->count(), before);

    scripted.dialogs.fonts.push_back(FontSpec{"DejaVu Serif", 15, 16});
    g->changeFont();   // Format > Font
    EXPECT_EQ(undoName(), "Change Font");
    EXPECT_EQ(attributesOf(stored({"categoryDicts", "#0", "xTitleAttr"}))->font, (FontSpec{"DejaVu Serif", 15, 16}));
    EXPECT_EQ(attributesOf(stored({"categoryDicts", "#0", "xTitleAttr"}))->color, old.color);
    doc->undoManager()->undo();
    EXPECT_EQ(attributesOf(row({"categoryDicts", "#0", "xTitleAttr"})->object())->font, old.font);

    // The text colour from the panel is "Change Attributes", even when it stays as it was;
    // from the colour well it is "Change Graph", and only when it changes.
    select(row({"categoryDicts", "#0", "xTitleAttr"}));
    scripted.dialogs.colors.push_back(Color::rgb(0, 0, 1));
    g->chooseTextColor();
    EXPECT_EQ(undoName(), "Change Attributes");
    EXPECT_EQ(attributesOf(stored({"categoryDicts", "#0", "xTitleAttr"}))->color, Color::rgb(0, 0, 1));
    const int attributes = stack()->count();
    scripted.dialogs.colors.push_back(Color::rgb(0, 0, 1));
    g->chooseTextColor();
    EXPECT_EQ(stack()->count(), attributes + 1);
    EXPECT_EQ(g->colorWell->color(), Color::rgb(0, 0, 1));
    EXPECT_FALSE(g->colorWell->isActive());
    scripted.dialogs.colors.push_back(Color::rgb(0, 0, 1));
    g->colorWell->click();
    EXPECT_EQ(stack()->count(), attributes + 1);
    scripted.dialogs.colors.push_back(Color::rgb(0, 0.5, 0));
    g->colorWell->click();
    EXPECT_EQ(undoName(), "Change Graph");
    EXPECT_EQ(attributesOf(stored({"categoryDicts", "#0", "xTitleAttr"}))->color, Color::rgb(0, 0.5, 0));

    // A colour row: the well shows and edits its colour.
    select(row({"graphProperties", "graphRect", "fillColor"}));
    EXPECT_TRUE(g->colorWell->isActive());
    EXPECT_EQ(g->colorWell->color(), *KeyedArchive::unarchiveColor(stored({"graphProperties", "graphRect", "fillColor"}).toByteArray()));
    const int colours = stack()->count();
    g->colorWell->click();   // cancelled
    scripted.dialogs.colors.push_back(g->colorWell->color());
    g->colorWell->click();   // the same colour
    EXPECT_EQ(stack()->count(), colours);
    scripted.dialogs.colors.push_back(Color::rgb(1, 0.9, 0.8, 0.5));
    g->colorWell->click();
    EXPECT_EQ(undoName(), "Change Graph");
    EXPECT_EQ(KeyedArchive::unarchiveColor(stored({"graphProperties", "graphRect", "fillColor"}).toByteArray()),
              Color::rgb(1, 0.9, 0.8, 0.5));
    // A row that is no data row: the well goes inactive and edits nothing.
    select(row({"graphTitle"}));
    EXPECT_FALSE(g->colorWell->isActive());
    scripted.dialogs.colors.push_back(Color::rgb(1, 0, 0));
    g->colorWell->click();
    EXPECT_EQ(stack()->count(), colours + 1);
}

// The dot font is taken only for glyph dots (type 6), only as a new face, and only when
// the face draws the dot glyph itself.
TEST_F(SettingsOutline, DotFontRule)
{
    const QStringList dotAttr{"dotsProperties", "#0", "dotAttr"};
    const FontSpec original = *attributesOf(stored(dotAttr))->font;
    select(row(dotAttr));
    scripted.dialogs.fonts.push_back(FontSpec{"DejaVu Sans Mono", 12, 16});
    g->chooseFont();   // dot type 0: no step
    EXPECT_EQ(attributesOf(stored(dotAttr))->font, original);

    ASSERT_TRUE(typeInto(row({"dotsProperties", "#0", "dotType"}), "6"));
    const int before = stack()->count();
    select(row(dotAttr));
    scripted.dialogs.fonts.push_back(FontSpec{"DejaVu Serif", 12, 16});
    g->chooseFont();
    EXPECT_EQ(alerts(), QStringList({"You should choose another font for dots."}));
    EXPECT_EQ(stack()->count(), before);
    scripted.dialogs.fonts.push_back(FontSpec{original.name, original.size + 6, original.flags});
    g->chooseFont();   // a new size alone
    EXPECT_EQ(stack()->count(), before);
    scripted.dialogs.fonts.push_back(FontSpec{"DejaVu Sans Mono", 12, 16});
    g->chooseFont();
    EXPECT_EQ(undoName(), "Change Font");
    EXPECT_EQ(attributesOf(stored(dotAttr))->font, (FontSpec{"DejaVu Sans Mono", 12, 16}));
    EXPECT_EQ(alerts().size(), 1);
}

// The real colour chooser: whatever colours the user passes on the way, the one confirmed
// is the one step.
TEST_F(SettingsOutline, RealColourChooserMakesOneStepPerSettledColour)
{
    QtDialogs real;
    Dialogs::setCurrent(&real);
    select(row({"graphProperties", "bars", "barColor"}));
    const int before = stack()->count();
    int seen = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        for (const QColor c : {QColor(10, 20, 30), QColor(200, 0, 0), QColor(0, 120, 240)}) {
            dialog->setCurrentColor(c);
            QCoreApplication::processEvents();
            seen = std::max(seen, stack()->count() - before);
        }
        dialog->accept();
    });
    g->colorWell->click();
    Dialogs::setCurrent(&scripted.dialogs);
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(stack()->count(), before + 1);
    EXPECT_EQ(KeyedArchive::unarchiveColor(stored({"graphProperties", "bars", "barColor"}).toByteArray())->toQColor().rgb(),
              QColor(0, 120, 240).rgb());
}

// Paste refuses with the four messages in the order of their checks; a record that passes
// is one "Paste Settings" step.
TEST_F(SettingsOutline, CopyAndPasteOfSettingsRows)
{
    auto copyRow = [&](const QStringList& path) {
        select(row(path));
        g->copy();
    };
    auto pasteOn = [&](const QStringList& path) {
        select(row(path));
        g->paste();
    };
    const int before = stack()->count();
    copyRow({"graphTitle"});
    EXPECT_EQ(MySettingsClipboard::read()->value("val"), "Sizes");
    pasteOn({"categoryDicts", "#1", "represents", "#0", "origName"});   // unchangeable and of its type
    pasteOn({"graphProperties", "graphRect", "lineColor"});             // another type
    copyRow({"graphProperties", "xAxis"});
    pasteOn({"graphProperties", "graphRect"});                          // a group at another place
    copyRow({"graphProperties", "graphRect", "height"});
    pasteOn({"graphProperties", "bars", "barLength"});                  // 200 above its maximum of 1
    EXPECT_EQ(alerts(), QStringList({MySettingsClipboard::unchangeableRow, MySettingsClipboard::differentType,
                                     MySettingsClipboard::differentLocation, MySettingsClipboard::notApplicable}));
    EXPECT_EQ(alerts()[0], "You cannnot paste them to an unchangeable row.");
    EXPECT_EQ(alerts()[3], "This value is not applicapable for this row.");
    EXPECT_EQ(stack()->count(), before);

    pasteOn({"graphProperties", "graphRect", "columnWidth"});
    EXPECT_EQ(undoName(), "Paste Settings");
    EXPECT_EQ(stored({"graphProperties", "graphRect", "columnWidth"}), "200");

    // Copy of an unchangeable row leaves the record there; in other windows paste and copy
    // of settings do nothing.
    copyRow({"categoryDicts", "#0", "categoryTitle"});
    EXPECT_EQ(MySettingsClipboard::read()->value("val"), "200");
    const int pasted = stack()->count();
    doc->statsWindowConts.last()->paste();
    main()->paste();
    EXPECT_EQ(stack()->count(), pasted);

    // With no row selected, copy takes the whole settings and paste is checked against the
    // root: the settings of one graph go onto another.
    deselect();
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
    EXPECT_EQ(doc->graphSettings.last().value("graphProperties").toMap().value("graphRect").toMap().value("columnWidth"), "200");
}

TEST_F(SettingsOutline, StepperMovesArrayElements)
{
    const QVariantList series = stored({"dotsProperties"}).toList();
    ASSERT_EQ(series.size(), 2);
    auto move = [&](const QStringList& path, int wanted) {
        select(row(path));
        g->stepper->setIntegerValue(wanted);
        g->tryToMove();
    };
    const int before = stack()->count();
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
    struct Case {
        QStringList path;
        int wanted;
    };
    const Case refused[] = {
        {{"dotsProperties", "#1"}, 2},
        {{"dotsProperties", "#0"}, -1},
        {{"graphProperties", "graphRect", "height"}, 1},
        {{"categoryDicts", "#0"}, 1},
        {{"valueSettings", "scaleStrings", "#2"}, 0},
    };
    const int count = stack()->count();
    for (const Case& c : refused) {
        const int position = row(c.path)->index();
        move(c.path, c.wanted);
        EXPECT_EQ(g->stepper->integerValue(), position) << c.path.join('/').toStdString();
    }
    move({"graphTitle"}, 2);
    EXPECT_EQ(g->stepper->integerValue(), 2);
    EXPECT_EQ(stack()->count(), count);
    EXPECT_EQ(count, before + 1);
}
