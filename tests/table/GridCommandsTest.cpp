// Column and row commands, column widths, row heights and fonts, each one undoable step.
#include "platform/NumberText.h"
#include "table/TableFixture.h"
#include <QFontMetricsF>

using GridCommands = TableFixture;

TEST_F(GridCommands, RowNumbersAndTheExtraColumnDoNotMove)
{
    load(table("w,0 | x,1"));
    grid->horizontalHeader()->moveSection(0, 2);
    grid->horizontalHeader()->moveSection(1, 0);
    grid->horizontalHeader()->moveSection(2, 3);
    grid->horizontalHeader()->moveSection(3, 1);
    EXPECT_EQ(doc->variables, (QStringList{"w", "x"}));
    EXPECT_FALSE(undo()->canUndo());
    ASSERT_NO_FATAL_FAILURE(checkInLine());
}

TEST_F(GridCommands, OnlyTheUsersResizesRecordWidthSteps)
{
    load(abc());
    // A divider drag records one step when the button comes up.
    QHeaderView* header = grid->horizontalHeader();
    QWidget* vp = header->viewport();
    const int edge = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(edge, y));
    for (int dx : {15, 30}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(edge + dx, y), vp->mapToGlobal(QPointF(edge + dx, y)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
    }
    EXPECT_EQ(undo()->stack()->count(), 0);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(edge + 30, y));
    EXPECT_EQ(undo()->stack()->count(), 1);
    EXPECT_EQ(doc->columnSettings[0].value("width").toString(), NumberText::realString(header->sectionSize(1)));
    EXPECT_GT(header->sectionSize(1), 70);
    // So does a resize without a drag (a divider double click).
    header->resizeSection(2, 85);
    EXPECT_EQ(doc->columnSettings[1].value("width").toString(), "85.0");
    EXPECT_EQ(undo()->undoText(), "Undo Set Column Width");
    // Ending at the stored width, and resizing the row numbers or the extra column, record nothing.
    header->resizeSection(2, 85);
    header->resizeSection(0, 50);
    header->resizeSection(4, 120);
    EXPECT_EQ(undo()->stack()->count(), 2);
}

namespace {
struct WidthCase {
    const char* name;
    CellSelection selection;
    const char* typed;   // null: Cancel
    bool tickAll;
    const char* proposed;
    bool boxEnabled;
    bool boxTicked;
    QStringList widths;
};

const WidthCase widthCases[] = {
    {"TwoColumnsEqualAsNumbers", {1, 2, 1, 1}, "90", false, "70", true, false, {"90", "90", "80", "70"}},
    {"NothingSelectedMeansEveryColumn", {}, "50 wide", false, "Various values", false, true, {"50 wide", "50 wide", "50 wide", "50 wide"}},
    {"AllColumnsTicked", {1, 4, 1, 2}, "40", true, "Various values", true, false, {"40", "40", "40", "40"}},
    {"Cancel", {1, 1, 1, 1}, nullptr, false, "70", true, false, {"70", "70.0", "80", "70"}},
};
}

TEST_F(GridCommands, ColumnWidthDialogProposesAndApplies)
{
    for (const WidthCase& c : widthCases) {
        SCOPED_TRACE(c.name);
        load(table("a,1 | b,2 | c,3 | d,4"));
        doc->columnSettings = {{{"width", "70"}}, {{"width", "70.0"}}, {{"width", "80"}}, {{"width", "70"}}};
        doc->historyOfColumnSettings = {doc->columnSettings};
        grid->columnSettingsSnapshotLoaded();
        undo()->clear();
        QString proposed;
        bool boxEnabled = false, boxTicked = false;
        settingCont->pushScript([&](MySettingController& d) {
            proposed = d.tfColumnWidth->text();
            boxEnabled = d.buAllColumns->isEnabled();
            boxTicked = d.buAllColumns->isChecked();
            if (c.typed) {
                d.tfColumnWidth->setText(QString::fromUtf8(c.typed));
                d.buAllColumns->setChecked(d.buAllColumns->isChecked() || c.tickAll);
            }
            (c.typed ? d.columnOkButton : d.columnCancelButton)->click();
        });
        grid->setSelectingCells(c.selection);
        grid->columnWidth();
        EXPECT_EQ(proposed, c.proposed);
        EXPECT_EQ(boxEnabled, c.boxEnabled);
        EXPECT_EQ(boxTicked, c.boxTicked);
        QStringList widths;
        for (const QVariantMap& s : doc->columnSettings)
            widths.append(s.value("width").toString());
        EXPECT_EQ(widths, c.widths);
        EXPECT_EQ(undo()->stack()->count(), c.typed ? 1 : 0);
        if (c.typed) {
            EXPECT_EQ(undo()->undoText(), "Undo Set Column Width");
        }
        if (c.widths.first().toDouble() > 0) {
            ASSERT_NO_FATAL_FAILURE(checkInLine());
        }
    }
}

