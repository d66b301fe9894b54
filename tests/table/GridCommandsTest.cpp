// Column and row commands, column widths, row heights and fonts, each one undoable step.
#include "table/TableFixture.h"
#include <QCheckBox>
#include <QFontMetricsF>
#include <QPushButton>
#include "platform/NumberText.h"

using GridCommands = TableFixture;

namespace {
QVariantMap width(const char* w) { return {{"width", QString::fromUtf8(w)}}; }
QStringList titles(const TableData& t)
{
    QStringList out;
    for (const QStringList& c : t)
        out.append(c.first());
    return out;
}
}

TEST_F(GridCommands, SortsByTitleWithSettingsAndCountersFollowing)
{
    load({{"b", "1"}, {"a", "2"}, {"B", "3"}}, {0, 2, 0});
    doc->columnSettings = {width("71"), width("72"), width("73")};
    doc->historyOfColumnSettings = {doc->columnSettings};
    grid->sortColumns(1);
    EXPECT_EQ(doc->variables, (QStringList{"B", "a", "b"}));
    EXPECT_EQ(doc->tableData[1], (QStringList{"a", "2"}));
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{width("73"), width("72"), width("71")}));
    EXPECT_EQ(doc->columnCounter, (QVector<qint64>{0, 2, 0}));
    EXPECT_EQ(undo()->undoText(), "Undo Sort Columns");
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(1), 73);
    grid->sortColumns(0);
    EXPECT_EQ(doc->variables, (QStringList{"b", "a", "B"}));
    // Sorting a sorted table is still a step.
    grid->sortColumns(0);
    EXPECT_EQ(doc->tableDataIndex, 3);
    undo()->undo();
    undo()->undo();
    undo()->undo();
    EXPECT_EQ(doc->variables, (QStringList{"b", "a", "B"}));
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{width("71"), width("72"), width("73")}));
}

TEST_F(GridCommands, PrefixSortsFirst)
{
    load({{"ab", "1"}, {"a", "2"}, {"abc", "3"}});
    grid->sortColumns(1);
    EXPECT_EQ(doc->variables, (QStringList{"a", "ab", "abc"}));
}

TEST_F(GridCommands, DraggingAHeaderReordersColumnsWithTheirSettings)
{
    load({{"w", "0"}, {"x", "1"}, {"y", "2"}, {"z", "3"}}, {0, 0, 1, 0});
    doc->columnSettings = {width("60"), width("61"), width("62"), width("63")};
    doc->historyOfColumnSettings = {doc->columnSettings};
    grid->fixTableColumns();
    grid->horizontalHeader()->moveSection(3, 1);   // what a header drag does
    EXPECT_EQ(doc->variables, (QStringList{"y", "w", "x", "z"}));
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{width("62"), width("60"), width("61"), width("63")}));
    EXPECT_EQ(doc->columnCounter, (QVector<qint64>{1, 0, 0, 0}));
    EXPECT_EQ(undo()->undoText(), "Undo Reorder Columns");
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(grid->columnIdentifierTextAt(i), QString::number(i));
        EXPECT_EQ(grid->horizontalHeader()->visualIndex(i), i);
    }
    EXPECT_EQ(cell(0, 1), "y");
    undo()->undo();
    EXPECT_EQ(doc->variables, (QStringList{"w", "x", "y", "z"}));
}

TEST_F(GridCommands, RowNumbersAndTheExtraColumnDoNotMove)
{
    load({{"w", "0"}, {"x", "1"}});
    grid->horizontalHeader()->moveSection(0, 2);
    grid->horizontalHeader()->moveSection(1, 0);
    grid->horizontalHeader()->moveSection(2, 3);
    grid->horizontalHeader()->moveSection(3, 1);
    EXPECT_EQ(doc->variables, (QStringList{"w", "x"}));
    EXPECT_FALSE(undo()->canUndo());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(grid->horizontalHeader()->visualIndex(i), i);
}

