// Column and row commands, column widths, row heights and fonts, each one undoable step.
#include "platform/NumberText.h"
#include "table/TableFixture.h"
#include <QFontDialog>
#include <QFontMetricsF>

using GridCommands = TableFixture;

TEST_F(GridCommands, OnlyTheUsersResizesRecordWidthSteps)
{
    load(abc());
    // A divider drag records one step when the button comes up.
    QHeaderView* header = grid->horizontalHeader();
    QWidget* vp = header->viewport();
    const QPoint edge(header->sectionViewportPosition(1) + header->sectionSize(1) - 1, header->height() / 2);
    const QPoint end = edge + QPoint(30, 0);
    QTest::mousePress(vp, Qt::LeftButton, {}, edge);
    QMouseEvent move(QEvent::MouseMove, end, vp->mapToGlobal(end), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    EXPECT_EQ(undo()->stack()->count(), 0);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, end);
    EXPECT_EQ(undo()->stack()->count(), 1);
    EXPECT_EQ(doc->columnSettings[0].value("width").toString(), NumberText::realString(header->sectionSize(1)));
    EXPECT_EQ(undo()->undoText(), "Undo Set Column Width");
    // Ending at the stored width, and resizing the row numbers or the extra column, record nothing.
    header->resizeSection(2, 70);
    header->resizeSection(0, 50);
    header->resizeSection(4, 120);
    EXPECT_EQ(undo()->stack()->count(), 1);
}

// Widths equal as numbers propose their text; "all columns" is offered for a selection only.
TEST_F(GridCommands, ColumnWidthDialogProposesAndApplies)
{
    load(table("a,1 | b,2 | c,3"));
    setWidths({{{"width", "70"}}, {{"width", "70.0"}}, {{"width", "80"}}});
    QString proposed;
    bool allEnabled = false, allChecked = false;
    const auto look = [&](MySettingController& d) {
        proposed = d.tfColumnWidth->text();
        allEnabled = d.buAllColumns->isEnabled();
        allChecked = d.buAllColumns->isChecked();
    };
    select(1, 2, 1, 1);
    setColumnWidth("90", look);
    EXPECT_EQ(proposed, "70");
    EXPECT_TRUE(allEnabled);
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{{{"width", "90"}}, {{"width", "90"}}, {{"width", "80"}}}));
    EXPECT_EQ(undo()->undoText(), "Undo Set Column Width");
    ASSERT_NO_FATAL_FAILURE(checkInLine());
    // Nothing selected: widths that differ propose "Various values", and the width typed goes
    // to every column, the all-columns box ticked and fixed.
    select(0, 0, 0, 0);
    setColumnWidth("95", look);
    EXPECT_EQ(proposed, "Various values");
    EXPECT_TRUE(allChecked && !allEnabled);
    EXPECT_EQ(doc->columnSettings, ColumnSettings(3, {{"width", "95"}}));
    // A table without columns has no width to set.
    load({});
    grid->columnWidth();
    EXPECT_EQ(alerts(), QStringList{"Invalid selection."});
}

// Widths the program sets are not the user's: a stored width beyond the grid's limits and a
// fractional width from the dialog are shown as near as the grid can, and rebuilding the
// columns records nothing.
TEST_F(GridCommands, RebuildsRecordNoWidthStep)
{
    load(table("a,1 | b,2 | c,3"));
    setWidths({{{"width", "250"}}, {{"width", "10"}}, {{"width", "70"}}});
    select(1, 3, 1, 3);
    setColumnWidth("85.5");
    doc->tableWindowCont->editDataTableTapped(0);   // rebuilt without, then with the extra column
    doc->tableWindowCont->editDataTableTapped(1);
    QHeaderView* header = grid->horizontalHeader();
    EXPECT_EQ(QList({header->sectionSize(1), header->sectionSize(2), header->sectionSize(3)}), QList({200, 30, 86}));
    EXPECT_EQ(undo()->stack()->count(), 1);
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{{{"width", "250"}}, {{"width", "10"}}, {{"width", "85.5"}}}));
}