TEST_F(GridCommands, RowHeightsFromTheDialogAndFromTheFonts)
{
    load(abc());
    EXPECT_EQ(grid->verticalHeader()->sectionSize(0), 22);
    // The stored fonts fit the stored heights whatever the screen's resolution.
    EXPECT_LE(QFontMetricsF(grid->titleQFont()).height(), 22.0);
    EXPECT_LE(QFontMetricsF(grid->dataQFont()).height(), 17.0);
    setRowHeights("30", "20");
    EXPECT_EQ(doc->tableRowSettings.value("titleRowHeight").toString(), "30");
    EXPECT_EQ(doc->tableRowSettings.value("dataRowHeight").toString(), "20");
    EXPECT_EQ(undo()->undoText(), "Undo Set Row Height");
    EXPECT_EQ(grid->verticalHeader()->sectionSize(4), 20);   // the extra row
    ASSERT_NO_FATAL_FAILURE(checkInLine());
    // Unchanged texts record nothing; size to fit takes the stored data font's height.
    setRowHeights({}, {});
    EXPECT_EQ(undo()->stack()->count(), 1);
    setRowHeights({}, "nonsense", true);
    QFont eleven("DejaVu Sans");
    eleven.setPixelSize(11);   // points of the row heights are pixels of the grid
    const double fit = QFontMetricsF(eleven).height();
    EXPECT_EQ(doc->tableRowSettings.value("dataRowHeight").toString(), NumberText::realString(fit));
    EXPECT_EQ(doc->tableRowSettings.value("titleRowHeight").toString(), "30");
}

TEST_F(GridCommands, FontsChangeForTheSelectedRowKindOnly)
{
    // A title font with a red colour that must survive the change.
    delegate->defaultTableRowSettings.insert("titleRowAttr", attributes(13, true));
    doc->tableRowSettings = delegate->defaultTableRowSettings;
    doc->historyOfTableRowSettings = {doc->tableRowSettings};
    load(abc());
    grid->rowSettingsSnapshotLoaded();
    const QByteArray dataBefore = doc->tableRowSettings.value("dataRowAttr").toByteArray();

    select(0, 1, 0, 3);
    scripted.dialogs.fonts.push_back(FontSpec{"DejaVu Sans", 18, 16});
    doc->tableWindowCont->changeFont();
    const auto title = KeyedArchive::unarchiveAttributes(doc->tableRowSettings.value("titleRowAttr").toByteArray());
    ASSERT_TRUE(title && title->font);
    EXPECT_EQ(title->font->size, 18);
    EXPECT_EQ(title->color, Color::rgb(1, 0, 0));
    EXPECT_EQ(doc->tableRowSettings.value("dataRowAttr").toByteArray(), dataBefore);
    EXPECT_EQ(undo()->undoText(), "Undo Change Font");
    auto titleSize = [this] { return grid->tableModel()->index(0, 1).data(Qt::FontRole).value<QFont>().pixelSize(); };
    EXPECT_EQ(titleSize(), 18);

    // Across the title and data rows, or with nothing selected: no font is even asked for.
    scripted.dialogs.fonts.push_back(FontSpec{"DejaVu Sans", 30, 16});
    select(0, 1, 3, 1);
    grid->changeFont();
    select(0, 0, 0, 0);
    grid->changeFont();
    EXPECT_EQ(scripted.dialogs.fonts.size(), 1u);
    // The font already stored records nothing.
    scripted.dialogs.fonts.front() = FontSpec{"DejaVu Sans", 11, 16};
    select(2, 2, 2, 2);
    grid->changeFont();
    EXPECT_EQ(undo()->stack()->count(), 1);

    undo()->undo();
    EXPECT_EQ(titleSize(), 13);
}