TEST_F(GridCommands, DeletesWholeColumnsWithSettingsAndCounters)
{
    load({{"w", "0"}, {"x", "1"}, {"y", "2"}, {"z", "3"}}, {0, 0, 0, 1});
    doc->columnSettings = {width("60"), width("61"), width("62"), width("63")};
    doc->historyOfColumnSettings = {doc->columnSettings};
    click(0, 0);
    clickHeader(3);
    clickHeader(2, Qt::ShiftModifier);
    doc->tableWindowCont->deleteColumns();
    EXPECT_EQ(doc->variables, (QStringList{"w", "z"}));
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{width("60"), width("63")}));
    EXPECT_EQ(doc->columnCounter, (QVector<qint64>{0, 1}));
    EXPECT_EQ(grid->tableModel()->columnCount(), 4);
    EXPECT_EQ(doc->baseWindowCont->tkNumOfColumns->text(), "2");
    undo()->undo();
    EXPECT_EQ(doc->variables, (QStringList{"w", "x", "y", "z"}));
    EXPECT_EQ(doc->columnCounter, (QVector<qint64>{0, 0, 0, 1}));
}

TEST_F(GridCommands, DeletesDataRowsWhereUsedColumnsAreEmpty)
{
    load({{"a", "1", "2", "3", "4", "5"}, {"b", "p", "", "", "", "q"}}, {0, 1});
    select(2, 1, 4, 2);
    grid->deleteRows();
    EXPECT_TRUE(alerts().isEmpty());
    EXPECT_EQ(doc->tableData, (TableData{{"a", "1", "5"}, {"b", "p", "q"}}));
    EXPECT_EQ(undo()->undoText(), "Undo Delete Rows");
    EXPECT_EQ(doc->baseWindowCont->tkNumOfRows->text(), "2");
    // Every data row: only the titles stay.
    load({{"a", "1", "2"}, {"b", "3", "4"}});
    click(1, 0);
    click(2, 0, Qt::ShiftModifier);
    grid->deleteRows();
    EXPECT_EQ(doc->tableMatrix.row, 1);
    EXPECT_EQ(doc->tableData, (TableData{{"a"}, {"b"}}));
}

TEST_F(GridCommands, ProgramResizesRecordNothingAndUserResizesOneStep)
{
    load(abc());
    // A resize of the user's own (a divider double click or a finished drag).
    grid->horizontalHeader()->resizeSection(2, 85);
    EXPECT_EQ(doc->columnSettings[1].value("width").toString(), "85.0");
    EXPECT_EQ(undo()->undoText(), "Undo Set Column Width");
    EXPECT_EQ(undo()->stack()->count(), 1);
    // Undo rebuilds the columns at their stored widths: no new step.
    undo()->undo();
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(2), 70);
    EXPECT_EQ(undo()->stack()->count(), 1);
    EXPECT_TRUE(undo()->canRedo());
    undo()->redo();
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(2), 85);
    EXPECT_EQ(undo()->stack()->count(), 1);
    // Ending at the stored width, and resizing the row numbers or the extra column, record nothing.
    grid->horizontalHeader()->resizeSection(2, 85);
    grid->horizontalHeader()->resizeSection(4, 120);
    EXPECT_EQ(undo()->stack()->count(), 1);
}

TEST_F(GridCommands, AHeaderDragRecordsOneStepWhenTheButtonComesUp)
{
    load(abc());
    QHeaderView* header = grid->horizontalHeader();
    QWidget* vp = header->viewport();
    const int edge = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(edge, y));
    for (int dx = 5; dx <= 30; dx += 5) {
        QMouseEvent move(QEvent::MouseMove, QPointF(edge + dx, y), vp->mapToGlobal(QPointF(edge + dx, y)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
    }
    EXPECT_EQ(undo()->stack()->count(), 0);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(edge + 30, y));
    EXPECT_EQ(undo()->stack()->count(), 1);
    EXPECT_EQ(doc->columnSettings[0].value("width").toString(),
              NumberText::realString(header->sectionSize(1)));
    EXPECT_GT(header->sectionSize(1), 70);
}