TEST_F(GridCommands, RowHeightsFromTheDialogAndFromTheFonts)
{
    load(abc());
    EXPECT_EQ(grid->verticalHeader()->sectionSize(0), 22);
    // The stored fonts fit the stored heights whatever the screen's resolution.
    EXPECT_LE(QFontMetricsF(grid->titleQFont()).height(), 22.0);
    EXPECT_LE(QFontMetricsF(grid->dataQFont()).height(), 17.0);
    const auto heights = [this] {
        return std::pair(doc->tableRowSettings.value("titleRowHeight").toString(), doc->tableRowSettings.value("dataRowHeight").toString());
    };
    setRowHeights("30", "20");
    EXPECT_EQ(heights(), std::pair(QString("30"), QString("20")));
    EXPECT_EQ(undo()->undoText(), "Undo Set Row Height");
    EXPECT_EQ(grid->verticalHeader()->sectionSize(4), 20);   // the extra row
    ASSERT_NO_FATAL_FAILURE(checkInLine());
    // Size to fit takes the stored data font's line height: DejaVu Sans's ascender and
    // descender, 1901 and 483 of 2048 units (the hhea table of DejaVuSans.ttf, read with
    // Python's struct), at 11 points; FreeType keeps each to 1/64.
    setRowHeights("30", "nonsense", true);
    EXPECT_NEAR(NumberText::doubleValue(heights().second), (1901.0 + 483.0) / 2048.0 * 11.0, 2.0 / 64);
    EXPECT_EQ(heights().first, "30");
    undo()->undo();
    EXPECT_EQ(heights().second, "20");
}

TEST_F(GridCommands, FontsChangeForTheSelectedRowKindOnly)
{
    // A title font with a red colour that must survive the change.
    delegate->defaultTableRowSettings.insert("titleRowAttr", attributes(13, true));
    doc->tableRowSettings = delegate->defaultTableRowSettings;
    load(abc());
    grid->rowSettingsSnapshotLoaded();
    const QByteArray dataBefore = doc->tableRowSettings.value("dataRowAttr").toByteArray();
    auto titleSize = [this] { return grid->tableModel()->index(0, 1).data(Qt::FontRole).value<QFont>().pixelSize(); };
    select(0, 1, 0, 3);
    scripted.dialogs.fonts.push_back(FontSpec{"DejaVu Sans", 18, 16});
    doc->tableWindowCont->changeFont();
    EXPECT_EQ(doc->tableRowSettings.value("titleRowAttr").toByteArray(), attributes(18, true));
    EXPECT_EQ(doc->tableRowSettings.value("dataRowAttr").toByteArray(), dataBefore);
    EXPECT_EQ(undo()->undoText(), "Undo Change Font");
    EXPECT_EQ(titleSize(), 18);
    undo()->undo();
    EXPECT_EQ(titleSize(), 13);
}

// Table > Font... with the real chooser, confirmed as it opens, changes no font.
TEST_F(GridCommands, FontChooserConfirmedAsItOpensChangesNothing)
{
    load(abc());
    const TableState before = state();
    QAction* font = nullptr;
    for (QAction* a : doc->tableWindowCont->window()->findChildren<QAction*>())
        font = a->text() == QString::fromUtf8("Font\xe2\x80\xa6") ? a : font;
    ASSERT_TRUE(font);
    Dialogs::setCurrent(nullptr);   // the Qt dialogs
    for (const CellSelection& s : {CellSelection{0, 1, 0, 2}, CellSelection{1, 1, 3, 3}}) {
        grid->setSelectingCells(s);
        whenShown<QFontDialog>([](QFontDialog* d) { d->accept(); });
        font->trigger();
    }
    Dialogs::setCurrent(&scripted.dialogs);
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(undo()->canUndo());
}