TEST_F(GridCommands, ColumnWidthDialogProposesAndApplies)
{
    load({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
    doc->columnSettings = {width("70"), width("70.0"), width("80"), width("70")};
    doc->historyOfColumnSettings = {doc->columnSettings};
    QString proposed;
    bool boxEnabled = true;
    settingCont->pushScript([&](MySettingController& d) {
        proposed = d.tfColumnWidth->text();
        boxEnabled = d.buAllColumns->isEnabled();
        d.tfColumnWidth->setText("90");
        d.columnOkButton->click();
    });
    select(1, 2, 1, 1);   // columns 1 and 2: equal as numbers
    grid->columnWidth();
    EXPECT_EQ(proposed, "70");
    EXPECT_TRUE(boxEnabled);
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{width("90"), width("90"), width("80"), width("70")}));
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(1), 90);

    // Nothing selected: every column, "Various values" proposed, the box ticked and fixed.
    bool boxTicked = false;
    settingCont->pushScript([&](MySettingController& d) {
        proposed = d.tfColumnWidth->text();
        boxEnabled = d.buAllColumns->isEnabled();
        boxTicked = d.buAllColumns->isChecked();
        d.tfColumnWidth->setText("50 wide");
        d.columnOkButton->click();
    });
    select(0, 0, 0, 0);
    grid->columnWidth();
    EXPECT_EQ(proposed, "Various values");
    EXPECT_FALSE(boxEnabled);
    EXPECT_TRUE(boxTicked);
    for (const QVariantMap& s : doc->columnSettings)
        EXPECT_EQ(s.value("width").toString(), "50 wide");

    // Corners in columns 4 and 2 with the all-columns box ticked.
    settingCont->pushScript([&](MySettingController& d) {
        d.tfColumnWidth->setText("40");
        d.buAllColumns->setChecked(true);
        d.columnOkButton->click();
    });
    select(1, 4, 1, 2);
    grid->columnWidth();
    for (const QVariantMap& s : doc->columnSettings)
        EXPECT_EQ(s.value("width").toString(), "40");

    // Cancel changes nothing.
    const int steps = undo()->stack()->count();
    settingCont->pushScript([](MySettingController& d) { d.columnCancelButton->click(); });
    grid->columnWidth();
    EXPECT_EQ(undo()->stack()->count(), steps);
    EXPECT_EQ(undo()->undoText(), "Undo Set Column Width");
}

TEST_F(GridCommands, RowHeightsFromTheDialogAndFromTheFonts)
{
    load(abc());
    EXPECT_EQ(grid->verticalHeader()->sectionSize(0), 22);
    EXPECT_EQ(grid->verticalHeader()->sectionSize(2), 17);
    settingCont->pushScript([](MySettingController& d) {
        d.tfTitleHeight->setText("30");
        d.tfDataHeight->setText("20");
        d.rowOkButton->click();
    });
    grid->rowHeight();
    EXPECT_EQ(doc->tableRowSettings.value("titleRowHeight").toString(), "30");
    EXPECT_EQ(doc->tableRowSettings.value("dataRowHeight").toString(), "20");
    EXPECT_EQ(undo()->undoText(), "Undo Set Row Height");
    EXPECT_EQ(grid->verticalHeader()->sectionSize(0), 30);
    EXPECT_EQ(grid->verticalHeader()->sectionSize(3), 20);
    EXPECT_EQ(grid->verticalHeader()->sectionSize(4), 20);   // the extra row

    // Unchanged texts record nothing; size to fit takes the stored data font's height.
    settingCont->pushScript([](MySettingController& d) { d.rowOkButton->click(); });
    grid->rowHeight();
    EXPECT_EQ(undo()->stack()->count(), 1);
    settingCont->pushScript([](MySettingController& d) {
        d.tfDataHeight->setText("nonsense");
        d.buDataSizeToFit->setChecked(true);
        d.rowOkButton->click();
    });
    grid->rowHeight();
    const double fit = QFontMetricsF(FontSpec{"DejaVu Sans", 11, 16}.toQFont()).height();
    EXPECT_EQ(doc->tableRowSettings.value("dataRowHeight").toString(), NumberText::realString(fit));
    EXPECT_EQ(doc->tableRowSettings.value("titleRowHeight").toString(), "30");

    undo()->undo();
    undo()->undo();
    EXPECT_EQ(grid->verticalHeader()->sectionSize(0), 22);
    EXPECT_EQ(grid->verticalHeader()->sectionSize(1), 17);
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
    EXPECT_EQ(grid->titleQFont().pointSizeF(), 18);
    EXPECT_EQ(grid->tableModel()->index(0, 1).data(Qt::FontRole).value<QFont>().pointSizeF(), 18);

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
    EXPECT_EQ(grid->titleQFont().pointSizeF(), 13);
}
